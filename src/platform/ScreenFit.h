#pragma once
// Keeping a window's frame on the screen's available area.
#include <QPoint>
#include <QRect>

// The top-left that brings frame onto area as far as it fits; a frame larger
// than the area keeps its top-left corner (its title bar) on the area.
QPoint PulledOnto(const QRect &frame, const QRect &area);
// The frame no larger than area, and pulled onto it.
QRect FittedTo(const QRect &frame, const QRect &area);
