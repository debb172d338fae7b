#include "RemoteView.h"

#include "ColumnWidth.h"
#include "Cp1250.h"
#include "Dbf.h"
#include "Fce.h"
#include "IniFile.h"
#include "KeyForward.h"
#include "Nlsfunc.h"
#include "PanelCalls.h"

#include <QVBoxLayout>


namespace {

std::string PhoneBookName(const std::string &number)
{
    std::string name;
    if (FDbf)
        FDbf->FindNameByNumber(number, "", name, '(');
    return name;
}

} // namespace

TRemoteView::TRemoteView(QWidget *owner, const std::string &type, const std::string &section, PlacementKeys keys,
                         bool canCall, bool names)
    : TSessionWindow(owner, section, keys, canCall),
      Table([type](const std::string &act, const std::string &value) {
          panelcall::SendList(type, act, value);
      },
            names ? TRemoteTable::NameLookup(PhoneBookName) : TRemoteTable::NameLookup()),
      type_(type), settings_(section), listSection_(section + "-List")
{
    Table.LastTop = [] { return panelcall::LastTop(); };
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ToolBar1 = new TToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    layout->addWidget(ToolBar1);
    StringGrid1 = new TRemoteGrid(this);
    StringGrid1->setObjectName("StringGrid1");
    layout->addWidget(StringGrid1);
    Model = new TRemoteTableModel(Table, this);
    StringGrid1->setModel(Model);
    ForwardKeys(StringGrid1);
    connect(StringGrid1, &TRemoteGrid::CurrentRowChanged, this, [this](int row) { RowSelected(row); });
    if (names) {
        connect(StringGrid1, &TRemoteGrid::Clicked, this, [this] { StringGrid1Click(); });
        connect(StringGrid1, &TRemoteGrid::DoubleClicked, this, [this] { StringGrid1DblClick(); });
    }
}

// The grid and its model go before the table they show.
TRemoteView::~TRemoteView()
{
    delete StringGrid1;
    delete Model;
}

void TRemoteView::StringGrid1Click()
{
    if (!Busy && FDbf)
        FDbf->ShowNumber(SelNumber, false);
}

void TRemoteView::StringGrid1DblClick()
{
    if (!FDbf)
        return;
    FDbf->show();
    FDbf->ShowNumber(SelNumber, true);
}

void TRemoteView::SaveDateSettings()
{
    TIniFile ini(ProgramIniPath());
    WriteDateButtons(ini);
    SaveColumns(ini);
}

void TRemoteView::ProcessAnswer(const std::string &answer)
{
    struct BusyWhile {
        bool &busy;
        explicit BusyWhile(bool &b) : busy(b) { busy = true; }
        ~BusyWhile() { busy = false; }
    } busy(Busy);
    const TRemoteTable::TChange change = Model->ProcessAnswer(answer, StringGrid1->SelectedRow());
    if (change.TopShift > 0)
        StringGrid1->ShiftTop(change.TopShift);
    if (change.Select >= 1)
        StringGrid1->SelectRow(change.Select);
    // The selected row's number follows its record when that arrives.
    if (change.What == TRemoteTable::TChange::Record && change.Row == StringGrid1->SelectedRow())
        RowSelected(change.Row);
}

void TRemoteView::SendFilter() { Table.SendFilter(JoinConditions(Conditions())); }

void TRemoteView::Translate()
{
    TSessionWindow::Translate();
    if (!Nls)
        return;
    Nls->OpenFile();
    if (TIniFile *f = Nls->File())
        for (TRemoteColumnDef &c : Table.Columns)
            c.Title = f->ReadString("Common", std::to_string(IniParseInt(c.Key, 0)), c.Title);
    Nls->CloseFile();
    emit Model->headerDataChanged(Qt::Horizontal, 0, Model->columnCount() - 1);
    FitColumns();
}

std::vector<std::string> TRemoteView::DateConditions() const
{
    const QDate today = QDate::currentDate();
    return {SpeedButtonDay->isChecked() ? TodayCondition(today) : "",
            SpeedButtonWeek->isChecked() ? LastDaysCondition(7, today) : "",
            SpeedButtonMonth->isChecked() ? LastDaysCondition(30, today) : ""};
}

TSpeedButton *TRemoteView::AddButton(int tag, const char *glyph, const char *hint)
{
    return AddGlyphButton(ToolBar1, tag, glyph, hint);
}

void TRemoteView::ShowButton(TSpeedButton *button, bool visible)
{
    for (QAction *a : ToolBar1->actions())
        if (ToolBar1->widgetForAction(a) == button)
            a->setVisible(visible);
}

TSpeedButton *TRemoteView::AddFilterButton(int tag, const char *glyph, const char *hint, int group)
{
    TSpeedButton *b = AddButton(tag, glyph, hint);
    b->setCheckable(true);
    groups_.emplace_back(b, group);
    connect(b, &QToolButton::clicked, this, [this, b](bool down) {
        SetDown(b, down);
        SendFilter();
    });
    return b;
}

void TRemoteView::SetDown(TSpeedButton *button, bool down)
{
    button->setChecked(down);
    if (!down)
        return;
    for (auto &[other, group] : groups_)
        if (other == button)
            for (auto &[peer, g] : groups_)
                if (g == group && peer != button)
                    peer->setChecked(false);
}

void TRemoteView::AddDateButtons()
{
    SpeedButtonDay = AddFilterButton(30601, "1", "Today", 2);
    SpeedButtonWeek = AddFilterButton(30602, "7", "The last 7 days", 2);
    SpeedButtonMonth = AddFilterButton(30603, "30", "The last 30 days", 2);
    SpeedButtonDay->setObjectName("SpeedButtonDay");
    SpeedButtonWeek->setObjectName("SpeedButtonWeek");
    SpeedButtonMonth->setObjectName("SpeedButtonMonth");
}

void TRemoteView::ReadDateButtons(const TIniFile &ini)
{
    const std::string &s = settings_;
    SetDown(SpeedButtonDay, ini.ReadBool(s, "Day", false));
    SetDown(SpeedButtonWeek, ini.ReadBool(s, "Week", false));
    SetDown(SpeedButtonMonth, ini.ReadBool(s, "Month", false));
}

void TRemoteView::WriteDateButtons(TIniFile &ini) const
{
    const std::string &s = settings_;
    ini.WriteBool(s, "Day", SpeedButtonDay->isChecked());
    ini.WriteBool(s, "Week", SpeedButtonWeek->isChecked());
    ini.WriteBool(s, "Month", SpeedButtonMonth->isChecked());
}

void TRemoteView::LoadColumns(const TIniFile &ini, const std::vector<TRemoteColumnDef> &defaults, bool overlay, int shown)
{
    Table.LoadColumns(ini, listSection_, defaults, overlay);
    // A list shorter than the columns asked for shows what it has.
    if (shown >= 0)
        Table.Shown = std::min(shown, static_cast<int>(Table.Columns.size()));
    ApplyColumns();
}

void TRemoteView::ApplyColumns()
{
    Model->ColumnsChanged();
    StringGrid1->SetColumnWidth(0, 10);
    fitted_.assign(static_cast<size_t>(Table.Shown) + 1, 0);
    for (int c = 1; c <= Table.Shown; ++c)
        StringGrid1->SetColumnWidth(c, Table.Columns[static_cast<size_t>(c - 1)].Width);
    FitColumns();
}

void TRemoteView::FitColumns()
{
    const QFontMetrics font = StringGrid1->fontMetrics();
    for (int c = 1; c <= Table.Shown && static_cast<size_t>(c) < fitted_.size(); ++c) {
        const TRemoteColumnDef &spec = Table.Columns[static_cast<size_t>(c - 1)];
        int &fitted = fitted_[static_cast<size_t>(c)];
        // A saved width, or one the user has changed since, stays.
        if (spec.Saved || (fitted != 0 && StringGrid1->ColumnWidth(c) != fitted))
            continue;
        // A recording's name is the recorder's own; one as long as its index
        // file's name (yymmdd_hhmmss_line) is the common case.
        const QString sample = spec.Field == "Date"  ? "00.00.00"
                               : spec.Field == "Time" ? "00:00:00"
                               : spec.Field == "Wav"  ? "000000_000000_00.wav"
                                                      : "";
        fitted = FitColumnWidth(spec.Width, font, {ToQ(spec.Title), sample}, 10);
        StringGrid1->SetColumnWidth(c, fitted);
    }
}

void TRemoteView::SaveColumns(TIniFile &ini) const
{
    std::vector<int> widths;
    for (int c = 1; c <= Table.Shown; ++c)
        widths.push_back(StringGrid1->ColumnWidth(c));
    Table.SaveColumns(ini, listSection_, widths);
}

std::string TRemoteView::RowField(int row, const std::string &field) const
{
    const int col = Table.ColumnOf(field);
    return col < 0 || row < 1 ? "" : Table.StoredCell(col + 1, row);
}
