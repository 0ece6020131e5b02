#pragma once

#include <QList>
#include <QString>

// The fixed texts that name the machine or its settings. Each exists in the wording of
// the original macOS program and in a wording for Linux desktops ("computer" for "Mac",
// the desktop's accessibility settings for System Settings). This build uses the wording
// of the platform it is compiled for; every other text of the program is platform-neutral.
namespace PlatformWording {

enum class Platform { Mac, Linux };

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

#ifdef Q_OS_MACOS
inline constexpr Platform buildPlatform = Platform::Mac;
#else
inline constexpr Platform buildPlatform = Platform::Linux;
#endif

// The text in the given platform's wording.
QString text(Text key, Platform platform);
// The text in this build's wording.
inline QString text(Text key)
{
    return text(key, buildPlatform);
}
// Every key of the table, in declaration order.
QList<Text> allTexts();

} // namespace PlatformWording
