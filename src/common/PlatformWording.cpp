#include "common/PlatformWording.h"

#include <QCoreApplication>
#include <iterator>

namespace PlatformWording {

namespace {

struct Entry {
    Text key;
    const char16_t* macWording;
    const char* linuxWording; // UTF-8; the rows shown to the user go through translation
};

// The one table of machine-specific wording. Keep the two columns saying the same thing.
constexpr Entry kEntries[] = {
    {Text::PopupPreamble,
     u"The user selected some text in another app on their Mac and invoked you from a small popup. ",
     "The user selected some text in another app on their computer and invoked you from a small popup. "},
    {Text::ChatPrompt,
     u"You are Halvora, chatting with the user in its Mac app. Give thorough, well-organized answers and go into "
     u"depth when the question calls for it. Ask a clarifying question only when you really can't proceed. Use "
     u"Markdown.",
     "You are Halvora, chatting with the user in its computer app. Give thorough, well-organized answers and go "
     "into depth when the question calls for it. Ask a clarifying question only when you really can't proceed. "
     "Use Markdown."},
    {Text::SaveHistorySwitch, u"Save history on this Mac",
     QT_TRANSLATE_NOOP("PlatformWording", "Save history on this computer")},
    {Text::HistoryKeptLocallyNote,
     u"Rewrites, answers and chats are kept only on this Mac, so you can find them in the Halvora window. They're "
     u"never stored on our servers.",
     QT_TRANSLATE_NOOP("PlatformWording",
                       "Rewrites, answers and chats are kept only on this computer, so you can find them in the "
                       "Halvora window. They're never stored on our servers.")},
    {Text::ClearHistoryConfirmationTitle, u"Clear all history on this Mac?",
     QT_TRANSLATE_NOOP("PlatformWording", "Clear all history on this computer?")},
    {Text::SignInLinkMismatch, u"That sign-in link doesn't match this Mac. Choose Sign In again.",
     QT_TRANSLATE_NOOP("PlatformWording", "That sign-in link doesn't match this computer. Choose Sign In again.")},
    {Text::AccessibilityExplanation,
     u"Halvora uses Accessibility to read the text you select in other apps and to paste rewrites back. Turn it on "
     u"for Halvora in System Settings \u2192 Privacy & Security \u2192 Accessibility.",
     QT_TRANSLATE_NOOP("PlatformWording",
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

QString text(Text key, Platform platform)
{
    const Entry& found = kEntries[static_cast<std::size_t>(key)];
    if (platform == Platform::Mac)
        return QString::fromUtf16(found.macWording);
    // The prompts go to the model as they are; every other row is shown to the user.
    const bool prompt = key == Text::PopupPreamble || key == Text::ChatPrompt;
    return prompt ? QString::fromUtf8(found.linuxWording)
                  : QCoreApplication::translate("PlatformWording", found.linuxWording);
}

QList<Text> allTexts()
{
    QList<Text> keys;
    for (const Entry& candidate : kEntries)
        keys.append(candidate.key);
    return keys;
}

} // namespace PlatformWording
