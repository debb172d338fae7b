#include "Auto.h"

#include "AtomicFile.h"
#include "AutoGrid.h"
#include "Autonew.h"
#include "Autoset.h"
#include "Dbf.h"
#include "Fce.h"
#include "FileDialogs.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "PanelCalls.h"
#include "PhoneBookStore.h"
#include "Paths.h"
#include "Placement.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QVBoxLayout>

#include <sstream>

TFAuto *FAuto = nullptr;

namespace {

std::string GetText(int id) { return Nls ? Nls->GetText(id) : std::string(); }

bool AskYesNo(QWidget *owner, int textId)
{
    QMessageBox box(QMessageBox::Question, ToQ(GetText(101)), ToQ(GetText(textId)), QMessageBox::Yes | QMessageBox::No,
                    owner);
    return box.exec() == QMessageBox::Yes;
}

void Warn(QWidget *owner, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, ToQ(GetText(101)), text, QMessageBox::Ok, owner);
    box.exec();
}

// The file's name as the file system holds it, not as the code page could
// spell it: the user must recognise the file.
void WarnOfFile(QWidget *owner, const std::string &what, const std::string &path, const std::string &after)
{
    Warn(owner, ToQ(what) + "\n" + QPath(path) + "\n" + ToQ(after));
}

// The phone book's folder; without the phone-book window, the one its settings name.
std::string DatabaseDir()
{
    if (FDbf)
        return FDbf->Store().DatabaseDir;
    TIniFile ini(ProgramIniPath());
    return TPhoneBookStore::ResolveDatabaseDir(ini.ReadString("Dbf", "Home", "Dbf"), DataDir);
}

// A progress dialog for a long file operation; shown only when it lasts.
class TFileProgress {
public:
    explicit TFileProgress(QWidget *owner) : dialog_(owner)
    {
        dialog_.setCancelButton(nullptr);
        dialog_.setMinimumDuration(400);
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setRange(0, 0);
    }
    void operator()(int done, int total)
    {
        if (done % 50 != 0)
            return;
        if (total > 0)
            dialog_.setRange(0, total);
        dialog_.setValue(total > 0 ? done : 0);
    }

private:
    QProgressDialog dialog_;
};

} // namespace

TFAuto::TFAuto(QWidget *parent) : TForm(parent)
{
    FAuto = this;
    Tag = 31100;
    SetCaption("Automatic dialler");
    resize(520, 360);
    ForwardKeys(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new TToolBar(this);
    SpeedButtonOpen = Button("SpeedButtonOpen", 31101, "\u25B6", "Start dialling");
    SpeedButtonClose = Button("SpeedButtonClose", 31102, "\u25A0", "Stop dialling");
    SpeedButtonDial = Button("SpeedButtonDial", 31103, "\u260E", "Dial the current number");
    SpeedButtonHang = Button("SpeedButtonHang", 31104, "\u2715", "Hang up");
    SpeedButtonOk = Button("SpeedButtonOk", 31105, "\u2713", "Mark as reached");
    SpeedButtonErr = Button("SpeedButtonErr", 31106, "\u2717", "Mark as failed");
    SpeedButtonImport = Button("SpeedButtonImport", 31107, "\u2B07", "Import numbers");
    SpeedButtonExport = Button("SpeedButtonExport", 31108, "\u2B06", "Export numbers");
    SpeedButtonErase = Button("SpeedButtonErase", 31109, "\u232B", "Erase every record");
    SpeedButtonSet = Button("SpeedButtonSet", 31110, "\u2699", "Settings");
    SpeedButtonClose->setEnabled(false);
    layout->addWidget(ToolBar1);
    KeepToolBarInReach();
    DBNavigator1 = new TToolBar(this);
    auto nav = [this](const char *text, const char *hint, auto action) {
        QAction *a = DBNavigator1->addAction(QString::fromUtf8(text), this, action);
        a->setToolTip(QString::fromLatin1(hint));
        return a;
    };
    // Moves of a table that could not be opened do nothing.
    auto move = [this](void (TDbCursor::*step)()) {
        return [this, step] {
            if (List.TableOpen && !List.Table.IsEmpty())
                (List.Table.*step)();
            Refresh();
        };
    };
    NavFirst = nav("|<", "First record", move(&TDbCursor::First));
    NavPrior = nav("<", "Prior record", move(&TDbCursor::Prior));
    NavNext = nav(">", "Next record", move(&TDbCursor::Next));
    NavLast = nav(">|", "Last record", move(&TDbCursor::Last));
    NavInsert = nav("+", "Insert record", [this] { EditRecord(true); });
    NavDelete = nav("\u2212", "Delete record", move(&TDbCursor::Delete));
    NavEdit = nav("\u270e", "Edit record", [this] { EditRecord(false); });
    layout->addWidget(DBNavigator1);
    DBGridAuto = new TAutoGrid(this);
    DBGridAuto->OnCurrentChanged = [this](TDbCursor::TBookmark mark) {
        if (List.Table.BookmarkValid(mark))
            List.Table.GotoBookmark(mark);
    };
    DBGridAuto->OnDoubleClick = [this] { EditRecord(false); };
    // The grid uses typed keys itself; the window hands on what the others leave.
    ForwardKeys(DBGridAuto);
    layout->addWidget(DBGridAuto, 1);

    Timer1 = new TTimer(this, 5000, false);
    Timer1->OnTimer = [this] { Timer1Timer(); };
    Timer2 = new TTimer(this, 1000, false);
    Timer2->OnTimer = [this] { Timer2Timer(); };
    connect(SpeedButtonOpen, &QToolButton::clicked, this, &TFAuto::SpeedButtonOpenClick);
    connect(SpeedButtonClose, &QToolButton::clicked, this, &TFAuto::SpeedButtonCloseClick);
    connect(SpeedButtonDial, &QToolButton::clicked, this, &TFAuto::SpeedButtonDialClick);
    connect(SpeedButtonHang, &QToolButton::clicked, this, [] { panelcall::ToggleSpeaker(); });
    connect(SpeedButtonOk, &QToolButton::clicked, this, &TFAuto::SpeedButtonOkClick);
    connect(SpeedButtonErr, &QToolButton::clicked, this, &TFAuto::SpeedButtonErrClick);
    connect(SpeedButtonImport, &QToolButton::clicked, this, &TFAuto::SpeedButtonImportClick);
    connect(SpeedButtonExport, &QToolButton::clicked, this, &TFAuto::SpeedButtonExportClick);
    connect(SpeedButtonErase, &QToolButton::clicked, this, &TFAuto::SpeedButtonEraseClick);
    connect(SpeedButtonSet, &QToolButton::clicked, this, &TFAuto::SpeedButtonSetClick);

    LoadSettings();
    List.OpenTable(DatabaseDir());
    if (List.TableOpen)
        DBGridAuto->Model.Open(List.Table.DatabaseName, List.Table.TableName);
    List.RenumberRecords();
    Translate();
    Refresh();
    UpdateButtons();
}

TFAuto::~TFAuto()
{
    DBGridAuto->Model.Close();
    List.CloseTable();
    SaveSettings();
    if (FAuto == this)
        FAuto = nullptr;
}

TSpeedButton *TFAuto::Button(const char *name, int tag, const char *glyph, const char *hint)
{
    TSpeedButton *b = AddGlyphButton(ToolBar1, tag, glyph, hint);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

void TFAuto::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    RingTimeOut = ini.ReadInteger("Auto", "RingTimeOut", 15);
    RepeatCall = ini.ReadInteger("Auto", "RepeatCall", 0);
    Timer1->SetInterval(ini.ReadInteger("Auto", "TimeoutCall", 5000));
}

void TFAuto::SaveSettings()
{
    TIniFile ini(ProgramIniPath());
    ini.WriteInteger("Auto", "RingTimeOut", RingTimeOut);
    ini.WriteInteger("Auto", "RepeatCall", RepeatCall);
    ini.WriteInteger("Auto", "TimeoutCall", Timer1->Interval());
}

void TFAuto::Translate()
{
    if (!Nls)
        return;
    Nls->OpenFile();
    Nls->TranslateForm(this, false);
    // The navigator's buttons are the phone-book navigator's first seven, with their hints.
    int id = 2000;
    for (QAction *a : {NavFirst, NavPrior, NavNext, NavLast, NavInsert, NavDelete, NavEdit})
        a->setToolTip(ToQ(Nls->GetParamText("CommonHint", id++, FromQ(a->toolTip()))));
    Nls->CloseFile();
    DBGridAuto->Model.SetTitles({GetText(6000), GetText(6001), GetText(6002)});
    KeepToolBarInReach();
}

void TFAuto::KeepToolBarInReach()
{
    // A tool bar has no second row: narrower than its buttons, it hides the
    // last ones behind its overflow arrow.
    setMinimumWidth(ToolBar1->sizeHint().width());
}

void TFAuto::LoadPlacement(const TIniFile &ini)
{
    ::LoadPlacement(ini, "Auto", this, PlacementKeys::LeftTopWidthHeight);
}

void TFAuto::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, "Auto", this, PlacementKeys::LeftTopWidthHeight); }

void TFAuto::Refresh()
{
    DBGridAuto->Model.Refresh();
    if (List.TableOpen)
        DBGridAuto->SelectRecord(List.Table.GetBookmark());
}

void TFAuto::UpdateButtons()
{
    const bool ticking = Timer1->Enabled();
    for (QWidget *w : std::initializer_list<QWidget *>{SpeedButtonDial, SpeedButtonOk, SpeedButtonErr,
                                                       SpeedButtonImport, SpeedButtonExport, SpeedButtonErase,
                                                       DBNavigator1, DBGridAuto})
        w->setEnabled(!ticking);
    UpdateHangButton();
}

void TFAuto::UpdateHangButton() { SpeedButtonHang->setEnabled(!(Timer1->Enabled() && LastState == "REL")); }

void TFAuto::Timer1Timer()
{
    // A call the panel cannot place would never end: without the command
    // right nothing is dialled.
    auto idle = [] { return panelcall::LineState() == "REL" && panelcall::CanCall(); };
    // Not while the record dialog holds a record: moving would post it.
    if (!List.TableOpen || List.Table.State() != TDbCursor::dsBrowse || !CurNumber.empty() || !idle())
        return;
    if (!List.FindNext(RepeatCall, idle)) {
        Refresh();
        return;
    }
    dialled_ = List.Table.GetBookmark();
    StartCall(List.Table.FieldByName("NUMBER").AsString(), List.Table.FieldByName("NAME").AsString());
    Timer1->SetEnabled(false);
    ManualCall = false;
    if (RingTimeOut != 0) {
        Timer2Ticks = 0;
        Timer2->SetEnabled(true);
    }
    Refresh();
    UpdateButtons();
}

void TFAuto::Timer2Timer()
{
    if (++Timer2Ticks < RingTimeOut)
        return;
    panelcall::ToggleSpeaker();
    Timer2->SetEnabled(false);
}

void TFAuto::StartCall(const std::string &number, const std::string &name)
{
    CurNumber = number;
    CurName = name;
    panelcall::Dial(number, "L");
}

void TFAuto::CallStateChanged(const std::string &state)
{
    LastState = state;
    // Of the buttons only the hang-up key follows the line state; the rest
    // follow the run, which updates them itself.
    UpdateHangButton();
    if (CurNumber.empty())
        return;
    if (state == "CAL")
        FinishCall(true);
    else if (state == "REL")
        FinishCall(false);
}

void TFAuto::FinishCall(bool reached)
{
    if (CurNumber.empty() || !List.TableOpen)
        return;
    CurNumber.clear();
    Timer2->SetEnabled(false);
    // The dialled record, not the one the user may have moved to since.
    if (!ManualCall)
        List.FinishCall(dialled_, reached, RepeatCall != 0);
    // A call dialled by hand in the middle of a run must not end the run.
    Timer1->SetEnabled(Running);
    Refresh();
    UpdateButtons();
}

void TFAuto::SpeedButtonOpenClick()
{
    Running = true;
    SpeedButtonOpen->setEnabled(false);
    SpeedButtonClose->setEnabled(true);
    if (List.TableOpen)
        List.Table.First();
    Timer1->SetEnabled(true);
    Refresh();
    UpdateButtons();
}

void TFAuto::SpeedButtonCloseClick()
{
    Running = false;
    SpeedButtonOpen->setEnabled(true);
    SpeedButtonClose->setEnabled(false);
    Timer1->SetEnabled(false);
    UpdateButtons();
}

void TFAuto::SpeedButtonDialClick()
{
    if (!List.TableOpen || List.Table.IsEmpty())
        return;
    // A manual call has no ring time-out, not even one left from a dialled call.
    Timer2->SetEnabled(false);
    StartCall(List.Table.FieldByName("NUMBER").AsString(), List.Table.FieldByName("NAME").AsString());
    ManualCall = true;
}

void TFAuto::SpeedButtonOkClick()
{
    if (!List.TableOpen || List.Table.IsEmpty())
        return;
    List.MarkReached();
    Refresh();
}

void TFAuto::SpeedButtonErrClick()
{
    if (!List.TableOpen || List.Table.IsEmpty())
        return;
    List.MarkFailedByHand();
    Refresh();
}

void TFAuto::SpeedButtonEraseClick()
{
    if (!AskYesNo(this, 291))
        return;
    List.EraseAll();
    Refresh();
}

void TFAuto::EditRecord(bool insert)
{
    if (!List.TableOpen || (!insert && List.Table.IsEmpty()))
        return;
    if (insert)
        List.Table.Insert();
    else
        List.Table.Edit();
    TFAutoNew dialog(this, List.Table);
    CenterForm(this, &dialog);
    if (dialog.exec() == QDialog::Accepted)
        List.PostEdit();
    else
        List.Table.Cancel();
    Refresh();
}

void TFAuto::SpeedButtonSetClick()
{
    int interval = Timer1->Interval();
    TFAutoSet dialog(this, &interval, &RepeatCall, &RingTimeOut);
    CenterForm(this, &dialog);
    if (dialog.exec() == QDialog::Accepted && interval != Timer1->Interval())
        Timer1->SetInterval(interval);
}

std::string TFAuto::GetCalledName(const std::string &number) const
{
    // The exchange reports what was dialled: the number without its blanks.
    const std::string dialled = PlainNumber(CurNumber);
    if (dialled == panelcall::ToPSTN() + number || dialled == number)
        return CurName;
    return {};
}

namespace {

std::string AskFile(QWidget *owner, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(owner);
    PrepareFileDialog(&dialog, "csv", "*.csv|*.csv", DataDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return PathOfQ(dialog.selectedFiles().first());
}

} // namespace

void TFAuto::SpeedButtonExportClick()
{
    const std::string path = AskFile(this, QFileDialog::AcceptSave);
    if (!path.empty())
        ExportTo(path);
}

void TFAuto::SpeedButtonImportClick()
{
    const std::string path = AskFile(this, QFileDialog::AcceptOpen);
    if (!path.empty())
        ImportFrom(path);
}

bool TFAuto::ExportTo(const std::string &path)
{
    if (!List.TableOpen)
        return false;
    bool written;
    {
        TFileProgress progress(this);
        written = List.ExportFile(path, std::ref(progress));
    }
    Refresh();
    if (!written)
        WarnOfFile(this, GetText(293), path, GetText(294));
    return written;
}

bool TFAuto::ImportFrom(const std::string &path)
{
    if (!List.TableOpen)
        return false;
    // Read whole before the table changes: a file that breaks off part way
    // must not leave an emptied table or half a list behind.
    std::string bytes;
    if (!atomicfile::ReadAll(path, bytes)) {
        WarnOfFile(this, GetText(295), path, GetText(296));
        return false;
    }
    if (!List.Table.IsEmpty() && AskYesNo(this, 290))
        List.EraseAll();
    std::istringstream in(bytes);
    TFileProgress progress(this);
    const int skipped = List.Import(in, std::ref(progress)).Skipped;
    Refresh();
    if (skipped)
        Warn(this, ToQ(GetText(292) + " " + std::to_string(skipped)));
    return true;
}
