#include "Log.h"

#include "Fce.h"
#include "IniFile.h"

TFLog *FLog = nullptr;

TFLog::TFLog(QWidget *owner, bool canCall)
    : TRemoteView(owner, "LOG", "Log", PlacementKeys::VisibleLeftTopWidthHeight, canCall, false)
{
    Tag = 30700;
    SetCaption("Log");
    StringGrid1->Tag = 10300;
    AddDateButtons();
    LoadSettings();
    SendFilter();
    Translate();
}

TFLog::~TFLog() { SaveDateSettings(); }

void TFLog::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    ReadDateButtons(ini);
    LoadColumns(ini, DefaultColumns(type_), false, -1);
}
