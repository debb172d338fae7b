#pragma once
// A window's place in a desktop file: Left, Top, Width, Height (the outer
// frame) and, for most windows, Visible, in a section named after the window.
#include <QRect>

#include <string>

class QWidget;
class TIniFile;

enum class PlacementKeys {
    VisibleLeftTopWidthHeight,
    VisibleWidthHeightLeftTop,
    LeftTopWidthHeight, // no Visible key
};

void LoadPlacement(const TIniFile &ini, const std::string &section, QWidget *w, PlacementKeys keys);
void SavePlacement(TIniFile &ini, const std::string &section, const QWidget *w, PlacementKeys keys);

// A window's outer frame. The window manager frames a window only once it is
// shown: until then the wanted frame is kept, given back by FramePlacement,
// and applied when the frame becomes known.
void SetFramePlacement(QWidget *w, const QRect &frame);
QRect FramePlacement(const QWidget *w);
