#pragma once

#include <QAbstractButton>

class QLabel;

// The quoted selection at the top of a conversation: a thin accent bar beside the text in the
// secondary colour, cut to three lines until pressed, when it shows in full (pressing again
// folds it back).
class QuoteButton : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int collapsedLines = 3;

    explicit QuoteButton(const QString& text, QWidget* parent = nullptr);

    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static constexpr int barWidth = 3;
    static constexpr int textLeft = barWidth + 8;

    QLabel* m_label;
    bool m_expanded = false;
};
