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
        EXPECT_TRUE(std::filesystem::exists(data.File("Dbf/Contacts.cdx")));
    }
    WriteBytes(ProgramIniPath(), "[Dbf]\r\nHome=" + data.Path() + "gone\r\n");
    EXPECT_FALSE(TFDbf().TablesOpen());
    DataDir = saved;
}
