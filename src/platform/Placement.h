#pragma once
// A window's place in a desktop file: Left, Top, Width, Height (the outer
// frame) and, for most windows, Visible, in a section named after the window.
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
