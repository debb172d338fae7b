#include "Dbf.h"

#include "BookSwap.h"
#include "ContactMemo.h"
#include "DbView.h"
#include "DbfPanes.h"
#include "Fce.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "PhoneBookStore.h"
#include "Paths.h"
#include "Placement.h"
#include "Timer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

TFDbf *FDbf = nullptr;

namespace {

const std::vector<TColumnDef> kFirmColumns = {
    {"NAME", 2101, 180}, {"ADD_STREET", 2102, 130}, {"ADD_CITY", 2103, 110}, {"ADD_ZIP", 2104, 50},
    {"ADD_STATE", 2105, 80}, {"ICO", 2106, 70},      {"DIC", 2107, 90},       {"EMAIL", 2108, 120},
    {"WWW", 2109, 120},      {"DEALER", 2110, 50},   {"SUPPLIER", 2111, 60},  {"CUSTOMER", 2112, 60}};
const std::vector<TColumnDef> kRepreColumns = {{"TITLE", 2120, 50}, {"SURNAME", 2121, 120}, {"NAME", 2122, 90},
                                               {"TITUL", 2123, 50}, {"Sex", 2124, 50},      {"FCE", 2125, 110},
                                               {"EMAIL", 2108, 120}, {"Firm", 2126, 150}};
const std::vector<TColumnDef> kContactColumns = {
    {"DATUM", 2130, 75}, {"SUBJECT", 2131, 200}, {"Check", 2132, 30}, {"Firm", 2126, 130}, {"Repre", 2133, 100}};
const std::vector<TColumnDef> kNumColumns = {{"NUM", 2140, 130}, {"Typ", 2141, 70}, {"Firm", 2126, 150},
                                             {"Repre", 2133, 110}};

} // namespace

TFDbf::TFDbf(QWidget *parent) : TForm(parent)
{
    FDbf = this;
    Tag = 1110;
    SetCaption("Telefonn\xED seznam");
    resize(760, 560);
    TimerFirm = new TTimer(this, 100, false);
    TimerRepre = new TTimer(this, 100, false);
    TimerFirm->OnTimer = [this] { Tick(TimerFirm, firmTicks_, &TFDbf::SelectFirm); };
    TimerRepre->OnTimer = [this] { Tick(TimerRepre, repreTicks_, &TFDbf::SelectRepre); };
    TimerBook = new TTimer(this, 1000, true);
    TimerBook->OnTimer = [this] { FollowReplacedBook(); };
    BuildForm();
    ForwardKeys(this);
    SetLineState("");
    TIniFile ini(ProgramIniPath());
    store_ = std::make_unique<TPhoneBookStore>(ini, DataDir);
    BindViews();
    LoadSettings();
    OpenTables();
}

void TFDbf::OpenTables()
{
    store_->OpenTables();
    // The panel's phone-book button follows (it watches the window's events).
    setProperty("TablesOpen", store_->TablesOpen);
    ShowOpenError();
    Guard([this] {
        if (store_->TablesOpen)
            store_->TableNum.SetIndexName("NUM");
        for (TDBGridEx *g : {DBGridFirm, DBGridRepre, DBGridContact, DBGridNum}) {
            MarkSortColumn(false, g);
            MarkSortColumn(true, g);
        }
        // The details are read once, filtered to the first firm when there is one.
        viewFirm_->Refresh();
        if (!SelectFirm())
            for (TDbView *v : {viewRepre_.get(), viewNum_.get(), viewContact_.get()})
                v->Refresh();
    });
    UpdateButtons();
}

void TFDbf::ShowOpenError()
{
    LabelError->setHidden(store_->TablesOpen);
    if (!store_->TablesOpen) {
        std::string text = Nls ? Nls->GetText(2021) : std::string();
        LabelError->SetCaption((text.empty() ? std::string("The phone book cannot be opened:") : text) + "\n" +
                               store_->DatabaseDir + "\n" + store_->OpenError);
    }
}

void TFDbf::CloseTables()
{
    memo_->Save();
    TimerFirm->SetEnabled(false);
    TimerRepre->SetEnabled(false);
    for (TDbView *v : {viewFirm_.get(), viewRepre_.get(), viewNum_.get(), viewContact_.get()})
        v->Release();
    store_->CloseTables();
}

void TFDbf::FollowReplacedBook()
{
    if (QApplication::activeModalWidget())
        return;
    // Closed for an import that waited: opened once another program has put it in place.
    if (!store_->TablesOpen && store_->WaitsForSet && !bookswap::Pending(store_->DatabaseDir)) {
        OpenTables();
        return;
    }
    if (!store_->Replaced())
        return;
    for (const TDbCursor *c : {&store_->TableFirm, &store_->TableRepre, &store_->TableNum, &store_->TableContact})
        if (c->State() != TDbCursor::dsBrowse)
            return;
    CloseTables();
    OpenTables();
}

TFDbf::~TFDbf()
{
    for (TDBGridEx *g : {DBGridFirm, DBGridRepre, DBGridContact, DBGridNum})
        MarkSortColumn(false, g);
    TimerFirm->SetEnabled(false);
    TimerRepre->SetEnabled(false);
    for (TDBGridEx *g : {DBGridFirm, DBGridRepre, DBGridContact, DBGridNum})
        g->SetView(nullptr);
    for (TDbNavigatorLink *n : {NavFirm, NavRepre, NavContact, NavNum})
        n->SetView(nullptr);
    CloseTables();
    SaveSettings();
    if (FDbf == this)
        FDbf = nullptr;
}

void TFDbf::BuildForm()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildMenu();
    layout->setMenuBar(MainMenu);
    LabelError = new TLabel(this);
    LabelError->setWordWrap(true);
    LabelError->setStyleSheet("color: #800000; padding: 4px");
    LabelError->hide();
    layout->addWidget(LabelError);
    Splitter12 = new TPaneSplitter(Qt::Vertical, this);
    Splitter12->addWidget(BuildFirmPane());
    Splitter12->addWidget(BuildReprePane());
    BuildPages();
    Splitter12->addWidget(PageControl1);
    layout->addWidget(Splitter12);
    for (TDBGridEx *g : {DBGridFirm, DBGridRepre, DBGridContact, DBGridNum})
        ForwardKeys(g);
    SetGridColumns(DBGridFirm, kFirmColumns);
    SetGridColumns(DBGridRepre, kRepreColumns);
    SetGridColumns(DBGridContact, kContactColumns);
    SetGridColumns(DBGridNum, kNumColumns);
}

namespace {

struct TCallButtons {
    TSpeedButton *&Dial, *&Trans, *&Conf, *&Hang;
};

void AddCallButtons(TToolBar *bar, TCallButtons b)
{
    b.Dial = AddSpeedButton(bar, 500, "\u260E", "Vyto\xC4\x8Dit");
    b.Trans = AddSpeedButton(bar, 501, "\u21C4", "P\xC5\x99" "epojit");
    b.Conf = AddSpeedButton(bar, 502, "\u2234", "Konference");
    b.Hang = AddSpeedButton(bar, 1005, "\u2715", "Zav\xC4\x9Bsit");
}

void AddFindButtons(TToolBar *bar, TSpeedButton *&find, TSpeedButton *&next)
{
    find = AddSpeedButton(bar, 504, "\u2315", "Hledat");
    next = AddSpeedButton(bar, 505, "\u00BB", "Hledat d\xC3\xA1l");
}

QVBoxLayout *PaneColumn(QWidget *pane)
{
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(2, 2, 2, 0);
    column->setSpacing(1);
    return column;
}

} // namespace

QWidget *TFDbf::BuildFirmPane()
{
    PanelFirm = new TPanel(this);
    QVBoxLayout *column = PaneColumn(PanelFirm);
    TToolBar *bar = AddBar(PanelFirm, column, &DBNavigatorFirm);
    AddCallButtons(bar, {SpeedButtonDialFirm, SpeedButtonTransFirm, SpeedButtonConfFirm, SpeedButtonHangFirm});
    AddFindButtons(bar, SpeedButtonFindFirm, SpeedButtonNextFirm);
    DBGridFirm = new TDBGridEx(PanelFirm);
    column->addWidget(DBGridFirm);
    return PanelFirm;
}

QWidget *TFDbf::BuildReprePane()
{
    PanelRepre = new TPanel(this);
    QVBoxLayout *column = PaneColumn(PanelRepre);
    TToolBar *bar = AddBar(PanelRepre, column, &DBNavigatorRepre);
    AddCallButtons(bar, {SpeedButtonDialRepre, SpeedButtonTransRepre, SpeedButtonConfRepre, SpeedButtonHangRepre});
    SpeedButtonLockRepre = AddSpeedButton(bar, 503, "\u2282", "Jen z\xC3\xA1stupci vybran\xC3\xA9 firmy");
    SpeedButtonLockRepre->setCheckable(true);
    SpeedButtonLockRepre->setChecked(true);
    AddFindButtons(bar, SpeedButtonFindRepre, SpeedButtonNextRepre);
    DBGridRepre = new TDBGridEx(PanelRepre);
    column->addWidget(DBGridRepre);
    return PanelRepre;
}

void TFDbf::BuildPages()
{
    PageControl1 = new TPageControl(this);
    TabContact = PageControl1->AddPage("Kontakty");
    TabContact->Tag = 1111;
    QVBoxLayout *contacts = PaneColumn(TabContact);
    TToolBar *bar = AddBar(TabContact, contacts, &DBNavigatorContact);
    SpeedButtonCheck = AddSpeedButton(bar, 510, "\u2713", "Vy\xC5\x99\xC3\xADzeno");
    Splitter3 = new TPaneSplitter(Qt::Horizontal, TabContact);
    DBGridContact = new TDBGridEx(Splitter3);
    DBMemoContact = new TMemo(Splitter3);
    contacts->addWidget(Splitter3);

    TabNum = PageControl1->AddPage("\xC8\xEDsla");
    TabNum->Tag = 1112;
    QVBoxLayout *nums = PaneColumn(TabNum);
    bar = AddBar(TabNum, nums, &DBNavigatorNum);
    AddCallButtons(bar, {SpeedButtonDialNum, SpeedButtonTransNum, SpeedButtonConfNum, SpeedButtonHangNum});
    DBGridNum = new TDBGridEx(TabNum);
    nums->addWidget(DBGridNum);
    PageControl1->setCurrentWidget(TabNum);
}

void TFDbf::BuildMenu()
{
    MainMenu = new QMenuBar(this);
    QMenu *data = MainMenu->addMenu(QString::fromUtf8("Data"));
    Data1 = data->menuAction();
    SetTag(Data1, 1100);
    Reindex1 = data->addAction(QString::fromUtf8("P\xC5\x99" "eindexovat"));
    SetTag(Reindex1, 1103);
    Export1 = data->addAction(QString::fromUtf8("Export"));
    SetTag(Export1, 1101);
    Import1 = data->addAction(QString::fromUtf8("Import"));
    SetTag(Import1, 1102);
    data->addSeparator();
    Find1 = data->addAction(QString::fromUtf8("Hledat"));
    SetTag(Find1, 1104);
    Find1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    Findnext1 = data->addAction(QString::fromUtf8("Hledat d\xC3\xA1l"));
    SetTag(Findnext1, 1105);
    Findnext1->setShortcut(QKeySequence(Qt::Key_F3));
    connect(Reindex1, &QAction::triggered, this, [this] {
        Guard([this] {
            store_->RebuildKeys();
            RefreshViews();
        });
    });
    connect(Export1, &QAction::triggered, this, [this] { ExportClick(); });
    connect(Import1, &QAction::triggered, this, [this] { ImportClick(); });
    connect(Find1, &QAction::triggered, this, [this] { FindClick(); });
    connect(Findnext1, &QAction::triggered, this, [this] { FindNextClick(); });
}

std::string TFDbf::CfgPath(const char *name) const
{
    return WithSlash(DataDir) + "Cfgs/" + name;
}

void TFDbf::LoadSettings()
{
    TIniFile ini(ProgramIniPath());
    CaseSensitive = ini.ReadBool("Dbf", "CaseSensitive", true);
    OnlyInName = ini.ReadBool("Dbf", "OnlyInName", true);
    Home = ini.ReadString("Dbf", "Home", "Dbf");
    StayedTicks = ini.ReadInteger("Dbf", "Stayed", 1000) / TimerFirm->Interval();
    int h = height() - MainMenu->sizeHint().height();
    int s1 = ini.ReadInteger("Dbf", "Splitter1", h / 3);
    int s2 = ini.ReadInteger("Dbf", "Splitter2", h * 2 / 3);
    Splitter12->SetLeading({s1, s2 - s1 - Splitter12->handleWidth()});
    Splitter3->SetLeading({ini.ReadInteger("Dbf", "Splitter3", width() * 2 / 3)});
    DBGridFirm->LoadColumns(CfgPath("DbfFirm.cfg"));
    DBGridNum->LoadColumns(CfgPath("DbfNum.cfg"));
    DBGridContact->LoadColumns(CfgPath("DbfCont.cfg"));
    DBGridRepre->LoadColumns(CfgPath("DbfRepre.cfg"));
}

void TFDbf::SaveSettings()
{
    TIniFile ini(ProgramIniPath());
    ini.WriteBool("Dbf", "CaseSensitive", CaseSensitive);
    ini.WriteBool("Dbf", "OnlyInName", OnlyInName);
    ini.WriteString("Dbf", "Home", Home);
    ini.WriteInteger("Dbf", "Stayed", StayedTicks * TimerFirm->Interval());
    ini.WriteInteger("Dbf", "Splitter1", Splitter12->HandlePosition(0));
    ini.WriteInteger("Dbf", "Splitter2", Splitter12->HandlePosition(1));
    ini.WriteInteger("Dbf", "Splitter3", Splitter3->HandlePosition(0));
    ini.UpdateFile();
    DBGridFirm->SaveColumns(CfgPath("DbfFirm.cfg"));
    DBGridNum->SaveColumns(CfgPath("DbfNum.cfg"));
    DBGridContact->SaveColumns(CfgPath("DbfCont.cfg"));
    DBGridRepre->SaveColumns(CfgPath("DbfRepre.cfg"));
}

bool TFDbf::TablesOpen() const
{
    return store_->TablesOpen;
}

void TFDbf::Translate(bool rebuildKeys)
{
    if (!Nls)
        return;
    Nls->OpenFile();
    Nls->TranslateForm(this, false);
    if (TIniFile *f = Nls->File())
        for (QWidget *pane : {static_cast<QWidget *>(PanelFirm), static_cast<QWidget *>(PanelRepre),
                              static_cast<QWidget *>(PageControl1)})
            Nls->TranslateControl(f, pane);
    Nls->TranslateMenu(MainMenu);
    Nls->CloseFile();
    // The language names the columns it knows; order and widths stay the user's.
    for (auto [grid, defs] : {std::pair{DBGridFirm, &kFirmColumns}, {DBGridRepre, &kRepreColumns},
                              {DBGridContact, &kContactColumns}, {DBGridNum, &kNumColumns}})
        TitleColumns(grid, *defs);
    if (rebuildKeys)
        Guard([this] {
            // The rebuild walks every row: the rows shown stay the current
            // ones, so the highlighted firm is still the one new rows go to.
            std::vector<std::pair<TDbView *, uint32_t>> shown;
            for (TDbView *v : {viewFirm_.get(), viewRepre_.get(), viewNum_.get(), viewContact_.get()})
                shown.emplace_back(v, v->HasRow() ? v->Cursor().RecNo() : 0);
            const bool firmPending = TimerFirm->Active(), reprePending = TimerRepre->Active();
            store_->RebuildKeys();
            RefreshViews();
            for (auto [view, recno] : shown)
                view->MoveToRecNo(recno);
            // The selection is already theirs: no new one is pending for these moves.
            TimerFirm->SetEnabled(firmPending);
            TimerRepre->SetEnabled(reprePending);
        });
    for (TDBGridEx *g : {DBGridFirm, DBGridRepre, DBGridContact, DBGridNum})
        MarkSortColumn(true, g);
    UpdateButtons();
}

void TFDbf::LoadPlacement(const TIniFile &ini) { ::LoadPlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }
void TFDbf::SavePlacement(TIniFile &ini) const { ::SavePlacement(ini, "Dbf", this, PlacementKeys::VisibleLeftTopWidthHeight); }

void TFDbf::Tick(TTimer *timer, int &ticks, bool (TFDbf::*select)())
{
    if (++ticks < StayedTicks)
        return;
    timer->SetEnabled(false);
    Guard([&] { (this->*select)(); });
}

bool TFDbf::Guard(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const std::exception &e) {
        ShowError(Reason(e));
        return false;
    }
}

std::string TFDbf::Reason(const std::exception &e)
{
    // What another program did is told in the user's words, not the engine's.
    const auto *memo = dynamic_cast<const EContactGone *>(&e);
    const auto *pending = dynamic_cast<const bookswap::EPending *>(&e);
    const int id = memo                                          ? 9104
                   : pending                                     ? 9105
                   : dynamic_cast<const EDbOwnerGone *>(&e)      ? 9102
                   : dynamic_cast<const EDbRecordGone *>(&e)     ? 9100
                   : dynamic_cast<const EDbReplaced *>(&e)       ? 9101
                   : dynamic_cast<const EDbNoFreeId *>(&e)       ? 9103
                                                                 : 0;
    std::string text = id && Nls ? Nls->GetText(id) : std::string();
    if (text.empty())
        text = e.what();
    else if (pending && *e.what())
        text += "\n" + std::string(e.what()); // the file that could not be put in place
    if (memo) {
        // The note has nowhere to go: shown, so it can be copied elsewhere.
        constexpr size_t kShown = 2000;
        text += "\n\n" + memo->Note.substr(0, kShown) + (memo->Note.size() > kShown ? "..." : "");
    }
    return text;
}

void TFDbf::ShowError(const std::string &what)
{
    LastError = what;
    std::string text = Nls ? Nls->GetText(2022) : std::string();
    QMessageBox::warning(this, windowTitle(), ToQ((text.empty() ? std::string("Phone book error") : text) + "\n" + what));
}
