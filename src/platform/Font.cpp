#include "Font.h"

#include <cmath>

namespace {
int MulDiv(int a, int b, int c) { return static_cast<int>(std::lround(static_cast<double>(a) * b / c)); }
} // namespace

int TFont::Size() const
{
    return height_ < 0 ? MulDiv(-height_, 72, kPixelsPerInch) : MulDiv(height_, 72, kPixelsPerInch);
}

void TFont::SetSize(int points) { height_ = -MulDiv(points, kPixelsPerInch, 72); }
