#pragma once
// Painting shared by the graphic buttons: the face is a copy of what lies
// behind the button (the parent's colour and its pictures), with one picture
// of a glyph strip drawn over it.
#include <QImage>

class QWidget;

// Parent's colour, then every parent picture that overlaps the button, later
// pictures over earlier ones, all in the button's coordinates.
void PaintBackground(const QWidget *button, QImage &face);
// Picture state of a strip of numGlyphs equal pictures (state 0 when the strip
// has none for it), its top-left pixel's colour see-through.
void PaintGlyph(QImage &face, const QImage &glyph, int numGlyphs, int state);
// The whole face: background, then the glyph picture of the state.
QImage ButtonFace(const QWidget *button, const QImage &glyph, int numGlyphs, int state);
