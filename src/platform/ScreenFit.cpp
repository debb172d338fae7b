#include "ScreenFit.h"

#include <algorithm>

QPoint PulledOnto(const QRect &frame, const QRect &area)
{
    const int left = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    return {left, top};
}

QRect FittedTo(const QRect &frame, const QRect &area)
{
    const QRect bounded(frame.topLeft(), frame.size().boundedTo(area.size()));
    return QRect(PulledOnto(bounded, area), bounded.size());
}
