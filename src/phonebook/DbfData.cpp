// The phone-book window's data: selection of master and details, the
// navigators' insert, edit and delete flows, sorting and the call buttons.
#include "Dbf.h"

#include "ContactMemo.h"
#include "DbView.h"
#include "DbfPanes.h"
#include "Dbfcont.h"
#include "Dbffirm.h"
#include "Dbfnum.h"
#include "Dbfrepre.h"
#include "FailureTrace.h"
#include "Fce.h"
#include "Nlsfunc.h"
#include "PanelCalls.h"
#include "PhoneBookStore.h"
#include "Timer.h"

#include <QDate>
#include <QScopeGuard>

#include <cmath>
#include <tuple>

void TFDbf::BindViews()
{
    auto candidates = [this](TDbCursor &c) {
        return [this, &c](const TDbCondition &condition) { return store_->FirmRows(c, condition); };
    };
    viewFirm_ = std::make_unique<TDbView>(store_->TableFirm);
    viewRepre_ = std::make_unique<TDbView>(store_->TableRepre, candidates(store_->TableRepre));
    viewNum_ = std::make_unique<TDbView>(store_->TableNum, candidates(store_->TableNum));
    viewContact_ = std::make_unique<TDbView>(store_->TableContact, candidates(store_->TableContact));
    viewFirm_->AfterScroll = [this] {
        firmTicks_ = 0;
        TimerFirm->SetEnabled(true);
    };
    viewRepre_->AfterScroll = [this] {
        repreTicks_ = 0;
        TimerRepre->SetEnabled(true);
    };
    memo_ = std::make_unique<TContactMemo>(DBMemoContact, viewContact_.get(), *store_,
                                           [this](const std::exception &e) { ShowError(Reason(e)); });
    struct TPane {
        TDBGridEx *Grid;
        TDbNavigatorLink *&Nav;
        TDBNavigator *Navigator;
        TDbView *View;
        void (TFDbf::*Click)(QWidget *, TNavigateBtn);
    };
    for (const TPane &p : {TPane{DBGridFirm, NavFirm, DBNavigatorFirm, viewFirm_.get(), &TFDbf::DBNavigatorFirmClick},
                           TPane{DBGridRepre, NavRepre, DBNavigatorRepre, viewRepre_.get(), &TFDbf::DBNavigatorRepreClick},
                           TPane{DBGridNum, NavNum, DBNavigatorNum, viewNum_.get(), &TFDbf::DBNavigatorNumClick},
                           TPane{DBGridContact, NavContact, DBNavigatorContact, viewContact_.get(),
                                 &TFDbf::DBNavigatorContactClick}}) {
        p.Grid->SetView(p.View);
        p.Grid->Model()->CalcField = [this](TDbCursor &row, const std::string &field, std::string &text) {
            return CalcField(row, field, text);
        };
        TDBGridEx *grid = p.Grid;
        p.Grid->OnTitleClick = [this, grid](const std::string &field) { SortByTitle(grid, field); };
        p.Nav = new TDbNavigatorLink(p.Navigator, p.View);
        auto click = p.Click;
        p.Nav->OnClick = [this, click](TNavigateBtn b) { Guard([&] { (this->*click)(nullptr, b); }); };
        p.Nav->OnError = [this](const std::string &what) { ShowError(what); };
        TDbView *view = p.View;
        p.Nav->Around = [this, view](const std::function<void()> &press) { ActOnCursorRow(*view, press); };
    }
    for (TDbNavigatorLink *n : {NavFirm, NavRepre, NavNum, NavContact}) {
        TDbView *view = n->View();
        n->Delete = [this, view] { DeleteRow(*view); };
    }

    // Keys on a grid act as its navigator's buttons; edit as a double click,
    // which makes the row the selection first.
    for (auto [grid, nav] : {std::pair{DBGridFirm, NavFirm}, {DBGridRepre, NavRepre}, {DBGridNum, NavNum},
                             {DBGridContact, NavContact}})
        grid->OnNavigateKey = [grid = grid, nav = nav](TNavigateBtn b) {
            if (b == nbEdit)
                grid->OnDblClick();
            else
                nav->Click(b);
        };

    DBGridFirm->OnCellClick = [this] { Guard([this] { SelectFirm(); }); };
    DBGridRepre->OnCellClick = [this] { Guard([this] { SelectRepre(); }); };
    DBGridFirm->OnDblClick = [this] { NavFirm->Click(SelectFirm() ? nbEdit : nbInsert); };
    DBGridRepre->OnDblClick = [this] { NavRepre->Click(SelectRepre() ? nbEdit : nbInsert); };
    DBGridNum->OnDblClick = [this] { NavNum->Click(nbEdit); };
    DBGridContact->OnDblClick = [this] { NavContact->Click(nbEdit); };

    auto on = [this](TSpeedButton *b, void (TFDbf::*action)()) {
        connect(b, &QToolButton::clicked, this, [this, action] { Guard([&] { (this->*action)(); }); });
    };
    // A pane's call buttons act only while that pane has a current row.
    for (auto [pane, dial, trans, conf] :
         {std::tuple{viewFirm_.get(), SpeedButtonDialFirm, SpeedButtonTransFirm, SpeedButtonConfFirm},
          {viewRepre_.get(), SpeedButtonDialRepre, SpeedButtonTransRepre, SpeedButtonConfRepre},
          {viewNum_.get(), SpeedButtonDialNum, SpeedButtonTransNum, SpeedButtonConfNum}})
        for (auto [button, action] : {std::pair{dial, &TFDbf::SpeedButtonDialNumClick},
                                      {trans, &TFDbf::SpeedButtonTransNumClick},
                                      {conf, &TFDbf::SpeedButtonConfNumClick}})
            connect(button, &QToolButton::clicked, this, [this, pane = pane, action = action] {
                Guard([&] {
                    ActOnCursorRow(*pane, [&] {
                        if (pane->HasRow())
                            (this->*action)();
                    });
                });
            });
    for (TSpeedButton *b : {SpeedButtonHangFirm, SpeedButtonHangRepre, SpeedButtonHangNum})
        on(b, &TFDbf::SpeedButtonHangNumClick);
    on(SpeedButtonCheck, &TFDbf::SpeedButtonCheckClick);
    on(SpeedButtonLockRepre, &TFDbf::SpeedButtonLockRepreClick);
    on(SpeedButtonFindFirm, &TFDbf::FindFirmClick);
    on(SpeedButtonNextFirm, &TFDbf::FindNextFirmClick);
    on(SpeedButtonFindRepre, &TFDbf::FindRepreClick);
    on(SpeedButtonNextRepre, &TFDbf::FindNextRepreClick);
}

void TFDbf::RefreshViews()
{
    for (TDbView *v : {viewFirm_.get(), viewRepre_.get(), viewNum_.get(), viewContact_.get()})
        Guard([v] { v->Refresh(); });
    UpdateButtons();
}

bool TFDbf::CalcField(TDbCursor &row, const std::string &field, std::string &text)
{
    TPhoneBookStore &s = *store_;
    const bool isRepre = row.HasField("SURNAME"), isNum = row.HasField("NUM");
    if (field == "Sex" && isRepre)
        text = s.RepreSex(row);
    else if (field == "Firm" && isRepre)
        text = s.RepreFirm(row);
    else if (field == "Typ" && isNum)
        text = s.NumTyp(row);
    else if (field == "Firm" && row.HasField("IDR"))
        text = s.DetailFirm(row);
    else if (field == "Repre" && row.HasField("IDR"))
        text = s.DetailRepre(row);
    else if (field == "Check" && row.HasField("CHECKED"))
        text = s.ContactCheck(row);
    else
        return false;
    return true;
}

// The selection follows a scrolled cursor only once it has rested there
// (TimerFirm, TimerRepre), so an action must neither act on a selection that
// lags nor be overtaken by one during its dialog: the firm or representative
// pane acted on takes its current row as the selection at once, and a
// selection still pending elsewhere waits until the action is over (a filter
// changed under an open edit would post the row half typed).
void TFDbf::ActOnCursorRow(TDbView &pane, const std::function<void()> &action)
{
    if (&pane == viewFirm_.get() && TimerFirm->Active())
        SelectFirm();
    else if (&pane == viewRepre_.get() && TimerRepre->Active())
        SelectRepre();
    const bool firm = TimerFirm->Active(), repre = TimerRepre->Active();
    const int selections = selections_;
    TimerFirm->SetEnabled(false);
    TimerRepre->SetEnabled(false);
    auto resume = qScopeGuard([&] {
        // Unless the action made a selection of its own, which a stale one must not undo.
        if (selections_ != selections)
            return;
        if (firm && !TimerFirm->Active())
            TimerFirm->SetEnabled(true);
        if (repre && !TimerRepre->Active())
            TimerRepre->SetEnabled(true);
    });
    action();
}

bool TFDbf::SelectFirm()
{
    TDbCursor &firm = store_->TableFirm;
    if (!viewFirm_->HasRow())
        return false;
    std::string id = firm.FieldByName("ID").AsString();
    if (id.empty())
        return false;
    ++selections_;
    FirmMode = true;
    CurFirmId = static_cast<int>(firm.FieldByName("ID").AsInteger());
    CurFirmName = firm.FieldByName("NAME").AsString();
    std::string filter = "Idf=" + std::to_string(CurFirmId);
    viewContact_->SetFilter(filter);
    viewNum_->SetFilter(filter);
    viewRepre_->SetFilter(filter);
    SpeedButtonLockRepre->setChecked(true);
    // Done now: a pending selection, or the representatives' first row that
    // the filter brought, must not override it later.
    TimerFirm->SetEnabled(false);
    TimerRepre->SetEnabled(false);
    return true;
}

bool TFDbf::SelectRepre()
{
    TDbCursor &repre = store_->TableRepre;
    if (!viewRepre_->HasRow())
        return false;
    std::string idf = repre.FieldByName("IDF").AsString();
    if (idf.empty())
        return false;
    ++selections_;
    FirmMode = false;
    CurFirmId = static_cast<int>(repre.FieldByName("IDF").AsInteger());
    CurRepreId = static_cast<int>(repre.FieldByName("ID").AsInteger());
    std::string filter = "Idr=" + std::to_string(CurRepreId) + " AND Idf=" + std::to_string(CurFirmId);
    viewContact_->SetFilter(filter);
    viewNum_->SetFilter(filter);
    TimerRepre->SetEnabled(false);
    return true;
}

void TFDbf::SpeedButtonLockRepreClick()
{
    if (SpeedButtonLockRepre->isChecked()) {
        SelectFirm();
        return;
    }
    viewRepre_->SetFilter("");
    SelectRepre();
    DBGridRepre->setFocus();
}

bool TFDbf::ShowEditDialog(TDialog *dialog, QWidget *sender)
{
    CenterForm(sender ? sender : this, dialog);
    bool ok = dialog->exec() == QDialog::Accepted;
    delete dialog;
    return ok;
}

void TFDbf::FinishEdit(TDbView &view, bool ok, QWidget *focus)
{
    TDbCursor &c = view.Cursor();
    if (!ok) {
        c.Cancel();
        Cancelled = true;
        view.Refresh();
        return;
    }
    try {
        store_->Post(c);
    } catch (...) {
        // The window must not stay stuck in an edit it cannot post; what is
        // stored stays as it was, and the reason is shown.
        c.Cancel();
        Cancelled = true;
        view.Refresh();
        throw;
    }
    uint32_t posted = c.RecNo();
    view.Refresh();
    view.MoveToRecNo(posted);
    if (focus && focus->isVisible() && focus->isEnabled())
        focus->setFocus();
}

void TFDbf::DBNavigatorFirmClick(QWidget *sender, TNavigateBtn button)
{
    Cancelled = false;
    if (button == nbInsert || button == nbEdit) {
        bool ok = ShowEditDialog(new TFDbfFirm(this, viewContact_.get(), viewNum_.get(), viewRepre_.get(),
                                               viewFirm_.get(), CanCall, button == nbInsert),
                                 sender);
        // A new firm's ID and the sort keys are set as the row lands (the store's).
        FinishEdit(*viewFirm_, ok, DBGridFirm);
        if (ok)
            SelectFirm();
        memo_->Show(); // the dialog's OK may have stored contact memos
    } else {
        SelectFirm();
    }
    UpdateButtons();
}

void TFDbf::DBNavigatorRepreClick(QWidget *sender, TNavigateBtn button)
{
    Cancelled = false;
    TDbCursor &repre = store_->TableRepre;
    if (button == nbInsert || button == nbEdit) {
        if (button == nbInsert)
            repre.FieldByName("MUZ").SetAsBoolean(true);
        bool ok = ShowEditDialog(new TFDbfRepre(this, viewContact_.get(), viewNum_.get(), viewRepre_.get(),
                                                store_->RepreFirm(repre), CanCall, button == nbInsert),
                                 qobject_cast<TDialog *>(sender));
        // The firm is the one the window shows, not a lagging selection.
        if (ok && repre.FieldByName("ID").IsNull() && viewFirm_->HasRow())
            repre.FieldByName("IDF").SetAsString(store_->TableFirm.FieldByName("ID").AsString());
        FinishEdit(*viewRepre_, ok, DBGridRepre);
        if (ok)
            SelectRepre();
        memo_->Show();
    } else if (button == nbDelete) {
        // The row the cursor moved to, or the firm when none is left: new rows
        // must never go to the one just deleted.
        if (!SelectRepre())
            SelectFirm();
    } else {
        SelectRepre();
    }
}

void TFDbf::DBNavigatorNumClick(QWidget *sender, TNavigateBtn button)
{
    Cancelled = false;
    if (button != nbInsert && button != nbEdit)
        return;
    TDbCursor &num = store_->TableNum;
    bool ok = ShowEditDialog(new TFDbfNum(this, &num), qobject_cast<TDialog *>(sender));
    if (ok && num.FieldByName("IDR").IsNull()) {
        num.FieldByName("IDF").SetAsInteger(CurFirmId);
        num.FieldByName("IDR").SetAsInteger(FirmMode ? 0 : CurRepreId);
    }
    FinishEdit(*viewNum_, ok, DBGridNum);
}

void TFDbf::DBNavigatorContactClick(QWidget *sender, TNavigateBtn button)
{
    Cancelled = false;
    if (button != nbInsert && button != nbEdit)
        return;
    TDbCursor &contact = store_->TableContact;
    if (button == nbInsert)
        contact.FieldByName("CHECKED").SetAsBoolean(false);
    bool ok = ShowEditDialog(new TFDbfContact(this, &contact), qobject_cast<TDialog *>(sender));
    if (ok && contact.FieldByName("IDR").IsNull()) {
        contact.FieldByName("DATUM").SetAsDate(QDate::currentDate());
        contact.FieldByName("IDF").SetAsInteger(CurFirmId);
        contact.FieldByName("IDR").SetAsInteger(FirmMode ? 0 : CurRepreId);
    }
    FinishEdit(*viewContact_, ok, DBGridContact);
    memo_->Show();
}

void TFDbf::DeleteRows(TDbView &view, const std::vector<uint32_t> &rows, double idf, double idr, bool withRepre)
{
    TDbCursor &c = view.Cursor();
    TDbCursor &reader = view.Reader();
    c.DisableControls();
    try {
        for (uint32_t recno : rows) {
            if (!reader.BookmarkValid(recno))
                continue;
            reader.GotoBookmark(recno);
            if (reader.FieldByName("IDF").AsFloat() != idf)
                continue;
            if (withRepre && (reader.FieldByName("IDR").IsNull() || reader.FieldByName("IDR").AsFloat() != idr))
                continue;
            if (&c == &store_->TableRepre)
                DeleteRepreDetails(idf, reader.FieldByName("ID").AsFloat(), false);
            c.GotoBookmark(recno);
            store_->Delete(c);
        }
    } catch (...) {
        c.EnableControls();
        view.Refresh();
        throw;
    }
    c.EnableControls();
    view.Refresh();
}

namespace {

// The rows of a firm, copied: deleting changes the index's lists.
std::vector<uint32_t> RowsOfFirm(TPhoneBookStore &store, TDbCursor &table, double idf)
{
    const std::vector<uint32_t> *rows = store.FirmRows(table, {"IDF", idf});
    return rows ? *rows : std::vector<uint32_t>();
}

} // namespace

// afterWriters: what another program is adding right now lands first and is swept too.
void TFDbf::DeleteRepreDetails(double idf, double idr, bool afterWriters)
{
    for (TDbView *view : {viewNum_.get(), viewContact_.get()}) {
        if (afterWriters)
            view->Cursor().Refresh(true);
        DeleteRows(*view, RowsOfFirm(*store_, view->Cursor(), idf), idf, idr, true);
    }
}

void TFDbf::DeleteFirmDetails(double idf, bool afterWriters)
{
    for (TDbView *view : {viewRepre_.get(), viewNum_.get(), viewContact_.get()}) {
        if (afterWriters)
            view->Cursor().Refresh(true);
        DeleteRows(*view, RowsOfFirm(*store_, view->Cursor(), idf), idf, 0, false);
    }
}

// The IDs come from the row being deleted: the selection may still lag
// behind the cursor. Another program may add a row for it until the row is
// gone (it checks as it writes), so the details are swept once more after.
void TFDbf::DeleteFirm()
{
    TDbCursor &firm = store_->TableFirm;
    if (!viewFirm_->HasRow())
        return;
    if (firm.FieldByName("ID").IsNull()) {
        DeleteDetail(*viewFirm_);
        return;
    }
    const double id = firm.FieldByName("ID").AsFloat();
    DeleteFirmDetails(id, false);
    DeleteDetail(*viewFirm_);
    DeleteFirmDetails(id, true);
}

void TFDbf::DeleteRepre()
{
    TDbCursor &repre = store_->TableRepre;
    if (!viewRepre_->HasRow())
        return;
    if (repre.FieldByName("ID").IsNull() || repre.FieldByName("IDF").IsNull()) {
        DeleteDetail(*viewRepre_);
        return;
    }
    const double idf = repre.FieldByName("IDF").AsFloat(), id = repre.FieldByName("ID").AsFloat();
    DeleteRepreDetails(idf, id, false);
    DeleteDetail(*viewRepre_);
    DeleteRepreDetails(idf, id, true);
}

void TFDbf::DeleteRow(TDbView &view)
{
    Guard([&] {
        if (&view == viewFirm_.get())
            DeleteFirm();
        else if (&view == viewRepre_.get())
            DeleteRepre();
        else
            DeleteDetail(view);
    });
    UpdateButtons();
}

void TFDbf::DeleteDetail(TDbView &view)
{
    if (!view.HasRow())
        return;
    int row = view.Row();
    store_->Delete(view.Cursor());
    view.Refresh();
    if (!view.IsEmpty())
        view.MoveTo(std::min(row, view.Count() - 1));
}

void TFDbf::SpeedButtonCheckClick()
{
    if (!viewContact_->HasRow())
        return;
    TDbCursor &contact = store_->TableContact;
    contact.Edit();
    contact.FieldByName("CHECKED").SetAsBoolean(!contact.FieldByName("CHECKED").AsBoolean());
    store_->Post(contact);
    DBGridContact->viewport()->update();
}

bool TFDbf::HasCurrentNum()
{
    return viewNum_->HasRow();
}

void TFDbf::DialCurrentNumber(bool transfer)
{
    if (!HasCurrentNum())
        return;
    std::string num = store_->TableNum.FieldByName("NUM").AsString();
    std::string kind = store_->TableNum.FieldByName("TYPE").AsString().substr(0, 1);
    auto &call = transfer ? PanelCalls.DialOrTransfer : PanelCalls.Dial;
    if (call)
        call(num, kind);
}

void TFDbf::SpeedButtonDialNumClick() { DialCurrentNumber(false); }
void TFDbf::SpeedButtonTransNumClick() { DialCurrentNumber(true); }

void TFDbf::SpeedButtonConfNumClick()
{
    if (HasCurrentNum() && PanelCalls.SendConference)
        PanelCalls.SendConference(store_->TableNum.FieldByName("NUM").AsString());
}

void TFDbf::SpeedButtonHangNumClick()
{
    if (PanelCalls.ToggleSpeaker)
        PanelCalls.ToggleSpeaker();
}

void TFDbf::SortByTitle(TDBGridEx *grid, const std::string &field)
{
    TDbView *view = grid->View();
    if (!view)
        return;
    for (const TDbIndexDef &d : view->Cursor().IndexDefs) {
        if (!DbSameName(d.Name, field))
            continue;
        MarkSortColumn(false, grid);
        try {
            view->SetIndexName(d.Name);
        } catch (const std::exception &) {
            TraceFailure("TFDbf::SortByTitle"); // an index the file lacks: the order stays
        }
        MarkSortColumn(true, grid);
        return;
    }
}

void TFDbf::MarkSortColumn(bool on, TDBGridEx *grid)
{
    TDbView *view = grid->View();
    for (size_t i = 0; i < grid->Columns.size(); ++i) {
        std::string title = grid->Columns[i].Title;
        if (on) {
            if (view && !view->IndexName().empty() && grid->Columns[i].FieldName == view->IndexName()) {
                grid->SetColumnTitle(i, title + " ^");
                grid->SetTitleColor(i, QColor(0, 0, 128));
            }
        } else {
            if (title.size() >= 2 && title.compare(title.size() - 2, 2, " ^") == 0)
                grid->SetColumnTitle(i, title.substr(0, title.size() - 2));
            grid->SetTitleColor(i, QColor());
        }
    }
}

void TFDbf::UpdateButtons()
{
    const bool anyFirm = viewFirm_ && !viewFirm_->IsEmpty();
    for (TDBNavigator *n : {DBNavigatorRepre, DBNavigatorNum, DBNavigatorContact})
        n->setEnabled(anyFirm);
    SetCallButtons({SpeedButtonDialFirm, SpeedButtonDialRepre, SpeedButtonDialNum, SpeedButtonHangFirm,
                    SpeedButtonHangRepre, SpeedButtonHangNum},
                   CanCall);
    ApplyLineState();
}

void TFDbf::SetConnected(int handle, bool canCall)
{
    LoginHandle = handle;
    CanCall = canCall;
    lineStateKnown_ = false;
    UpdateButtons();
}

void TFDbf::SetLineState(const std::string &state)
{
    LineState = state;
    lineStateKnown_ = true;
    if (isVisible())
        ApplyLineState();
}

void TFDbf::showEvent(QShowEvent *event)
{
    ApplyLineState();
    TForm::showEvent(event);
}

void TFDbf::ApplyLineState()
{
    if (!CanCall || !lineStateKnown_)
        return;
    const bool idle = LineState == "PCK" || LineState == "REL";
    for (TSpeedButton *b : {SpeedButtonDialFirm, SpeedButtonDialRepre, SpeedButtonDialNum})
        b->setEnabled(idle);
}
