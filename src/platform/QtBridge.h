#pragma once
// Colours and fonts of the files, turned into Qt's only for drawing.
#include "Color.h"
#include "Font.h"

#include <QColor>
#include <QFont>

QColor ToQColor(TColor c);
QFont ToQFont(const TFont &f);
