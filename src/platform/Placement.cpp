#include "Placement.h"

#include "IniFile.h"

#include <QWidget>

void LoadPlacement(const TIniFile &ini, const std::string &section, QWidget *w, PlacementKeys keys)
{
    QRect g = w->frameGeometry();
    int left = ini.ReadInteger(section, "Left", g.left());
    int top = ini.ReadInteger(section, "Top", g.top());
    int width = ini.ReadInteger(section, "Width", g.width());
    int height = ini.ReadInteger(section, "Height", g.height());
    w->move(left, top);
    // The stored size is the outer frame's; the frame adds what the client lacks.
    QSize frame = g.size() - w->size();
    w->resize(width - frame.width(), height - frame.height());
    if (keys != PlacementKeys::LeftTopWidthHeight)
        w->setVisible(ini.ReadBool(section, "Visible", w->isVisible()));
}

void SavePlacement(TIniFile &ini, const std::string &section, const QWidget *w, PlacementKeys keys)
{
    QRect g = w->frameGeometry();
    auto position = [&] {
        ini.WriteInteger(section, "Left", g.left());
        ini.WriteInteger(section, "Top", g.top());
    };
    auto size = [&] {
        ini.WriteInteger(section, "Width", g.width());
        ini.WriteInteger(section, "Height", g.height());
    };
    if (keys != PlacementKeys::LeftTopWidthHeight)
        ini.WriteBool(section, "Visible", w->isVisible());
    if (keys == PlacementKeys::VisibleWidthHeightLeftTop) {
        size();
        position();
    } else {
        position();
        size();
    }
}
