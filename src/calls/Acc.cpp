#include "Acc.h"

#include "Fce.h"
#include "IniFile.h"
#include "PanelCalls.h"

TFAcc *FAcc = nullptr;

namespace {

const char *const kSection = "Acc";

} // namespace

TFAcc::TFAcc(QWidget *owner, bool canCall, const std::string &line)
    : TRemoteView(owner, "ACC", kSection, PlacementKeys::VisibleWidthHeightLeftTop, canCall, true), Line(line)
{
    Tag = 30100;
    SetCaption("Account");
    StringGrid1->Tag = 10400;
    AddDateButtons();
    SpeedButtonMy = AddFilterButton(30610, "\u2302", "Own line only", 1);
    ShowButton(SpeedButtonMy, false);
    SpeedButtonDialFirm = AddButton(30600, "\u260E", "Dial the selected number");
    SpeedButtonDialFirm->setObjectName("SpeedButtonDialFirm");
    connect(SpeedButtonDialFirm, &QToolButton::clicked, this, [this] { SpeedButtonDialFirmClick(); });

    LoadSettings();
    SendFilter();
    Translate();
    SpeedButtonDialFirm->setEnabled(canCall);
}

TFAcc::~TFAcc() { SaveDateSettings(); }

std::vector<std::string> TFAcc::Conditions() const
{
    std::vector<std::string> c = {SpeedButtonMy->isChecked() ? OwnLineCondition(Line) : ""};
    for (std::string &d : DateConditions())
        c.push_back(std::move(d));
    return c;
}

void TFAcc::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    SpeedButtonMy->setChecked(ini.ReadBool(kSection, "My", true));
    ReadDateButtons(ini);
    LoadColumns(ini, DefaultColumns(type_), false, -1);
}

void TFAcc::RowSelected(int row)
{
    const int cid = Table.ColumnOfKey("10406");
    SelNumber = row >= 1 && cid >= 0 && cid < Table.Shown ? Table.StoredCell(cid + 1, row) : "";
}

void TFAcc::SpeedButtonDialFirmClick()
{
    panelcall::Dial(SelNumber, "T");
}
