#include "history/HistoryStore.h"
#include "platform/MemoryPreferences.h"
#include "platform/fake/FakeAppearanceApplier.h"
#include "platform/fake/FakeAutostart.h"
#include "platform/fake/FakePlatform.h"
#include "selection/AccessibilityPermission.h"
#include "settings/AccessibilitySection.h"
#include "settings/AccountSection.h"
#include "settings/AppSettings.h"
#include "settings/BehaviorSection.h"
#include "settings/HistorySection.h"
#include "settings/SettingsWindowController.h"
#include "settings/WritingModeEditor.h"
#include "settings/WritingModeStore.h"
#include "settings/WritingModesSection.h"
#include "support/TestRows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Appearance = AppSettings::Appearance;

// The account's observable state as the settings read it.
class AccountState : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString email MEMBER email NOTIFY changed)
    Q_PROPERTY(bool isSigningIn MEMBER isSigningIn NOTIFY changed)
    Q_PROPERTY(QString lastError MEMBER lastError NOTIFY changed)
public:
    QString email;
    bool isSigningIn = false;
    QString lastError;
Q_SIGNALS:
    void changed();
};

class TestSettingsView : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePlatform> m_platform;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HistoryStore> m_history;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<AccessibilityPermission> m_permission;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<SettingsWindowController> m_controller;
    MemoryPreferences m_preferences;
    FakeAutostart m_login;
    FakeAppearanceApplier m_applier;
    int m_accountRefreshes = 0;

    SettingsView* view()
    {
        m_controller->show();
        return m_controller->view();
    }

    void addConversation()
    {
        HistoryStore::Conversation conversation;
        conversation.title = QStringLiteral("A chat");
        conversation.createdAt = conversation.updatedAt = m_platform->clock.now();
        conversation.turns.append(
            HistoryStore::Turn{QUuid::createUuid(), QStringLiteral("Hi"), QStringLiteral("Hello"), {}, false});
        m_history->upsert(conversation);
    }

    static WritingModeEditor* editorFor(const QString& name, const QString& rules)
    {
        auto* editor = new WritingModeEditor(WritingMode{QUuid::createUuid(), name, rules});
        editor->setAttribute(Qt::WA_DeleteOnClose);
        return editor;
    }

private Q_SLOTS:
    void init()
    {
        Preferences::setInstance(std::make_unique<MemoryPreferences>());
        m_platform = std::make_unique<FakePlatform>();
        m_dir = std::make_unique<QTemporaryDir>();
        m_history = std::make_unique<HistoryStore>(m_dir->filePath("History.json"), m_platform->clock);
        m_settings = std::make_unique<AppSettings>(m_preferences, m_login, m_applier);
        m_permission = std::make_unique<AccessibilityPermission>(m_platform->clock);
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
        m_accountRefreshes = 0;
        m_controller = std::make_unique<SettingsWindowController>(SettingsView::Services{
            *m_settings, *m_permission, *m_history, *m_modes, [this] { ++m_accountRefreshes; }, {}, {}, {}});
    }

    void cleanup()
    {
        m_controller.reset();
        m_modes.reset();
        m_permission.reset();
        m_settings.reset();
        m_history.reset();
        m_platform.reset();
    }

    // An open window is reused; a closed one is taken apart and the next show makes a new one
    // that shows the state of the moment.
    void aClosedWindowIsTakenApartAndMadeAgain()
    {
        m_controller->show();
        const QPointer<QWidget> first = m_controller->window();
        m_controller->show();
        QCOMPARE(m_controller->window(), first.data());
        QCOMPARE(m_accountRefreshes, 1);
        first->close();
        QTRY_VERIFY(!first);
        QVERIFY(!m_controller->window());
        QVERIFY(!m_controller->view());
        m_platform->grant->granted = false;
        m_controller->show();
        QVERIFY(m_controller->window());
        QCOMPARE(m_controller->window()->windowTitle(), QStringLiteral("Halvora Settings"));
        QCOMPARE(m_accountRefreshes, 2);
        QCOMPARE(m_controller->view()->accessibilitySection()->statusText(), QStringLiteral("Not granted"));
        // 520 wide, no more and no less; only the height follows the user.
        QWidget* again = m_controller->window();
        again->resize(900, 800);
        QCOMPARE(again->size(), QSize(520, 800));
        again->resize(300, 300);
        QCOMPARE(again->size(), QSize(520, 520));
    }

    void accessibilityExplanationOnlyWhileNotGranted_data()
    {
        QTest::addColumn<bool>("trusted");
        addRow("granted", true);
        addRow("not granted", false);
    }

    void accessibilityExplanationOnlyWhileNotGranted()
    {
        QFETCH(bool, trusted);
        m_platform->grant->granted = trusted;
        AccessibilitySection* section = view()->accessibilitySection();
        QCOMPARE(section->statusText(), trusted ? QStringLiteral("Granted") : QStringLiteral("Not granted"));
        auto* open = section->findChild<QPushButton*>();
        QCOMPARE(open->isVisible(), !trusted);
        if (!trusted) {
            QTest::mouseClick(open, Qt::LeftButton);
            QCOMPARE(m_platform->grant->settingsOpenings, 1);
        }
    }

    // The desktop's accessibility support is turned on only from its switch here, which keeps the
    // choice and follows it when it changes elsewhere.
    void accessibilitySwitchIsTheUsersChoice()
    {
        m_platform->grant->granted = false;
        AccessibilitySection* section = view()->accessibilitySection();
        auto* choice = section->findChild<QCheckBox*>();
        QVERIFY(choice);
        QVERIFY(!choice->isChecked());
        QCOMPARE(m_platform->grant->requests, 0);
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        QVERIFY(m_permission->switchesOn());
        QCOMPARE(m_platform->grant->requests, 1);
        m_permission->setSwitchesOn(false);
        QVERIFY(!choice->isChecked());
        QCOMPARE(m_platform->grant->requests, 1);
    }

    // Which open applications give their text through accessibility and which only through the
    // primary selection, as the desktop says when the form is shown; names are plain text.
    void listsHowEachOpenApplicationIsRead_data()
    {
        QTest::addColumn<QStringList>("onBus");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing open") << QStringList() << QString();
        QTest::newRow("an editor on the bus, a terminal off it")
            << QStringList{"Text Editor"}
            << "Open now:\nText Editor: its text, where it lies, and Replace\n"
               "XTerm: the text through the primary selection only";
        QTest::newRow("a nameless application is left out, markup stays text")
            << QStringList{"<b>Bold</b>"} << "Open now:\n<b>Bold</b>: its text, where it lies, and Replace";
    }
    void listsHowEachOpenApplicationIsRead()
    {
        QFETCH(QStringList, onBus);
        QFETCH(QString, expected);
        const QString tag = QTest::currentDataTag();
        if (tag.startsWith(QLatin1String("an editor"))) {
            m_platform->workspace->running.insert(700, QStringLiteral("XTerm"));
            m_platform->workspace->running.insert(600, QStringLiteral("Text Editor"));
        } else if (tag.startsWith(QLatin1String("a nameless"))) {
            m_platform->workspace->running.insert(600, QStringLiteral("<b>Bold</b>"));
            m_platform->workspace->running.insert(650, QString());
        }
        // Our own windows are never listed.
        m_platform->workspace->running.insert(m_platform->workspace->ownPid, QStringLiteral("Halvora"));
        QString fixture = QStringLiteral(R"({"applications": [)");
        if (!onBus.isEmpty())
            fixture += QStringLiteral(R"({"pid": 600, "elements": []}, {"pid": 650, "elements": []})");
        fixture += QStringLiteral("]}");
        QVERIFY(m_platform->accessibility->load(fixture.toUtf8()));
        AccessibilitySection* section = view()->accessibilitySection();
        QCOMPARE(section->reachText(), expected);
    }

    void behaviorControlsFollowAndWriteTheSettings()
    {
        BehaviorSection* section = view()->behaviorSection();
        m_settings->setAutoPopup(false);
        QVERIFY(!section->autoPopupSwitch()->isChecked());
        section->autoPopupSwitch()->click();
        QVERIFY(m_settings->autoPopup());

        m_settings->setAppearance(Appearance::Light);
        QCOMPARE(section->appearancePicker()->currentText(), QStringLiteral("Light"));
        section->appearancePicker()->setCurrentIndex(2);
        Q_EMIT section->appearancePicker()->activated(2);
        QCOMPARE(m_settings->appearance(), Appearance::Dark);
        QCOMPARE(m_applier.applied().last(), AppearanceApplier::Scheme::Dark);
    }

    void launchAtLoginShowsTheDesktopsAnswer()
    {
        QCheckBox* login = view()->behaviorSection()->launchAtLoginSwitch();
        m_login.setRefusal(QStringLiteral("read-only folder"));
        login->click();
        QVERIFY(!login->isChecked());
        m_login.setRefusal(QString());
        login->click();
        QVERIFY(login->isChecked());
        QVERIFY(m_login.isEnabled());
    }

    void clearHistoryAsksFirst_data()
    {
        QTest::addColumn<bool>("confirm");
        addRow("confirmed", true);
        addRow("cancelled", false);
    }

    void clearHistoryAsksFirst()
    {
        QFETCH(bool, confirm);
        HistorySection* section = view()->historySection();
        QVERIFY(!section->clearButton()->isEnabled());
        addConversation();
        QVERIFY(section->clearButton()->isEnabled());
        section->clearButton()->click();
        QMessageBox* box = section->confirmation();
        QVERIFY(box);
        QVERIFY(box->text().contains(QStringLiteral("It can't be undone.")));
        QAbstractButton* clear = nullptr;
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == QStringLiteral("Clear History"))
                clear = button;
        }
        QVERIFY(clear);
        (confirm ? clear : box->button(QMessageBox::Cancel))->click();
        QTRY_VERIFY(!section->isConfirmingClear());
        QCOMPARE(m_history->conversations().isEmpty(), confirm);
        QCOMPARE(section->clearButton()->isEnabled(), !confirm);
    }

    void savingSwitchKeepsTheHistory()
    {
        addConversation();
        QCheckBox* save = view()->historySection()->saveSwitch();
        QVERIFY(save->isChecked());
        save->click();
        QVERIFY(!m_history->isEnabled());
        QCOMPARE(m_history->conversations().size(), 1);
        addConversation();
        QCOMPARE(m_history->conversations().size(), 1);
    }

    void accountSectionFollowsTheAccount_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<bool>("signingIn");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("button");
        addRow("signed out", "", false, "", "Sign In…");
        addRow("waiting for the link", "", true, "", "Waiting for the link…");
        addRow("failed", "", false, "The link has expired.", "Sign In…");
        addRow("signed in", "ada@example.org", false, "", "Sign In…");
    }

    void accountSectionFollowsTheAccount()
    {
        QFETCH(QString, email);
        QFETCH(bool, signingIn);
        QFETCH(QString, error);
        QFETCH(QString, button);
        AccountState account;
        int signIns = 0;
        AccountSection section(account);
        connect(&section, &AccountSection::signInRequested, &section, [&signIns] { ++signIns; });
        section.show();
        account.email = email;
        account.isSigningIn = signingIn;
        account.lastError = error;
        Q_EMIT account.changed();
        QCOMPARE(section.signInButton()->isVisible(), email.isEmpty());
        QCOMPARE(section.emailLabel()->isVisible(), !email.isEmpty());
        QCOMPARE(section.signInButton()->text(), button);
        QCOMPARE(section.progress()->isVisible(), signingIn);
        QCOMPARE(section.errorLabel()->isVisible(), !error.isEmpty());
        QCOMPARE(section.errorLabel()->text(), error);
        if (email.isEmpty()) {
            section.signInButton()->click();
            QCOMPARE(signIns, 1);
        }
    }

    void editorSaveRuleAndCounter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rules");
        QTest::addColumn<bool>("canSave");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<bool>("orange");
        addRow("empty", "", "", false, "0 of 6000 characters", false);
        addRow("name of spaces", "   ", "Be brief.", false, "9 of 6000 characters", false);
        addRow("name of tabs and no-break spaces", "\t\u00A0", "Be brief.", false, "9 of 6000 characters", false);
        addRow("blank rules", "Brief", "\n \n", false, "3 of 6000 characters", false);
        addRow("ordinary", "Brief", "Be brief.", true, "9 of 6000 characters", false);
        addRow("at the limit", "Long", QString(6000, 'a'), true, "6000 of 6000 characters", false);
        addRow("over the limit", "Long", QString(6500, 'a'), true, "6500 of 6000 characters", true);
    }

    void editorSaveRuleAndCounter()
    {
        QFETCH(QString, name);
        QFETCH(QString, rules);
        QFETCH(bool, canSave);
        QFETCH(QString, counter);
        QFETCH(bool, orange);
        WritingModeEditor* editor = editorFor(QString(), QString());
        editor->findChild<QLineEdit*>()->setText(name);
        editor->findChild<QPlainTextEdit*>()->setPlainText(rules);
        QCOMPARE(editor->canSave(), canSave);
        QCOMPARE(editor->counterText(), counter);
        QCOMPARE(editor->isCounterOrange(), orange);
        editor->close();
    }

    void editorKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("saves");
        QTest::addColumn<int>("cancels");
        addRow("Return saves", "Brief", int(Qt::Key_Return), 1, 0);
        addRow("Return with Save disabled", " ", int(Qt::Key_Return), 0, 0);
        addRow("Escape cancels", "Brief", int(Qt::Key_Escape), 0, 1);
    }

    void editorKeys()
    {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(int, saves);
        QFETCH(int, cancels);
        WritingModeEditor* editor = editorFor(name, QStringLiteral("Be brief."));
        QSignalSpy saved(editor, &WritingModeEditor::saved);
        QSignalSpy cancelled(editor, &WritingModeEditor::cancelled);
        editor->show();
        QLineEdit* field = editor->findChild<QLineEdit*>();
        field->setFocus();
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(saved.size(), saves);
        QCOMPARE(cancelled.size(), cancels);
        editor->close();
    }

    void editedModeReplacesInPlaceAndCancelLeavesIt()
    {
        m_modes->save(WritingMode{QUuid::createUuid(), QStringLiteral("First"), QStringLiteral("One")});
        m_modes->save(WritingMode{QUuid::createUuid(), QStringLiteral("Second"), QStringLiteral("Two")});
        WritingModesSection* section = view()->writingModesSection();
        section->edit(m_modes->modes().first());
        section->editor()->findChild<QLineEdit*>()->setText(QStringLiteral("Changed"));
        section->editor()->reject();
        QCOMPARE(m_modes->modes().first().name, QStringLiteral("First"));
        section->edit(m_modes->modes().first());
        section->editor()->findChild<QLineEdit*>()->setText(QStringLiteral("Renamed "));
        section->editor()->accept();
        QCOMPARE(m_modes->modes().size(), 2);
        QCOMPARE(m_modes->modes().first().name, QStringLiteral("Renamed"));
        for (QToolButton* remove : section->findChildren<QToolButton*>()) {
            if (remove->accessibleName() == QStringLiteral("Delete Renamed"))
                remove->click();
        }
        QCOMPARE(m_modes->modes().size(), 1);
        QCOMPARE(m_modes->modes().first().name, QStringLiteral("Second"));
    }
};

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
