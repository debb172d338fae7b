#include "DialRules.h"

#include "PanelSettings.h"

#include <cstdio>

std::string AddLinePrefix(const std::string &number, const std::string &kind, const std::string &toPSTN,
                          const std::string &lineType)
{
    bool reverse = (lineType + "-").find("REV-") != std::string::npos;
    if (!reverse)
        return kind != "L" ? toPSTN + number : number;
    return kind == "L" ? "F" + number : number;
}

std::string ApplyDialPrefixes(const std::string &number, const std::string &kind, const TNameValueList &prefixes,
                              const std::string &toPSTN, const std::string &lineType)
{
    std::string result = number;
    for (auto &[name, value] : prefixes.Entries()) {
        if (number.compare(0, name.size(), name) != 0)
            continue;
        result = (value == "_" ? std::string() : value) + number.substr(name.size(), 1000);
        break;
    }
    return AddLinePrefix(result, kind, toPSTN, lineType);
}

std::string FormatTariff(int hundredths, const std::string &delimiter, const std::string &currency)
{
    char cents[16];
    std::snprintf(cents, sizeof cents, "%02d", hundredths % 100);
    return std::to_string(hundredths / 100) + delimiter + cents + " " + currency;
}
