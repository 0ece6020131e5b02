#include "chat/ChatComposer.h"
#include "chat/ChatTranscript.h"
#include "chat/ChatTurnView.h"
#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "platform/fake/FakePlatform.h"
#include "support/ReadableImages.h"
#include "ui/GrowingTextField.h"
#include "ui/QuoteButton.h"
#include "ui/Theme.h"
#include "ui/ThemePalette.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

HistoryStore::Conversation explained(const QString& selection)
{
    HistoryStore::Conversation conversation;
    conversation.kind = HistoryStore::Kind::Explain;
    conversation.title = QStringLiteral("Explained");
    conversation.selection = selection;
    conversation.appName = QStringLiteral("Editor");
    conversation.turns = {{QUuid::createUuid(), QStringLiteral("Why?"), QStringLiteral("Because."), {}, true}};
    return conversation;
}

} // namespace

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

    void showConversation(const HistoryStore::Conversation& conversation)
    {
        m_view = std::make_unique<ChatView>(new ChatViewModel(conversation, services()), true);
        m_view->resize(640, 600);
        m_view->show();
        QApplication::setActiveWindow(m_view.get());
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
    }

    // The icon beside "Deep research" in the first turn.
    QLabel* deepIcon() const
    {
        for (QLabel* label : m_view->transcript()->turnViews().first()->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                return label;
        }
        return nullptr;
    }

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_history = std::make_unique<HistoryStore>(m_dir->filePath("History.json"), m_platform->clock);
        m_sent.clear();
        m_view = std::make_unique<ChatView>(new ChatViewModel(QUuid::createUuid(), services()), true);
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
        QApplication::setActiveWindow(m_view.get());
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        QTest::keyClick(field(), Qt::Key_Period, Qt::ControlModifier);
        // A button's shortcut clicks it after a short press animation.
        QTRY_VERIFY(m_turn->isCancelled());
        QVERIFY(m_view->showsEmptyState());
        QVERIFY(m_view->transcript()->turnViews().isEmpty());
    }

    // The quote wraps to the pane's width (it never asks for a wider window), folds after four
    // wrapped lines with "…", unfolds when pressed, and shows "&" as written.
    void quoteWrapsAndFolds_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("foldedLines");
        QTest::addColumn<bool>("cut");
        QTest::newRow("one long paragraph") << QString("word ").repeated(600).trimmed() << 4 << true;
        QTest::newRow("a word longer than the pane") << QString("x").repeated(3000) << 4 << true;
        QTest::newRow("six short lines") << "one\ntwo\nthree\nfour\nfive\nsix" << 4 << true;
        QTest::newRow("four short lines") << "one\ntwo\nthree\nfour" << 4 << false;
        QTest::newRow("an ampersand") << "R&D notes" << 1 << false;
    }
    void quoteWrapsAndFolds()
    {
        QFETCH(QString, selection);
        QFETCH(int, foldedLines);
        QFETCH(bool, cut);
        showConversation(explained(selection));
        QVERIFY(m_view->minimumSizeHint().width() < 640);
        QuoteButton* quote = m_view->transcript()->quote();
        QTRY_VERIFY(quote->width() > 0);
        QCOMPARE(quote->shownLines().size(), foldedLines);
        QCOMPARE(quote->shownLines().last().endsWith(QStringLiteral("…")), cut);
        QCOMPARE(quote->accessibleName(), QStringLiteral("Selected text: ") + selection);
        QCOMPARE(quote->accessibleDescription(), QStringLiteral("Expand"));
        QTest::keyClick(m_view.get(), Qt::Key_D, Qt::AltModifier);
        QVERIFY(!quote->isExpanded());

        quote->click();
        QCOMPARE(quote->accessibleDescription(), QStringLiteral("Collapse"));
        const QStringList full = quote->shownLines();
        QCOMPARE(full.size() > foldedLines, cut);
        QCOMPARE(full.join(QString()).remove(QLatin1Char(' ')),
                 QString(selection).remove(QLatin1Char(' ')).remove('\n'));
        QTRY_COMPARE(quote->height(), int(quote->shownLines().size()) * quote->fontMetrics().lineSpacing());
        quote->click();
        QCOMPARE(quote->shownLines().size(), foldedLines);
    }

    void signInToChatFollowsTheAccount()
    {
        QPushButton* signIn = m_view->composer()->signInButton();
        QVERIFY(!signIn->isVisibleTo(m_view.get()));
        m_view->setSignedIn(false);
        QVERIFY(signIn->isVisibleTo(m_view.get()));
        QSignalSpy requested(m_view.get(), &ChatView::signInRequested);
        signIn->click();
        QCOMPARE(requested.count(), 1);
        m_view->setSignedIn(true);
        QVERIFY(!signIn->isVisibleTo(m_view.get()));
    }

    // The window says which chat it shows, as long as it shows it.
    void namesItsWindow()
    {
        m_view.reset();
        QWidget window;
        auto* view = new ChatView(new ChatViewModel(explained("Text"), services()), true, &window);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Explained — Explain from Editor"));
        view->hide();
        QCOMPARE(window.windowTitle(), QCoreApplication::applicationName());
        delete view;
        auto* chat = new ChatView(new ChatViewModel(QUuid::createUuid(), services()), true, &window);
        chat->show();
        QCOMPARE(window.windowTitle(), QStringLiteral("New chat — Chat"));
        chat->model().setDraft(QStringLiteral("Why is the sky blue?"));
        chat->model().send();
        QCOMPARE(window.windowTitle(), QStringLiteral("Why is the sky blue? — Chat"));
    }

    // Switching between light and dark redraws what is already shown in the other colours.
    void followsTheAppearance()
    {
        const QPalette before = QApplication::palette();
        QApplication::setPalette(ThemePalette::palette(false));
        showConversation(explained("Text"));
        m_view->model().setDraft(QStringLiteral("Hi"));
        auto looks = [this] {
            const QImage box = m_view->composer()->fieldBox()->grab().toImage();
            QuoteButton* quote = m_view->transcript()->quote();
            return QList<QImage>{
                box,
                m_view->composer()->sendButton()->icon().pixmap(16, QIcon::Disabled).toImage(),
                m_view->transcript()->turnViews().first()->findChild<QToolButton*>()->icon().pixmap(12).toImage(),
                deepIcon()->pixmap().toImage(),
                quote->grab(QRect(0, 0, 3, quote->height())).toImage(),
            };
        };
        const QList<QImage> light = looks();
        QCOMPARE(light[0].pixelColor(light[0].width() / 2, 3), Theme::surface(false));
        QApplication::setPalette(ThemePalette::palette(true));
        QCoreApplication::processEvents();
        const QList<QImage> dark = looks();
        QApplication::setPalette(before);
        QCOMPARE(dark[0].pixelColor(dark[0].width() / 2, 3), Theme::surface(true));
        QCOMPARE(dark[0].pixelColor(dark[0].width() / 2, 0), Theme::border(true));
        for (qsizetype i = 1; i < light.size(); ++i)
            QVERIFY2(light[i] != dark[i], qPrintable(QString::number(i)));
    }

    void emptyStateIconIsHiddenFromScreenReaders()
    {
        QVERIFY(m_view->showsEmptyState());
        QCOMPARE(readableImages(QAccessible::queryAccessibleInterface(m_view.get())), 0);
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
