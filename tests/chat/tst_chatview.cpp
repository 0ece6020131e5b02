#include "chat/ChatComposer.h"
#include "chat/ChatTranscript.h"
#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "platform/fake/FakePlatform.h"
#include "result/GrowingTextField.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The chat pane over a real chat model whose turns never reach a network: each started turn
// is recorded and left streaming, so the view can be driven through a turn's life by hand.
class TestChatView : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<ChatView> m_view;
    QStringList m_sent;
    std::shared_ptr<CancelToken> m_turn;

    ConversationServices services()
    {
        ConversationServices services;
        services.history = m_history.get();
        services.clock = &m_platform->clock;
        services.streamTurn = [this](const QString&, const QJsonArray& messages, const AIAction&,
                                     const std::optional<QString>&, ClaudeClient::EventHandler,
                                     ClaudeClient::Completion) {
            m_sent.append(messages.last().toObject().value(QStringLiteral("content")).toString());
            return TaskHandle::create(&m_turn);
        };
        return services.completed();
    }

    GrowingTextField* field() const { return m_view->composer()->field(); }

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_history = std::make_unique<HistoryStore>(m_dir->filePath("History.json"), m_platform->clock);
        m_sent.clear();
        m_view = std::make_unique<ChatView>(new ChatViewModel(QUuid::createUuid(), services()), true, [] {});
        m_view->show();
    }

    void cleanup()
    {
        m_view.reset();
        m_history.reset();
        m_platform.reset();
    }

    void composerKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("sent");
        QTest::addColumn<QString>("draft");
        QTest::newRow("Return sends") << "Hello" << int(Qt::NoModifier) << QStringList{"Hello"} << "";
        QTest::newRow("Alt+Return starts a line") << "Hello" << int(Qt::AltModifier) << QStringList{} << "Hello\n";
        QTest::newRow("Return on blank text") << "  " << int(Qt::NoModifier) << QStringList{} << "  ";
    }

    void composerKeys()
    {
        QFETCH(QString, typed);
        QFETCH(int, modifiers);
        QFETCH(QStringList, sent);
        QTest::keyClicks(field(), typed);
        QTest::keyClick(field(), Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(m_sent, sent);
        QTEST(m_view->model().draft(), "draft");
        QCOMPARE(m_view->showsEmptyState(), sent.isEmpty());
    }

    void aTurnFromEmptyStateToStopAndBack()
    {
        QVERIFY(m_view->showsEmptyState());
        QCOMPARE(field()->placeholderText(), QStringLiteral("Message Halvora"));
        QTest::keyClicks(field(), QStringLiteral("Why?"));
        QVERIFY(m_view->composer()->sendButton()->isEnabled());
        m_view->composer()->sendButton()->click();
        QVERIFY(!m_view->showsEmptyState());
        QVERIFY(m_view->transcript()->statusRow()->isVisibleTo(m_view.get()));
        QCOMPARE(m_view->transcript()->turnViews().size(), 1);
        QCOMPARE(field()->placeholderText(), QStringLiteral("Reply…"));
        QTest::keyClicks(field(), QStringLiteral("More"));
        QVERIFY(!m_view->composer()->sendButton()->isEnabled());
        for (QPushButton* button : m_view->transcript()->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("Stop"))
                QCOMPARE(button->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Period));
        }
        m_view->model().cancel();
        QVERIFY(m_turn->isCancelled());
        QVERIFY(m_view->showsEmptyState());
        QVERIFY(m_view->transcript()->turnViews().isEmpty());
    }

    void leavingTheChatStopsItsTurn()
    {
        QTest::keyClicks(field(), QStringLiteral("Why?"));
        QTest::keyClick(field(), Qt::Key_Return);
        QVERIFY(!m_turn->isCancelled());
        m_view.reset();
        QVERIFY(m_turn->isCancelled());
    }
};

QTEST_MAIN(TestChatView)
#include "tst_chatview.moc"
