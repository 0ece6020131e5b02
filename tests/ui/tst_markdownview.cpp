#include "platform/fake/FakeClock.h"
#include "platform/fake/FakePlatform.h"
#include "ui/MarkdownBlockView.h"
#include "ui/MarkdownView.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QLabel>
#include <QTest>

namespace {

const QString answer =
    QStringLiteral("# Plan\n\nFirst a **paragraph** with `code`\nand a second line.\n\n- one\n  - nested *item*\n"
                   "1. first\n2) second\n\n```cpp\nint main() {\n\n  return 0;\n}\n```\n\n---\nA closing "
                   "[link](https://example.com).");

// What a view shows: per block widget, its kind, its text widget's text and its geometry.
QStringList rendering(const MarkdownView& view)
{
    QStringList shown;
    for (const MarkdownBlockView* block : view.blockViews()) {
        shown.append(QStringLiteral("%1|%2|%3,%4 %5x%6")
                         .arg(int(block->block().kind))
                         .arg(block->textLabel()->text())
                         .arg(block->x())
                         .arg(block->y())
                         .arg(block->width())
                         .arg(block->height()));
    }
    return shown;
}

// Per piece label of every block: its text and its place in the view.
QStringList pieces(const MarkdownView& view)
{
    QStringList shown;
    for (const MarkdownBlockView* block : view.blockViews()) {
        for (const QLabel* label : block->pieceLabels())
            shown.append(QStringLiteral("%1,%2 %3x%4|%5")
                             .arg(label->mapTo(&view, QPoint()).x())
                             .arg(label->mapTo(&view, QPoint()).y())
                             .arg(label->width())
                             .arg(label->height())
                             .arg(label->text()));
    }
    return shown;
}

// A long paragraph of styled sentences, a line break after every third.
QString longText(const QString& linePrefix)
{
    const QStringList sentences = {QStringLiteral("The **first point** is that claims need *evidence*. "),
                                   QStringLiteral("See [the guide](https://example.com/guide) for `more`. "),
                                   QStringLiteral("Plain words follow here, with nothing styled in them. ")};
    QString text;
    for (int i = 0; text.size() < 3000; ++i)
        text += sentences[i % 3] + (i % 3 == 2 ? QStringLiteral("\n") + linePrefix : QString());
    return text + QStringLiteral("The end.");
}

} // namespace

class TestMarkdownView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Fed delta by delta, the view ends up exactly where a fresh full render of the same text is,
    // at every step.
    void incrementalEqualsFullRender_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("deltaSize");
        QTest::newRow("mixed answer, 3 characters a delta") << answer << 3;
        QTest::newRow("mixed answer, 17 characters a delta") << answer << 17;
        QTest::newRow("fence never closed") << QStringLiteral("Intro\n```\ncode\n\nmore code") << 2;
        QTest::newRow("paragraph turns into a list") << QStringLiteral("-\n- item\n-x") << 1;
        QTest::newRow("blank lines settle the blocks before them")
            << QStringLiteral("one\n\ntwo\nlines\n\n## Head\n\n- a\n\n```\nx\n\n```\n\nend") << 2;
    }
    void incrementalEqualsFullRender()
    {
        QFETCH(QString, text);
        QFETCH(int, deltaSize);
        FakeClock clock;
        MarkdownView streamed(clock);
        MarkdownView full(clock);
        streamed.resize(400, 10);
        full.resize(400, 10);
        for (int end = deltaSize; end < text.size() + deltaSize; end += deltaSize) {
            const QString prefix = text.left(end);
            streamed.setMarkdown(prefix);
            clock.advance(MarkdownView::frameMs);
            full.setMarkdown(prefix);
            full.rebuild();
            QCOMPARE(rendering(streamed), rendering(full));
            QCOMPARE(streamed.heightForWidth(400), full.heightForWidth(400));
        }
    }

    // A long block is shown in pieces; streamed or shown at once, the pieces are the same, and
    // together they are as tall as the whole text laid out in one label.
    void longBlocksShowInPiecesLikeOneText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("paragraph") << longText(QString());
        QTest::newRow("paragraph after a heading, lines indented")
            << QStringLiteral("# Title\n") + longText(QStringLiteral("   "));
    }
    void longBlocksShowInPiecesLikeOneText()
    {
        QFETCH(QString, text);
        FakeClock clock;
        MarkdownView streamed(clock);
        MarkdownView full(clock);
        streamed.resize(400, 10);
        full.resize(400, 10);
        // Shown, so that the blocks hear of their sizes and place their pieces.
        streamed.show();
        full.show();
        for (qsizetype end = 97; end < text.size() + 97; end += 97) {
            streamed.setMarkdown(text.left(end));
            clock.advance(MarkdownView::frameMs);
            full.setMarkdown(text.left(end));
            full.rebuild();
            QCOMPARE(pieces(streamed), pieces(full));
            QCOMPARE(streamed.heightForWidth(400), full.heightForWidth(400));
        }
        const MarkdownBlockView* block = streamed.blockViews().last();
        QVERIFY(block->pieceLabels().size() > 1);
        QLabel whole;
        whole.setTextFormat(Qt::RichText);
        whole.setWordWrap(true);
        whole.setFont(block->textLabel()->font());
        whole.setText(MarkdownText::inlineText(block->block().text).toHtml());
        const int width = block->textLabel()->width();
        QCOMPARE(block->height(), whole.heightForWidth(width));

        // At rest the block is shown whole, at the same height; growing again, in pieces again.
        clock.advance(MarkdownView::joinDelayMs);
        QCOMPARE(block->pieceLabels().size(), 1);
        QCOMPARE(block->textLabel()->text(), whole.text());
        QCOMPARE(block->height(), whole.heightForWidth(width));
        streamed.setMarkdown(text + QStringLiteral(" More."));
        clock.advance(MarkdownView::frameMs);
        full.setMarkdown(streamed.markdown());
        full.rebuild();
        QCOMPARE(pieces(streamed), pieces(full));
    }

    // Every text label, whole or a piece, is given exactly the height the label needs for its
    // text at its width, so no line is cut off and no gap is left.
    void textLabelsGetTheHeightTheyNeed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("heading") << QStringLiteral("# A *heading* that wraps over lines, **bold** too") << 150;
        QTest::newRow("bullets and numbers")
            << QStringLiteral("- an item with `code` and\n  - a [nested](https://example.com) one\n12. numbered")
            << 120;
        QTest::newRow("word wider than the block")
            << QStringLiteral("Averyveryverylongwordwithoutanyroomtobreakitanywhere and more") << 90;
        QTest::newRow("paragraph in pieces, narrow") << longText(QString()) << 230;
        QTest::newRow("paragraph in pieces, wide") << longText(QStringLiteral("  ")) << 700;
    }
    void textLabelsGetTheHeightTheyNeed()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        FakeClock clock;
        MarkdownView view(clock);
        view.resize(width, 10);
        view.show();
        view.setMarkdown(text);
        view.flush();
        for (const MarkdownBlockView* block : view.blockViews()) {
            int height = 0;
            for (const QLabel* label : block->pieceLabels()) {
                QCOMPARE(label->height(), label->heightForWidth(label->width()));
                height += label->height();
            }
            QCOMPARE(block->height(), height);
        }
    }

    // A text that does not extend the shown one is parsed from its start again.
    void aReplacedTextIsParsedAgain()
    {
        FakeClock clock;
        MarkdownView view(clock);
        view.resize(400, 10);
        view.setMarkdown(QStringLiteral("one\n\ntwo"));
        view.flush();
        view.setMarkdown(QStringLiteral("ONE\n\ntwo"));
        view.flush();
        MarkdownView full(clock);
        full.resize(400, 10);
        full.setMarkdown(view.markdown());
        full.rebuild();
        QCOMPARE(rendering(view), rendering(full));
    }

    // Growing the last paragraph touches that block only: the earlier widgets stay as they were.
    void onlyTheChangedBlockIsUpdated()
    {
        FakeClock clock;
        MarkdownView view(clock);
        view.resize(400, 10);
        view.setMarkdown(answer);
        view.flush();
        const QList<MarkdownBlockView*> before = view.blockViews();
        const int updates = view.blockUpdates();
        view.setMarkdown(answer + QStringLiteral(" More words."));
        view.flush();
        QCOMPARE(view.blockViews(), before);
        QCOMPARE(view.blockUpdates(), updates + 1);
    }

    // Many deltas within one frame are parsed once, when the frame is due.
    void atMostOneUpdateAFrame()
    {
        FakeClock clock;
        MarkdownView view(clock);
        view.setMarkdown(QStringLiteral("a"));
        clock.advance(0);
        QCOMPARE(view.blocks().size(), 1);
        for (const QString& text : {QStringLiteral("a\n\nb"), QStringLiteral("a\n\nb\n\nc")})
            view.setMarkdown(text);
        QCOMPARE(view.blocks().size(), 1);
        clock.advance(MarkdownView::frameMs - 1);
        QCOMPARE(view.blocks().size(), 1);
        clock.advance(1);
        QCOMPARE(view.blocks().size(), 3);
        QCOMPARE(view.blockUpdates(), 3);
    }

    void listItemsAreIndented_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("markerLeft");
        QTest::newRow("top-level bullet") << "- word" << 0;
        QTest::newRow("five spaces: indent 2") << "     - word" << 28;
    }
    void listItemsAreIndented()
    {
        QFETCH(QString, line);
        QFETCH(int, markerLeft);
        FakeClock clock;
        MarkdownView view(clock);
        view.resize(400, 10);
        view.setMarkdown(line);
        view.flush();
        const MarkdownBlockView* block = view.blockViews().first();
        const QLabel* label = block->textLabel();
        const QString marker = block->block().kind == MarkdownText::Block::Kind::Bullet ? "•" : block->block().marker;
        QCOMPARE(label->x(), markerLeft + label->fontMetrics().horizontalAdvance(marker) + 6);
        QVERIFY(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    }

    // The numbers of a list take the same width whatever their digits, so the items' texts line
    // up even in a font whose digits differ in width.
    void numberedItemsLineUp()
    {
        std::optional<QFont> proportional;
        for (const QString& family : QFontDatabase::families()) {
            const QFontMetrics metrics{QFont(family)};
            if (!proportional &&
                metrics.horizontalAdvance(QLatin1Char('1')) != metrics.horizontalAdvance(QLatin1Char('8')))
                proportional = QFont(family);
        }
        if (!proportional)
            QSKIP("No installed font has digits of different widths");
        FakeClock clock;
        MarkdownView view(clock);
        view.setFont(*proportional);
        view.resize(400, 10);
        view.setMarkdown(QStringLiteral("1. one\n8. eight\n11. eleven\n88. eighty-eight"));
        view.flush();
        const QList<MarkdownBlockView*> items = view.blockViews();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0]->textLabel()->x(), items[1]->textLabel()->x());
        QCOMPARE(items[2]->textLabel()->x(), items[3]->textLabel()->x());
        QVERIFY(items[2]->textLabel()->x() > items[0]->textLabel()->x());
    }

    void blocksAreSpacedAndHeadingsGetRoomAbove()
    {
        FakeClock clock;
        MarkdownView view(clock);
        view.resize(400, 10);
        view.setMarkdown(QStringLiteral("para\n# Head\ntext"));
        view.flush();
        const QList<MarkdownBlockView*> blocks = view.blockViews();
        QCOMPARE(blocks.size(), 3);
        QCOMPARE(blocks[1]->y(), blocks[0]->geometry().bottom() + 1 + 8 + 4);
        QCOMPARE(blocks[2]->y(), blocks[1]->geometry().bottom() + 1 + 8);
        QVERIFY(blocks[1]->textLabel()->font().pointSizeF() > blocks[0]->textLabel()->font().pointSizeF());
        QAccessibleInterface* heading = QAccessible::queryAccessibleInterface(blocks[1]->textLabel());
        QCOMPARE(heading->role(), QAccessible::Heading);
        QCOMPARE(heading->text(QAccessible::Name), QStringLiteral("Head"));
        QCOMPARE(QAccessible::queryAccessibleInterface(blocks[0]->textLabel())->role(), QAccessible::StaticText);
    }

    void onlyWebAndMailLinksOpen_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("opened");
        QTest::newRow("http") << "http://example.com/page" << true;
        QTest::newRow("https, upper-case") << "HTTPS://example.com/a?b=c#d" << true;
        QTest::newRow("mailto") << "mailto:someone@example.com" << true;
        QTest::newRow("own scheme") << "halvora://auth?code=abc&state=def" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("data") << "data:text/html,<b>x</b>" << false;
        QTest::newRow("relative") << "docs/page.html" << false;
        QTest::newRow("scheme-relative") << "//example.com/page" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("http without host") << "http:page" << false;
        QTest::newRow("mailto without address") << "mailto:" << false;
    }
    void onlyWebAndMailLinksOpen()
    {
        QFETCH(QString, link);
        QFETCH(bool, opened);
        FakePlatform platform;
        FakeClock clock;
        MarkdownView view(clock);
        view.setMarkdown(QStringLiteral("See [this](%1).").arg(link));
        view.flush();
        Q_EMIT view.blockViews().first()->textLabel()->linkActivated(link);
        QCOMPARE(platform.workspace->openedUrls, opened ? QList<QUrl>{QUrl(link)} : QList<QUrl>{});
    }
};

QTEST_MAIN(TestMarkdownView)
#include "tst_markdownview.moc"
