// The two shipped skins: a full desk telephone and a small one.
#include "SkinPaint.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

Part Image(std::string name, QRect r, int code, Look look, QString legend = {}, QString sub = {})
{
    Part p;
    p.name = std::move(name);
    p.rect = r;
    p.code = code;
    p.look = look;
    p.legend = std::move(legend);
    p.sub = std::move(sub);
    return p;
}

Part Led(std::string name, QRect r, int code, QColor lit)
{
    Part p = Image(std::move(name), r, code, Look::Led);
    p.tint = lit;
    return p;
}

const TColor kLcdText = MakeColor(0x1c, 0x2a, 0x12);

// A skin font's size decides over its height when read back: heights of 10
// pixels (8 points, like the default 11) would not survive a save.
Part Label(std::string name, QRect r, char align, int height, bool bold = false, std::string link = {},
           TColor colour = kLcdText)
{
    Part p;
    p.name = std::move(name);
    p.rect = r;
    p.look = Look::Label;
    p.align = align;
    p.link = std::move(link);
    p.font.Name = "Tahoma";
    p.font.SetHeight(-height);
    p.font.Color = colour;
    p.font.Style = bold ? static_cast<unsigned>(fsBold) : 0u;
    return p;
}

// A body: a rounded rectangle with a gradient and a light rim.
struct BodyShape {
    QRectF rect;
    qreal radius;
    QColor top, bottom;
    static constexpr qreal kRim = 1.5;
    QColor Rim() const { return top.lighter(140); }
    // Everything the rim covers, half of it outside the rectangle.
    QPainterPath Outline() const
    {
        QPainterPath path;
        const qreal half = kRim / 2;
        path.addRoundedRect(rect.adjusted(-half, -half, half, half), radius + half, radius + half);
        return path;
    }
};

const BodyShape kDeskBody{QRectF(4, 4, 592, 392), 26, QColor(0x3b, 0x41, 0x4a), QColor(0x22, 0x26, 0x2c)};
const BodyShape kMiniBody{QRectF(3, 3, 274, 154), 20, QColor(0xdf, 0xe3, 0xe8), QColor(0xb4, 0xbb, 0xc4)};

void Body(QPainter &p, const BodyShape &b)
{
    QLinearGradient g(b.rect.topLeft(), b.rect.bottomLeft());
    g.setColorAt(0, b.top);
    g.setColorAt(1, b.bottom);
    p.setPen(QPen(b.Rim(), BodyShape::kRim));
    p.setBrush(g);
    p.drawRoundedRect(b.rect, b.radius, b.radius);
}

void Lcd(QPainter &p, QRectF bezel)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0e, 0x10, 0x12));
    p.drawRoundedRect(bezel, 8, 8);
    QRectF glass = bezel.adjusted(6, 6, -6, -6);
    QLinearGradient g(glass.topLeft(), glass.bottomLeft());
    g.setColorAt(0, QColor(0xb4, 0xc9, 0x96));
    g.setColorAt(1, QColor(0x95, 0xad, 0x78));
    p.setBrush(g);
    p.drawRoundedRect(glass, 3, 3);
}

void Caption(QPainter &p, QRectF r, const QString &text, int px, QColor colour, bool bold = true)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, px > 12 ? 3 : 0.5);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
}

void DeskBackground(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    Body(p, kDeskBody);
    // Cord slot above the cradle: a hole through the body.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kKeyRgb));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawRoundedRect(QRect(40, 18, 56, 16), 7, 7);
    p.setRenderHint(QPainter::Antialiasing);
    // Handset cradle.
    p.setPen(QPen(QColor(0x4e, 0x55, 0x5f), 1));
    p.setBrush(QColor(0x1a, 0x1d, 0x21));
    p.drawRoundedRect(QRectF(14, 46, 104, 338), 18, 18);
    Caption(p, QRectF(128, 12, 200, 28), QStringLiteral("TALVO"), 18, QColor(0xc9, 0xcf, 0xd6));
    Caption(p, QRectF(232, 14, 120, 28), QStringLiteral("CTI desk"), 10, QColor(0x8d, 0x96, 0xa1), false);
    Lcd(p, QRectF(124, 44, 232, 100));
    // Speed-dial card with its ruled lines.
    p.setPen(QPen(QColor(0x9a, 0x94, 0x80), 1));
    p.setBrush(QColor(0xf1, 0xee, 0xe2));
    p.drawRoundedRect(QRectF(458, 66, 128, 246), 4, 4);
    p.setPen(QPen(QColor(0xc9, 0xc2, 0xa8), 1));
    for (int i = 1; i < 8; ++i)
        p.drawLine(QPointF(462, 69 + i * 30), QPointF(582, 69 + i * 30));
    Caption(p, QRectF(462, 46, 124, 18), QStringLiteral("SPEED DIAL"), 9, QColor(0xb8, 0xbf, 0xc8));
    Caption(p, QRectF(364, 56, 84, 14), QStringLiteral("WAITING"), 8, QColor(0xb8, 0xbf, 0xc8));
    Caption(p, QRectF(128, 378, 224, 14), QStringLiteral("DSS"), 8, QColor(0x8d, 0x96, 0xa1));
}

void MiniBackground(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    Body(p, kMiniBody);
    Lcd(p, QRectF(10, 10, 190, 64));
    Caption(p, QRectF(208, 46, 64, 14), QStringLiteral("TALVO"), 10, QColor(0x55, 0x5e, 0x6a));
}

// Files named after the skin: <base>.skn, <base>.png and <base>Keys.png.
SkinDesign Design(const std::string &base, QSize size, std::function<void(QPainter &)> paint, const BodyShape &body)
{
    SkinDesign d;
    d.outline = body.Outline();
    d.edge = body.Rim();
    d.file = base + ".skn";
    d.background = base + ".png";
    d.foreground = base + "Keys.png";
    d.size = size;
    d.paintBackground = std::move(paint);
    return d;
}

} // namespace

SkinDesign DeskPhone()
{
    SkinDesign d = Design("RizUzezi", QSize(600, 400), DeskBackground, kDeskBody);
    auto &v = d.parts;
    v.push_back(Image("ImageHAND", QRect(20, 52, 92, 326), 900, Look::Hand));
    // Display.
    v.push_back(Label("LabelSTAT", QRect(136, 54, 124, 14), 'L', 11));
    v.push_back(Label("LabelCLOCK", QRect(262, 54, 64, 14), 'R', 11, true));
    v.push_back(Image("ImageSTAT", QRect(330, 53, 16, 16), 903, Look::Blank));
    v.push_back(Label("LabelDISP", QRect(136, 70, 212, 34), 'L', 13, true));
    v.push_back(Label("LabelDEST", QRect(136, 106, 140, 14), 'L', 11));
    v.push_back(Label("LabelTAR", QRect(276, 106, 72, 14), 'R', 11));
    v.push_back(Label("LabelKEYS", QRect(136, 122, 212, 14), 'L', 11, true));
    // Keypad.
    const char *subs[] = {"", "ABC", "DEF", "GHI", "JKL", "MNO", "PQRS", "TUV", "WXYZ"};
    for (int i = 0; i < 12; ++i) {
        QRect r(128 + (i % 3) * 78, 156 + (i / 3) * 46, 68, 38);
        if (i < 9)
            v.push_back(Image("ImageKey" + std::to_string(i + 1), r, i + 1, Look::Digit, QString::number(i + 1),
                              QString::fromLatin1(subs[i])));
    }
    v.push_back(Image("ImageKeyStar", QRect(128, 294, 68, 38), 11, Look::Digit, QStringLiteral("*")));
    v.push_back(Image("ImageKey0", QRect(206, 294, 68, 38), 10, Look::Digit, QStringLiteral("0"), QStringLiteral("+")));
    v.push_back(Image("ImageKeyHash", QRect(284, 294, 68, 38), 12, Look::Digit, QStringLiteral("#")));
    // DSS keys.
    for (int i = 0; i < 6; ++i)
        v.push_back(Image("ImageKeyDSS" + std::to_string(i + 1), QRect(128 + i * 38, 344, 34, 30), 600 + i, Look::Dss,
                          QString::number(i + 1)));
    // Call functions with their lamps.
    v.push_back(Led("ImageFRONT", QRect(426, 57, 12, 12), 902, QColor(0xff, 0x3a, 0x2a)));
    const struct {
        const char *name;
        int code;
        const char *legend;
    } functions[] = {{"ImageCONF", 300, "CONF"},   {"ImageREDIAL", 301, "REDIAL"},  {"ImageSPEED", 302, "SPEED"},
                     {"ImagePARK", 303, "PARK"},   {"ImageTRANSFER", 305, "TRANSFER"}, {"ImageFLASH", 306, "FLASH"},
                     {"ImageMUTE", 100, "MUTE"}};
    int y = 76;
    for (const auto &f : functions) {
        v.push_back(Image(f.name, QRect(376, y, 76, 26), f.code, Look::Function, QString::fromLatin1(f.legend)));
        y += 30;
    }
    v.push_back(Led("ImageLEDHOLD", QRect(364, 175, 8, 8), 903, QColor(0xff, 0xa8, 0x20)));
    v.push_back(Led("ImageLEDMUTE", QRect(364, 265, 8, 8), 903, QColor(0xff, 0x3a, 0x2a)));
    v.push_back(Image("ImageVOLDN", QRect(376, 290, 36, 26), 103, Look::Function, QStringLiteral("\u2212")));
    v.push_back(Image("ImageVOLUP", QRect(416, 290, 36, 26), 102, Look::Function, QStringLiteral("+")));
    v.push_back(Image("ImageSPEAKER", QRect(376, 324, 76, 30), 202, Look::Function, QStringLiteral("SPEAKER")));
    v.push_back(Led("ImageLEDSPK", QRect(364, 335, 8, 8), 903, QColor(0x4c, 0xff, 0x5a)));
    // Speed-dial keys, each with its line on the card.
    for (int i = 0; i < 8; ++i) {
        std::string n = std::to_string(i + 1);
        v.push_back(Image("ImageD" + n, QRect(462, 74 + i * 30, 20, 20), 150, Look::Speed));
        v.push_back(Label("LabelD" + n, QRect(486, 76 + i * 30, 96, 16), 'L', 11, false, "ImageD" + n,
                          MakeColor(0x20, 0x24, 0x60)));
    }
    // Hook keys.
    v.push_back(Image("ImageLIFT", QRect(460, 330, 60, 44), 200, Look::Green, QStringLiteral("\u260E")));
    v.push_back(Image("ImageHANGUP", QRect(526, 330, 60, 44), 201, Look::Red, QStringLiteral("\u2715")));
    // Window keys.
    const struct {
        const char *name;
        int code;
        const char16_t *glyph;
        Look look;
    } window[] = {{"ImageSETUP", 504, u"\u2699", Look::Round},
                  {"ImageMENU", 503, u"\u2261", Look::Round},
                  {"ImageTRAY", 501, u"\u25BE", Look::Round},
                  {"ImageMIN", 502, u"\u2212", Look::Round},
                  {"ImageCLOSE", 500, u"\u2715", Look::RoundRed}};
    for (int i = 0; i < 5; ++i)
        v.push_back(Image(window[i].name, QRect(466 + i * 24, 16, 20, 20), window[i].code, window[i].look,
                          QString::fromUtf16(window[i].glyph)));
    return d;
}

SkinDesign MiniPhone()
{
    SkinDesign d = Design("Mini", QSize(280, 160), MiniBackground, kMiniBody);
    auto &v = d.parts;
    v.push_back(Label("LabelSTAT", QRect(20, 18, 100, 12), 'L', 9));
    v.push_back(Label("LabelCLOCK", QRect(124, 18, 48, 12), 'R', 9, true));
    v.push_back(Image("ImageSTAT", QRect(176, 16, 16, 16), 903, Look::Blank));
    v.push_back(Label("LabelDISP", QRect(20, 32, 172, 26), 'L', 11, true));
    v.push_back(Label("LabelKEYS", QRect(20, 58, 172, 12), 'L', 9));
    v.push_back(Image("ImageMIN", QRect(226, 12, 18, 18), 502, Look::Round, QStringLiteral("\u2212")));
    v.push_back(Image("ImageCLOSE", QRect(250, 12, 18, 18), 500, Look::RoundRed, QStringLiteral("\u2715")));
    v.push_back(Led("ImageLEDSPK", QRect(212, 36, 8, 8), 903, QColor(0x4c, 0xff, 0x5a)));
    v.push_back(Led("ImageFRONT", QRect(226, 36, 8, 8), 902, QColor(0xff, 0x3a, 0x2a)));
    v.push_back(Image("ImageSPEAKER", QRect(10, 84, 62, 30), 202, Look::Green, QStringLiteral("\u260E")));
    v.push_back(Image("ImageREDIAL", QRect(76, 84, 62, 30), 301, Look::Function, QStringLiteral("REDIAL")));
    v.push_back(Image("ImageTRANSFER", QRect(142, 84, 62, 30), 305, Look::Function, QStringLiteral("TRANSFER")));
    v.push_back(Image("ImageCONF", QRect(208, 84, 62, 30), 300, Look::Function, QStringLiteral("CONF")));
    for (int i = 0; i < 2; ++i) {
        std::string n = std::to_string(i + 1);
        v.push_back(Image("ImageD" + n, QRect(12 + i * 130, 124, 20, 20), 150, Look::Speed));
        v.push_back(Label("LabelD" + n, QRect(36 + i * 130, 126, 100, 16), 'L', 11, false, "ImageD" + n,
                          MakeColor(0x20, 0x24, 0x30)));
    }
    return d;
}
