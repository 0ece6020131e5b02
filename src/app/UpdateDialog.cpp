#include "app/UpdateDialog.h"

#include "ui/LinkOpener.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

QString UpdateDialog::text(const Updater::Outcome& outcome, const QString& currentVersion)
{
    using Kind = Updater::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::NotConfigured:
        return QCoreApplication::translate("UpdateDialog", "Updates for Halvora come with your package manager.");
    case Kind::UpToDate:
        return QCoreApplication::translate("UpdateDialog", "Halvora %1 is the newest version.").arg(currentVersion);
    case Kind::Available:
        return QCoreApplication::translate("UpdateDialog", "Halvora %1 is available. You have %2.")
            .arg(outcome.release->version, currentVersion);
    case Kind::Failed:
        return QCoreApplication::translate("UpdateDialog", "Halvora could not check for updates: %1")
            .arg(outcome.message);
    }
    return {};
}

void UpdateDialog::show(const Updater::Outcome& outcome, const QString& currentVersion, QWidget* parent)
{
    const bool failed = outcome.kind == Updater::Outcome::Kind::Failed;
    auto* box = new QMessageBox(failed ? QMessageBox::Warning : QMessageBox::Information,
                                QCoreApplication::translate("UpdateDialog", "Software Update"),
                                text(outcome, currentVersion), QMessageBox::Close, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (outcome.kind == Updater::Outcome::Kind::Available) {
        // Notes from the feed are shown as plain text: the feed is not ours to trust with markup.
        box->setInformativeText(outcome.release->notes);
        box->setTextFormat(Qt::PlainText);
        QPushButton* download =
            box->addButton(QCoreApplication::translate("UpdateDialog", "Download"), QMessageBox::AcceptRole);
        const QUrl url = outcome.release->download;
        QObject::connect(download, &QPushButton::clicked, box, [url] { LinkOpener::open(url); });
    }
    box->open();
}
