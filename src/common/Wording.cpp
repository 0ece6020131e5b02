#include "common/Wording.h"

#include <QCoreApplication>
#include <iterator>

namespace Wording {

namespace {

struct Entry {
    Text key;
    const char* wording; // UTF-8; the rows shown to the user go through translation
};

// The one table of these texts, one row per key in the order of the keys.
constexpr Entry kEntries[] = {
    {Text::PopupPreamble,
     "The user selected some text in another app on their computer and invoked you from a small popup. "},
    {Text::ChatPrompt,
     "You are Halvora, chatting with the user in its computer app. Give thorough, well-organized answers and go "
     "into depth when the question calls for it. Ask a clarifying question only when you really can't proceed. "
     "Use Markdown."},
    {Text::SaveHistorySwitch, QT_TRANSLATE_NOOP("Wording", "Save history on this computer")},
    {Text::HistoryKeptLocallyNote,
     QT_TRANSLATE_NOOP("Wording",
                       "Rewrites, answers and chats are kept only on this computer, so you can find them in the "
                       "Halvora window. They're never stored on our servers.")},
    {Text::ClearHistoryConfirmationTitle, QT_TRANSLATE_NOOP("Wording", "Clear all history on this computer?")},
    {Text::SignInLinkMismatch,
     QT_TRANSLATE_NOOP("Wording", "That sign-in link doesn't match this computer. Choose Sign In again.")},
    {Text::AccessibilityExplanation,
     QT_TRANSLATE_NOOP("Wording",
                       "Halvora uses Accessibility to read the text you select in other apps and to paste rewrites "
                       "back. Turn it on in your desktop's Settings \u2192 Accessibility.")},
};

constexpr bool tableFollowsKeyOrder()
{
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        if (static_cast<std::size_t>(kEntries[i].key) != i)
            return false;
    }
    return std::size(kEntries) == static_cast<std::size_t>(Text::AccessibilityExplanation) + 1;
}
static_assert(tableFollowsKeyOrder(), "one row per key, in the order of the keys");

} // namespace

QString text(Text key)
{
    const char* wording = kEntries[static_cast<std::size_t>(key)].wording;
    // The prompts go to the model as they are; every other row is shown to the user.
    const bool prompt = key == Text::PopupPreamble || key == Text::ChatPrompt;
    return prompt ? QString::fromUtf8(wording) : QCoreApplication::translate("Wording", wording);
}

} // namespace Wording
