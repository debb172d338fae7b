// Draws the shipped skins into a folder: per skin a background picture, a
// sprite sheet and the skin file. Run by hand when a design changes; its
// output is kept in data/Skins.
#include "FontIni.h"
#include "IniFile.h"
#include "SkinLines.h"
#include "SkinPaint.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kSheetWidth = 640;

bool Write(const SkinDesign &d, const std::string &dir)
{
    QImage back(d.size, QImage::Format_RGB32);
    back.fill(d.edge);
    {
        QPainter p(&back);
        d.paintBackground(p);
        // Outside the outline is key colour, pixel by whole pixel.
        QPainterPath outside;
        outside.addRect(QRectF(QPointF(0, 0), QSizeF(d.size)));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.fillPath(outside.subtracted(d.outline), QColor::fromRgb(kKeyRgb));
    }

    // Pack each image's strip of states into rows of the sheet.
    std::vector<QPoint> at;
    int x = 0, y = 0, rowHeight = 0, width = 0;
    for (const Part &part : d.parts) {
        const int strip = part.rect.width() * StatesOf(part);
        if (strip == 0) {
            at.emplace_back();
            continue;
        }
        if (x + strip > kSheetWidth) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        at.emplace_back(x, y);
        x += strip;
        width = std::max(width, x);
        rowHeight = std::max(rowHeight, part.rect.height());
    }
    QImage sheet(width, y + rowHeight, QImage::Format_RGB32);
    sheet.fill(kKeyRgb);
    for (size_t i = 0; i < d.parts.size(); ++i) {
        const Part &part = d.parts[i];
        for (int s = 0; s < StatesOf(part); ++s) {
            QImage cell = back.copy(part.rect);
            QPainter p(&cell);
            PaintState(p, part, s);
            p.end();
            QPainter(&sheet).drawImage(at[i] + QPoint(s * part.rect.width(), 0), cell);
        }
    }
    if (!back.save(QString::fromStdString(dir + d.background)) || !sheet.save(QString::fromStdString(dir + d.foreground)))
        return false;

    const std::string path = dir + d.file;
    ::unlink(path.c_str());
    TIniFile skn(path);
    skn.WriteInteger("Set", "Width", d.size.width());
    skn.WriteInteger("Set", "Height", d.size.height());
    skn.WriteString("Set", "Background", d.background);
    skn.WriteString("Set", "Foreground", d.foreground);
    skn.WriteInteger("Set", "Type", 2);
    skn.WriteInteger("Set", "Alpha", 255);
    skn.WriteInteger("Set", "ColorKey", MakeColor(255, 0, 255));
    for (const char *flag : {"Title", "FirstName", "TitleAfter"})
        skn.WriteBool("Show", flag, false);
    for (size_t i = 0; i < d.parts.size(); ++i) {
        const Part &part = d.parts[i];
        TSkinItem item;
        item.Left = part.rect.x();
        item.Top = part.rect.y();
        item.Width = part.rect.width();
        item.Height = part.rect.height();
        if (part.look != Look::Label) {
            item.SpriteX = at[i].x();
            item.SpriteY = at[i].y();
            item.Code = part.code;
            skn.WriteString("Controls", part.name, FormatImageLine(item));
            continue;
        }
        item.Link = part.link;
        TLabelFlags flags;
        flags.Transparent = part.transparent;
        flags.Alignment = part.align;
        skn.WriteString("Controls", part.name, FormatLabelLine(item, flags));
    }
    for (const Part &part : d.parts)
        if (part.look == Look::Label)
            WriteFontIni(skn, part.font, "Fonts", part.name);
    return skn.UpdateFile();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    if (dir.back() != '/')
        dir += '/';
    for (const SkinDesign &d : {DeskPhone(), MiniPhone()})
        if (!Write(d, dir)) {
            std::fprintf(stderr, "cannot write %s\n", d.file.c_str());
            return 1;
        }
    return 0;
}
