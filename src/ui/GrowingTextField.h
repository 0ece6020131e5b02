#pragma once

#include <QPlainTextEdit>
#include <functional>

// A text field that grows with its text from one line to a maximum number of lines and then
// scrolls. Return submits the text; Shift+Return starts a new line. The placeholder shows while
// it is empty.
class GrowingTextField : public QPlainTextEdit {
    Q_OBJECT

public:
    GrowingTextField(const QString& placeholder, int maximumLines, QWidget* parent = nullptr);

    std::function<void(const QString&)> onSubmit;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int lineCount() const;

    int m_maximumLines;
};
