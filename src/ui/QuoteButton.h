#pragma once

#include <QAbstractButton>

// The quoted selection at the top of a conversation: a thin accent bar beside the text in the
// secondary colour, wrapped to the width it is given. Folded, it shows its first few wrapped
// lines and ends the last one with "…" when more follows; pressing it (or Space while focused)
// shows the text in full, and pressing again folds it back. The text is drawn as written: an
// "&" in it marks no keyboard shortcut.
class QuoteButton : public QAbstractButton {
    Q_OBJECT

public:
    QuoteButton(const QString& text, int collapsedLines, QWidget* parent = nullptr);

    const QString& quotedText() const { return m_text; }
    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    // The lines drawn at the current width, the last one with its "…" when folded text is cut.
    QStringList shownLines() const { return shownLines(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static constexpr int barWidth = 3;
    static constexpr int textLeft = barWidth + 8;

    QStringList shownLines(int width) const;
    QStringList wrappedLines(int textWidth) const;

    QString m_text;
    int m_collapsedLines;
    bool m_expanded = false;
};
