#include "Color.h"

#include <array>

TColor ResolveColor(TColor c)
{
    if (!IsSystemColor(c))
        return c & 0xFFFFFF;
    // Indices of the classic Windows system colours.
    static constexpr std::array<TColor, 31> kSystem = {
        MakeColor(212, 208, 200), // 0 scroll bar
        MakeColor(58, 110, 165),  // 1 background
        MakeColor(10, 36, 106),   // 2 active caption
        MakeColor(128, 128, 128), // 3 inactive caption
        MakeColor(212, 208, 200), // 4 menu
        MakeColor(255, 255, 255), // 5 window
        MakeColor(0, 0, 0),       // 6 window frame
        MakeColor(0, 0, 0),       // 7 menu text
        MakeColor(0, 0, 0),       // 8 window text
        MakeColor(255, 255, 255), // 9 caption text
        MakeColor(212, 208, 200), // 10 active border
        MakeColor(212, 208, 200), // 11 inactive border
        MakeColor(128, 128, 128), // 12 app workspace
        MakeColor(10, 36, 106),   // 13 highlight
        MakeColor(255, 255, 255), // 14 highlight text
        MakeColor(212, 208, 200), // 15 button face
        MakeColor(128, 128, 128), // 16 button shadow
        MakeColor(128, 128, 128), // 17 grey text
        MakeColor(0, 0, 0),       // 18 button text
        MakeColor(212, 208, 200), // 19 inactive caption text
        MakeColor(255, 255, 255), // 20 button highlight
        MakeColor(64, 64, 64),    // 21 3D dark shadow
        MakeColor(212, 208, 200), // 22 3D light
        MakeColor(0, 0, 0),       // 23 info text
        MakeColor(255, 255, 225), // 24 info background
        MakeColor(181, 181, 181), // 25
        MakeColor(0, 0, 128),     // 26 hot light
        MakeColor(166, 202, 240), // 27 gradient active caption
        MakeColor(192, 192, 192), // 28 gradient inactive caption
        MakeColor(49, 106, 197),  // 29 menu highlight
        MakeColor(236, 233, 216), // 30 menu bar
    };
    unsigned index = static_cast<std::uint32_t>(c) & 0xFF;
    return index < kSystem.size() ? kSystem[index] : MakeColor(0, 0, 0);
}
