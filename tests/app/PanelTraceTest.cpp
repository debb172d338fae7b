#include "PanelTrace.h"
#include "TempDir.h"
#include "TraceFile.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(PanelTrace, LinesCarryTenthsOfASecondAndEraseEmptiesTheFileOnlyAtTheFirstLineOfARun)
{
    EXPECT_EQ(TPanelTrace::Line("FormInit", QTime(14, 3, 7, 250)), "14:03:07.2 FormInit\r\n");
    TempDir dir;
    std::string path = dir.File("Talvodem.trc");
    WriteBytes(path, "old run\r\n");
    QTime t(9, 0, 0);
    TPanelTrace keep;
    keep.Configure(path, true, false);
    keep.Write("a", t);
    FlushTraces();
    EXPECT_EQ(ReadBytes(path), "old run\r\n09:00:00.0 a\r\n");

    TPanelTrace erase;
    erase.Configure(path, true, true);
    erase.Write("b", t);
    erase.Write("c", t);
    FlushTraces();
    EXPECT_EQ(ReadBytes(path), "09:00:00.0 b\r\n09:00:00.0 c\r\n");
    std::remove(path.c_str()); // deleted while the trace has it open
    erase.Write("e", t);
    FlushTraces();
    EXPECT_EQ(ReadBytes(path), "09:00:00.0 e\r\n");

    TPanelTrace off;
    off.Configure(path, false, true);
    off.Write("d", t);
    FlushTraces();
    EXPECT_EQ(ReadBytes(path), "09:00:00.0 e\r\n");
}
