// The panel's outline: a frameless window, cut by the background picture's
// key colour, faded by the skin's alpha, or a plain rectangle.
#include "Skin.h"
#include "Vcl.h"

#include <QBitmap>

QRegion TSkin::KeyColorRegion(const QImage &picture, TColor key, const QSize &window)
{
    QRegion region(0, 0, window.width(), window.height());
    if (picture.isNull())
        return region;
    const TColor rgb = ResolveColor(key);
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    const QImage keyPixels = opaque.createMaskFromColor(qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)), Qt::MaskInColor);
    return region.subtracted(QRegion(QBitmap::fromImage(keyPixels)));
}

void TSkin::ApplyWindowShape(TColor colorKey, int alpha, int type)
{
    if (!(Owner->windowFlags() & Qt::FramelessWindowHint))
        Owner->setWindowFlag(Qt::FramelessWindowHint, true);
    if (type == 2 && !background_.isNull()) {
        Region = KeyColorRegion(background_, colorKey, Owner->size());
        Owner->setMask(Region);
    } else {
        Region = QRegion();
        Owner->clearMask();
    }
    Owner->setWindowOpacity(type == 1 ? alpha / 255.0 : 1.0);
    Owner->show();
    Owner->raise();
}
