#include "DialRules.h"
#include "PanelSettings.h"
#include "ShortcutWord.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(ShortcutWords, DefaultsOfTheKeyPadSectionAndTheNumericPad)
{
    // The numeric pad's keys differ from the main keyboard's.
    const std::tuple<int, Qt::KeyboardModifiers, int> cases[] = {
        {Qt::Key_F5, Qt::NoModifier, 116},         {Qt::Key_F10, Qt::NoModifier, 121},
        {Qt::Key_F5, Qt::ControlModifier, 16500},  {Qt::Key_F5, Qt::ShiftModifier, 116 + 0x2000},
        {Qt::Key_S, Qt::AltModifier, 83 + 0x8000}, {Qt::Key_F, Qt::NoModifier, 70},
        {Qt::Key_Period, Qt::KeypadModifier, 110}, {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Minus, Qt::KeypadModifier, 109},  {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_Plus, Qt::NoModifier, 187},       {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_5, Qt::NoModifier, 53}};
    for (auto [key, mods, word] : cases)
        EXPECT_EQ(ShortcutWord(key, mods), word) << key;
}

TEST(ShortcutWords, AKeyWithoutACodeIsNoKeyWhateverItsModifiers)
{
    // Czech and German letters, the section sign, a dead accent and what Qt cannot name.
    const int keys[] = {0x11A, 0x160, Qt::Key_Udiaeresis, Qt::Key_section, Qt::Key_Dead_Acute, Qt::Key_unknown, 0};
    for (int key : keys)
        for (auto mods : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                          Qt::ControlModifier | Qt::AltModifier})
            EXPECT_EQ(ShortcutWord(key, mods), 0) << std::hex << key << " " << mods.toInt();
}

TEST(DialRules, PrefixesOutsideLineReverseLinesAndTariffText)
{
    TNameValueList prefixes, none;
    prefixes.Set("+420", "_");
    prefixes.Set("+", "00");
    prefixes.Set("00420", "_");
    EXPECT_EQ(ApplyDialPrefixes("+420602123456", "M", prefixes, "0", ""), "0602123456");
    EXPECT_EQ(ApplyDialPrefixes("+441234567", "T", prefixes, "0", ""), "000441234567");
    EXPECT_EQ(ApplyDialPrefixes("00420495000111", "T", prefixes, "0", ""), "0495000111");
    EXPECT_EQ(ApplyDialPrefixes("465123456", "T", prefixes, "0", ""), "0465123456");
    EXPECT_EQ(ApplyDialPrefixes("21", "L", prefixes, "0", ""), "21");
    EXPECT_EQ(ApplyDialPrefixes("21", "L", none, "0", "IL-REV"), "F21");
    EXPECT_EQ(ApplyDialPrefixes("602123456", "M", none, "0", "REV"), "602123456");
    EXPECT_EQ(ApplyDialPrefixes("21", "L", none, "0", "REVERSE"), "21") << "REV must end a word";
    EXPECT_EQ(ApplyDialPrefixes("602", "M", none, "0", "TRS"), "0602");
    EXPECT_EQ(FormatTariff(1234, ",", "K\xE8"), "12,34 K\xE8");
    EXPECT_EQ(FormatTariff(5, ",", "K\xE8"), "0,05 K\xE8");
}
