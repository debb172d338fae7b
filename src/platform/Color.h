#pragma once
// Colours as stored in files: 0x00BBGGRR (red in the low byte); a top byte of
// 0x80 names a system colour by its index in the low byte.
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor clWindowText = static_cast<TColor>(0x80000008u);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000Fu);
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

constexpr bool IsSystemColor(TColor c) { return (static_cast<std::uint32_t>(c) >> 24) == 0x80; }
constexpr TColor MakeColor(int r, int g, int b) { return (b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF); }
constexpr int RedOf(TColor c) { return c & 0xFF; }
constexpr int GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// The RGB value of a colour: system colours from one fixed table (stable
// screenshots, no dependence on the desktop theme).
TColor ResolveColor(TColor c);
