#pragma once

#include "platform/SyntheticKeyboard.h"

#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <functional>

// Records the keystrokes the program posts; a test may react to them (a pretend application
// pasting, say) through onKeystroke. The journal names them as Qt writes shortcuts
// ("keystroke Ctrl+V").
class FakeKeyboard : public SyntheticKeyboard {
public:
    QList<QKeyCombination> keystrokes;
    QStringList* journal = nullptr;
    std::function<void(QKeyCombination)> onKeystroke;

    void postKeystroke(Qt::Key key, Qt::KeyboardModifiers modifiers) override
    {
        const QKeyCombination keystroke(modifiers, key);
        keystrokes.append(keystroke);
        if (journal)
            journal->append(QStringLiteral("keystroke ") + QKeySequence(keystroke).toString());
        if (onKeystroke)
            onKeystroke(keystroke);
    }
};
