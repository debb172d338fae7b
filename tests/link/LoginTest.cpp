#include "Logatt.h"
#include "Login.h"

#include <gtest/gtest.h>

#include <tuple>

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
    EXPECT_EQ(std::tie(user, pass), std::tuple("", "old"));
    TFLogin dialog(nullptr, attr, pass, user, line);
    dialog.EditUser->SetText("novak");
    dialog.EditPass->SetText("tajn\xE9");
    dialog.EditLine->SetText("22");
    dialog.BitBtnOkClick();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::tie(user, pass, line, attr), std::tuple("novak", "tajn\xE9", "22", "STS-CTI-CMD"));

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
