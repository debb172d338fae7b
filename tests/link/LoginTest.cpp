#include "Logatt.h"
#include "Login.h"

#include <gtest/gtest.h>

TEST(LoginDialog, ValuesChangeOnlyOnOkOkNeedsAUserAndAttributesKeepTheirOrder)
{
    std::string attr = "STS-CTI-CMD", pass = "old", user = "", line = "21";
    {
        TFLogin dialog(nullptr, attr, pass, user, line);
        EXPECT_FALSE(dialog.BitBtnOk->isEnabled());
        EXPECT_EQ(dialog.EditPass->echoMode(), QLineEdit::Password);
        EXPECT_FALSE(dialog.EditAttr->isEnabled());
        dialog.EditUser->SetText("novak");
        EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
        dialog.EditPass->SetText("tajn\xE9");
        dialog.reject();
    }
    EXPECT_EQ(user, "");
    EXPECT_EQ(pass, "old");
    TFLogin dialog(nullptr, attr, pass, user, line);
    dialog.EditUser->SetText("novak");
    dialog.EditPass->SetText("tajn\xE9");
    dialog.EditLine->SetText("22");
    dialog.BitBtnOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(user, "novak");
    EXPECT_EQ(pass, "tajn\xE9");
    EXPECT_EQ(line, "22");
    EXPECT_EQ(attr, "STS-CTI-CMD");

    // The attribute words come back in their order.
    attr = "CMD-STS";
    TFLogAtt words(nullptr, attr);
    EXPECT_TRUE(words.CheckBoxSTS->isChecked());
    EXPECT_FALSE(words.CheckBoxCTI->isChecked());
    words.CheckBoxSTS->setChecked(false);
    words.CheckBoxCTI->setChecked(true);
    words.BitBtn1Click();
    EXPECT_EQ(attr, "CTI-CMD");
    TFLogAtt none(nullptr, attr);
    for (auto *box : {none.CheckBoxSTS, none.CheckBoxCTI, none.CheckBoxCMD})
        box->setChecked(false);
    none.BitBtn1Click();
    EXPECT_EQ(attr, "");
}
