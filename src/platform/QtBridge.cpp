#include "QtBridge.h"

#include "Cp1250.h"

#include <QFontInfo>

#include <cctype>
#include <tuple>

QColor ToQColor(TColor c)
{
    TColor rgb = ResolveColor(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

QFont ToQFont(const TFont &f)
{
    // Windows face names that no Linux desktop has go to their nearest kind.
    QString family = ToQ(f.Name);
    std::string lower;
    for (char ch : f.Name)
        lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
    if (lower == "ms sans serif" || lower == "tahoma" || lower == "arial")
        family = QStringLiteral("DejaVu Sans");
    else if (lower == "courier new" || lower == "courier")
        family = QStringLiteral("DejaVu Sans Mono");
    QFont q(family);
    q.setPixelSize(f.Height() < 0 ? -f.Height() : (f.Height() > 0 ? f.Height() : 11));
    q.setBold(f.Style & fsBold);
    q.setItalic(f.Style & fsItalic);
    q.setUnderline(f.Style & fsUnderline);
    q.setStrikeOut(f.Style & fsStrikeOut);
    if (f.Pitch == 2)
        q.setFixedPitch(true);
    return q;
}

QFont ToDialogFont(const TFont &f)
{
    // Without a style name the dialog asks for "Normal", which families such
    // as DejaVu Sans lack, and takes the first style it lists (Oblique).
    QFont q = ToQFont(f);
    q.setStyleName(QFontInfo(q).styleName());
    return q;
}

TFont FromDialogFont(const TFont &stored, const QFont &offered, const QFont &chosen)
{
    TFont font = stored;
    // A face name of the files maps to an installed family: kept unless another was picked.
    if (chosen.family() != offered.family())
        font.Name = FromQ(chosen.family());
    if (chosen.pointSize() != offered.pointSize() || chosen.pixelSize() != offered.pixelSize()) {
        if (chosen.pointSize() > 0)
            font.SetSize(chosen.pointSize());
        else
            font.SetHeight(-chosen.pixelSize());
    }
    for (auto [now, was, style] : {std::tuple{chosen.bold(), offered.bold(), fsBold},
                                   {chosen.italic(), offered.italic(), fsItalic},
                                   {chosen.underline(), offered.underline(), fsUnderline},
                                   {chosen.strikeOut(), offered.strikeOut(), fsStrikeOut}})
        if (now != was)
            font.Style = now ? font.Style | style : font.Style & ~style;
    return font;
}
