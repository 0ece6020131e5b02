#pragma once

#include <QPlainTextEdit>

// A text field that grows with its text from one line to a maximum number of lines and then
// scrolls. Return submits the text (submitted()); Shift+Return starts a new line. The placeholder shows while
// it is empty.
class GrowingTextField : public QPlainTextEdit {
    Q_OBJECT

public:
    GrowingTextField(const QString& placeholder, int maximumLines, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void submitted(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int lineCount() const;

    int m_maximumLines;
};
