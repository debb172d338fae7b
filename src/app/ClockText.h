#pragma once
// The panel clock's text: hours and minutes in the user's own time format.
#include <string>

class QLocale;
class QTime;

// The locale's long time format (the one with seconds) cut before its last
// colon: "9:05" in Czech, "1:05" in American English at 13:05:09.
std::string ClockText(const QTime &time, const QLocale &locale);
