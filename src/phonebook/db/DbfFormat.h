#pragma once
// The table file's header and the text forms of its field values.
#include "DbTypes.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TDbfHeader {
    uint8_t Version = 0x03;
    uint32_t RecordCount = 0;
    uint16_t HeaderLen = 0;
    uint16_t RecordLen = 0;
    uint8_t Flags = 0;
    uint8_t CodePage = 0xC8;
    std::vector<TDbFieldDef> Fields;

    bool HasMemo() const;
};

// Parses and checks the header against the file size; throws EDbError.
TDbfHeader ParseDbfHeader(const std::string &bytes, uint64_t fileSize);
// Header of a new table (record count 0, today's date).
std::string BuildDbfHeader(const TDbfHeader &header);
TDbfHeader MakeDbfHeader(const std::vector<TDbFieldDef> &fields, bool withIndex);
// Bytes 1..7: last update date and record count.
std::string DbfCountBytes(uint32_t count);

// Field values as stored: blank means null.
bool DbfIsBlank(const char *p, int size);
std::string DbfTrimRight(const char *p, int size);
std::string_view DbfTrimmedRight(const char *p, int size);
// Numeric text to value; false for blank or unreadable text.
bool DbfParseNumber(const char *p, int size, double &value);
// Right-aligned number text of the field's width; throws when it does not fit.
std::string DbfFormatNumber(double value, const TDbFieldDef &field);
// Julian day of a stored date, 0 for blank or invalid.
int64_t DbfParseDate(const char *p);
std::string DbfFormatDate(int64_t julianDay);
// Memo block number, 0 when none.
uint32_t DbfParseBlock(const char *p, int size);
