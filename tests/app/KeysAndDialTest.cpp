#include "DialRules.h"
#include "PanelSettings.h"
#include "ShortcutWord.h"

#include <gtest/gtest.h>

TEST(ShortcutWords, DefaultsOfTheKeyPadSection)
{
    EXPECT_EQ(ShortcutWord(Qt::Key_F5, Qt::NoModifier), 116);
    EXPECT_EQ(ShortcutWord(Qt::Key_F10, Qt::NoModifier), 121);
    EXPECT_EQ(ShortcutWord(Qt::Key_F5, Qt::ControlModifier), 16500);
    EXPECT_EQ(ShortcutWord(Qt::Key_F5, Qt::ShiftModifier), 116 + 0x2000);
    EXPECT_EQ(ShortcutWord(Qt::Key_S, Qt::AltModifier), 83 + 0x8000);
    EXPECT_EQ(ShortcutWord(Qt::Key_F, Qt::NoModifier), 70);
    // The numeric pad's keys differ from the main keyboard's.
    EXPECT_EQ(ShortcutWord(Qt::Key_Period, Qt::KeypadModifier), 110);
    EXPECT_EQ(ShortcutWord(Qt::Key_Plus, Qt::KeypadModifier), 107);
    EXPECT_EQ(ShortcutWord(Qt::Key_Minus, Qt::KeypadModifier), 109);
    EXPECT_EQ(ShortcutWord(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(ShortcutWord(Qt::Key_Plus, Qt::NoModifier), 187);
    EXPECT_EQ(ShortcutWord(Qt::Key_Minus, Qt::NoModifier), 189);
    EXPECT_EQ(ShortcutWord(Qt::Key_5, Qt::NoModifier), 53);
}

TEST(DialRules, DefaultPrefixesAndTheOutsideLine)
{
    TNameValueList prefixes;
    prefixes.Set("+420", "_");
    prefixes.Set("+", "00");
    prefixes.Set("00420", "_");
    EXPECT_EQ(ApplyDialPrefixes("+420602123456", "M", prefixes, "0", ""), "0602123456");
    EXPECT_EQ(ApplyDialPrefixes("+441234567", "T", prefixes, "0", ""), "000441234567");
    EXPECT_EQ(ApplyDialPrefixes("00420495000111", "T", prefixes, "0", ""), "0495000111");
    EXPECT_EQ(ApplyDialPrefixes("465123456", "T", prefixes, "0", ""), "0465123456");
    EXPECT_EQ(ApplyDialPrefixes("21", "L", prefixes, "0", ""), "21");
}

TEST(DialRules, ReverseLines)
{
    TNameValueList none;
    EXPECT_EQ(ApplyDialPrefixes("21", "L", none, "0", "IL-REV"), "F21");
    EXPECT_EQ(ApplyDialPrefixes("602123456", "M", none, "0", "REV"), "602123456");
    EXPECT_EQ(ApplyDialPrefixes("21", "L", none, "0", "REVERSE"), "21") << "REV must end a word";
    EXPECT_EQ(ApplyDialPrefixes("602", "M", none, "0", "TRS"), "0602");
}

TEST(DialRules, TariffText)
{
    EXPECT_EQ(FormatTariff(1234, ",", "K\xE8"), "12,34 K\xE8");
    EXPECT_EQ(FormatTariff(5, ",", "K\xE8"), "0,05 K\xE8");
}
