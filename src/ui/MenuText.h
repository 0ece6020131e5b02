#pragma once

#include <QString>

// Menu item texts are read for mnemonics: a single "&" marks the next letter as the item's
// shortcut and disappears. Names shown as they are ("Fix spelling & grammar", a writing mode
// the user named "R&D") have their ampersands doubled.
namespace MenuText {

inline QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace MenuText
