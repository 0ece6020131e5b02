#pragma once

#include <QtGlobal>

// The virtual key codes and modifier bits the selection logic speaks. Each platform's event
// source translates its own keys into these (on Linux, Control plays the part of Command).
namespace KeyCode {
constexpr int A = 0;
constexpr int V = 9;
constexpr int Escape = 53;
constexpr int Home = 115;
constexpr int PageUp = 116;
constexpr int End = 119;
constexpr int PageDown = 121;
constexpr int LeftArrow = 123;
constexpr int RightArrow = 124;
constexpr int DownArrow = 125;
constexpr int UpArrow = 126;
} // namespace KeyCode

namespace ModifierFlag {
constexpr quint64 Shift = 0x20000;
constexpr quint64 Command = 0x100000;
} // namespace ModifierFlag
