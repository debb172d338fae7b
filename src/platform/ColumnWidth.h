#pragma once
// Default column widths are pixels of the 8-point Windows font. Drawn in the
// font in use they are scaled by the fonts' average characters, and widened
// so that each sample (a title, a date, a time) shows whole. Widths a user
// saved are not defaults and are taken as they stand.
#include <QFontMetrics>
#include <QStringList>

// margin: the cell's or title's padding around the text.
int FitColumnWidth(int designWidth, const QFontMetrics &font, const QStringList &samples, int margin);
