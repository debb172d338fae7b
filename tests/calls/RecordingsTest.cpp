// Finding a call's recording through the recorder's index files.
#include "Recordings.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(Recordings, SubfolderSchemes)
{
    struct Case {
        bool dated, month, week, day;
        const char *date, *want;
    } cases[] = {
        {false, true, true, true, "09.08.06", ""},           {true, false, false, true, "09.08.06", "2006/08/09/"},
        {true, true, true, false, "09.08.06", "2006/08/08_14/"}, {true, false, true, false, "07.08.06", "2006/08/01_07/"},
        {true, false, true, false, "22.12.06", "2006/12/22_31/"}, {true, false, true, false, "31.12.06", "2006/12/22_31/"},
        {true, false, false, false, "09.08.06", "2006/08/"},   {true, true, false, false, "x", "2000/00/"},
    };
    for (const Case &c : cases) {
        TRecordingFolders f{c.dated, c.month, c.week, c.day, "", ""};
        EXPECT_EQ(RecordingSubdir(c.date, f), c.want) << c.date;
    }
    EXPECT_EQ(RecordingIndexName("09.08.06", "14:05:33", "21"), "060809_140533_21.txt");
    EXPECT_EQ(ResolveRecordingFolder("", "/prog/"), "/prog/");
    EXPECT_EQ(ResolveRecordingFolder("rec", "/prog/"), "/prog/rec/");
    EXPECT_EQ(ResolveRecordingFolder("/data/rec", "/prog/"), "/data/rec/");
    // Typed in code page 1250, found on a UTF-8 file system.
    EXPECT_EQ(ResolveRecordingFolder("Z\xE1znamy", "/prog/"), "/prog/Z\xC3\xA1znamy/");
}

TEST(Recordings, FoundThroughTheIndexFileOnlyWhenTheWaveExists)
{
    TempDir dir;
    TRecordingFolders f{true, true, true, false, dir.Path() + "txt/", dir.Path() + "wav/"};
    const std::string sub = "2006/08/08_14/";
    QDir().mkpath(QString::fromStdString(f.TxtDir + sub));
    QDir().mkpath(QString::fromStdString(f.WavDir + sub));
    WriteBytes(f.TxtDir + sub + "060809_140533_21.txt", "call-0001.wav\r\nmore\r\n");
    WriteBytes(f.TxtDir + sub + "060809_140534_21.txt", "../../../../../etc/passwd\n");
    WriteBytes(f.TxtDir + sub + "060809_140535_21.txt", "gone.wav\n");
    WriteBytes(f.TxtDir + sub + "060809_140536_21.txt", "");
    WriteBytes(f.TxtDir + sub + "060809_140537_21.txt", "hovor-\xE8\xED\x9Alo.wav\r\n");
    WriteBytes(f.WavDir + sub + "call-0001.wav", "RIFF");
    WriteBytes(f.WavDir + sub + "hovor-\xC4\x8D\xC3\xAD\xC5\xA1lo.wav", "RIFF");
    struct Case {
        const char *date, *time, *line;
        bool found;
    } cases[] = {
        {" 09.08.06 ", "14:05:33", "21", true}, {"09.08.06", "14:05:34", "21", false},
        {"09.08.06", "14:05:35", "21", false},  {"09.08.06", "14:05:36", "21", false},
        {"", "14:05:33", "21", false},          {"09.08.06", "14:05:33", "22", false},
        {"09.08.06", "14:05:37", "21", true},
    };
    for (const Case &c : cases) {
        std::string wav;
        EXPECT_EQ(FindRecording(f, c.date, c.time, c.line, wav), c.found) << c.time << c.line;
        if (c.found)
            EXPECT_EQ(wav, c.time[7] == '3' ? "call-0001.wav" : "hovor-\xE8\xED\x9Alo.wav");
        else
            EXPECT_EQ(wav, "");
    }
}

} // namespace
