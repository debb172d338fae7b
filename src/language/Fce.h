#pragma once
// Common free functions every unit calls. None keeps state or raises.
#include <QDate>

#include <string>
#include <string_view>

class QWidget;

// The per-user data folder, ending in '/'; set once at start by the panel.
extern std::string DataDir;
// The program's INI file in the data folder: the program file's name + ".ini".
std::string ProgramIniPath();

std::string GetCommaField(int index, const std::string &text);
std::string SqlDateString(int days, const QDate &today = QDate::currentDate());
std::string RightStr(const std::string &text, int n);
// A number as people type it, without the blanks, "-", "/", "." and
// parentheses that only group its digits: what is dialled and matched.
std::string PlainNumber(const std::string &number);
// PlainNumber in national form: a leading "+420" becomes "0", another "+" "00".
std::string NormalizeNumber(const std::string &number);
// NormalizeNumber of number, appended to out.
void AppendNormalizedNumber(std::string_view number, std::string &out);
std::string ToggleLine(bool add, const std::string &text, const std::string &line);
int HexToIntDef(const std::string &text, int def);
std::string TextBeforeQuote(const std::string &text);
// Waits while the event loop keeps running (timers, sockets, input).
void Delay(unsigned ms);
int GetWinMajorVersion();
// $HOME/<name>/; the caller creates it.
std::string GetDataDir(const std::string &name);
bool GetUserProfileDir(std::string &dir);
// True when the copy was made whole; a partial one is removed.
bool CopyFileData(const std::string &destination, const std::string &source);
// True when every file matching mask was copied whole (a missing source folder has none).
bool CopyDirFiles(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask);

// Language UI library: centres a dialog over its caller.
void CenterForm(const QWidget *ref, QWidget *form);
// Moves a window wholly onto the screen it is mostly on (as far as it fits).
void KeepOnScreen(QWidget *window);
