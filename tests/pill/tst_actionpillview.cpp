#include "actions/Translation.h"
#include "pill/ActionPillView.h"
#include "pill/PillButton.h"
#include "pill/RewriteMenuButton.h"
#include "platform/MemoryPreferences.h"
#include "platform/PreferredLanguages.h"
#include "platform/fake/FakePreferredLanguages.h"
#include "settings/WritingModeStore.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QTest>

namespace {

// The row as names: each button's accessible name, "|" for a divider, "(off)" after a disabled one.
QStringList rowOf(const ActionPillView& view)
{
    QStringList row;
    for (int i = 0; i < view.layout()->count(); ++i) {
        const QWidget* widget = view.layout()->itemAt(i)->widget();
        const auto* button = qobject_cast<const PillButton*>(widget);
        row.append(!button ? QStringLiteral("|") : button->accessibleName() + (button->isEnabled() ? "" : "(off)"));
    }
    return row;
}

PillButton* buttonNamed(const ActionPillView& view, const QString& name)
{
    for (PillButton* button : view.buttons()) {
        if (button->accessibleName() == name)
            return button;
    }
    return nullptr;
}

} // namespace

class TestActionPillView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_preferences = std::make_unique<MemoryPreferences>();
        m_modes = std::make_unique<WritingModeStore>(*m_preferences);
        m_actions.clear();
        m_copies = m_pastes = 0;
    }

    void buttonSets_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("canPaste");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("read-only") << false << true << QStringList{"Explain", "Translate", "Research", "Search",
                                                                   "|",       "Ask AI",    "|",        "Copy"};
        QTest::newRow("editable, clipboard empty")
            << true << false << QStringList{"Rewrite", "|", "Ask AI", "|", "Copy", "Paste(off)"};
        QTest::newRow("editable, clipboard text")
            << true << true << QStringList{"Rewrite", "|", "Ask AI", "|", "Copy", "Paste"};
    }
    void buttonSets()
    {
        QFETCH(bool, editable);
        QFETCH(bool, canPaste);
        auto view = makeView(editable, canPaste);
        QTEST(rowOf(*view), "row");
    }

    void buttonsReportTheirActions_data()
    {
        QTest::addColumn<bool>("editable");
        QTest::addColumn<QStringList>("names"); // the button, the action it reports
        QTest::newRow("rewrite plain click: improve") << true << QStringList{"Rewrite", "Improve writing"};
        QTest::newRow("ask") << true << QStringList{"Ask AI", "Ask AI"};
        QTest::newRow("explain") << false << QStringList{"Explain", "Explain"};
        QTest::newRow("translate") << false << QStringList{"Translate", "Translate"};
        QTest::newRow("research") << false << QStringList{"Research", "Research"};
        QTest::newRow("search") << false << QStringList{"Search", "Web search"};
    }
    void buttonsReportTheirActions()
    {
        QFETCH(bool, editable);
        QFETCH(QStringList, names);
        auto view = makeView(editable, true);
        view->show();
        PillButton* pressed = buttonNamed(*view, names[0]);
        QVERIFY(pressed);
        QTest::mouseClick(pressed, Qt::LeftButton, {}, QPoint(12, pressed->height() / 2));
        QCOMPARE(m_actions.size(), 1);
        QCOMPARE(m_actions.first().title(), names[1]);
    }

    void rewriteMenu_data()
    {
        QTest::addColumn<QStringList>("modes");
        QTest::newRow("no writing modes") << QStringList{};
        QTest::newRow("two writing modes") << QStringList{"Legal", "Haiku"};
        QTest::newRow("a mode with an ampersand") << QStringList{"R&D notes"};
    }
    void rewriteMenu()
    {
        QFETCH(QStringList, modes);
        for (const QString& name : modes)
            m_modes->save(WritingMode{QUuid::createUuid(), name, QStringLiteral("Write it so.")});
        auto view = makeView(true, true);
        auto* rewrite = qobject_cast<RewriteMenuButton*>(buttonNamed(*view, QStringLiteral("Rewrite")));
        QVERIFY(rewrite);
        QStringList expected;
        for (const RewriteStyle style : RewriteStyle::all())
            expected.append(style.title());
        if (!modes.isEmpty())
            expected.append(QStringLiteral("[Your writing modes]"));
        expected.append(modes);
        QStringList shown;
        for (const QAction* item : rewrite->menu()->actions())
            // What the menu shows: a lone "&" would mark a shortcut and not be seen.
            shown.append(item->isSeparator() ? "[" + item->text() + "]" : item->iconText());
        QCOMPARE(shown, expected);

        rewrite->menu()->actions().last()->trigger();
        QCOMPARE(m_actions.size(), 1);
        QCOMPARE(m_actions.first().title(),
                 modes.isEmpty() ? RewriteStyle(RewriteStyle::Translate).title() : modes.last());
    }

    void copyShowsItsFeedback()
    {
        auto view = makeView(false, true);
        PillButton* copy = view->copyButton();
        QCOMPARE(copy->iconName(), QStringLiteral("edit-copy"));
        copy->click();
        QCOMPARE(m_copies, 1);
        QVERIFY(view->copied());
        QCOMPARE(copy->iconName(), QStringLiteral("object-select"));
        QCOMPARE(copy->accessibleName(), QStringLiteral("Copied"));
        QVERIFY(m_actions.isEmpty());
    }

    void translateHelpNamesTheLanguage()
    {
        PreferredLanguages::setCurrent(std::make_unique<FakePreferredLanguages>(QStringList{"fr-FR", "en"}));
        auto view = makeView(false, true);
        const PillButton* translate = buttonNamed(*view, QStringLiteral("Translate"));
        QCOMPARE(translate->toolTip(), QStringLiteral("Translate the selected text into French"));
        QCOMPARE(translate->accessibleDescription(), translate->toolTip());
        PreferredLanguages::setCurrent(nullptr);
    }

    // Keyboard use walks the enabled buttons (wrapping) and presses the current one.
    void keyboardUse_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("first button") << QList<int>{Qt::Key_Return} << "Improve writing";
        QTest::newRow("right: ask") << QList<int>{Qt::Key_Right, Qt::Key_Space} << "Ask AI";
        QTest::newRow("left wraps past disabled paste to copy") << QList<int>{Qt::Key_Left, Qt::Key_Return} << "copy";
        QTest::newRow("escape presses nothing") << QList<int>{Qt::Key_Escape, Qt::Key_Return} << "";
    }
    void keyboardUse()
    {
        QFETCH(QList<int>, keys);
        auto view = makeView(true, false);
        view->show();
        view->startKeyboardUse();
        for (const int key : keys)
            QTest::keyClick(view.get(), Qt::Key(key));
        const QString result = m_copies              ? QStringLiteral("copy")
                               : m_actions.isEmpty() ? QString()
                                                     : m_actions.first().title();
        QTEST(result, "pressed");
    }

    // Keys reach the pill the way the window system delivers them (to its window, then to the
    // grabbing widget or the open menu): Down opens the styles' menu, which then takes the keys.
    void keyboardMenu_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("down, down: the second style")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}
            << RewriteStyle::all().at(1).title();
        QTest::newRow("escape closes the menu, the pill keeps the keys")
            << QList<int>{Qt::Key_Down, Qt::Key_Escape, Qt::Key_Right, Qt::Key_Return} << "Ask AI";
    }
    void keyboardMenu()
    {
        QFETCH(QList<int>, keys);
        auto view = makeView(true, false);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->startKeyboardUse();
        for (const int key : keys) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup->windowHandle() : view->windowHandle(), Qt::Key(key));
        }
        QTRY_COMPARE(m_actions.size(), 1);
        QTEST(m_actions.first().title(), "pressed");
        view->stopKeyboardUse();
    }

private:
    std::unique_ptr<ActionPillView> makeView(bool editable, bool canPaste)
    {
        auto view = std::make_unique<ActionPillView>(editable, canPaste, *m_modes);
        connect(view.get(), &ActionPillView::actionRequested, this,
                [this](const AIAction& action) { m_actions.append(action); });
        connect(view.get(), &ActionPillView::copyRequested, this, [this] { ++m_copies; });
        connect(view.get(), &ActionPillView::pasteRequested, this, [this] { ++m_pastes; });
        return view;
    }

    std::unique_ptr<MemoryPreferences> m_preferences;
    std::unique_ptr<WritingModeStore> m_modes;
    QList<AIAction> m_actions;
    int m_copies = 0;
    int m_pastes = 0;
};

QTEST_MAIN(TestActionPillView)
#include "tst_actionpillview.moc"
