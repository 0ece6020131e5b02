// Every text the user meets goes through translation. A translator that wraps each translation
// in ⟦ ⟧ is installed, the windows are built over sample data, and every visible text, tooltip,
// placeholder, accessible name and menu item of their widgets is read: with the marked parts,
// the sample data (written between « », and its links to example.com) and the names of months
// and days (which QLocale gives in the user's language) taken out, no letter may remain.
#include "app/ProgramMenu.h"
#include "chat/ChatView.h"
#include "chat/ChatViewModel.h"
#include "conversation/StreamedTurn.h"
#include "history/MainNavigation.h"
#include "mainwindow/MainView.h"
#include "mainwindow/MainWindowController.h"
#include "pill/ActionPillView.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeAutostart.h"
#include "platform/fake/FakePlatform.h"
#include "result/ResultView.h"
#include "result/ResultViewModel.h"
#include "selection/AccessibilityPermission.h"
#include "settings/AccountSection.h"
#include "settings/AppSettings.h"
#include "settings/SettingsWindowController.h"
#include "settings/WritingModeEditor.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTranslator>

namespace {

// Translates every text of every context into itself between ⟦ and ⟧.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* sourceText, const char*, int) const override
    {
        return QStringLiteral("⟦") + QString::fromUtf8(sourceText) + QStringLiteral("⟧");
    }
};

// The names of months and days in both lengths, as one pattern of whole words.
QRegularExpression calendarNames()
{
    QStringList names;
    const QLocale locale;
    for (const QLocale::FormatType format : {QLocale::LongFormat, QLocale::ShortFormat}) {
        for (int month = 1; month <= 12; ++month)
            names << locale.monthName(month, format) << locale.standaloneMonthName(month, format);
        for (int day = 1; day <= 7; ++day)
            names << locale.dayName(day, format) << locale.standaloneDayName(day, format);
    }
    for (QString& name : names)
        name = QRegularExpression::escape(name);
    return QRegularExpression(QStringLiteral("\\b(") + names.join(QLatin1Char('|')) + QStringLiteral(")\\b"));
}

// What is left of a text once the translated parts, the sample data and the calendar's names
// are taken out.
QString untranslatedPart(QString text)
{
    static const QRegularExpression innermost(QStringLiteral("⟦[^⟦⟧]*⟧"));
    static const QRegularExpression sample(QStringLiteral("«[^«»]*»|(https?://)?example\\.com\\S*"));
    static const QRegularExpression calendar = calendarNames();
    for (qsizetype length = -1; length != text.size();) {
        length = text.size();
        text.remove(innermost);
    }
    return text.remove(sample).remove(calendar);
}

QString plainText(const QLabel& label)
{
    if (label.textFormat() == Qt::PlainText || !Qt::mightBeRichText(label.text()))
        return label.text();
    QTextDocument document;
    document.setHtml(label.text());
    return document.toPlainText();
}

// The texts a widget shows or gives to assistive technology.
QStringList textsOf(QWidget* widget)
{
    QStringList texts{widget->toolTip(), widget->accessibleName()};
    if (auto* label = qobject_cast<QLabel*>(widget))
        texts.append(plainText(*label));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        texts.append(button->text());
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        texts.append(line->placeholderText());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        texts.append(edit->placeholderText());
    if (auto* edit = qobject_cast<QTextEdit*>(widget))
        texts.append(edit->placeholderText());
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            texts.append(combo->itemText(i));
    }
    if (auto* list = qobject_cast<QListWidget*>(widget)) {
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text() << list->item(i)->toolTip();
    }
    return texts;
}

void addActionTexts(const QList<QAction*>& actions, const QString& where, QStringList& escaped)
{
    for (QAction* action : actions) {
        if (!action->isVisible())
            continue;
        if (!untranslatedPart(action->text()).contains(QRegularExpression(QStringLiteral("\\p{L}"))))
            continue;
        escaped.append(where + QStringLiteral(" action: ") + action->text());
    }
}

// Every text under the window that has a letter outside translations and sample data, with
// where it was found. Menus are filled as if they opened.
QStringList escapedTexts(QWidget* window)
{
    static const QRegularExpression letter(QStringLiteral("\\p{L}"));
    QStringList escaped;
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : std::as_const(widgets)) {
        const QString where =
            QString::fromUtf8(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
        if (auto* menu = qobject_cast<QMenu*>(widget)) {
            Q_EMIT menu->aboutToShow();
            addActionTexts(menu->actions(), where, escaped);
            continue;
        }
        addActionTexts(widget->actions(), where, escaped);
        if (!widget->isVisibleTo(window))
            continue;
        for (const QString& text : textsOf(widget)) {
            if (untranslatedPart(text).contains(letter))
                escaped.append(where + QStringLiteral(": ") + text);
        }
    }
    return escaped;
}

ResultViewData resultData(const AIAction& action)
{
    ResultViewData data;
    data.action = action;
    data.selectionText = QStringLiteral("«the selected text»");
    data.appName = QStringLiteral("«Editor»");
    data.isEditable = true;
    data.canFollowUp = !action.isRewriting();
    return data;
}

HistoryStore::Conversation conversation(HistoryStore::Kind kind, const QDateTime& now)
{
    HistoryStore::Conversation c;
    c.kind = kind;
    c.title = QStringLiteral("«A title»");
    c.selection = QStringLiteral("«the selection»");
    c.appName = QStringLiteral("«Mail»");
    c.createdAt = c.updatedAt = now;
    c.turns = {HistoryStore::Turn{QUuid::createUuid(),
                                  QStringLiteral("«A question»"),
                                  QStringLiteral("«An answer»"),
                                  {{QStringLiteral("«A source»"), QUrl(QStringLiteral("https://example.com/a"))}},
                                  true}};
    return c;
}

} // namespace

class TestTranslatedTexts : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HistoryStore> m_history;
    MemoryPreferences m_preferences;
    std::unique_ptr<WritingModeStore> m_modes;
    MarkingTranslator m_translator;

    // Shows the window and fails with every text under it that escaped translation.
    void checkWindow(QWidget* window)
    {
        window->show();
        QCoreApplication::processEvents();
        const QStringList escaped = escapedTexts(window);
        if (!escaped.isEmpty())
            QFAIL(qPrintable(QStringLiteral("Texts without translation:\n") + escaped.join(QLatin1Char('\n'))));
    }

    void checkResult(const ResultViewData& data)
    {
        FloatingPanel panel(QSize(440, 480), true, true);
        panel.setContentWidget(new ResultView(data, m_platform->clock, *m_modes, {}));
        checkWindow(&panel);
    }

    void checkMainWindow(const std::optional<HistoryStore::Kind>& shown, const QString& search)
    {
        const QDateTime now = m_platform->clock.now();
        const HistoryStore::Conversation chat = conversation(HistoryStore::Kind::Chat, now);
        HistoryStore::Conversation rewrite = conversation(HistoryStore::Kind::Rewrite, now.addDays(-1));
        rewrite.style = QStringLiteral("«A style»");
        m_history->upsert(chat);
        m_history->upsert(rewrite);
        m_history->upsert(conversation(HistoryStore::Kind::Research, now.addDays(-3)));
        m_history->upsert(conversation(HistoryStore::Kind::Translate, now.addDays(-30)));
        HistoryStore& store = *m_history;
        auto makeChat = [&store](const std::optional<HistoryStore::Conversation>& conversation, const QUuid& id,
                                 QWidget* parent) -> QWidget* {
            ConversationServices services;
            services.history = &store;
            return ChatView::open(conversation, id, services.completed(), false, parent);
        };
        MainNavigation nav;
        MainWindowController controller({nav, store, m_platform->clock, m_preferences, makeChat, {}});
        controller.show(shown ? (*shown == HistoryStore::Kind::Chat ? chat.id : rewrite.id) : QUuid(), !shown);
        controller.view()->setSearch(search);
        checkWindow(controller.window());
    }

    void checkSettings(const QString& email)
    {
        FakeAutostart login;
        FakeAppearanceApplier applier;
        AppSettings settings(m_preferences, login, applier);
        AccessibilityPermission permission(m_platform->clock);
        m_modes->save(WritingMode{QUuid::createUuid(), QStringLiteral("«My mode»"), QStringLiteral("«Rules»")});
        QObject account;
        account.setProperty("email", email);
        account.setProperty("lastError", QStringLiteral("«An error»"));
        account.setProperty("keyringLocked", true);
        SettingsWindowController controller({settings,
                                             permission,
                                             *m_history,
                                             *m_modes,
                                             {},
                                             QStringLiteral("«Why not»"),
                                             QStringLiteral("«Which applications»"),
                                             [&account] { return new AccountSection(account); }});
        controller.show();
        checkWindow(controller.window());
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(QCoreApplication::installTranslator(&m_translator)); }

    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_history = std::make_unique<HistoryStore>(m_dir->filePath(QStringLiteral("History.json")), m_platform->clock);
        m_preferences = MemoryPreferences();
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
    }

    void cleanup()
    {
        m_modes.reset();
        m_history.reset();
        m_dir.reset();
        m_platform.reset();
    }

    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("scene");
        for (const char* scene :
             {"pill, editable", "pill, read-only", "result, streaming", "result, sources and a follow-up",
              "result, error", "result, rewrite", "result, first question", "main window, new chat",
              "main window, chat", "main window, rewrite", "main window, nothing matches", "settings, signed out",
              "settings, signed in", "writing-mode editor", "program menu"})
            QTest::newRow(scene) << QString::fromUtf8(scene);
    }

    void everyTextIsTranslated()
    {
        QFETCH(QString, scene);
        m_platform->grant->granted = false;
        if (scene.startsWith(QLatin1String("pill"))) {
            m_modes->save(WritingMode{QUuid::createUuid(), QStringLiteral("«My mode»"), QStringLiteral("«Rules»")});
            ActionPillView view(scene.endsWith(QLatin1String("editable")), true, *m_modes);
            checkWindow(&view);
        } else if (scene == QLatin1String("result, streaming")) {
            ResultViewData data = resultData(AIAction::explain());
            data.turns = {{QString(), QStringLiteral("«The answer so far»"), {}}};
            data.isStreaming = true;
            data.status = AIAction::explain().openingStatus();
            checkResult(data);
        } else if (scene == QLatin1String("result, sources and a follow-up")) {
            ResultViewData data = resultData(AIAction::research());
            data.turns = {{QString(),
                           QStringLiteral("«An answer»"),
                           {{QStringLiteral("«A source»"), QUrl(QStringLiteral("https://example.com/a%2Fb"))}}},
                          {QStringLiteral("«A question»"), QStringLiteral("«Another answer»"), {}}};
            checkResult(data);
        } else if (scene == QLatin1String("result, error")) {
            ResultViewData data = resultData(AIAction::ask());
            data.turns = {{QStringLiteral("«A question»"), QStringLiteral("«An answer»"), {}}};
            data.errorMessage = StreamedTurn::lengthLimitNotice();
            data.errorFix = ResultViewData::Fix::SignIn;
            checkResult(data);
        } else if (scene == QLatin1String("result, rewrite")) {
            ResultViewData data = resultData(AIAction::rewrite(RewriteStyle::Shorter));
            data.turns = {{QString(), QStringLiteral("«A shorter text»"), {}}};
            checkResult(data);
        } else if (scene == QLatin1String("result, first question")) {
            ResultViewData data = resultData(AIAction::ask());
            data.needsFirstQuestion = true;
            checkResult(data);
        } else if (scene == QLatin1String("main window, new chat")) {
            checkMainWindow(std::nullopt, QString());
        } else if (scene == QLatin1String("main window, chat")) {
            checkMainWindow(HistoryStore::Kind::Chat, QString());
        } else if (scene == QLatin1String("main window, rewrite")) {
            checkMainWindow(HistoryStore::Kind::Rewrite, QString());
        } else if (scene == QLatin1String("main window, nothing matches")) {
            checkMainWindow(HistoryStore::Kind::Chat, QStringLiteral("«no such text»"));
        } else if (scene.startsWith(QLatin1String("settings"))) {
            checkSettings(scene.endsWith(QLatin1String("signed in")) ? QStringLiteral("«ann@example.com»") : QString());
        } else if (scene == QLatin1String("writing-mode editor")) {
            WritingModeEditor editor(WritingMode{});
            checkWindow(&editor);
        } else if (scene == QLatin1String("program menu")) {
            FakeAutostart login;
            FakeAppearanceApplier applier;
            AppSettings settings(m_preferences, login, applier);
            AccessibilityPermission permission(m_platform->clock);
            QMenu menu;
            ProgramMenu program(
                settings, permission, [] { return false; }, &menu);
            Q_EMIT menu.aboutToShow();
            QStringList escaped;
            addActionTexts(menu.actions(), QStringLiteral("program menu"), escaped);
            QVERIFY2(escaped.isEmpty(), qPrintable(escaped.join(QLatin1Char('\n'))));
        } else {
            QFAIL("unknown scene");
        }
    }

    // What is stored or sent to the model stays in the program's own words under any translation.
    void storedAndSentTextsStayUntranslated_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const AIAction shorter = AIAction::rewrite(RewriteStyle::Shorter);
        QTest::newRow("shown style") << shorter.title() << QStringLiteral("⟦Make shorter⟧");
        QTest::newRow("history style") << shorter.historyStyle().value_or(QString()) << QStringLiteral("Make shorter");
        QTest::newRow("history kind") << shorter.historyKindName() << QStringLiteral("rewrite");
        QTest::newRow("chat prompt") << AIAction::chat(false).systemPrompt().left(11) << QStringLiteral("You are Hal");
        QTest::newRow("action prompt") << AIAction::explain().systemPrompt().left(9) << QStringLiteral("The user ");
    }
    void storedAndSentTextsStayUntranslated()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(text, expected);
    }

    // The check itself: a text outside translation is found, marked text and sample data are not.
    void untranslatedTextsAreFound_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("escaped");
        QTest::newRow("plain") << QStringLiteral("Copy") << true;
        QTest::newRow("translated") << QStringLiteral("⟦Copy⟧") << false;
        QTest::newRow("translated with sample data") << QStringLiteral("⟦Copy ⟧«My mode»") << false;
        QTest::newRow("nested") << QStringLiteral("⟦⟦Explain⟧ answer ready⟧") << false;
        QTest::newRow("joined outside translation") << QStringLiteral("⟦Explain⟧ answer ready") << true;
        QTest::newRow("number and link") << QStringLiteral("1  https://example.com/a") << false;
        QTest::newRow("date") << QLocale().toString(QDate(2026, 1, 14), QLocale::LongFormat) << false;
    }
    void untranslatedTextsAreFound()
    {
        QFETCH(QString, text);
        QFETCH(bool, escaped);
        QLabel label(text);
        label.setTextFormat(Qt::PlainText);
        label.show();
        QCOMPARE(escapedTexts(&label).isEmpty(), !escaped);
    }
};

QTEST_MAIN(TestTranslatedTexts)
#include "tst_translatedtexts.moc"
