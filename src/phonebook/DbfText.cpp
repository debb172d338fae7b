#include "DbfText.h"

#include <cstdio>

namespace dbftext {

const std::string kSeparator(74, '-');

std::string NextField(std::string_view line, size_t &cursor)
{
    if (cursor >= line.size()) {
        cursor = std::string_view::npos;
        return {};
    }
    size_t semi = line.find(';', cursor);
    if (semi == std::string_view::npos) {
        cursor = std::string_view::npos;
        return {};
    }
    std::string field(line.substr(cursor, semi - cursor));
    cursor = semi + 1;
    return field;
}

std::string DateToText(const QDate &date)
{
    QDate d = date.isValid() ? date : QDate(1899, 12, 30);
    char buf[16];
    snprintf(buf, sizeof buf, "%02d/%02d/%02d", d.year() % 100, d.month(), d.day());
    return buf;
}

QDate TextToDate(std::string_view text)
{
    std::string s(text.substr(0, 32));
    int y = 0, m = 0, d = 0;
    if (sscanf(s.c_str(), "%2d/%2d/%2d", &y, &m, &d) != 3 || y < 0 || (y == 99 && m == 12 && d == 30))
        return {};
    return QDate(y < 50 ? 2000 + y : 1900 + y, m, d);
}

bool IsSeparator(std::string_view line)
{
    return line.size() >= 50 && line.find_first_not_of('-') >= 50;
}

std::string Stored(std::string_view text, size_t width)
{
    text = text.substr(0, width);
    size_t end = text.find_last_not_of(' ');
    return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

bool SplitLines(const std::string &bytes, std::vector<std::string_view> &lines)
{
    lines.clear();
    if (bytes.find('\0') != std::string::npos || (!bytes.empty() && bytes.back() != '\n'))
        return false;
    std::string_view all(bytes);
    for (size_t at = 0; at < all.size();) {
        size_t nl = all.find('\n', at);
        size_t end = nl > at && all[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back(all.substr(at, end - at));
        at = nl + 1;
    }
    return true;
}

} // namespace dbftext
