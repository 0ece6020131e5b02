#pragma once

#include "ui/MarkdownText.h"
#include "ui/ParagraphPieces.h"

#include <QFont>
#include <QHash>
#include <QWidget>
#include <optional>

class QLabel;
class QScrollArea;

// The widget of one Markdown block: a heading, paragraph, bullet or numbered item as selectable
// inline-styled text (with its marker beside it for list items; a number's digits each take
// the widest digit's width, so the items of a list line up), or a code block as plain
// monospaced text on the surface colour with a border, scrolling sideways when too wide.
// A view takes a new block of the same family in place, so a growing block is updated, not rebuilt.
// A long text block is shown as pieces stacked without a gap, each cut at a line break, so that a
// block growing at its end lays out its last piece only.
class MarkdownBlockView : public QWidget {
    Q_OBJECT

public:
    explicit MarkdownBlockView(const MarkdownText::Block& block, QWidget* parent = nullptr);

    // Whether this view can show the block (code and text blocks need different views).
    bool accepts(const MarkdownText::Block& block) const;
    void setBlock(const MarkdownText::Block& block);
    // Shows a text block that is in pieces as one text again; false when it was one already.
    bool joinPieces();
    const MarkdownText::Block& block() const { return m_block; }

    // Extra space above the block (headings get some).
    int topMargin() const;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    // The widget showing the block's text (its first piece); for tests and the accessibility mark.
    QLabel* textLabel() const { return m_label; }
    // The widgets showing the pieces of a text block, top to bottom.
    const QList<QLabel*>& pieceLabels() const { return m_labels; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int markerSpacing = 6;
    static constexpr int indentStep = 14;
    static constexpr int codePadding = 8;

    bool isCode() const { return m_block.kind == MarkdownText::Block::Kind::Code; }
    QString markerText() const;
    int markerWidth() const;
    int textLeft() const;
    void applyFont();
    void placeChildren();
    void setupTextLabel(QLabel* label);
    // Shows the pieces from `first` on; returns the labels made for them.
    QList<QLabel*> showPieces(qsizetype first);
    int textHeight(int width) const;
    static int labelHeight(const QLabel& label, int width);

    MarkdownText::Block m_block;
    QLabel* m_label;
    static constexpr qsizetype keptWidths = 4;
    // Text blocks: the labels of the pieces (the first is m_label), and by width the heights of
    // the first of them (a changed piece drops its height and those after it).
    QList<QLabel*> m_labels;
    ParagraphPieces m_pieces;
    mutable QHash<int, QList<int>> m_pieceHeights;
    // Whether the pieces are shown joined in m_label.
    bool m_joined = false;
    // The font the text labels were given.
    std::optional<QFont> m_textFont;
    // The height last worked out and the width it was for: a label lays its text out anew for
    // every question, and layouts ask often.
    mutable int m_cachedWidth = -1;
    mutable int m_cachedHeight = 0;
    QScrollArea* m_scroller = nullptr;
};
