#include "GlyphPaint.h"

#include "Vcl.h"

#include <QWidget>

#include <QPainter>

void PaintBackground(const QWidget *button, QImage &face)
{
    const QWidget *parent = button->parentWidget();
    face.fill(parent ? parent->palette().color(parent->backgroundRole()) : button->palette().color(QPalette::Window));
    if (!parent)
        return;
    QPainter p(&face);
    const QRect bounds = button->geometry();
    for (const QObject *o : parent->children()) {
        const auto *image = qobject_cast<const TImage *>(o);
        if (!image || image == button)
            continue;
        const QRect common = bounds & image->geometry();
        if (common.isEmpty())
            continue;
        const QPixmap picture = image->Picture();
        if (picture.isNull())
            continue;
        p.drawPixmap(common.topLeft() - bounds.topLeft(), picture, common.translated(-image->pos()));
    }
}

void PaintGlyph(QImage &face, const QImage &glyph, int numGlyphs, int state)
{
    if (glyph.width() == 0 || glyph.height() == 0 || numGlyphs < 1)
        return;
    const int index = state < numGlyphs ? state : 0;
    const int width = glyph.width() / numGlyphs;
    if (width == 0)
        return;
    QImage picture = glyph.copy(index * width, 0, width, glyph.height()).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = picture.pixel(0, 0);
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
    }
    QPainter p(&face);
    p.drawImage(0, 0, picture);
}

QImage ButtonFace(const QWidget *button, const QImage &glyph, int numGlyphs, int state)
{
    QImage face(button->size(), QImage::Format_ARGB32);
    PaintBackground(button, face);
    PaintGlyph(face, glyph, numGlyphs, state);
    return face;
}
