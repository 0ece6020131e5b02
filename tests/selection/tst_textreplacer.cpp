#include "platform/fake/FakePlatform.h"
#include "selection/SelectionReader.h"
#include "selection/TextReplacer.h"
#include "support/TestRows.h"

#include <QTest>

namespace {

const QString html = QStringLiteral("text/html");
const QString png = QStringLiteral("image/png");

QList<ClipboardItem> richClipboard()
{
    return {{{FakeClipboard::plainText, "hello"}, {html, "<b>hello</b>"}}, {{png, QByteArray("\x89PNG", 4)}}};
}

} // namespace

// The editor fixture's field holds "the quick brown fox" with "brown fox" selected.
class TestTextReplacer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_platform = std::make_unique<FakePlatform>();
        QVERIFY(m_platform->loadFixture(QStringLiteral("selection/editor.json")));
        m_platform->workspace->launch(501, QStringLiteral("Editor"));
        m_platform->clipboard->content = richClipboard();
    }
    void cleanup() { m_platform.reset(); }

    void replacement_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("value");

        addRow("accepting field", "", "red cat", false, "the quick red cat");
        addRow("accepting field, same text", "", "brown fox", false, "the quick brown fox");
        addRow("accepts but ignores", "ignoresWrites", "red cat", true, "the quick brown fox");
        addRow("ignores a write of the same text", "ignoresWrites", "brown fox", false, "the quick brown fox");
        addRow("no readable value", "noValue", "red cat", false, "");
        addRow("read-only", "readOnly", "red cat", true, "the quick brown fox");
        addRow("write fails", "failing", "red cat", true, "the quick brown fox");
    }
    void replacement()
    {
        QFETCH(QString, element);
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, value);
        const auto selection = SelectionReader::read();
        QVERIFY(selection);
        auto* field = m_platform->accessibility->node(501, QStringLiteral("field"));
        field->ignoresWrites = element == QLatin1String("ignoresWrites");
        if (element == QLatin1String("noValue"))
            field->value.reset();
        field->selectedTextSettable = element != QLatin1String("readOnly");
        if (element == QLatin1String("failing"))
            field->failing.insert(QStringLiteral("SelectedText"));
        m_platform->workspace->frontmost = 777; // whichever application is in front
        m_platform->workspace->running.insert(777, QString());

        TextReplacer::replace(*selection, text, m_platform->clock);
        QCOMPARE(m_platform->journal, QStringList{QStringLiteral("activate 501")});
        m_platform->clock.advance(199);
        QCOMPARE(m_platform->journal.size(), 1);
        m_platform->clock.advance(1);
        QCOMPARE(m_platform->clipboard->string(), pasted ? text : QStringLiteral("hello"));
        QCOMPARE(m_platform->keyboard->keystrokes.size(), pasted ? 1 : 0);
        QCOMPARE(field->value.value_or(QString()), value);
        m_platform->clock.advance(600);
        QCOMPARE(m_platform->clipboard->content, richClipboard());
    }

    void pasteOrder()
    {
        const auto selection = SelectionReader::read();
        m_platform->accessibility->node(501, QStringLiteral("field"))->selectedTextSettable = false;
        TextReplacer::replace(*selection, QStringLiteral("new"), m_platform->clock);
        m_platform->clock.advance(799);
        const QStringList beforeRestore = {
            QStringLiteral("activate 501"),
            QStringLiteral("clipboard clear"),
            QStringLiteral("clipboard set new"),
            QStringLiteral("keystroke Ctrl+V"),
        };
        QCOMPARE(m_platform->journal, beforeRestore);
        m_platform->clock.advance(1);
        QCOMPARE(m_platform->journal.mid(4),
                 (QStringList{QStringLiteral("clipboard clear"), QStringLiteral("clipboard write 2")}));
    }

    void clipboardRestore_data()
    {
        QTest::addColumn<bool>("startsEmpty");
        QTest::addColumn<bool>("userCopies");

        addRow("items and types come back", false, false);
        addRow("an empty clipboard ends empty", true, false);
        addRow("a copy during the wait is kept", false, true);
    }
    void clipboardRestore()
    {
        QFETCH(bool, startsEmpty);
        QFETCH(bool, userCopies);
        if (startsEmpty)
            m_platform->clipboard->content.clear();
        const auto selection = SelectionReader::read();
        m_platform->accessibility->node(501, QStringLiteral("field"))->selectedTextSettable = false;
        TextReplacer::replace(*selection, QStringLiteral("new"), m_platform->clock);
        m_platform->clock.advance(500);
        QCOMPARE(m_platform->clipboard->string(), QStringLiteral("new"));
        if (userCopies)
            m_platform->clipboard->copyFromElsewhere(QStringLiteral("mine"));
        m_platform->clock.advance(300);

        QList<ClipboardItem> expected = startsEmpty ? QList<ClipboardItem>() : richClipboard();
        if (userCopies)
            expected = {{{FakeClipboard::plainText, "mine"}}};
        QCOMPARE(m_platform->clipboard->content, expected);
    }

    // A second paste while the first still waits to restore brings back the user's clipboard,
    // not the first paste's temporary text.
    void overlappingPastesRestoreTheUsersClipboard()
    {
        const auto selection = SelectionReader::read();
        m_platform->accessibility->node(501, QStringLiteral("field"))->selectedTextSettable = false;
        TextReplacer::replace(*selection, QStringLiteral("first"), m_platform->clock);
        m_platform->clock.advance(400);
        TextReplacer::replace(*selection, QStringLiteral("second"), m_platform->clock);
        m_platform->clock.advance(200);
        QCOMPARE(m_platform->clipboard->string(), QStringLiteral("second"));
        m_platform->clock.advance(1000);
        QCOMPARE(m_platform->clipboard->content, richClipboard());
        QCOMPARE(m_platform->keyboard->keystrokes.size(), 2);

        // The held clipboard is forgotten once restored: a later paste snapshots afresh.
        m_platform->clipboard->copyFromElsewhere(QStringLiteral("later"));
        TextReplacer::replace(*selection, QStringLiteral("third"), m_platform->clock);
        m_platform->clock.advance(1000);
        QCOMPARE(m_platform->clipboard->string(), QStringLiteral("later"));
    }

    void pasteClipboard_data()
    {
        QTest::addColumn<int>("frontmost");
        QTest::addColumn<bool>("selectionAppRuns");
        QTest::addColumn<bool>("activated");
        QTest::addColumn<bool>("posted");

        addRow("its application in front", 501, true, false, true);
        addRow("another application in front", 777, true, true, true);
        addRow("no application in front", 0, true, true, true);
        addRow("its application has quit", 777, false, false, false);
    }
    void pasteClipboard()
    {
        QFETCH(int, frontmost);
        QFETCH(bool, selectionAppRuns);
        QFETCH(bool, activated);
        QFETCH(bool, posted);
        const auto selection = SelectionReader::read();
        m_platform->workspace->running.insert(777, QString());
        m_platform->workspace->frontmost = frontmost ? std::optional<qint32>(frontmost) : std::nullopt;
        if (!selectionAppRuns)
            m_platform->workspace->running.remove(501);

        TextReplacer::pasteClipboard(*selection, m_platform->clock);
        QCOMPARE(m_platform->workspace->activations.size(), activated ? 1 : 0);
        m_platform->clock.advance(79);
        QVERIFY(m_platform->keyboard->keystrokes.isEmpty());
        m_platform->clock.advance(1);
        QCOMPARE(m_platform->keyboard->keystrokes.size(), posted ? 1 : 0);
        QCOMPARE(m_platform->clipboard->content, richClipboard());
    }

    // Keystrokes for an application that has quit would land in whichever one is in front.
    void replacingIntoAQuitApplicationSendsNothing()
    {
        const auto selection = SelectionReader::read();
        m_platform->workspace->running.remove(501);
        m_platform->workspace->frontmost = 777;
        TextReplacer::replace(*selection, QStringLiteral("new"), m_platform->clock);
        m_platform->clock.advance(1000);
        QCOMPARE(m_platform->journal, QStringList{QStringLiteral("activate 501")});
        QCOMPARE(m_platform->accessibility->node(501, QStringLiteral("field"))->value.value(),
                 QStringLiteral("the quick brown fox"));
    }

private:
    std::unique_ptr<FakePlatform> m_platform;
};

QTEST_GUILESS_MAIN(TestTextReplacer)
#include "tst_textreplacer.moc"
