#pragma once

#include "platform/SyntheticKeyboard.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

// Records the keystrokes the program posts; a test may react to them (a pretend application
// pasting, say) through onKeystroke.
class FakeKeyboard : public SyntheticKeyboard {
public:
    QList<QPair<int, quint64>> keystrokes;
    QStringList* journal = nullptr;
    std::function<void(int, quint64)> onKeystroke;

    void postKeystroke(int keyCode, quint64 modifierFlags) override
    {
        keystrokes.append({keyCode, modifierFlags});
        if (journal)
            journal->append(QStringLiteral("keystroke %1 0x%2").arg(keyCode).arg(modifierFlags, 0, 16));
        if (onKeystroke)
            onKeystroke(keyCode, modifierFlags);
    }
};
