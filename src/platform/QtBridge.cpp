#include "QtBridge.h"

#include "Cp1250.h"

#include <cctype>

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
