#pragma once
// Keys as the settings file stores them: a Windows virtual-key code in the
// low byte, plus 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt.
#include <Qt>

#include <cstdint>

constexpr std::uint16_t kShiftBit = 0x2000, kCtrlBit = 0x4000, kAltBit = 0x8000;

// The virtual-key code of a Qt key, 0 for a key that has none. keypad tells
// the numeric pad's keys from the main keyboard's.
int VirtualKeyOf(int qtKey, bool keypad);
// 0 for a key without a virtual-key code (a letter of another alphabet, a
// dead accent), whatever its modifiers: such a key is no key, and a stored
// word of 0 means no key, so the two never meet.
std::uint16_t ShortcutWord(int qtKey, Qt::KeyboardModifiers modifiers);
