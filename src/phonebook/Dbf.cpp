#include "Dbf.h"

#include "Fce.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "PhoneBookStore.h"
#include "Placement.h"

TFDbf *FDbf = nullptr;

TFDbf::TFDbf(QWidget *parent) : TForm(parent)
{
    FDbf = this;
    SetCaption("Phone book");
    resize(640, 420);
    ForwardKeys(this);
    TIniFile ini(ProgramIniPath());
    store_ = std::make_unique<TPhoneBookStore>(ini, DataDir);
    store_->OpenTables();
}

TFDbf::~TFDbf()
{
    store_->CloseTables();
    if (FDbf == this)
        FDbf = nullptr;
}

bool TFDbf::TablesOpen() const
{
    return store_->TablesOpen;
}

void TFDbf::FindNameByNumber(const std::string &number, const std::string &defaultName, std::string &name,
                             char) const
{
    name = number.empty() ? std::string() : defaultName;
}

void TFDbf::ShowNumber(const std::string &, bool) {}
void TFDbf::SetLineState(const std::string &state) { LineState = state; }

void TFDbf::SetConnected(int handle, bool canCall)
{
    LoginHandle = handle;
    CanCall = canCall;
}

void TFDbf::Translate(bool rebuildKeys)
{
    Nls->TranslateForm(this, true);
    if (rebuildKeys)
        store_->RebuildKeys();
}
void TFDbf::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }
void TFDbf::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }
