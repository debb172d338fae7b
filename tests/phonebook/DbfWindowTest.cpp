// The phone-book window opens its store when it is made.
#include "Dbf.h"
#include "Fce.h"
#include "PhoneBookStore.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(PhoneBookWindow, OpensTheStoreUnderTheDataFolderOrStaysClosed)
{
    TempDir data;
    std::string saved = DataDir;
    DataDir = data.Path();
    {
        TFDbf window;
        EXPECT_TRUE(window.TablesOpen());
        EXPECT_EQ(window.Store().DatabaseDir, data.Path() + "Dbf");
        EXPECT_EQ(window.Store().NextFirmId, 1);
        EXPECT_TRUE(std::filesystem::exists(data.File("Dbf/Contacts.cdx")));
    }
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nHome=" + data.Path() + "gone\r\n");
    {
        TFDbf window;
        EXPECT_FALSE(window.TablesOpen());
    }
    DataDir = saved;
}
