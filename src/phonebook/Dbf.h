#pragma once
#include "DbControls.h"
#include "Dbgridex.h"
#include "Vcl.h"

#include <QMenuBar>
#include "PaneSplitter.h"

#include <memory>
#include <string>

class TContactMemo;
class TIniFile;
class TPhoneBookStore;
class TDbView;
class TTimer;

// The phone-book window: firms, the representatives of the selected firm,
// and the contacts and numbers of the selected firm or representative.
class TFDbf : public TForm {
    Q_OBJECT
public:
    explicit TFDbf(QWidget *parent = nullptr);
    ~TFDbf() override;
    void Translate(bool rebuildKeys);
    void LoadPlacement(const TIniFile &ini);
    void SavePlacement(TIniFile &ini) const;
    bool TablesOpen() const;
    // The tables, their lookup cursors, DatabaseDir and the ID counters.
    TPhoneBookStore &Store() { return *store_; }
    // What the grids show of each table (the filters live here).
    TDbView &ViewFirm() { return *viewFirm_; }
    TDbView &ViewRepre() { return *viewRepre_; }
    TDbView &ViewNum() { return *viewNum_; }
    TDbView &ViewContact() { return *viewContact_; }
    // Reads every grid's rows again (after the tables were changed wholesale).
    void RefreshViews();
    // The store closed with every grid letting go of it, and opened again with
    // the first firm selected: around replacing the tables' files.
    void CloseTables();
    void OpenTables();
    // The reason the book is closed, or nothing while it is open.
    void ShowOpenError();
    // Another program replaced the book (an import): the window goes over to
    // the new one, once no edit of its own is open. Looked for every second.
    void FollowReplacedBook();

    // The caller's name for a number: an empty number gives "", a number not
    // in the book the default. separator '\n' gives the two-line form, '('
    // the one-line form.
    void FindNameByNumber(const std::string &number, const std::string &defaultName, std::string &name,
                          char separator) const;
    void ShowNumber(const std::string &number, bool offerToAdd);
    bool AddNumber(const std::string &number);
    // A hidden window's dial buttons follow the line state when it is shown.
    void SetLineState(const std::string &state);
    void SetConnected(int handle, bool canCall);

    bool SelectFirm();
    bool SelectRepre();
    // Runs an action on the current row of pane (a navigator's button, a
    // call button) with the selection settled for it; see DbfData.cpp.
    void ActOnCursorRow(TDbView &pane, const std::function<void()> &action);
    // sender: the dialog a nested dialog is centred over; nullptr: this window.
    void DBNavigatorFirmClick(QWidget *sender, TNavigateBtn button);
    void DBNavigatorRepreClick(QWidget *sender, TNavigateBtn button);
    void DBNavigatorNumClick(QWidget *sender, TNavigateBtn button);
    void DBNavigatorContactClick(QWidget *sender, TNavigateBtn button);
    void DBGridRepreCellClick() { SelectRepre(); }
    // The delete of any navigator over the window's views, with its cascade.
    void DeleteRow(TDbView &view);
    void SpeedButtonCheckClick();
    void SpeedButtonDialNumClick();
    void SpeedButtonTransNumClick();
    void SpeedButtonConfNumClick();
    void SpeedButtonHangNumClick();
    void SpeedButtonLockRepreClick();
    void UpdateButtons();
    void ShowError(const std::string &what);
    // Runs an action of the book; an engine error is shown in words, not thrown on.
    bool Guard(const std::function<void()> &action);
    static std::string Reason(const std::exception &e);
    void MarkSortColumn(bool on, TDBGridEx *grid);
    // A click on a column title: order by the index of that name, if any.
    void SortByTitle(TDBGridEx *grid, const std::string &field);
    // Derived fields of a row, for every grid over the phone book's tables.
    bool CalcField(TDbCursor &row, const std::string &field, std::string &text);

    // Export, import and find: the data menu's and the find buttons' commands.
    void ExportClick();
    void ImportClick();
    void FindFirmClick();
    void FindNextFirmClick();
    void FindRepreClick();
    void FindNextRepreClick();
    // Moves the view to the next row (or the first) that holds FindText in a
    // column of its grid, or in the name or surname alone; false: no hit.
    bool FindFirm(bool fromStart);
    bool FindRepre(bool fromStart);
    // The menu's find commands search where the last selection was.
    void FindClick() { FirmMode ? FindFirmClick() : FindRepreClick(); }
    void FindNextClick() { FirmMode ? FindNextFirmClick() : FindNextRepreClick(); }

    int LoginHandle = -1;
    bool CanCall = false;
    std::string LineState;
    int CurFirmId = 0;
    int CurRepreId = 0;
    std::string CurFirmName;
    bool FirmMode = true;
    bool Cancelled = false;
    int StayedTicks = 10;
    bool CaseSensitive = true;
    bool OnlyInName = true;
    std::string FindText;
    std::string Home = "Dbf";
    // The last error of the book shown to the user (empty: none).
    std::string LastError;

    // Says why the book could not be opened; hidden while it is open.
    TLabel *LabelError;
    TPanel *PanelFirm, *PanelRepre;
    TPaneSplitter *Splitter12, *Splitter3;
    TPageControl *PageControl1;
    TTabSheet *TabContact, *TabNum;
    TDBGridEx *DBGridFirm, *DBGridRepre, *DBGridContact, *DBGridNum;
    TDBNavigator *DBNavigatorFirm, *DBNavigatorRepre, *DBNavigatorContact, *DBNavigatorNum;
    TDbNavigatorLink *NavFirm, *NavRepre, *NavContact, *NavNum;
    TMemo *DBMemoContact;
    TSpeedButton *SpeedButtonDialFirm, *SpeedButtonTransFirm, *SpeedButtonConfFirm, *SpeedButtonHangFirm;
    TSpeedButton *SpeedButtonDialRepre, *SpeedButtonTransRepre, *SpeedButtonConfRepre, *SpeedButtonHangRepre;
    TSpeedButton *SpeedButtonDialNum, *SpeedButtonTransNum, *SpeedButtonConfNum, *SpeedButtonHangNum;
    TSpeedButton *SpeedButtonLockRepre, *SpeedButtonFindFirm, *SpeedButtonNextFirm, *SpeedButtonFindRepre,
        *SpeedButtonNextRepre, *SpeedButtonCheck;
    TTimer *TimerFirm, *TimerRepre, *TimerBook;
    QMenuBar *MainMenu;
    QAction *Data1, *Reindex1, *Export1, *Import1, *Find1, *Findnext1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildForm();
    QWidget *BuildFirmPane();
    QWidget *BuildReprePane();
    void BuildPages();
    void BuildMenu();
    void BindViews();
    void LoadSettings();
    void SaveSettings();
    void Tick(TTimer *timer, int &ticks, bool (TFDbf::*select)());
    void DeleteFirmDetails(double idf, bool afterWriters);
    void DeleteRepreDetails(double idf, double idr, bool afterWriters);
    void DeleteRows(TDbView &view, const std::vector<uint32_t> &rows, double idf, double idr, bool withRepre);
    void DeleteFirm();
    void DeleteRepre();
    void DeleteDetail(TDbView &view);
    bool ShowEditDialog(TDialog *dialog, QWidget *sender);
    void FinishEdit(TDbView &view, bool ok, QWidget *focus);
    void DialCurrentNumber(bool transfer);
    bool HasCurrentNum();
    // The dial buttons follow the line state once one came after the log-in.
    void ApplyLineState();
    bool FindIn(TDbView &view, TDBGridEx *grid, const char *nameField, bool fromStart);
    std::string CfgPath(const char *name) const;

    std::unique_ptr<TPhoneBookStore> store_;
    std::unique_ptr<TDbView> viewFirm_, viewRepre_, viewNum_, viewContact_;
    std::unique_ptr<TContactMemo> memo_;
    int firmTicks_ = 0, repreTicks_ = 0;
    int selections_ = 0; // SelectFirm and SelectRepre done so far
    bool lineStateKnown_ = false;
};

extern TFDbf *FDbf;
