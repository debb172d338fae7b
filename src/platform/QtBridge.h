#pragma once
// Colours and fonts of the files, turned into Qt's only for drawing.
#include "Color.h"
#include "Font.h"

#include <QColor>
#include <QFont>

QColor ToQColor(TColor c);
QFont ToQFont(const TFont &f);
// The font as a font dialog is to offer it: named by the style of the face
// drawn, which the dialog looks for in its style list.
QFont ToDialogFont(const TFont &f);
// What a font dialog gave back, over the stored font: only what the user
// changed from what the dialog offered is taken, the rest stays as stored.
TFont FromDialogFont(const TFont &stored, const QFont &offered, const QFont &chosen);
