#pragma once
// The caller-name rule as a plain first-to-last scan of the numbers: what the
// store's index must answer exactly (the tests compare, the benchmark races).
#include "Cursor.h"
#include "Fce.h"

#include <string>

// Record number of the first matching row in physical order, 0 when none.
inline uint32_t PlainNameScan(TDbCursor &nums, const std::string &number)
{
    const std::string n = NormalizeNumber(number);
    for (nums.First(); !nums.Eof(); nums.Next()) {
        std::string s = NormalizeNumber(nums.FieldByName("NUM").AsString());
        if (s.empty())
            continue;
        bool match = nums.FieldByName("TYPE").AsString() == "L"
                         ? s == n
                         : n.size() >= 4 && s.size() >= n.size() && s.compare(s.size() - n.size(), n.size(), n) == 0;
        if (match)
            return nums.RecNo();
    }
    return 0;
}
