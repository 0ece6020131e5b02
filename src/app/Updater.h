#pragma once

#include "app/UpdateFeed.h"
#include "common/TaskHandle.h"

#include <QObject>

class Clock;
class QNetworkAccessManager;
class QNetworkReply;
class Preferences;

// Looks for a newer release in the update feed fixed at build time: at start at most once a
// day, and whenever the user asks. Without a feed, updates come with the package manager and
// the user is told so. The outcome is signalled by outcomeReady; an automatic check reports
// only a newer version.
class Updater : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        enum class Kind { NotConfigured, UpToDate, Available, Failed };
        Kind kind = Kind::NotConfigured;
        std::optional<UpdateFeed> release;
        QString message;
    };

    Updater(const QUrl& feed, const QString& currentVersion, Preferences& defaults, Clock& clock,
            QObject* parent = nullptr);
    ~Updater() override;

    // The feed of this build (HALVORA_UPDATE_FEED_URL), empty when none was given.
    static QUrl builtInFeed();
    static QString lastCheckKey();

    // The start-up check: runs when the last one is a day old or more.
    void checkInBackground();
    // "Check for Updates…".
    void checkNow();
    bool isChecking() const { return m_reply != nullptr; }

Q_SIGNALS:
    void outcomeReady(const Updater::Outcome& outcome);

private:
    void start(bool manual);
    void finish(bool manual);
    void report(const Outcome& outcome, bool manual);

    QUrl m_feed;
    QString m_version;
    Preferences& m_preferences;
    Clock& m_clock;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
};
