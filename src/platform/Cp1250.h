#pragma once
// All text in the program is code page 1250 bytes in std::string; QString
// exists only where a widget shows or takes text, and crosses here.
#include <QString>
#include <QStringList>
#include <string>

namespace cp1250 {

QString ToUnicode(const std::string &bytes);
// Characters without a code-page-1250 byte become '?'.
std::string FromUnicode(const QString &text);
// The characters of text that have no code-page-1250 byte, each once, in the
// order they first stand (a character outside the basic plane whole): what
// FromUnicode would turn into '?'. Empty when the text can be kept as typed.
QStringList Unkept(const QString &text);

// A byte that stands for a control character (the undefined ones included),
// never for text.
bool IsControl(unsigned char c);

// Upper case of one byte as the Windows case-insensitive compare folds it
// (a-z and the accented letters of the code page).
unsigned char FoldUpper(unsigned char c);
std::string FoldUpper(const std::string &text);
bool EqualNoCase(const std::string &a, const std::string &b);

} // namespace cp1250

// The one widget boundary conversion.
inline QString ToQ(const std::string &s) { return cp1250::ToUnicode(s); }
inline std::string FromQ(const QString &s) { return cp1250::FromUnicode(s); }
