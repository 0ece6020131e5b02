#include "mainwindow/RewriteDetailView.h"

#include "mainwindow/RewriteBlock.h"
#include "platform/Platform.h"
#include "ui/AccessibleAnnouncement.h"

#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QVBoxLayout>

RewriteDetailView::RewriteDetailView(const HistoryStore::Conversation& conversation, QWidget* parent)
    : QScrollArea(parent), m_conversation(conversation)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* page = new QWidget(this);
    auto* outer = new QHBoxLayout(page);
    auto* content = new QWidget(page);
    content->setMaximumWidth(760);
    outer->addWidget(content);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(18);
    column->addWidget(buildHeader(content));
    m_original = new RewriteBlock(tr("Original"), conversation.selection.value_or(QString()), false, content);
    m_rewrite = new RewriteBlock(heading(), result(conversation), true, content);
    column->addWidget(m_original);
    column->addWidget(m_rewrite);
    column->addStretch(1);
    for (RewriteBlock* block : {m_original, m_rewrite})
        connect(block, &RewriteBlock::copyRequested, this, [this, block] { copy(block); });
    setWidget(page);
}

QWidget* RewriteDetailView::buildHeader(QWidget* parent)
{
    auto* header = new QWidget(parent);
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* title = new QLabel(heading(), header);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);
    const QString sub =
        subheading() + (subheading().isEmpty() ? QString() : QStringLiteral(" · ")) + when(m_conversation.updatedAt);
    auto* when = new QLabel(sub, header);
    when->setForegroundRole(QPalette::PlaceholderText);
    column->addWidget(when);
    return header;
}

QString RewriteDetailView::when(const QDateTime& moment, const QLocale& locale)
{
    const QDateTime local = moment.toLocalTime();
    return locale.toString(local.date(), mediumDateFormat(locale)) + QStringLiteral(", ") +
           locale.toString(local.time(), shortTimeFormat(locale));
}

// The locale's long date without the weekday and with the month abbreviated: "d MMM yyyy",
// "MMM d, yyyy", "d. MMM yyyy", "yyyy年M月d日".
QString RewriteDetailView::mediumDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral("\\s*d{4}[,.]?\\s*|\\s*ddd\\b[,.]?\\s*"));
    format.remove(weekday);
    format.replace(QStringLiteral("MMMM"), QStringLiteral("MMM"));
    return format.trimmed();
}

// The locale's short time, without seconds where the locale's own short form carries them
// (the C locale's is "HH:mm:ss").
QString RewriteDetailView::shortTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[:.]ss?(?![a-zA-Z])"));
    format.remove(seconds);
    return format;
}

QString RewriteDetailView::result(const HistoryStore::Conversation& conversation)
{
    return conversation.turns.isEmpty() ? QString() : conversation.turns.last().answer.trimmed();
}

QString RewriteDetailView::heading() const
{
    return m_conversation.style.value_or(tr("Rewrite"));
}

QString RewriteDetailView::subheading() const
{
    return m_conversation.appName ? tr("In ") + *m_conversation.appName : QString();
}

void RewriteDetailView::copy(RewriteBlock* block)
{
    Platform::clipboard().clear();
    Platform::clipboard().setString(block->text());
    m_copied = block->title();
    m_original->setCopied(block == m_original);
    m_rewrite->setCopied(block == m_rewrite);
    AccessibleAnnouncement::announce(block, tr("Copied"));
}
