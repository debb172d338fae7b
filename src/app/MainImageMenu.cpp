// The context menu of a skin image: which panel function the image has,
// its label text, or a number for it to dial.
#include "Cp1250.h"
#include "Dialnum.h"
#include "Fce.h"
#include "Inputbox.h"
#include "Main.h"
#include "Skin.h"

#include <QMenu>

namespace {

constexpr int kFunctionBase = 2000;

// Items under a function sub-menu: caption, panel function, visible.
struct FunctionItem {
    const char *caption;
    int function;
    bool visible = true;
};

const FunctionItem kFunctions[] = {
    {"Mute", 100},      {"Volume up", 102},  {"Volume down", 103}, {"Lift", 200},
    {"Hang up", 201},   {"Lift or hang up", 202}, {"Conference", 300, false}, {"Redial", 301, false},
    {"Park", 303},      {"Transfer", 305},   {"Flash", 306},       {"Close", 500},
    {"Hide to tray", 501}, {"Minimise", 502}, {"Context menu", 503}, {"Settings", 504},
};

TImage *MenuImage()
{
    return Skin ? qobject_cast<TImage *>(Skin->PopupComponent()) : nullptr;
}

} // namespace

void TFMain::BuildImageMenu()
{
    PopupFunctions = PopupMenuImg_->addMenu(QStringLiteral("Function"));
    SetTag(PopupFunctions->menuAction(), 1990);
    auto add = [this](QMenu *menu, int function, const QString &caption) {
        QAction *item = menu->addAction(caption);
        SetTag(item, kFunctionBase + function);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { PopupImgClick(item); });
        return item;
    };
    PopupNum = PopupFunctions->addMenu(QStringLiteral("Keys"));
    SetTag(PopupNum->menuAction(), 1991);
    const char *const keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "*", "#"};
    for (int i = 0; i < 12; ++i)
        add(PopupNum, i + 1, QString::fromLatin1(keys[i]));
    for (const auto &f : kFunctions)
        add(PopupFunctions, f.function, QString::fromLatin1(f.caption))->setVisible(f.visible);
    PopupDSS = PopupFunctions->addMenu(QStringLiteral("DSS"));
    SetTag(PopupDSS->menuAction(), 1992);
    PopupDSS->menuAction()->setVisible(false);
    for (int i = 0; i <= 55; ++i)
        add(PopupDSS, 600 + i, QStringLiteral("DSS %1").arg(i));
    add(PopupFunctions, 899, QStringLiteral("No function"));
    PopupImgDial = PopupMenuImg_->addAction(QStringLiteral("Dial button..."));
    SetTag(PopupImgDial, kFunctionBase + 150);
    connect(PopupImgDial, &QAction::triggered, this, [this] { PopupImgDialClick(); });
    PopupImgLab = PopupMenuImg_->addAction(QStringLiteral("Label text..."));
    SetTag(PopupImgLab, 3000);
    connect(PopupImgLab, &QAction::triggered, this, [this] { PopupImgLabClick(); });
    connect(PopupMenuImg_, &QMenu::aboutToShow, this, [this] { PopupMenuImgPopup(); });
}

void TFMain::PopupMenuImgPopup()
{
    TImage *image = MenuImage();
    if (!image)
        return;
    const int function = image->Tag;
    std::string caption = TextBeforeQuote(FromQ(PopupImgDial->text()));
    if (function == 150)
        caption += " \"" + Skin->GetItemValue(FromQ(image->objectName())) + "\"";
    PopupImgDial->setText(ToQ(caption));
    for (QAction *item : PopupFunctions->actions()) {
        if (QMenu *sub = item->menu(); sub == PopupNum || sub == PopupDSS) {
            bool any = false;
            for (QAction *key : sub->actions()) {
                key->setChecked(TagOf(key) - kFunctionBase == function);
                any = any || key->isChecked();
            }
            item->setCheckable(true);
            item->setChecked(any);
        } else {
            item->setChecked(TagOf(item) - kFunctionBase == function);
        }
    }
}

void TFMain::PopupImgClick(QAction *item)
{
    if (TImage *image = MenuImage())
        Skin->AssignImageFunction(image, TagOf(item) - kFunctionBase);
}

void TFMain::PopupImgLabClick()
{
    TImage *image = MenuImage();
    if (!image)
        return;
    const std::string name = FromQ(image->objectName());
    std::string text = Skin->GetImageLabelText(name);
    TFInputBox dialog(this, &text);
    CenterForm(this, &dialog);
    if (dialog.exec() == QDialog::Accepted)
        Skin->SetImageLabelText(name, text);
}

void TFMain::PopupImgDialClick()
{
    TImage *image = MenuImage();
    if (!image)
        return;
    const std::string name = FromQ(image->objectName());
    std::string number = Skin->GetItemValue(name);
    std::string label = Skin->GetImageLabelText(name);
    TFDialNum dialog(this, &number, &label);
    CenterForm(this, &dialog);
    if (dialog.exec() == QDialog::Accepted)
        Skin->SetImageDial(image, TagOf(PopupImgDial) - kFunctionBase, number, label);
}
