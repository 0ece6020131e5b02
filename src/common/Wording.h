#pragma once

#include <QString>

// The fixed texts that name the user's computer or its settings ("this computer", the
// desktop's accessibility settings). Every other text of the program needs no such care.
namespace Wording {

enum class Text {
    // Opening sentence of every prompt of an action started from the pill; ends with a space.
    PopupPreamble,
    // The whole system prompt of a chat.
    ChatPrompt,
    // Label of the switch that turns the history on or off.
    SaveHistorySwitch,
    // Caption under that switch: where the history is kept.
    HistoryKeptLocallyNote,
    // Title of the confirmation before the whole history is cleared.
    ClearHistoryConfirmationTitle,
    // Sign-in error when a callback does not belong to the sign-in this machine started.
    SignInLinkMismatch,
    // Settings text shown while the accessibility grant is missing.
    AccessibilityExplanation,
};

// The text for a key.
QString text(Text key);

} // namespace Wording
