#include "FontIni.h"

#include "Fce.h"
#include "IniFile.h"

#include <cstdio>

namespace {

std::string ColorText(TColor c)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(c));
    return buf;
}

std::string StyleText(unsigned style)
{
    std::string s;
    if (style & fsBold)
        s += 'B';
    if (style & fsItalic)
        s += 'I';
    if (style & fsUnderline)
        s += 'U';
    if (style & fsStrikeOut)
        s += 'S';
    return s;
}

} // namespace

void ReadFontIni(const TIniFile &ini, TFont &font, const std::string &section, const std::string &key)
{
    if (!ini.ReadBool(section, key + "-Def", false))
        return;
    const TFont def;
    font.CharSet = ini.ReadInteger(section, key + "-CharSet", def.CharSet);
    font.Color = HexToIntDef(ini.ReadString(section, key + "-Color", ColorText(def.Color)), def.Color);
    font.SetHeight(ini.ReadInteger(section, key + "-Height", def.Height()));
    font.Name = ini.ReadString(section, key + "-Name", def.Name);
    font.Pitch = ini.ReadInteger(section, key + "-Pitch", def.Pitch);
    font.SetSize(ini.ReadInteger(section, key + "-Size", def.Size()));
    std::string style = ini.ReadString(section, key + "-Style", "");
    font.Style = 0;
    if (style.find('B') != std::string::npos)
        font.Style |= fsBold;
    if (style.find('I') != std::string::npos)
        font.Style |= fsItalic;
    if (style.find('U') != std::string::npos)
        font.Style |= fsUnderline;
    if (style.find('S') != std::string::npos)
        font.Style |= fsStrikeOut;
}

void WriteFontIni(TIniFile &ini, const TFont &font, const std::string &section, const std::string &key)
{
    const TFont def;
    bool written = false;
    // A property back at its default loses its key: a key left behind would
    // bring the old value back at the next read.
    auto put = [&](const char *suffix, bool differs, const std::string &value) {
        if (differs) {
            ini.WriteString(section, key + suffix, value);
            written = true;
        } else {
            ini.DeleteKey(section, key + suffix);
        }
    };
    put("-CharSet", font.CharSet != def.CharSet, std::to_string(font.CharSet));
    put("-Color", font.Color != def.Color, ColorText(font.Color));
    put("-Height", font.Height() != def.Height(), std::to_string(font.Height()));
    put("-Name", font.Name != def.Name, font.Name);
    put("-Pitch", font.Pitch != def.Pitch, std::to_string(font.Pitch));
    put("-Size", font.Size() != def.Size(), std::to_string(font.Size()));
    std::string style = StyleText(font.Style);
    put("-Style", !style.empty(), style);
    put("-Def", written, "1");
}
