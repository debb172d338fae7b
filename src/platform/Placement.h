#pragma once
// A window's place in a desktop file: Left, Top, Width, Height (the outer
// frame) and, for most windows, Visible, in a section named after the window.
#include <QPoint>
#include <QRect>

#include <optional>
#include <string>

class QWidget;
class TIniFile;

enum class PlacementKeys {
    VisibleLeftTopWidthHeight,
    VisibleWidthHeightLeftTop,
    LeftTopWidthHeight, // no Visible key
};

// Keys the file lacks: Left and Top from origin (none: the window's current
// place), the size the window has, and hidden. The window comes up no larger
// than the screen and wholly on it, whatever the file says.
void LoadPlacement(const TIniFile &ini, const std::string &section, QWidget *w, PlacementKeys keys,
                   std::optional<QPoint> origin = QPoint(0, 100));
void SavePlacement(TIniFile &ini, const std::string &section, const QWidget *w, PlacementKeys keys);

// A window's outer frame. The window manager frames a window only once it is
// shown: until then the wanted frame is kept, given back by FramePlacement,
// and applied when the frame becomes known. A window never framed counts the
// border of the last framed window seen.
void SetFramePlacement(QWidget *w, const QRect &frame);
QRect FramePlacement(const QWidget *w);

// The available area of the screen a frame stands on (the window's own
// screen when it stands on none); empty without a screen.
QRect AvailableArea(const QWidget *w, const QRect &frame);
