#pragma once

#include "ui/MarkdownText.h"

#include <QWidget>

class QLabel;
class QScrollArea;

// The widget of one Markdown block: a heading, paragraph, bullet or numbered item as selectable
// inline-styled text (with its marker beside it for list items; a number's digits each take
// the widest digit's width, so the items of a list line up), or a code block as plain
// monospaced text on the surface colour with a border, scrolling sideways when too wide.
// A view takes a new block of the same family in place, so a growing block is updated, not rebuilt.
class MarkdownBlockView : public QWidget {
    Q_OBJECT

public:
    explicit MarkdownBlockView(const MarkdownText::Block& block, QWidget* parent = nullptr);

    // Whether this view can show the block (code and text blocks need different views).
    bool accepts(const MarkdownText::Block& block) const;
    void setBlock(const MarkdownText::Block& block);
    const MarkdownText::Block& block() const { return m_block; }

    // Extra space above the block (headings get some).
    int topMargin() const;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    // The widget showing the block's text; for tests and the accessibility mark.
    QLabel* textLabel() const { return m_label; }

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

    MarkdownText::Block m_block;
    QLabel* m_label;
    // The height last worked out and the width it was for: a label lays its text out anew for
    // every question, and layouts ask often.
    mutable int m_cachedWidth = -1;
    mutable int m_cachedHeight = 0;
    QScrollArea* m_scroller = nullptr;
};
