#include "pill/ActionPillController.h"
#include "pill/ActionPillView.h"
#include "pill/PillButton.h"
#include "platform/MemoryPreferences.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "platform/linux/QtClipboard.h"
#include "settings/WritingModeStore.h"
#include "ui/FloatingPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

namespace {

// Clipboard content that offers formats and counts how often their data is fetched.
class OfferedFormats : public QMimeData {
public:
    explicit OfferedFormats(QStringList formats) : m_formats(std::move(formats)) {}
    QStringList formats() const override { return m_formats; }
    mutable int reads = 0;

protected:
    QVariant retrieveData(const QString&, QMetaType) const override
    {
        ++reads;
        return QByteArray(4 << 20, 'x');
    }

private:
    QStringList m_formats;
};

// The panel's opacity at the moment it is shown.
class OpacityAtShow : public QObject {
public:
    explicit OpacityAtShow(QWidget* panel) { panel->installEventFilter(this); }
    std::optional<double> opacity;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            opacity = static_cast<QWidget*>(watched)->windowOpacity();
        return false;
    }
};

// A left-button drag by offset from a point of target, as the window system delivers it.
void drag(QWidget* target, const QPoint& from, const QPoint& offset)
{
    const QPoint global = target->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, from, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent move(QEvent::MouseMove, from + offset, global + offset, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, from + offset, global + offset, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace

class TestActionPillController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_modes = std::make_unique<WritingModeStore>(m_preferences);
        m_pill = std::make_unique<ActionPillController>(m_platform->clock, *m_modes);
        connect(m_pill.get(), &PillPresenter::actionChosen, this,
                [this](const AIAction& action, const Selection& selection) {
                    m_reported.append(action.title() + " on " + selection.text);
                });
        m_reported.clear();
    }
    void cleanup()
    {
        m_pill.reset();
        m_platform.reset();
    }

    void showsBesideTheSelection()
    {
        m_pill->show(selection(QRectF(100, 500, 200, 20)));
        FloatingPanel* panel = m_pill->panel();
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(QPoint(panel->x(), panel->y() + panel->height()), QPoint(100, 500 - 8));
        QCOMPARE(panel->size(), m_pill->view()->sizeHint());
    }

    void neverTakesTheFocus()
    {
        m_pill->show(selection());
        const Qt::WindowFlags flags = m_pill->panel()->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(flags.testFlag(Qt::Tool));
        QVERIFY(m_pill->panel()->testAttribute(Qt::WA_ShowWithoutActivating));
        QVERIFY(!m_pill->panel()->isActiveWindow());
        QVERIFY(!m_pill->panel()->takesFocus());
    }

    // The panel comes back transparent: shown at the opacity it was left at, it would flash.
    void secondShowReusesThePanelAndFadesAgain()
    {
        m_pill->show(selection());
        FloatingPanel* first = m_pill->panel();
        QTRY_COMPARE(first->windowOpacity(), 1.0);
        m_pill->hidePanel();
        const OpacityAtShow shown(first);
        m_pill->show(selection(QRectF(300, 300, 50, 20), false, QStringLiteral("other")));
        QCOMPARE(m_pill->panel(), first);
        QCOMPARE(shown.opacity, std::optional(0.0));
        QVERIFY(first->windowOpacity() < 1.0);
        QVERIFY(!m_pill->view()->isEditable());
        QCOMPARE(m_pill->selection()->text, QStringLiteral("other"));
    }

    // Paste is judged from the formats the clipboard offers, on the desktop's own clipboard;
    // fetching their data could stall the pill on a large image or a slow owner.
    void pasteFollowsTheOfferedFormats_data()
    {
        QTest::addColumn<QStringList>("formats");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("empty clipboard") << QStringList() << false;
        QTest::newRow("plain text") << QStringList{"text/plain"} << true;
        QTest::newRow("text beside a large image") << QStringList{"image/png", "text/plain;charset=utf-8"} << true;
        QTest::newRow("image only") << QStringList{"image/png"} << false;
        QTest::newRow("rich text only") << QStringList{"text/html"} << false;
    }
    void pasteFollowsTheOfferedFormats()
    {
        QFETCH(QStringList, formats);
        const FakePlatform& fake = *m_platform;
        Platform::install({fake.accessibility, fake.grant, fake.events, fake.screens, std::make_shared<QtClipboard>(),
                           fake.workspace, fake.keyboard, fake.secrets, fake.primary});
        auto* offered = new OfferedFormats(formats);
        QGuiApplication::clipboard()->setMimeData(offered);
        m_pill->show(selection());
        const PillButton* paste = m_pill->view()->buttons().last();
        QCOMPARE(paste->accessibleName(), QStringLiteral("Paste"));
        QTEST(paste->isEnabled(), "enabled");
        QCOMPARE(offered->reads, 0);
        QGuiApplication::clipboard()->clear();
    }

    // The background moves the pill, which no window manager moves for it; a button does not.
    void draggingTheBackgroundMovesThePill_data()
    {
        QTest::addColumn<bool>("onAButton");
        QTest::newRow("background") << false;
        QTest::newRow("button") << true;
    }
    void draggingTheBackgroundMovesThePill()
    {
        QFETCH(bool, onAButton);
        m_pill->show(selection());
        const QPoint start = m_pill->panel()->pos();
        ActionPillView* view = m_pill->view();
        QWidget* target = onAButton ? static_cast<QWidget*>(view->copyButton()) : view;
        drag(target, onAButton ? target->rect().center() : QPoint(2, view->height() / 2), QPoint(30, 20));
        QTRY_COMPARE(m_pill->panel()->pos(), onAButton ? start : start + QPoint(30, 20));
        QVERIFY(m_pill->panel()->isVisible());
    }

    void actionHidesThePillAndReportsTheSelection()
    {
        m_pill->show(selection());
        m_pill->view()->buttons().first()->click();
        QVERIFY(!m_pill->panel()->isVisible());
        QCOMPARE(m_reported, QStringList{"Improve writing on brown fox"});
    }

    void copyStaysThenHides()
    {
        m_platform->clipboard->content = {{{QStringLiteral("text/html"), "<b>x</b>"}}};
        m_pill->show(selection());
        m_pill->view()->copyButton()->click();
        QCOMPARE(m_platform->clipboard->content.size(), 1);
        QCOMPARE(m_platform->clipboard->content.first().size(), 1);
        QCOMPARE(m_platform->clipboard->string(), QStringLiteral("brown fox"));
        m_platform->clock.advance(599);
        QVERIFY(m_pill->panel()->isVisible());
        m_platform->clock.advance(1);
        QVERIFY(!m_pill->panel()->isVisible());
        QVERIFY(m_reported.isEmpty());
    }

    // The copy timeout belongs to the pill it was pressed on, not to the next selection's.
    void newSelectionOutlivesAnEarlierCopy()
    {
        m_pill->show(selection());
        m_pill->view()->copyButton()->click();
        m_platform->clock.advance(300);
        m_pill->show(selection(QRectF(10, 10, 50, 20)));
        m_platform->clock.advance(1000);
        QVERIFY(m_pill->panel()->isVisible());
        QVERIFY(!m_pill->view()->copied());
    }

    void pasteGoesToTheSelectionsApplication_data()
    {
        QTest::addColumn<bool>("frontmost");
        QTest::addColumn<QStringList>("journal");
        QTest::newRow("still frontmost") << true << QStringList{"keystroke Ctrl+V"};
        QTest::newRow("another in front") << false << QStringList{"activate 501", "keystroke Ctrl+V"};
    }
    void pasteGoesToTheSelectionsApplication()
    {
        QFETCH(bool, frontmost);
        QFETCH(QStringList, journal);
        m_platform->clipboard->copyFromElsewhere(QStringLiteral("hello"));
        if (!frontmost)
            m_platform->workspace->launch(777, QStringLiteral("Other"));
        m_pill->show(selection());
        m_platform->journal.clear();
        m_pill->view()->buttons().last()->click();
        QVERIFY(!m_pill->panel()->isVisible());
        m_platform->clock.advance(79);
        QCOMPARE(m_platform->journal, frontmost ? QStringList{} : QStringList{"activate 501"});
        m_platform->clock.advance(1);
        QCOMPARE(m_platform->journal, journal);
    }

    void hidingKeepsTheSelection()
    {
        m_pill->show(selection());
        m_pill->hidePanel();
        QVERIFY(!m_pill->panel()->isVisible());
        QCOMPARE(m_pill->selection()->text, QStringLiteral("brown fox"));
    }

private:
    static Selection selection(std::optional<QRectF> rect = QRectF(100, 500, 200, 20), bool editable = true,
                               const QString& text = QStringLiteral("brown fox"))
    {
        Selection result;
        result.text = text;
        result.isEditable = editable;
        result.rect = rect;
        result.pid = 501;
        result.appName = QStringLiteral("Editor");
        return result;
    }

    std::unique_ptr<FakePlatform> m_platform;
    MemoryPreferences m_preferences;
    std::unique_ptr<WritingModeStore> m_modes;
    std::unique_ptr<ActionPillController> m_pill;
    QStringList m_reported;
};

QTEST_MAIN(TestActionPillController)
#include "tst_actionpillcontroller.moc"
