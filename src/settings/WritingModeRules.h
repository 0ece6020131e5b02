#pragma once

#include "actions/WritingMode.h"

#include <optional>

// The rules a writing mode must meet to be saved, shared by the store and the editor.
// Lengths count user-perceived characters (grapheme clusters): an emoji made of several
// code points is one character and is never cut in two.
namespace WritingModeRules {

inline constexpr int maxInstructionsLength = 6000;

// Number of user-perceived characters in text.
int characterCount(const QString& text);
// The first count user-perceived characters of text.
QString leftCharacters(const QString& text, int count);
// text without white space or line breaks at either end.
QString trimmed(const QString& text);

// Whether the editor may save: a name with something besides spaces and tabs, and
// instructions with something besides white space and line breaks. Length never blocks it.
bool canSave(const WritingMode& mode);
// The mode as it is stored: name and instructions trimmed, instructions cut to the limit.
// Nothing when either is then empty.
std::optional<WritingMode> normalized(const WritingMode& mode);

// The editor's counter, for example "120 of 6000 characters".
QString counterText(const QString& instructions);
// Whether the instructions are longer than what will be saved (the counter is shown in orange).
bool isOverLimit(const QString& instructions);

} // namespace WritingModeRules
