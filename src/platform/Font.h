#pragma once
// A font as the skin and settings files store it: every property is kept,
// and only drawing turns it into a QFont.
#include "Color.h"

#include <string>

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    static constexpr int kPixelsPerInch = 96;

    int CharSet = 1;
    TColor Color = clWindowText;
    std::string Name = "MS Sans Serif";
    int Pitch = 0; // 0 default, 1 variable, 2 fixed
    unsigned Style = 0;

    // Height (negative: character height in pixels) and Size (points) are one
    // property seen two ways, as in the class library.
    int Height() const { return height_; }
    void SetHeight(int h) { height_ = h; }
    int Size() const;
    void SetSize(int points);

    bool operator==(const TFont &) const = default;

private:
    int height_ = -11;
};
