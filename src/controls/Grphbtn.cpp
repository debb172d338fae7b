#include "Grphbtn.h"

#include "GlyphPaint.h"

#include <QPainter>

#include <algorithm>

TGrphBtn::TGrphBtn(QWidget *parent) : TButton(parent) {}

void TGrphBtn::SetGlyph(const QImage &glyph)
{
    glyph_ = glyph.copy();
    update();
}

void TGrphBtn::SetNumGlyphs(int n)
{
    numGlyphs_ = std::clamp(n, 1, 5);
    update();
}

void TGrphBtn::SetButtonStyle(bool isDefault)
{
    default_ = isDefault;
    update();
}

TGrphBtnState TGrphBtn::State() const
{
    if (!isEnabled())
        return gbsDisabled;
    if (isDown())
        return gbsDown;
    if (default_)
        return gbsDefault;
    if (hasFocus())
        return gbsFocused;
    return gbsUp;
}

void TGrphBtn::DrawGlyph(QPainter &canvas, int state)
{
    canvas.drawImage(0, 0, ButtonFace(this, glyph_, numGlyphs_, state));
}

void TGrphBtn::SetForeGround(QImage &bitmap, int state) const { PaintGlyph(bitmap, glyph_, numGlyphs_, state); }

void TGrphBtn::SetBackGround(QImage &bitmap) const { PaintBackground(this, bitmap); }

void TGrphBtn::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    DrawGlyph(p, State());
}

// What lies behind the button changes with its place.
void TGrphBtn::moveEvent(QMoveEvent *e)
{
    TButton::moveEvent(e);
    update();
}

void TGrphBtn::changeEvent(QEvent *e)
{
    TButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange)
        update();
}
