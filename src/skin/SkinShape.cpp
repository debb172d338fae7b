// The panel's outline: a frameless window, cut by the background picture's
// key colour, faded by the skin's alpha, or a plain rectangle.
#include "Skin.h"
#include "Vcl.h"


QRegion TSkin::KeyColorRegion(const QImage &picture, TColor key, const QSize &window)
{
    QRegion region(0, 0, window.width(), window.height());
    if (picture.isNull())
        return region;
    const TColor rgb = ResolveColor(key);
    const QRgb keyPixel = qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    // Each row's runs of the key colour, one-pixel-high rectangles in y-x order.
    QList<QRect> runs;
    const int width = opaque.width(), height = opaque.height();
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < width;) {
            if (line[x] != keyPixel) {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && line[end] == keyPixel)
                ++end;
            runs.append(QRect(x, y, end - x, 1));
            x = end;
        }
    }
    QRegion cut;
    cut.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region.subtracted(cut);
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
