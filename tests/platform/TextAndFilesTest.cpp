#include "Color.h"
#include "Cp1250.h"
#include "FailureTrace.h"
#include "Font.h"
#include "Paths.h"
#include "ScreenFit.h"
#include "TempDir.h"
#include "Timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>

TEST(Cp1250, RoundTripsEveryByteAndFoldsCzechLetters)
{
    std::string all;
    for (int i = 1; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    EXPECT_EQ(cp1250::FromUnicode(cp1250::ToUnicode(all)), all);
    EXPECT_EQ(ToQ("K\xE8"), QString::fromUtf8("Kč"));
    EXPECT_EQ(FromQ(QString::fromUtf8("Černý žluťoučký")), "\xC8\x65rn\xFD \x9Elu\x9Do\x75\xE8k\xFD");
    EXPECT_EQ(FromQ(QString::fromUtf8("日")), "?");
    EXPECT_EQ(cp1250::FoldUpper("\xE8\xF8\x9A\x9E\xEC\xF7"), "\xC8\xD8\x8A\x8E\xCC\xF7") << "÷ is no letter";
    EXPECT_TRUE(cp1250::EqualNoCase("\xC8\x45RN\xDD", "\xE8\x65rn\xFD"));
}

TEST(Cp1250, UnkeptNamesEachLostCharacterOnceAndWholeBeyondTheBasicPlane)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Černý žluťoučký kůň §€", ""},
        {"Москва Ltd", "Москва"},
        {"Praha 😀 a 😀", "😀"},
        {"日本 ü ß 日", "日本"}};
    for (auto [text, lost] : cases)
        EXPECT_EQ(cp1250::Unkept(QString::fromUtf8(text)).join(QString()), QString::fromUtf8(lost)) << text;
}

TEST(Paths, NamesAreFoundWithoutRegardToCaseCzechAndOtherLettersToo)
{
    TempDir dir;
    for (const char *file : {"MODRA.SKN", "MODRÁ.SKN", "Рабочий.dst", "Žlutá.wav", "modra.skn.bak"})
        WriteBytes(dir.File(file), "x");
    // The wanted name as the settings hold it (code page 1250), and the file found.
    const std::pair<const char *, const char *> cases[] = {
        {"Modra.skn", "MODRA.SKN"},
        {"Modr\xE1.skn", "MODRÁ.SKN"},
        {"\x8Elut\xE1.WAV", "Žlutá.wav"},
        {"modr\xC1.skn", "MODRÁ.SKN"},
        {"Modr\xFD.skn", "Modrý.skn"},
        {"Modra.sk", "Modra.sk"}};
    for (auto [name, found] : cases)
        EXPECT_EQ(FindFileNoCase(dir.Path(), FsName(name)), dir.File(found)) << name;
    EXPECT_EQ(FindFileNoCase(dir.Path(), "рабочий.DST"), dir.File("Рабочий.dst")) << "beyond code page 1250";
}

TEST(ScreenFit, WindowsComeUpNoLargerThanTheAreaAndWhollyOnIt)
{
    const QRect area(0, 30, 1024, 738); // a bar above
    const std::pair<QRect, QRect> cases[] = {
        {{100, 100, 400, 300}, {100, 100, 400, 300}},
        {{0, 0, 100000, 100000}, area},
        {{-2000, -1500, 500, 400}, {0, 30, 500, 400}},
        {{5000, 4000, 500, 400}, {524, 368, 500, 400}},
        {{900, 700, 40000, 300}, {0, 468, 1024, 300}},
        {{-50, 20, 400, 300}, {0, 30, 400, 300}},
    };
    for (auto [frame, fitted] : cases)
        EXPECT_EQ(FittedTo(frame, area), fitted) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    // Moved only: a larger frame keeps its title bar on the area.
    EXPECT_EQ(PulledOnto({-300, -300, 2000, 2000}, area), QPoint(0, 30));
    EXPECT_EQ(PulledOnto({900, 900, 2000, 2000}, area), QPoint(0, 30));
}

TEST(Colors, ResolvingKeepsTheRgbAndNeverReadsPastTheSystemTable)
{
    const std::pair<TColor, TColor> cases[] = {
        {0x0000FF, MakeColor(255, 0, 0)},             // red in the low byte
        {0x020000FF, MakeColor(255, 0, 0)},           // a palette flag is no part of the colour
        {clWindowText, clBlack},                      // a system colour by its index
        {static_cast<TColor>(0x800000FFu), clBlack}}; // an index past the table
    for (auto [color, rgb] : cases)
        EXPECT_EQ(ResolveColor(color), rgb) << std::hex << color;
}

TEST(Fonts, SizeAndHeightAreOneProperty)
{
    TFont f;
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-16);
    EXPECT_EQ(f.Size(), 12);
}

TEST(Timers, IntervalZeroNeverFiresAndOthersDo)
{
    int zeroTicks = 0, ticks = 0;
    TTimer zero(nullptr, 0);
    zero.OnTimer = [&] { ++zeroTicks; };
    TTimer normal(nullptr, 10);
    normal.OnTimer = [&] { ++ticks; };
    EXPECT_FALSE(zero.Active());
    QElapsedTimer clock;
    clock.start();
    while (ticks < 3 && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(zeroTicks, 0);
    EXPECT_GT(ticks, 0);
    normal.SetEnabled(false);
    EXPECT_FALSE(normal.Active());
}

TEST(FailureTrace, OneBoundedLineEachAndABoundedNumberInARun)
{
    TempDir dir;
    SetFailureTrace(dir.File("t.trc"));
    auto traced = [](auto thrown) {
        try {
            throw thrown;
        } catch (...) {
            TraceFailure("TOwner::Work");
        }
    };
    traced(std::runtime_error("Contacts.dbf: damaged header"));
    traced(42);
    traced(std::runtime_error("first\r\nsecond\tthird"));
    traced(std::runtime_error(std::string(5000, 'x')));
    TraceFailure("TOwner::Work"); // by mistake outside a catch block
    const std::string longLine = " Failure in TOwner::Work: " + std::string(kMaxFailureLine - 2 - 23 - 26, 'x');
    const std::string expected[] = {" Failure in TOwner::Work: Contacts.dbf: damaged header",
                                    " Failure in TOwner::Work: an exception of unknown type",
                                    " Failure in TOwner::Work: first  second third", longLine,
                                    " Failure in TOwner::Work: no exception being handled"};
    std::istringstream lines(ReadBytes(dir.File("t.trc")));
    std::string line;
    for (const std::string &want : expected) {
        ASSERT_TRUE(std::getline(lines, line));
        ASSERT_EQ(line.size(), 23 + want.size() + 1) << line;
        EXPECT_EQ(line.substr(23), want + "\r") << "after the date and time";
    }
    EXPECT_FALSE(std::getline(lines, line));

    SetFailureTrace(dir.File("many.trc"));
    for (int i = 0; i < kMaxFailures + 10; ++i)
        traced(std::runtime_error("again"));
    const std::string many = ReadBytes(dir.File("many.trc"));
    EXPECT_EQ(std::count(many.begin(), many.end(), '\n'), kMaxFailures + 1);
    EXPECT_NE(many.rfind("no more are written"), std::string::npos);
    SetFailureTrace("");
}
