#pragma once

#include "common/TaskHandle.h"

#include <QPushButton>

class Clock;

// "Copy" (Ctrl+Shift+C): asks for the latest answer to be copied (copyRequested()), then reads "Copied"
// with a checkmark for 1.5 seconds; every press starts the 1.5 seconds again.
class CopyAnswerButton : public QPushButton {
    Q_OBJECT

public:
    static constexpr int copiedMs = 1500;

    explicit CopyAnswerButton(Clock& clock, QWidget* parent = nullptr);

    bool isCopied() const { return m_copied; }

Q_SIGNALS:
    void copyRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void copy();
    void setCopied(bool copied);

    Clock& m_clock;
    bool m_copied = false;
    TaskHandle m_reset;
};
