#include "DbfFormat.h"

#include <QDate>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

uint16_t Get16(const std::string &b, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

uint32_t Get32(const std::string &b, size_t at)
{
    return static_cast<uint32_t>(Get16(b, at)) | static_cast<uint32_t>(Get16(b, at + 2)) << 16;
}

void Put16(std::string &b, size_t at, uint32_t v)
{
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}

void Put32(std::string &b, size_t at, uint32_t v)
{
    Put16(b, at, v & 0xFFFF);
    Put16(b, at + 2, v >> 16);
}

bool SizeFits(char type, int size)
{
    switch (type) {
    case 'C': return size >= 1 && size <= 254;
    case 'N':
    case 'F': return size >= 1 && size <= 20;
    case 'L': return size == 1;
    case 'D': return size == 8;
    case 'M': return size == 10;
    default: return false;
    }
}

} // namespace

bool TDbfHeader::HasMemo() const
{
    for (const TDbFieldDef &f : Fields)
        if (f.Type == 'M')
            return true;
    return false;
}

TDbfHeader ParseDbfHeader(const std::string &bytes, uint64_t fileSize)
{
    if (bytes.size() < 32)
        throw EDbError("Table header is too short");
    TDbfHeader h;
    h.Version = static_cast<uint8_t>(bytes[0]);
    if (h.Version != 0x03 && h.Version != 0xF5)
        throw EDbError("Table version " + std::to_string(h.Version) + " is not supported");
    h.RecordCount = Get32(bytes, 4);
    h.HeaderLen = Get16(bytes, 8);
    h.RecordLen = Get16(bytes, 10);
    h.Flags = static_cast<uint8_t>(bytes[28]);
    h.CodePage = static_cast<uint8_t>(bytes[29]);
    if (h.HeaderLen > bytes.size() || h.HeaderLen < 33 || h.RecordLen < 2)
        throw EDbError("Table header is damaged");
    size_t at = 32;
    int offset = 1;
    while (at < h.HeaderLen && bytes[at] != '\x0D') {
        if (at + 32 > h.HeaderLen)
            throw EDbError("Table field list is damaged");
        TDbFieldDef f;
        const char *name = bytes.data() + at;
        f.Name = std::string(name, strnlen(name, 11));
        f.Type = bytes[at + 11];
        f.Size = static_cast<uint8_t>(bytes[at + 16]);
        f.Decimals = static_cast<uint8_t>(bytes[at + 17]);
        f.Offset = offset;
        if (f.Name.empty() || !SizeFits(f.Type, f.Size))
            throw EDbError("Field " + f.Name + " of the table is not supported");
        offset += f.Size;
        h.Fields.push_back(f);
        at += 32;
    }
    if (at >= h.HeaderLen || h.Fields.empty())
        throw EDbError("Table field list is damaged");
    if (offset != h.RecordLen)
        throw EDbError("Table record length does not match its fields");
    if (h.Version == 0xF5 && !h.HasMemo())
        throw EDbError("Table header is damaged");
    // The count is written after the record, so a shorter file is damage.
    if (fileSize < h.HeaderLen || (fileSize - h.HeaderLen) / h.RecordLen < h.RecordCount)
        throw EDbError("Table file is shorter than its record count");
    return h;
}

TDbfHeader MakeDbfHeader(const std::vector<TDbFieldDef> &fields, bool withIndex)
{
    TDbfHeader h;
    int offset = 1;
    for (TDbFieldDef f : fields) {
        f.Name = DbUpper(f.Name);
        if (f.Name.empty() || f.Name.size() > 10 || !SizeFits(f.Type, f.Size))
            throw EDbError("Field definition " + f.Name + " is not valid");
        f.Offset = offset;
        offset += f.Size;
        h.Fields.push_back(f);
    }
    if (h.Fields.empty() || offset > 0xFFFF)
        throw EDbError("Table definition is not valid");
    h.Version = h.HasMemo() ? 0xF5 : 0x03;
    h.RecordLen = static_cast<uint16_t>(offset);
    h.HeaderLen = static_cast<uint16_t>(32 + 32 * h.Fields.size() + 2);
    h.Flags = withIndex ? 0x01 : 0x00;
    return h;
}

std::string DbfCountBytes(uint32_t count)
{
    QDate today = QDate::currentDate();
    std::string b(7, '\0');
    b[0] = static_cast<char>((today.year() - 1900) & 0xFF);
    b[1] = static_cast<char>(today.month());
    b[2] = static_cast<char>(today.day());
    Put32(b, 3, count);
    return b;
}

std::string BuildDbfHeader(const TDbfHeader &h)
{
    std::string b(h.HeaderLen, '\0');
    b[0] = static_cast<char>(h.Version);
    b.replace(1, 7, DbfCountBytes(h.RecordCount));
    Put16(b, 8, h.HeaderLen);
    Put16(b, 10, h.RecordLen);
    b[28] = static_cast<char>(h.Flags);
    b[29] = static_cast<char>(h.CodePage);
    size_t at = 32;
    for (const TDbFieldDef &f : h.Fields) {
        memcpy(b.data() + at, f.Name.data(), f.Name.size());
        b[at + 11] = f.Type;
        b[at + 16] = static_cast<char>(f.Size);
        b[at + 17] = static_cast<char>(f.Decimals);
        at += 32;
    }
    b[at] = '\x0D';
    return b;
}

bool DbfIsBlank(const char *p, int size)
{
    for (int i = 0; i < size; ++i)
        if (p[i] != ' ' && p[i] != '\0')
            return false;
    return true;
}

std::string_view DbfTrimmedRight(const char *p, int size)
{
    while (size > 0 && (p[size - 1] == ' ' || p[size - 1] == '\0'))
        --size;
    return {p, static_cast<size_t>(size)};
}

std::string DbfTrimRight(const char *p, int size) { return std::string(DbfTrimmedRight(p, size)); }

namespace {

// A whole number between blanks ("  42", "-7.00"), as IDs are stored, without
// the general parser; false for anything else.
bool ParseWholeNumber(const char *p, int size, double &value)
{
    auto blank = [&](int i) { return p[i] == ' ' || p[i] == '\0'; };
    int i = 0;
    // Numbers stand at the right of wide fields: blanks go eight at a time.
    for (uint64_t word; i + 8 <= size && (memcpy(&word, p + i, 8), word == 0x2020202020202020ull);)
        i += 8;
    while (i < size && blank(i))
        ++i;
    const bool negative = i < size && p[i] == '-';
    i += negative;
    int64_t v = 0;
    int digits = 0;
    for (; i < size && p[i] >= '0' && p[i] <= '9' && digits < 15; ++i, ++digits)
        v = v * 10 + (p[i] - '0');
    if (digits == 0)
        return false;
    if (i < size && (p[i] == '.' || p[i] == ','))
        for (++i; i < size && p[i] == '0'; ++i) {
        }
    while (i < size && blank(i))
        ++i;
    if (i < size)
        return false;
    value = negative ? -static_cast<double>(v) : static_cast<double>(v);
    return true;
}

} // namespace

bool DbfParseNumber(const char *p, int size, double &value)
{
    if (ParseWholeNumber(p, size, value))
        return true;
    char buf[32];
    int n = 0;
    for (int i = 0; i < size && n < 31; ++i)
        if (p[i] != ' ' && p[i] != '\0')
            buf[n++] = p[i] == ',' ? '.' : p[i];
    buf[n] = '\0';
    if (n == 0)
        return false;
    char *end = nullptr;
    value = strtod(buf, &end);
    if (end != buf + n || !std::isfinite(value)) {
        value = 0;
        return false;
    }
    return true;
}

std::string DbfFormatNumber(double value, const TDbFieldDef &field)
{
    char buf[64];
    int n = snprintf(buf, sizeof buf, "%*.*f", field.Size, field.Decimals, value);
    if (!std::isfinite(value) || n < 0 || n > field.Size)
        throw EDbError("Value does not fit field " + field.Name);
    return std::string(buf, static_cast<size_t>(n));
}

int64_t DbfParseDate(const char *p)
{
    int v[3] = {0, 0, 0};
    const int width[3] = {4, 2, 2};
    int at = 0;
    for (int k = 0; k < 3; ++k)
        for (int i = 0; i < width[k]; ++i, ++at) {
            if (p[at] < '0' || p[at] > '9')
                return 0;
            v[k] = v[k] * 10 + (p[at] - '0');
        }
    QDate d(v[0], v[1], v[2]);
    return d.isValid() ? d.toJulianDay() : 0;
}

std::string DbfFormatDate(int64_t julianDay)
{
    if (julianDay <= 0)
        return std::string(8, ' ');
    QDate d = QDate::fromJulianDay(julianDay);
    char buf[16];
    snprintf(buf, sizeof buf, "%04d%02d%02d", d.year() % 10000, d.month(), d.day());
    return std::string(buf, 8);
}

uint32_t DbfParseBlock(const char *p, int size)
{
    uint64_t v = 0;
    for (int i = 0; i < size; ++i) {
        if (p[i] >= '0' && p[i] <= '9')
            v = v * 10 + static_cast<uint64_t>(p[i] - '0');
        else if (p[i] != ' ' && p[i] != '\0')
            return 0;
        if (v > 0xFFFFFFFFu)
            return 0;
    }
    return static_cast<uint32_t>(v);
}
