#pragma once

#include "common/TaskHandle.h"

#include <QPushButton>
#include <functional>

class Clock;

// "Copy" (Ctrl+Shift+C): copies the latest answer through its callback, then reads "Copied"
// with a checkmark for 1.5 seconds; every press starts the 1.5 seconds again.
class CopyAnswerButton : public QPushButton {
    Q_OBJECT

public:
    static constexpr int copiedMs = 1500;

    CopyAnswerButton(Clock& clock, std::function<void()> onCopy, QWidget* parent = nullptr);

    bool isCopied() const { return m_copied; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void copy();
    void setCopied(bool copied);

    Clock& m_clock;
    std::function<void()> m_onCopy;
    bool m_copied = false;
    TaskHandle m_reset;
};
