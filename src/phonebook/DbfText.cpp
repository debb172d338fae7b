#include "DbfText.h"

#include <algorithm>
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

std::string Reference(const std::string &stored, size_t width, int k)
{
    if (k <= 1)
        return stored;
    std::string ref = stored;
    ref.resize(std::max(width, ref.size()), ' ');
    return ref + std::to_string(k);
}

bool Overfull(std::string_view line, size_t fields)
{
    size_t at = 0;
    for (size_t n = 0; n < fields; ++n, ++at) {
        at = line.find(';', at);
        if (at == std::string_view::npos)
            return false;
    }
    return at < line.size();
}

bool Complete(std::string_view line, size_t fields)
{
    return fields == 0 || static_cast<size_t>(std::count(line.begin(), line.end(), ';')) >= fields;
}

bool SplitLines(const std::string &bytes, std::vector<std::string_view> &lines, bool &ended)
{
    lines.clear();
    ended = bytes.empty() || bytes.back() == '\n';
    if (bytes.find('\0') != std::string::npos)
        return false;
    std::string_view all(bytes);
    for (size_t at = 0; at < all.size();) {
        size_t nl = std::min(all.find('\n', at), all.size());
        size_t end = nl > at && all[nl - 1] == '\r' ? nl - 1 : nl;
        lines.push_back(all.substr(at, end - at));
        at = nl + 1;
    }
    return true;
}

} // namespace dbftext
