#pragma once
// A font stored as a key family <K>-CharSet, -Color, -Height, -Name, -Pitch,
// -Size, -Style and -Def, writing only what differs from the default font.
#include "Font.h"

#include <string>

class TIniFile;

void ReadFontIni(const TIniFile &ini, TFont &font, const std::string &section, const std::string &key);
void WriteFontIni(TIniFile &ini, const TFont &font, const std::string &section, const std::string &key);
