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

} // namespace
