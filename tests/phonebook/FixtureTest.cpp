#include "Cursor.h"
#include "Table.h"
#include "Cdx.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <filesystem>

TEST(Fixtures, Smoke)
{
    TempDir dir;
    for (auto &e : std::filesystem::directory_iterator(std::string(TALVO_FIXTURES_DIR) + "/xbase"))
        std::filesystem::copy_file(e.path(), dir.File(e.path().filename().string()));
    for (std::string t : {"Firms", "Repres", "Nums", "Contacts", "Autosn"}) {
        std::string before = ReadBytes(dir.File(t + ".cdx"));
        TDbCursor c;
        c.DatabaseName = dir.Path();
        c.TableName = t;
        c.Open();
        std::string after = ReadBytes(dir.File(t + ".cdx"));
        auto tab = TDbTable::Acquire(c.FileName(), {});
        std::string mine = WriteCdx(tab->CdxTags());
        size_t diff = 0;
        for (size_t i = 0; i < std::min(mine.size(), before.size()); ++i)
            if (mine[i] != before[i]) { if (diff < 8) printf("  diff at %zx: %02x vs %02x\n", i, (unsigned char)mine[i], (unsigned char)before[i]); ++diff; }
        printf("%s same=%d sizes %zu %zu diffs %zu\n", t.c_str(), before == after, before.size(), mine.size(), diff);
    }
}
