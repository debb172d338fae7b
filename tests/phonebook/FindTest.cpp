// A piece of text found in a field, with and without case.
#include "DbfFind.h"

#include <gtest/gtest.h>

TEST(Find, TextMatchesWithAndWithoutCaseInTheCodePage)
{
    const struct {
        const char *field, *find;
        bool caseSensitive, matches;
    } cases[] = {
        {"Kanovka", "NOV", false, true},
        {"Kanovka", "NOV", true, false},
        {"\xC8\x45SKA", "\xE8\x65s", false, true}, // the code page's own letters fold too
        {"Kanovka", "", false, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TextMatches(c.field, c.find, c.caseSensitive), c.matches) << c.field << " " << c.find;
}
