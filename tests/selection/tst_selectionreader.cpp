#include "platform/fake/FakeElement.h"
#include "platform/fake/FakePlatform.h"
#include "selection/SelectionReader.h"
#include "support/TestRows.h"

#include <QTest>

namespace {

QString holderId(const Selection& selection)
{
    return static_cast<FakeElement*>(selection.element.get())->id();
}

// One application (pid) whose focused element "e" is described by the given JSON members.
QByteArray singleElement(qint32 pid, const QString& members)
{
    return QStringLiteral(R"({"applications": [{"pid": %1, "focused": "e", "elements": [
        {"id": "ancestor", "role": "Group"},
        {"id": "e", "selectedText": "x", %2}]}]})")
        .arg(pid)
        .arg(members)
        .toUtf8();
}

// An editable web page (pid 700) whose focused document "doc" holds paragraphs "p1" and "p2" and
// a link in "p2"; each element is described by the given JSON members.
QByteArray webPage(const QString& doc, const QString& p1, const QString& p2, const QString& link)
{
    return QStringLiteral(R"({"applications": [{"pid": 700, "focused": "doc", "elements": [
        {"id": "doc", "role": "TextArea", "settable": ["Value"], "bounds": [0, 0, 800, 600], %1},
        {"id": "p1", "parent": "doc", "editableAncestor": "doc", "bounds": [100, 100, 50, 20], %2},
        {"id": "p2", "parent": "doc", "editableAncestor": "doc", "bounds": [120, 140, 60, 20], %3},
        {"id": "link", "parent": "p2", "editableAncestor": "doc", "bounds": [150, 140, 30, 20], %4}]}]})")
        .arg(doc, p1, p2, link)
        .toUtf8();
}

// A web page (pid 800) whose focused document "doc" has a paragraph "p" with an earlier selection
// and a text field "field" below a section; doc and field are described by the given members.
QByteArray pageWithField(const QString& doc, const QString& field)
{
    return QStringLiteral(R"({"applications": [{"pid": 800, "focused": "doc", "elements": [
        {"id": "doc", "bounds": [0, 0, 800, 600], %1},
        {"id": "p", "parent": "doc", "role": "Paragraph", "selectedText": "old words", "bounds": [10, 10, 80, 20]},
        {"id": "section", "parent": "doc", "role": "Section"},
        {"id": "field", "parent": "section", "role": "TextArea", "settable": ["Value", "SelectedText"],
         "bounds": [200, 300, 70, 20], %2}]}]})")
        .arg(doc, field)
        .toUtf8();
}

} // namespace

class TestSelectionReader : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        QVERIFY(m_platform->loadFixture(QStringLiteral("selection/editor.json")));
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_platform->workspace->running.insert(502, QStringLiteral("Browser"));
    }
    void cleanup() { m_platform.reset(); }

    void readsTheFocusedElement()
    {
        const auto selection = SelectionReader::read();
        QVERIFY(selection);
        QCOMPARE(selection->text, QStringLiteral("brown fox"));
        QVERIFY(selection->isEditable);
        QCOMPARE(selection->rect, std::optional<QRectF>(QRectF(100, 100, 80, 20)));
        QCOMPARE(selection->pid, 501);
        QCOMPARE(selection->appName, QStringLiteral("Editor"));
        QCOMPARE(holderId(*selection), QStringLiteral("field"));
    }

    void whereTheTextIsFound_data()
    {
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedHolder");

        addRow("focused element", "leaf", "abc", "leaf");
        addRow("grandparent", "a2", "abc", "a2");
        addRow("fourth ancestor", "a4", "abc", "a4");
        addRow("fifth ancestor is too far", "page", "abc", "");
        addRow("whitespace on the focused element stops the walk", "leaf", "   \n", "");
        addRow("whitespace on an ancestor", "a1", "\t \u2003", "");
        addRow("spaces around the text are kept", "a1", "  ab ", "a1");
    }
    void whereTheTextIsFound()
    {
        QFETCH(QString, holder);
        QFETCH(QString, text);
        QFETCH(QString, expectedHolder);
        m_platform->workspace->frontmost = 502;
        m_platform->accessibility->node(502, holder)->selectedText = text;
        // Text further up must not win over a nearer holder, nor a whitespace-only focused text.
        if (holder != QLatin1String("page"))
            m_platform->accessibility->node(502, QStringLiteral("page"))->selectedText = QStringLiteral("outer");

        const auto selection = SelectionReader::read();
        if (expectedHolder.isEmpty()) {
            QVERIFY(!selection);
            return;
        }
        QVERIFY(selection);
        QCOMPARE(selection->text, text);
        QCOMPARE(holderId(*selection), expectedHolder);
    }

    void editabilityAndBoundsComeFromTheHolder()
    {
        m_platform->workspace->frontmost = 502;
        m_platform->accessibility->node(502, QStringLiteral("a2"))->selectedText = QStringLiteral("abc");
        const auto selection = SelectionReader::read();
        QVERIFY(selection);
        QVERIFY(selection->isEditable); // a text area with a settable value; the leaf is static text
        QCOMPARE(selection->rect, std::optional<QRectF>(QRectF(300, 400, 120, 40)));
    }

    void nothingIsRead_data()
    {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<bool>("frontIsSelf");
        QTest::addColumn<bool>("anyFront");
        QTest::addColumn<QString>("failing");

        addRow("no grant", false, false, true, "");
        addRow("this program in front", true, true, true, "");
        addRow("no application in front", true, false, false, "");
        addRow("no focused element", true, false, true, "FocusedUIElement");
    }
    void nothingIsRead()
    {
        QFETCH(bool, trusted);
        QFETCH(bool, frontIsSelf);
        QFETCH(bool, anyFront);
        QFETCH(QString, failing);
        m_platform->grant->granted = trusted;
        if (frontIsSelf)
            m_platform->workspace->ownPid = 501;
        if (!anyFront)
            m_platform->workspace->frontmost.reset();
        m_platform->accessibility->node(501)->failing.insert(failing);

        QVERIFY(!SelectionReader::read());
        if (!trusted || frontIsSelf || !anyFront)
            QCOMPARE(m_platform->accessibility->callCount(), 0);
    }

    void namelessApplicationIsCalledApp()
    {
        m_platform->workspace->launch(501, QString());
        QCOMPARE(SelectionReader::read()->appName, QStringLiteral("App"));
    }

    void manualAccessibilityIsSentOncePerProcess()
    {
        m_platform->workspace->launch(503, QStringLiteral("Fresh"));
        m_platform->accessibility->load(singleElement(503, QStringLiteral(R"("role": "TextField")")));
        QVERIFY(SelectionReader::read());
        QVERIFY(SelectionReader::read());
        QCOMPARE(m_platform->accessibility->manualAccessibilityRequests(503), 1);
        // Also when the first read found nothing to report.
        m_platform->workspace->launch(504, QStringLiteral("Empty"));
        m_platform->accessibility->load(singleElement(504, QStringLiteral(R"("failing": ["SelectedText"])")));
        QVERIFY(!SelectionReader::read());
        QVERIFY(!SelectionReader::read());
        QCOMPARE(m_platform->accessibility->manualAccessibilityRequests(504), 1);
    }

    // A hung application costs at most the messaging timeout per call, never the system default.
    void aHungApplicationIsBoundedByTheTimeout()
    {
        m_platform->workspace->launch(505, QStringLiteral("Hung"));
        m_platform->accessibility->load(singleElement(505, QStringLiteral(R"("delayMs": 60000)")));
        m_platform->accessibility->node(505)->delayMs = 60000;
        QVERIFY(!SelectionReader::read());
        QVERIFY(m_platform->accessibility->spentMs() <= 250 * m_platform->accessibility->callCount());

        m_platform->accessibility->node(505)->delayMs = 0;
        QVERIFY(!SelectionReader::read());
        QVERIFY(m_platform->accessibility->spentMs() <= 250 * m_platform->accessibility->callCount());
    }

    void editability_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<bool>("editable");

        addRow("text field, selected text settable", R"("role": "TextField", "settable": ["SelectedText"])", true);
        addRow("text area, value settable", R"("role": "TextArea", "settable": ["Value"])", true);
        addRow("search field, nothing settable", R"("role": "SearchField")", false);
        addRow("combo box, both settable", R"("role": "ComboBox", "settable": ["Value", "SelectedText"])", true);
        addRow("other role, one settable", R"("role": "Group", "settable": ["SelectedText"])", false);
        addRow("other role, both settable", R"("role": "Group", "settable": ["Value", "SelectedText"])", true);
        addRow("no role, both settable", R"("settable": ["Value", "SelectedText"])", true);
        addRow("no role, one settable", R"("settable": ["Value"])", false);
        addRow("role unreadable, text-field-like", R"("role": "TextField", "failing": ["Role"], "settable": ["Value"])",
               false);
        addRow("web area, both settable", R"("role": "WebArea", "settable": ["Value", "SelectedText"])", false);
        addRow("static text, both settable", R"("role": "StaticText", "settable": ["Value", "SelectedText"])", false);
        addRow("editable ancestor wins", R"("role": "StaticText", "editableAncestor": "ancestor")", true);
        addRow("editable ancestor that is not there", R"("role": "Group", "editableAncestor": "gone")", false);
    }
    void editability()
    {
        QFETCH(QString, element);
        m_platform->workspace->launch(600);
        QVERIFY(m_platform->accessibility->load(singleElement(600, element)));
        const auto selection = SelectionReader::read();
        QVERIFY(selection);
        QTEST(selection->isEditable, "editable");
    }

    void bounds_data()
    {
        QTest::addColumn<QRectF>("reported");
        QTest::addColumn<QRectF>("secondScreen");
        QTest::addColumn<QRectF>("expected");

        const QRectF none;
        addRow("passed on as reported", QRectF(100, 100, 50, 20), none, QRectF(100, 100, 50, 20));
        addRow("caret of zero width", QRectF(100, 100, 0, 18), none, QRectF(100, 100, 0, 18));
        addRow("one by one is degenerate", QRectF(100, 100, 1, 1), none, none);
        addRow("empty at the origin", QRectF(0, 0, 0, 0), none, none);
        addRow("two by one is not", QRectF(100, 100, 2, 1), none, QRectF(100, 100, 2, 1));
        addRow("60 beyond the right edge", QRectF(1500, 100, 30, 20), none, none);
        addRow("40 beyond the right edge", QRectF(1480, 100, 30, 20), none, QRectF(1480, 100, 30, 20));
        addRow("60 above the top edge", QRectF(100, -80, 30, 20), none, none);
        addRow("40 below the bottom edge", QRectF(100, 940, 30, 20), none, QRectF(100, 940, 30, 20));
        addRow("on a second screen to the right", QRectF(2000, 100, 30, 20), QRectF(1440, -180, 1920, 1080),
               QRectF(2000, 100, 30, 20));
        addRow("on a second screen above the primary", QRectF(100, -500, 30, 20), QRectF(0, -900, 1440, 900),
               QRectF(100, -500, 30, 20));
    }
    void bounds()
    {
        QFETCH(QRectF, reported);
        QFETCH(QRectF, secondScreen);
        QFETCH(QRectF, expected);
        if (!secondScreen.isNull())
            m_platform->screens->list.append({secondScreen, secondScreen});
        m_platform->accessibility->node(501, QStringLiteral("field"))->bounds = reported;

        const auto selection = SelectionReader::read();
        QVERIFY(selection);
        QCOMPARE(selection->rect.has_value(), !expected.isNull());
        if (selection->rect)
            QCOMPARE(*selection->rect, expected);
    }

    void boundsAbsentWithoutScreensOrAnswer()
    {
        m_platform->accessibility->node(501, QStringLiteral("field"))->failing.insert(QStringLiteral("BoundsForRange"));
        QVERIFY(SelectionReader::read());
        QVERIFY(!SelectionReader::read()->rect);
        m_platform->accessibility->node(501, QStringLiteral("field"))->failing.clear();
        m_platform->screens->list.clear();
        QVERIFY(!SelectionReader::read()->rect);
    }

    // Application 700 is not on the accessibility bus; 501's focused element is an editable
    // field, 502's a read-only one. The gesture began at 1000 ms.
    void primarySelectionStandsIn_data()
    {
        QTest::addColumn<qint32>("app");
        QTest::addColumn<bool>("accessibleText");
        QTest::addColumn<qint32>("owner");
        QTest::addColumn<qint64>("claimedAtMs");
        QTest::addColumn<std::optional<QString>>("primary");
        QTest::addColumn<bool>("dated");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("editable");

        const std::optional<QString> word = QStringLiteral("ls -l");
        const QString tooLong(PrimarySelection::maxLength + 1, QLatin1Char('a'));
        const QString longest(PrimarySelection::maxLength, QLatin1Char('a'));
        addRow("not on the bus, claimed during the gesture", 700, false, 700, 1000LL, word, true, "ls -l", false);
        addRow("claimed just before the gesture", 700, false, 700, 999LL, word, true, "", false);
        addRow("claimed by another application", 700, false, 502, 1200LL, word, true, "", false);
        addRow("no gesture to date it by", 700, false, 700, 1200LL, word, false, "", false);
        addRow("read-only focused element", 502, false, 502, 1200LL, word, true, "ls -l", false);
        addRow("editable focused element", 501, false, 501, 1200LL, word, true, "ls -l", true);
        addRow("accessibility text wins", 501, true, 501, 1200LL, word, true, "brown fox", true);
        addRow("empty", 700, false, 700, 1200LL, std::optional<QString>(QString()), true, "", false);
        addRow("whitespace only", 700, false, 700, 1200LL, std::optional<QString>(" \n\t"), true, "", false);
        addRow("owner does not answer", 700, false, 700, 1200LL, std::optional<QString>(), true, "", false);
        addRow("as long as allowed", 700, false, 700, 1200LL, std::optional<QString>(longest), true, longest, false);
        addRow("longer than allowed", 700, false, 700, 1200LL, std::optional<QString>(tooLong), true, "", false);
    }
    void primarySelectionStandsIn()
    {
        QFETCH(qint32, app);
        QFETCH(bool, accessibleText);
        QFETCH(qint32, owner);
        QFETCH(qint64, claimedAtMs);
        QFETCH(std::optional<QString>, primary);
        QFETCH(bool, dated);
        QFETCH(QString, expected);
        m_platform->workspace->launch(app, QStringLiteral("Terminal"));
        if (!accessibleText)
            m_platform->accessibility->node(501, QStringLiteral("field"))->selectedText.reset();
        m_platform->primary->claim(owner, claimedAtMs, {});
        m_platform->primary->content = primary;

        const auto selection = SelectionReader::read(dated ? std::optional<qint64>(1000) : std::nullopt);
        // The text of a selection that is not the active application's own is never fetched.
        const bool itsOwn = owner == app && claimedAtMs >= 1000 && dated;
        QCOMPARE(m_platform->primary->textReads, itsOwn && !accessibleText ? 1 : 0);
        QCOMPARE(selection.has_value(), !expected.isEmpty());
        if (!selection)
            return;
        QCOMPARE(selection->text, expected);
        QTEST(selection->isEditable, "editable");
        QCOMPARE(selection->pid, app);
        // No place (the pill goes to the pointer) and no element: Replace pastes.
        QCOMPARE(selection->rect.has_value(), accessibleText);
        QCOMPARE(bool(selection->element), accessibleText);
    }

    void embeddedObjects_data()
    {
        QTest::addColumn<QString>("doc");
        QTest::addColumn<QString>("p1");
        QTest::addColumn<QString>("p2");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QRectF>("rect");
        // Writing over a range of placeholders would delete whole paragraphs.
        QTest::addColumn<bool>("editable");

        const char* one = R"("selectedText": "\uFFFC", "embedded": ["p1"])";
        const char* both = R"("selectedText": "\uFFFC\uFFFC", "embedded": ["p1", "p2"])";
        const char* second = R"("selectedText": "\uFFFC", "embedded": ["p2"])";
        const char* quick = R"("selectedText": "quick")";
        const char* none = R"("role": "Link")";
        const QRectF noRect;
        addRow("a word in one paragraph", one, quick, none, none, "quick", "p1", QRectF(100, 100, 50, 20), true);
        addRow("across two paragraphs, one line each", both, R"("selectedText": "dog.")", R"("selectedText": "Second")",
               none, "dog.\nSecond", "doc", QRectF(100, 100, 80, 60), false);
        addRow("a link inside the selected words", second, none,
               R"("selectedText": "a \uFFFC the", "embedded": ["link"])", R"("selectedText": "link")", "a link the",
               "p2", QRectF(120, 140, 60, 20), false);
        addRow("inside the link alone", second, none, R"("selectedText": "\uFFFC", "embedded": ["link"])",
               R"("selectedText": "ink")", "ink", "link", QRectF(150, 140, 30, 20), true);
        addRow("an image beside the word has no text", R"("selectedText": "\uFFFC\uFFFC", "embedded": ["", "p1"])",
               quick, none, none, "quick", "p1", QRectF(100, 100, 50, 20), true);
        addRow("the range only touches the next paragraph", both, quick, R"("selectedText": "")", none, "quick", "p1",
               QRectF(100, 100, 50, 20), true);
        addRow("text of its own around a paragraph", R"("selectedText": "Title \uFFFC", "embedded": ["p1"])", quick,
               none, none, "Title quick", "doc", QRectF(0, 0, 800, 600), false);
        addRow("plain text is read as before", quick, none, none, none, "quick", "doc", QRectF(0, 0, 800, 600), true);
        // Never a placeholder: whatever cannot be followed is no selection.
        addRow("placeholder without an element", R"("selectedText": "\uFFFC", "embedded": [])", quick, none, none, "",
               "", noRect, false);
        addRow("elements unknown", R"("selectedText": "\uFFFC", "failing": ["Embedded"])", quick, none, none, "", "",
               noRect, false);
        addRow("paragraph does not answer", one, R"("selectedText": "quick", "failing": ["SelectedText"])", none, none,
               "", "", noRect, false);
        addRow("nesting without end", one, R"("selectedText": "\uFFFC", "embedded": ["p1"])", none, none, "", "",
               noRect, false);
    }
    void embeddedObjects()
    {
        QFETCH(QString, doc);
        QFETCH(QString, p1);
        QFETCH(QString, p2);
        QFETCH(QString, link);
        QFETCH(QString, text);
        QFETCH(QString, holder);
        QFETCH(QRectF, rect);
        QFETCH(bool, editable);
        m_platform->workspace->launch(700, QStringLiteral("Browser"));
        QVERIFY(m_platform->accessibility->load(webPage(doc, p1, p2, link)));

        const auto selection = SelectionReader::read();
        if (holder.isEmpty()) {
            QVERIFY(!selection);
            return;
        }
        QVERIFY(selection);
        QCOMPARE(selection->text, text);
        QCOMPARE(holderId(*selection), holder);
        QCOMPARE(selection->rect, std::optional<QRectF>(rect));
        QCOMPARE(selection->isEditable, editable);
    }

    // The browser still reports its document as focused after a gesture in a text field; the
    // gesture began at 1000 ms.
    void focusedDocumentAfterAGestureInAField_data()
    {
        QTest::addColumn<QString>("doc");
        QTest::addColumn<QString>("field");
        QTest::addColumn<qint32>("owner");
        QTest::addColumn<qint64>("claimedAtMs");
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("holder");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("editable");

        const char* earlier = R"("role": "WebArea", "selectedText": "\uFFFC", "embedded": ["p"])";
        const char* fresh = R"("selectedText": "new words")";
        addRow("earlier paragraph selection", earlier, fresh, 800, 1200LL, "new words", "field", "new words", true);
        addRow("no document selection", R"("role": "WebArea", "selectedText": "")", fresh, 800, 1200LL, "new words",
               "field", "new words", true);
        addRow("spaces around the claimed text", earlier, fresh, 800, 1200LL, " new words\n", "field", "new words",
               true);
        addRow("the paragraph's selection is the one just made", earlier, fresh, 800, 1200LL, "old words", "p",
               "old words", false);
        addRow("claimed before the gesture", earlier, fresh, 800, 999LL, "new words", "p", "old words", false);
        addRow("claimed by another application", earlier, fresh, 501, 1200LL, "new words", "p", "old words", false);
        addRow("the field holds other text", earlier, R"("selectedText": "other")", 800, 1200LL, "new words", "p",
               "old words", false);
        addRow("the field holds no selection", earlier, R"("selectedText": "")", 800, 1200LL, "new words", "p",
               "old words", false);
        addRow("the field's text cannot be read", earlier,
               R"("selectedText": "new words", "failing": ["SelectedText"])", 800, 1200LL, "new words", "p",
               "old words", false);
        addRow("the search fails", R"("role": "WebArea", "selectedText": "\uFFFC", "embedded": ["p"],
               "failing": ["EditableDescendant"])",
               fresh, 800, 1200LL, "new words", "p", "old words", false);
        addRow("the focused element is no document", R"("role": "Group", "selectedText": "\uFFFC", "embedded": ["p"])",
               fresh, 800, 1200LL, "new words", "p", "old words", false);
    }
    void focusedDocumentAfterAGestureInAField()
    {
        QFETCH(QString, doc);
        QFETCH(QString, field);
        QFETCH(qint32, owner);
        QFETCH(qint64, claimedAtMs);
        QFETCH(QString, primary);
        QFETCH(QString, holder);
        m_platform->workspace->launch(800, QStringLiteral("Browser"));
        QVERIFY(m_platform->accessibility->load(pageWithField(doc, field)));
        m_platform->primary->claim(owner, claimedAtMs, primary);

        const auto selection = SelectionReader::read(1000);
        QVERIFY(selection && selection->element);
        QCOMPARE(holderId(*selection), holder);
        QTEST(selection->text, "text");
        QTEST(selection->isEditable, "editable");
        const QRectF rect = holder == QLatin1String("field") ? QRectF(200, 300, 70, 20) : QRectF(10, 10, 80, 20);
        QCOMPARE(selection->rect, std::optional<QRectF>(rect));
    }

    // Without a gesture to date the primary selection by, the document's selection stands.
    void undatedReadKeepsTheDocumentsSelection()
    {
        m_platform->workspace->launch(800, QStringLiteral("Browser"));
        QVERIFY(m_platform->accessibility->load(pageWithField(
            R"("role": "WebArea", "selectedText": "\uFFFC", "embedded": ["p"])", R"("selectedText": "new words")")));
        m_platform->primary->claim(800, 1200, QStringLiteral("new words"));
        QCOMPARE(SelectionReader::read()->text, QStringLiteral("old words"));
        QCOMPARE(m_platform->primary->textReads, 0);
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
};

QTEST_GUILESS_MAIN(TestSelectionReader)
#include "tst_selectionreader.moc"
