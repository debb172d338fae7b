#include "LineStatePictures.h"

#include <QPainter>
#include <QPainterPath>

namespace {

struct Look {
    QColor body;
    bool lifted;
    int waves; // sound waves beside the handset
};

void DrawHandset(QPainter &p, int size, const Look &look)
{
    const double s = size / 24.0;
    p.save();
    p.scale(s, s);
    if (look.lifted) {
        p.translate(12, 12);
        p.rotate(-30);
        p.translate(-12, -14);
    }
    QPainterPath handset;
    handset.moveTo(3, 8);
    handset.cubicTo(3, 3, 21, 3, 21, 8);
    handset.lineTo(21, 11);
    handset.lineTo(16, 11);
    handset.lineTo(16, 8.5);
    handset.cubicTo(14, 7.5, 10, 7.5, 8, 8.5);
    handset.lineTo(8, 11);
    handset.lineTo(3, 11);
    handset.closeSubpath();
    p.setPen(QPen(look.body.darker(160), 1));
    p.setBrush(look.body);
    p.drawPath(handset);
    p.restore();
    p.save();
    p.scale(s, s);
    // Base of the telephone.
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(70, 70, 70));
    p.drawRoundedRect(QRectF(4, 14, 16, 7), 2, 2);
    p.setPen(QPen(look.body, 1.4));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < look.waves; ++i)
        p.drawArc(QRectF(15 - 3 * i, 1 - 3 * i, 8 + 6 * i, 8 + 6 * i), 0, 90 * 16);
    p.restore();
}

} // namespace

std::vector<QPixmap> MakeLineStatePictures(int size)
{
    const Look looks[10] = {
        {QColor(110, 110, 110), false, 0}, // idle
        {QColor(40, 150, 60), true, 0},    // off hook
        {QColor(230, 140, 0), false, 2},   // ringing
        {QColor(230, 140, 0), false, 1},   // ringing, other phase
        {QColor(30, 170, 60), true, 1},    // in call
        {QColor(60, 110, 200), true, 0},   // waiting
        {QColor(40, 150, 200), true, 2},   // dialling
        {QColor(210, 40, 40), true, 0},    // error
        {QColor(200, 60, 160), true, 0},   // busy
        {QColor(40, 150, 200), true, 1},   // dialling, other phase
    };
    std::vector<QPixmap> pictures;
    for (const Look &look : looks) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        DrawHandset(p, size, look);
        pictures.push_back(pm);
    }
    return pictures;
}
