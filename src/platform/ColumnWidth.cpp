#include "ColumnWidth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kDesignCharWidth = 5; // the 8-point Windows font's average character, in pixels
}

int FitColumnWidth(int designWidth, const QFontMetrics &font, const QStringList &samples, int margin)
{
    int width = std::max(designWidth, static_cast<int>(std::lround(designWidth * font.averageCharWidth() / kDesignCharWidth)));
    for (const QString &sample : samples)
        if (!sample.isEmpty())
            width = std::max(width, font.horizontalAdvance(sample) + margin);
    return width;
}
