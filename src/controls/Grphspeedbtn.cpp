#include "Grphspeedbtn.h"

#include "GlyphPaint.h"

#include <QPainter>

#include <algorithm>

TGrphSpeedBtn::TGrphSpeedBtn(QWidget *parent) : TSpeedButton(parent) {}

void TGrphSpeedBtn::SetNumGlyphs(int n)
{
    numGlyphs_ = std::clamp(n, 1, 4);
    update();
}

int TGrphSpeedBtn::State() const
{
    if (!isEnabled())
        return 1;
    if (isDown())
        return 2;
    return isChecked() ? 3 : 0;
}

void TGrphSpeedBtn::DrawGlyph(QPainter &canvas, int state)
{
    canvas.drawImage(0, 0, ButtonFace(this, Glyph, numGlyphs_, state));
}

void TGrphSpeedBtn::SetForeGround(QImage &bitmap, int state) const { PaintGlyph(bitmap, Glyph, numGlyphs_, state); }

void TGrphSpeedBtn::SetBackGround(QImage &bitmap) const { PaintBackground(this, bitmap); }

void TGrphSpeedBtn::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawGlyph(p, State());
}
