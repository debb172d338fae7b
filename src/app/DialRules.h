#pragma once
// Turning a number from the phone book or a list into the digits to dial.
#include <string>

class TNameValueList;

// The first [Prefixes] name the number begins with is replaced by its value
// ("_" for nothing); then the outside-line prefix or, on a reverse line, the
// flash for internal numbers.
std::string ApplyDialPrefixes(const std::string &number, const std::string &kind, const TNameValueList &prefixes,
                              const std::string &toPSTN, const std::string &lineType);
std::string AddLinePrefix(const std::string &number, const std::string &kind, const std::string &toPSTN,
                          const std::string &lineType);

// "%d%s%02d %s": 1234 with "," and "Kč" gives "12,34 Kč".
std::string FormatTariff(int hundredths, const std::string &delimiter, const std::string &currency);
