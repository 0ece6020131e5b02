#include "app/Updater.h"

#include "app/AppLog.h"
#include "platform/Clock.h"
#include "platform/Preferences.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

constexpr qint64 checkIntervalSecs = 24 * 60 * 60;
constexpr qint64 maxFeedBytes = 4 * 1024 * 1024;
constexpr int timeoutMs = 20000;

} // namespace

Updater::Updater(const QUrl& feed, const QString& currentVersion, Preferences& defaults, Clock& clock, QObject* parent)
    : QObject(parent), m_feed(feed), m_version(currentVersion), m_preferences(defaults), m_clock(clock),
      m_network(new QNetworkAccessManager(this))
{}

Updater::~Updater()
{
    if (m_reply)
        m_reply->abort();
}

QUrl Updater::builtInFeed()
{
    return QUrl(QStringLiteral(HALVORA_UPDATE_FEED_URL));
}

QString Updater::lastCheckKey()
{
    return QStringLiteral("lastUpdateCheck");
}

void Updater::checkInBackground()
{
    const QDateTime last = QDateTime::fromString(m_preferences.value(lastCheckKey()).toString(), Qt::ISODate);
    if (m_feed.isEmpty() || (last.isValid() && last.secsTo(m_clock.now()) < checkIntervalSecs))
        return;
    start(false);
}

void Updater::checkNow()
{
    if (m_feed.isEmpty()) {
        report({Outcome::Kind::NotConfigured, std::nullopt, {}}, true);
        return;
    }
    start(true);
}

void Updater::start(bool manual)
{
    if (m_reply)
        return;
    m_preferences.setValue(lastCheckKey(), m_clock.now().toString(Qt::ISODate));
    QNetworkRequest request(m_feed);
    request.setTransferTimeout(timeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, [this, manual] { finish(manual); });
}

void Updater::finish(bool manual)
{
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->deleteLater();
    const QByteArray body = reply->read(maxFeedBytes);
    if (reply->error() != QNetworkReply::NoError) {
        report({Outcome::Kind::Failed, std::nullopt, reply->errorString()}, manual);
        return;
    }
    const std::optional<UpdateFeed> newest = UpdateFeed::newest(body);
    if (!newest) {
        report({Outcome::Kind::Failed, std::nullopt, tr("The update feed could not be read.")}, manual);
        return;
    }
    const bool newer = UpdateFeed::compareVersions(newest->version, m_version) > 0;
    report({newer ? Outcome::Kind::Available : Outcome::Kind::UpToDate, newest, {}}, manual);
}

void Updater::report(const Outcome& outcome, bool manual)
{
    if (outcome.kind == Outcome::Kind::Failed)
        qCWarning(appLog).noquote() << "Update check failed:" << outcome.message;
    if (manual || outcome.kind == Outcome::Kind::Available)
        Q_EMIT outcomeReady(outcome);
}
