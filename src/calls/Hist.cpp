#include "Hist.h"

#include "Fce.h"
#include "HistSet.h"
#include "IniFile.h"
#include "PanelCalls.h"
#include "Paths.h"

TFHist *FHist = nullptr;

namespace {

const char *const kSection = "Hist";

// The history scrolls to its newest row when first shown in a run.
bool shownOnce = false;

} // namespace

TFHist::TFHist(QWidget *owner, bool canCall, const std::string &line)
    : TRemoteView(owner, "HIST", kSection, PlacementKeys::VisibleLeftTopWidthHeight, canCall, true), Line(line)
{
    Tag = 30200;
    SetCaption("History");
    StringGrid1->Tag = 10200;
    SpeedButtonOut = AddFilterButton(30604, "\u2197", "Outgoing calls", 3);
    SpeedButtonIn = AddFilterButton(30605, "\u2199", "Incoming calls", 3);
    SpeedButtonInn = AddFilterButton(506, "\u21B2", "Incoming internal calls", 3);
    AddDateButtons();
    SpeedButtonMy = AddFilterButton(30610, "\u2302", "Own line only", 1);
    SpeedButtonDialFirm = AddButton(30600, "\u260E", "Dial the selected number");
    SpeedButtonHangRepre = AddButton(30611, "\u2706", "Speaker on or off");
    SpeedButtonSet = AddButton(30612, "\u2699", "Recordings");
    ToolBar1->addSeparator();
    MediaPlayer1 = new TRecordingPlayer(ToolBar1);
    SpeedButtonMy->setObjectName("SpeedButtonMy");
    SpeedButtonDialFirm->setObjectName("SpeedButtonDialFirm");
    connect(SpeedButtonDialFirm, &QToolButton::clicked, this, [this] { SpeedButtonDialFirmClick(); });
    connect(SpeedButtonHangRepre, &QToolButton::clicked, this, [] {
        panelcall::ToggleSpeaker();
    });
    connect(SpeedButtonSet, &QToolButton::clicked, this, [this] { SpeedButtonSetClick(); });

    LoadSettings();
    ResolveFolders();
    SendFilter();
    Translate();
    SpeedButtonDialFirm->setEnabled(canCall);
    Timer1 = new TTimer(this, 1000);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    Timer2 = new TTimer(this, 1000);
    Timer2->OnTimer = [this] { MediaPlayer1->Tick(); };
}

TFHist::~TFHist()
{
    MediaPlayer1->Close();
    SaveSettings();
}

std::vector<std::string> TFHist::Conditions() const
{
    std::vector<std::string> c = {
        SpeedButtonIn->isChecked() ? "(WAY LIKE 'IN%')" : "",
        SpeedButtonInn->isChecked() ? "(WAY LIKE 'INN')" : "",
        SpeedButtonOut->isChecked() ? "(NOT WAY LIKE 'IN%')" : "",
        SpeedButtonMy->isChecked() ? OwnLineCondition(Line) : LinesCondition,
    };
    for (std::string &d : DateConditions())
        c.push_back(std::move(d));
    return c;
}

void TFHist::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    const bool myShown = ini.ReadBool(kSection, "My-shown", false);
    ShowButton(SpeedButtonMy, myShown);
    SpeedButtonMy->setChecked(!myShown || ini.ReadBool(kSection, "My", true));
    ReadDateButtons(ini);
    SetDown(SpeedButtonOut, ini.ReadBool(kSection, "Out", false));
    SetDown(SpeedButtonIn, ini.ReadBool(kSection, "In", false));
    Wav = ini.ReadBool(kSection, "Wav", false);
    WavPath = ini.ReadString(kSection, "WavPath", "");
    WavExt = ini.ReadString(kSection, "WavExt", "wav");
    TxtPath = ini.ReadString(kSection, "TxtPath", "");
    TxtExt = ini.ReadString(kSection, "TxtExt", "txt");
    RecYear = ini.ReadBool(kSection, "RecYear", false);
    RecMonth = ini.ReadBool(kSection, "RecMonth", false);
    RecWeek = ini.ReadBool(kSection, "RecWeek", false);
    RecDay = ini.ReadBool(kSection, "RecDay", false);
    LinesFilter = ini.ReadString(kSection, "LinesFilter", "");
    LinesCondition = ::LinesCondition(LinesFilter);
    LoadColumns(ini, DefaultColumns(type_), true, Wav ? 13 : 12);
}

void TFHist::SaveSettings()
{
    TIniFile ini(ProgramIniPath());
    WriteDateButtons(ini);
    ini.WriteBool(kSection, "Out", SpeedButtonOut->isChecked());
    ini.WriteBool(kSection, "In", SpeedButtonIn->isChecked());
    ini.WriteBool(kSection, "Wav", Wav);
    ini.WriteString(kSection, "WavPath", WavPath);
    ini.WriteString(kSection, "WavExt", WavExt);
    ini.WriteString(kSection, "TxtPath", TxtPath);
    ini.WriteString(kSection, "TxtExt", TxtExt);
    ini.WriteBool(kSection, "RecYear", RecYear);
    ini.WriteBool(kSection, "RecMonth", RecMonth);
    ini.WriteBool(kSection, "RecWeek", RecWeek);
    ini.WriteBool(kSection, "RecDay", RecDay);
    ini.WriteString(kSection, "LinesFilter", LinesFilter);
    SaveColumns(ini);
}

void TFHist::ResolveFolders()
{
    WavDir = ResolveRecordingFolder(WavPath, ProgramDir());
    TxtDir = ResolveRecordingFolder(TxtPath, ProgramDir());
}

TRecordingFolders TFHist::Folders() const { return {RecYear, RecMonth, RecWeek, RecDay, TxtDir, WavDir}; }

void TFHist::RowSelected(int row)
{
    SelNumber.clear();
    const int cid = Table.ColumnOfKey("10207");
    if (row < 1 || cid < 0 || cid >= Table.Shown)
        return;
    SelNumber = Table.StoredCell(cid + 1, row);
    const int port = Table.ColumnOfKey("10206");
    const std::string portText = port < 0 || port >= Table.Shown ? "" : Table.StoredCell(port + 1, row);
    NumberKind = portText.compare(0, 2, "IL") == 0 ? 'L' : 'T';
}

void TFHist::StringGrid1Click()
{
    TRemoteView::StringGrid1Click();
    SpeedButtonWAVClick();
}

void TFHist::SpeedButtonDialFirmClick()
{
    if (SelNumber.empty())
        RowSelected(StringGrid1->SelectedRow());
    panelcall::Dial(SelNumber, std::string(1, NumberKind));
}

void TFHist::SpeedButtonSetClick()
{
    TFHistSet dialog(this, &RecDay, &RecWeek, &RecMonth, &RecYear, &TxtPath, &WavPath);
    CenterForm(this, &dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    ResolveFolders();
    ClearWavColumn();
    SpeedButtonWAVClick();
}

bool TFHist::FindRecording(int row, std::string &wav) const
{
    return ::FindRecording(Folders(), RowField(row, "Date"), RowField(row, "Time"), RowField(row, "Line"), wav);
}

void TFHist::ClearWavColumn()
{
    const int wav = Table.ColumnOf("Wav");
    if (wav < 0)
        return;
    // Counted in 64 bits: the last row may be the largest int.
    for (qint64 r = StringGrid1->TopRow(); r >= 1 && r <= StringGrid1->BottomRow(); ++r) {
        Table.SetStoredCell(wav + 1, static_cast<int>(r), "");
        Model->RowChanged(static_cast<int>(r));
    }
}

void TFHist::SpeedButtonWAVClick()
{
    const int row = StringGrid1->SelectedRow();
    const std::string wav = RowField(row, "Wav");
    if (wav.empty()) {
        MediaPlayer1->Close();
        return;
    }
    MediaPlayer1->Open(WavDir + RecordingSubdir(RowField(row, "Date"), Folders()) + FsName(wav));
}

void TFHist::Timer1Timer()
{
    const int wav = Table.ColumnOf("Wav");
    if (wav < 0 || !Table.HasRecords())
        return;
    for (int r = StringGrid1->BottomRow(); r >= 1 && r >= StringGrid1->TopRow(); --r) {
        std::string name;
        if (!Table.StoredCell(wav + 1, r).empty() || !FindRecording(r, name))
            continue;
        Table.SetStoredCell(wav + 1, r, name);
        Model->RowChanged(r);
        if (r == StringGrid1->SelectedRow())
            SpeedButtonWAVClick();
        return;
    }
}

void TFHist::showEvent(QShowEvent *event)
{
    TRemoteView::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    StringGrid1->ScrollToEnd();
    StringGrid1->SelectRow(Table.LastRow());
}
