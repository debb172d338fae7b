#include "SkinPaint.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QFont Face(int px, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

struct Colours {
    QColor face, text;
};

Colours ColoursOf(Look look)
{
    switch (look) {
    case Look::Digit: return {QColor(0xe6, 0xe9, 0xed), QColor(0x20, 0x22, 0x26)};
    case Look::Green: return {QColor(0x2f, 0x9e, 0x55), Qt::white};
    case Look::Red:
    case Look::RoundRed: return {QColor(0xc9, 0x39, 0x2f), Qt::white};
    case Look::Dss: return {QColor(0x7a, 0x84, 0x90), Qt::white};
    case Look::Speed: return {QColor(0xc8, 0xcc, 0xd2), QColor(0x30, 0x30, 0x30)};
    default: return {QColor(0x55, 0x5e, 0x6a), Qt::white};
    }
}

// A key cap: raised when up; when pressed, sunk by a pixel, darker, with an amber rim.
void PaintKey(QPainter &p, const Part &part, bool pressed)
{
    const Colours c = ColoursOf(part.look);
    const bool round = part.look == Look::Round || part.look == Look::RoundRed || part.look == Look::Speed;
    QRectF r = QRectF(0, 0, part.rect.width(), part.rect.height()).adjusted(1, 1, -1, -2.5);
    const qreal radius = round ? r.height() / 2 : 6;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, pressed ? 40 : 110));
    p.drawRoundedRect(r.translated(0, 1.5), radius, radius);
    if (pressed)
        r.translate(0, 1);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pressed ? c.face.darker(135) : c.face.lighter(118));
    g.setColorAt(1, pressed ? c.face.darker(112) : c.face.darker(108));
    p.setBrush(g);
    p.setPen(pressed ? QPen(QColor(0xff, 0xb0, 0x20), 1.6) : QPen(c.face.darker(170), 1));
    p.drawRoundedRect(r, radius, radius);

    QColor text = pressed && part.look != Look::Digit ? QColor(0xff, 0xd2, 0x6a) : c.text;
    p.setPen(text);
    if (part.look == Look::Dss) {
        // A small lamp window left of the number.
        p.fillRect(QRectF(r.left() + 4, r.center().y() - 3, 5, 6), pressed ? QColor(0x7c, 0xff, 0x7c) : QColor(0x2a, 0x40, 0x2a));
        p.setFont(Face(10, true));
        p.drawText(r.adjusted(8, 0, 0, 0), Qt::AlignCenter, part.legend);
        return;
    }
    if (part.look == Look::Digit) {
        p.setFont(Face(17, true));
        p.drawText(r.adjusted(0, -4, 0, part.sub.isEmpty() ? 0 : -6), Qt::AlignCenter, part.legend);
        p.setFont(Face(7, false));
        p.setPen(QColor(0x55, 0x5a, 0x62));
        p.drawText(r.adjusted(0, 0, 0, -2), Qt::AlignHCenter | Qt::AlignBottom, part.sub);
        return;
    }
    const bool glyph = part.legend.size() <= 2;
    p.setFont(Face(glyph ? qMin(16, part.rect.height() - 6) : 9, true));
    p.drawText(r, Qt::AlignCenter, part.legend);
}

void PaintLed(QPainter &p, const Part &part, int state)
{
    QRectF r = QRectF(0, 0, part.rect.width(), part.rect.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor lit = state == 2 ? QColor(0xff, 0xa8, 0x20) : part.tint;
    QColor body = state == 0 ? part.tint.darker(420) : lit;
    QRadialGradient g(r.center() - QPointF(r.width() / 6, r.height() / 6), r.width() / 1.5);
    g.setColorAt(0, state == 0 ? body.lighter(160) : Qt::white);
    g.setColorAt(0.45, body);
    g.setColorAt(1, body.darker(150));
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.setBrush(g);
    p.drawEllipse(r);
}

QPainterPath HandsetPath(const QRectF &r)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    const qreal piece = r.height() * 0.27;
    path.addRoundedRect(QRectF(r.left(), r.top(), r.width(), piece), 22, 22);
    path.addRoundedRect(QRectF(r.left(), r.bottom() - piece, r.width(), piece), 22, 22);
    path.addRoundedRect(QRectF(r.center().x() - r.width() * 0.28, r.top() + piece * 0.6, r.width() * 0.56,
                               r.height() - piece * 1.2),
                        14, 14);
    return path.simplified();
}

void PaintHoles(QPainter &p, QPointF centre)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0c, 0x0d, 0x0f));
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            if (dx * dx + dy * dy <= 5)
                p.drawEllipse(centre + QPointF(dx * 7, dy * 7), 1.8, 1.8);
}

// The handset in its cradle, or the empty cradle with its hook plungers up.
void PaintHand(QPainter &p, const Part &part, bool lifted)
{
    const QRectF area(0, 0, part.rect.width(), part.rect.height());
    const QRectF hand = area.adjusted(6, 6, -6, -6);
    const qreal piece = hand.height() * 0.27;
    p.setPen(Qt::NoPen);
    p.setBrush(lifted ? QColor(0xe8, 0xe8, 0xe8) : QColor(0x60, 0x60, 0x60));
    const qreal plunger = lifted ? 12 : 5;
    p.drawRoundedRect(QRectF(area.center().x() - 10, hand.top() + piece + 8, 20, plunger), 2, 2);
    p.drawRoundedRect(QRectF(area.center().x() - 10, hand.bottom() - piece - 8 - plunger, 20, plunger), 2, 2);
    if (lifted) {
        p.setPen(QPen(QColor(0x4a, 0x52, 0x5c), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPath(HandsetPath(hand));
        return;
    }
    QPainterPath path = HandsetPath(hand);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(path.translated(2, 3));
    QLinearGradient g(hand.topLeft(), hand.topRight());
    g.setColorAt(0, QColor(0x3c, 0x41, 0x48));
    g.setColorAt(0.5, QColor(0x2a, 0x2d, 0x32));
    g.setColorAt(1, QColor(0x1c, 0x1e, 0x22));
    p.setPen(QPen(QColor(0x5c, 0x63, 0x6c), 1.2));
    p.setBrush(g);
    p.drawPath(path);
    PaintHoles(p, QPointF(hand.center().x(), hand.top() + piece / 2));
    PaintHoles(p, QPointF(hand.center().x(), hand.bottom() - piece / 2));
}

} // namespace

int StatesOf(const Part &part)
{
    switch (part.look) {
    case Look::Led: return 3;
    case Look::Blank: return 1;
    case Look::Label: return 0;
    default: return 2;
    }
}

void PaintState(QPainter &p, const Part &part, int state)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (part.look) {
    case Look::Led: PaintLed(p, part, state); break;
    case Look::Hand: PaintHand(p, part, state == 1); break;
    case Look::Blank:
    case Look::Label: break;
    default: PaintKey(p, part, state == 1);
    }
}
