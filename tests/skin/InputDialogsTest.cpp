#include "Dialnum.h"
#include "Inputbox.h"

#include <gtest/gtest.h>

#include <QTest>

TEST(DialNum, HangUpPrefixRoundTripsTypingOverwritesTheLabelAndCancelKeepsBoth)
{
    std::string number = "S123", label = "Boss";
    {
        TFDialNum d(nullptr, &number, &label);
        EXPECT_EQ(d.EditNum->Text(), "123");
        EXPECT_TRUE(d.CheckBoxSPK->isChecked());
        EXPECT_EQ(d.EditLab->Text(), "Boss");
        d.BitBtnOk->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
    }
    EXPECT_EQ(number, "S123");
    EXPECT_EQ(label, "Boss");

    {
        TFDialNum d(nullptr, &number, &label);
        d.CheckBoxSPK->setChecked(false);
        d.BitBtnOk->click();
    }
    EXPECT_EQ(number, "123");

    // Typing the number overwrites the label; Cancel keeps both.
    number = "";
    label = "Old";
    TFDialNum d(nullptr, &number, &label);
    EXPECT_FALSE(d.CheckBoxSPK->isChecked());
    QTest::keyClicks(d.EditNum, "45");
    EXPECT_EQ(d.EditLab->Text(), "45");
    d.EditLab->SetText("Porter");
    d.CheckBoxSPK->setChecked(true);
    d.BitBtn2->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(number, "");
    EXPECT_EQ(label, "Old");
    d.BitBtnOk->click();
    EXPECT_EQ(number, "S45");
    EXPECT_EQ(label, "Porter");
}

TEST(InputBox, WritesTheTextOnlyOnOk)
{
    std::string text = "Recepce \xE8" "1";
    TFInputBox box(nullptr, &text);
    EXPECT_EQ(box.Edit1->Text(), text);
    box.Edit1->SetText("Sklad");
    box.BitBtn2->click();
    EXPECT_EQ(text, "Recepce \xE8" "1");
    box.BitBtnOk->click();
    EXPECT_EQ(text, "Sklad");
}
