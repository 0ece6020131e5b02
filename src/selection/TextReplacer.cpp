#include "selection/TextReplacer.h"

#include "platform/Platform.h"
#include "selection/SelectionLog.h"

#include <list>

namespace {

// Replacements outlive their callers (the result panel closes before its text is written), so
// the replacer itself keeps each running step's handle until the step has run.
std::list<TaskHandle>& runningSteps()
{
    static std::list<TaskHandle> steps;
    return steps;
}

// The user's clipboard while a paste holds its temporary text there, with the change count
// that marks the temporary text as still in place.
struct HeldClipboard {
    QList<ClipboardItem> snapshot;
    qint64 serial = 0;
};

std::optional<HeldClipboard>& heldClipboard()
{
    static std::optional<HeldClipboard> held;
    return held;
}

bool isActiveApplication(qint32 pid)
{
    const auto front = Platform::workspace().activeApplication();
    return front && front->pid == pid;
}

// What the clipboard really held before any paste of ours: a paste that starts while an
// earlier one still waits to restore must not take that one's temporary text for the user's.
QList<ClipboardItem> userClipboard(Clipboard& clipboard)
{
    const auto& held = heldClipboard();
    if (held && held->serial == clipboard.serial())
        return held->snapshot;
    return clipboard.items();
}

} // namespace

void TextReplacer::replace(const Selection& selection, const QString& text, Clock& clock)
{
    // An application that has quit is not written to: the keystroke would land elsewhere.
    if (!Platform::workspace().activateApplication(selection.pid) && !isActiveApplication(selection.pid)) {
        qCWarning(selectionLog) << "Replace skipped: application" << selection.pid << "is gone or cannot be activated";
        return;
    }
    later(clock, replaceDelayMs, [selection, text, &clock] {
        if (setViaAccessibility(selection, text))
            return;
        qCDebug(selectionLog) << "Replacing by a paste of" << text.size() << "characters in application"
                              << selection.pid;
        paste(text, clock);
    });
}

void TextReplacer::pasteClipboard(const Selection& selection, Clock& clock)
{
    const auto front = Platform::workspace().activeApplication();
    if (!front || front->pid != selection.pid)
        // An application that has quit is not written to: the keystroke would land elsewhere.
        if (!Platform::workspace().activateApplication(selection.pid) && !isActiveApplication(selection.pid)) {
            qCWarning(selectionLog) << "Paste skipped: application" << selection.pid
                                    << "is gone or cannot be activated";
            return;
        }
    later(clock, pasteClipboardDelayMs, [] { postPasteKeystroke(); });
}

bool TextReplacer::setViaAccessibility(const Selection& selection, const QString& text)
{
    if (!selection.element)
        return false;
    AccessibilityElement& element = *selection.element;
    if (!element.isSettable(AccessibilityElement::Attribute::SelectedText))
        return false;
    const std::optional<QString> before = element.value();
    if (!element.setSelectedText(text))
        return false;
    const std::optional<QString> after = element.value();
    // Without a readable value the application's word is all there is.
    if (!after)
        return true;
    // Accepted but ignored: the value did not move although it should have.
    if (before && *after == *before && text != selection.text)
        return false;
    return after->contains(text);
}

// The temporary text replaces the whole clipboard for the keystroke; the user's items come
// back afterwards unless the clipboard changed again in the meantime.
void TextReplacer::paste(const QString& text, Clock& clock)
{
    Clipboard& clipboard = Platform::clipboard();
    const QList<ClipboardItem> snapshot = userClipboard(clipboard);
    clipboard.clear();
    clipboard.setString(text);
    const qint64 serial = clipboard.serial();
    heldClipboard() = HeldClipboard{snapshot, serial};
    postPasteKeystroke();
    later(clock, restoreDelayMs, [snapshot, serial] { restore(snapshot, serial); });
}

void TextReplacer::restore(const QList<ClipboardItem>& snapshot, qint64 expectedSerial)
{
    Clipboard& clipboard = Platform::clipboard();
    if (clipboard.serial() != expectedSerial) {
        qCInfo(selectionLog) << "The clipboard changed during a paste; the earlier clipboard is not put back";
        return;
    }
    heldClipboard().reset();
    clipboard.clear();
    if (!snapshot.isEmpty())
        clipboard.writeItems(snapshot);
}

void TextReplacer::postPasteKeystroke()
{
    Platform::keyboard().postKeystroke(Qt::Key_V, Qt::ControlModifier);
}

void TextReplacer::later(Clock& clock, int delayMs, std::function<void()> work)
{
    auto& steps = runningSteps();
    steps.remove_if([](const TaskHandle& step) { return !step.isActive(); });
    steps.push_back(clock.after(delayMs, std::move(work)));
}
