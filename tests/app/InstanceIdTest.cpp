#include "InstanceId.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class InstanceIds : public ::testing::Test {
protected:
    TempDir dir;
    std::string store = dir.File("Talvo/Cti.ini");
};

TEST_F(InstanceIds, BaseIdFirstThenTheHighestNumberPlusOne)
{
    EXPECT_EQ(GetInstanceId("/opt/talvodem/", store), "Talvocti");
    EXPECT_EQ(ReadBytes(store), "[Cti]\r\n/opt/talvodem/=Talvocti\r\n");
    EXPECT_EQ(GetInstanceId("/opt/talvodem/", store), "Talvocti");
    EXPECT_EQ(GetInstanceId("/OPT/TalvoDem/", store), "Talvocti") << "the same folder in another case";

    // A new folder gets the highest number plus one.
    WriteBytes(store, "[Cti]\r\n/a/=Talvocti\r\n/b/=Talvocti3\r\n/c/=Talvoctix\r\n");
    EXPECT_EQ(GetInstanceId("/new/", store), "Talvocti4");
    EXPECT_EQ(GetInstanceId("/b/", store), "Talvocti3");
    EXPECT_EQ(GetInstanceId("/next/", store), "Talvocti5");

    // An unusable store falls back to the base id.
    WriteBytes(dir.File("blocker"), "a file where a folder should be");
    EXPECT_EQ(GetInstanceId("/x/", dir.File("blocker/Talvo/Cti.ini")), "Talvocti");
}

TEST_F(InstanceIds, EveryFolderNameIsFoundAgainAndOldKeysStillCount)
{
    // Folders as the file system names them; keys written before stand raw.
    GetInstanceId("/old/", store);
    WriteBytes(store, "[Cti]\r\n/old/=Talvocti\r\n/100%41\xC5\xBE/=Talvocti7\r\n");
    const struct {
        const char *folder, *id;
    } cases[] = {
        {"/old/", "Talvocti"},
        {"/100%41\xC5\xBE/", "Talvocti7"},
        {"/opt/a=b/", "Talvocti8"},
        {"/opt/a/", "Talvocti9"},
        {"/opt/a%3Db/", "Talvocti10"},
        {";[ /x=\r\ny/ ", "Talvocti11"},
        {"%/z/", "Talvocti12"},
        {"/z/", "Talvocti13"},
        {"/home/Sta\u017een\u00e9/", "Talvocti14"},
        {"/HOME/STA\u017dEN\u00c9/", "Talvocti14"},
        {"/home/Sta\u017cen\u00e9/", "Talvocti15"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetInstanceId(c.folder, store), c.id) << c.folder;
    for (const auto &c : cases)
        EXPECT_EQ(GetInstanceId(c.folder, store), c.id) << c.folder << " again";
}

} // namespace
