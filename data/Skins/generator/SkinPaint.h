#pragma once
// Drawing of the shipped skins: each skin is a background painter and a list
// of controls; the generator draws every control's states into a sprite
// sheet over the background it sits on, and writes the skin file.
#include "Font.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPainter;

enum class Look { Digit, Function, Green, Red, Round, RoundRed, Dss, Speed, Led, Hand, Blank, Label };

struct Part {
    std::string name;
    QRect rect;
    int code = 0; // images: function code
    Look look = Look::Function;
    QString legend, sub;
    QColor tint; // LEDs: the lit colour
    // Labels.
    bool transparent = true;
    char align = 'L';
    std::string link;
    TFont font;
};

struct SkinDesign {
    std::string file;       // skin file name
    std::string background; // picture names
    std::string foreground;
    QSize size;
    std::function<void(QPainter &)> paintBackground;
    // The body's outline, cut hard; its edge colour lies beneath the
    // smoothed edge, so no key colour blends into it.
    QPainterPath outline;
    QColor edge;
    std::vector<Part> parts;
};

// The colour cut out of the window: magenta.
constexpr QRgb kKeyRgb = 0xFFFF00FF;

int StatesOf(const Part &part);
// One state of a control, drawn over the background beneath it.
void PaintState(QPainter &p, const Part &part, int state);

SkinDesign DeskPhone();
SkinDesign MiniPhone();
