#pragma once

#include <QVariant>

// The action a pill button stands for. The controller passes it from the pill to the result
// panel untouched and never looks inside.
using ActionValue = QVariant;
