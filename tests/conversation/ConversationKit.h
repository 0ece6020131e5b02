#pragma once

#include "RelayProcess.h"
#include "RelayScenario.h"
#include "conversation/Announcer.h"
#include "conversation/ConversationServices.h"
#include "conversation/TokenSource.h"
#include "history/HistoryStore.h"
#include "history/MainNavigation.h"
#include "model/ClaudeClient.h"
#include "platform/fake/FakePlatform.h"
#include "ui/MainWindowOpener.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <memory>

// An account that is signed in until the service rejects its token.
class StubAccount : public TokenSource {
public:
    std::optional<QString> current = QStringLiteral("test-token");
    int sessionsCleared = 0;

    std::optional<QString> token() const override { return current; }
    void clearLocalSession() override;
};

class RecordingAnnouncer : public Announcer {
public:
    QStringList announcements;
    void announce(const QString& text) override { announcements.append(text); }
};

class RecordingMainWindow : public MainWindowOpener {
public:
    QList<QPair<QUuid, bool>> shown;
    void show(const QUuid& conversation, bool newChat) override { shown.append({conversation, newChat}); }
};

// Everything a conversation test needs: the relay in scenario mode (add steps to `scenario`,
// then start()), a model client speaking to it, a history in a temporary folder, fake
// desktop services and recorders for announcements, the main window and text replacement.
class ConversationKit {
public:
    ConversationKit();

    bool start();
    ConversationServices services();
    // The parsed JSON bodies of the model requests the relay received, oldest first.
    QList<QJsonObject> requestBodies() const;
    // The "content" of every message of a request body.
    static QStringList messageContents(const QJsonObject& body);

    // A stream that searches the web (found sources, in order), answers in pieces and cites.
    static QList<QJsonObject> searchEvents(const QList<WebSource>& found, const QStringList& pieces,
                                           const QList<WebSource>& cited = {});
    static WebSource source(int number);

    RelayScenario scenario;
    RelayProcess relay;
    FakePlatform platform;
    QTemporaryDir dir;
    std::unique_ptr<HistoryStore> history;
    MainNavigation navigation;
    // The kit's own connections, closed before the relay stops so that it need not wait for them.
    std::unique_ptr<QNetworkAccessManager> network;
    std::unique_ptr<ClaudeClient> client;
    StubAccount account;
    RecordingAnnouncer announcer;
    RecordingMainWindow mainWindow;
    QList<QPair<Selection, QString>> replacements;
};
