#pragma once

#include <QString>

// Menu item and button texts are read for mnemonics: a single "&" marks the next letter as the
// item's keyboard shortcut and disappears. Names shown as they are ("Fix spelling & grammar", a
// writing mode the user named "R&D") have their ampersands doubled.
namespace Mnemonics {

inline QString literal(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace Mnemonics
