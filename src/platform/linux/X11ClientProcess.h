#pragma once

#include "platform/linux/X11Connection.h"

#include <optional>

// The process behind any window. The X-Resource extension names the local client that made the
// window, whatever kind it is (the hidden windows applications own selections with included);
// without it, the _NET_WM_PID of the window or of its nearest ancestor that has one.
namespace X11ClientProcess {
std::optional<qint32> of(X11Connection& x11, unsigned long window);

// The parts on their own, for tests.
std::optional<qint32> fromResources(X11Connection& x11, unsigned long window);
std::optional<qint32> fromWindowManagerHints(X11Connection& x11, unsigned long window);
} // namespace X11ClientProcess
