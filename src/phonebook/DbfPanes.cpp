#include "DbfPanes.h"

#include "ColumnWidth.h"
#include "ContactMemo.h"
#include "DbView.h"
#include "Dbf.h"
#include "DialogButtons.h"
#include "Fce.h"
#include "Nlsfunc.h"

#include <QLabel>

namespace {
constexpr int kTitleMargin = 14; // a title's padding and the room of a sort mark
}

void SetGridColumns(TDBGridEx *grid, const std::vector<TColumnDef> &defs)
{
    std::vector<TDBGrid::Column> columns;
    for (const TColumnDef &d : defs) {
        std::string title = Nls ? Nls->GetText(d.TextId) : std::string();
        columns.push_back({d.Field, title.empty() ? std::string(d.Field) : title});
    }
    grid->SetColumns(columns);
    for (size_t i = 0; i < defs.size(); ++i)
        grid->setColumnWidth(static_cast<int>(i), FitColumnWidth(defs[i].Width, grid->fontMetrics(),
                                                                  {ToQ(columns[i].Title)}, kTitleMargin));
    if (FDbf)
        grid->Model()->CalcField = [](TDbCursor &row, const std::string &field, std::string &text) {
            return FDbf && FDbf->CalcField(row, field, text);
        };
}

void TitleColumns(TDBGridEx *grid, const std::vector<TColumnDef> &defs)
{
    for (size_t i = 0; i < grid->Columns.size(); ++i)
        for (const TColumnDef &d : defs)
            if (grid->Columns[i].FieldName == d.Field) {
                std::string title = Nls ? Nls->GetText(d.TextId) : std::string();
                if (title.empty())
                    continue;
                grid->SetColumnTitle(i, title);
                // A default layout widens to show its new title; a saved one stays.
                const int column = static_cast<int>(i);
                if (!grid->LayoutLoaded)
                    grid->setColumnWidth(column, std::max(grid->columnWidth(column),
                                                          FitColumnWidth(d.Width, grid->fontMetrics(), {ToQ(title)}, kTitleMargin)));
            }
}

TSpeedButton *AddSpeedButton(QWidget *parent, int tag, const char *glyph, const char *hint)
{
    auto *b = new TSpeedButton(parent);
    b->setText(QString::fromUtf8(glyph));
    b->setToolTip(QString::fromUtf8(hint));
    b->setAutoRaise(true);
    b->Tag = tag;
    if (auto *bar = qobject_cast<QToolBar *>(parent))
        bar->addWidget(b);
    return b;
}

TToolBar *AddBar(QWidget *pane, QVBoxLayout *column, TDBNavigator **navigator)
{
    auto *bar = new TToolBar(pane);
    bar->setIconSize(QSize(16, 16));
    column->addWidget(bar);
    *navigator = new TDBNavigator(bar);
    (*navigator)->Tag = 2000;
    bar->addWidget(*navigator);
    return bar;
}

TEdit *AddFieldRow(QWidget *parent, QGridLayout *grid, int row, int tag, const char *caption)
{
    auto *label = new TLabel(parent);
    label->Tag = tag;
    label->SetCaption(caption);
    auto *edit = new TEdit(parent);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}

void LoadPageColumns(const TPagePane &pane, const std::string &path)
{
    pane.Grid->LoadColumns(path);
    TitleColumns(pane.Grid, pane.Columns);
}

TPagePane AddPagePane(QWidget *page, TDbView *view, const std::vector<TColumnDef> &columns, QWidget *dialog,
                      void (*click)(QWidget *dialog, TNavigateBtn))
{
    TPagePane p;
    p.Column = new QVBoxLayout(page);
    p.Column->setContentsMargins(2, 2, 2, 2);
    p.Bar = AddBar(page, p.Column, &p.Navigator);
    p.Grid = new TDBGridEx(page);
    p.Columns = columns;
    SetGridColumns(p.Grid, columns);
    p.Grid->SetView(view);
    p.Column->addWidget(p.Grid);
    p.Nav = new TDbNavigatorLink(p.Navigator, view);
    p.Nav->OnClick = [dialog, click](TNavigateBtn b) { FDbf->Guard([&] { click(dialog, b); }); };
    p.Nav->Around = [view](const std::function<void()> &press) {
        if (FDbf)
            FDbf->ActOnCursorRow(*view, press);
        else
            press();
    };
    p.Nav->Delete = [view] {
        if (FDbf)
            FDbf->DeleteRow(*view);
    };
    TDbNavigatorLink *nav = p.Nav;
    p.Grid->OnDblClick = [nav] { nav->Click(nbEdit); };
    return p;
}

TContactPage AddContactPage(TPageControl *pages, int tag, TDbView *view, const std::vector<TColumnDef> &columns,
                            QWidget *dialog)
{
    TContactPage p;
    TTabSheet *page = pages->AddPage("Kontakty");
    page->Tag = tag;
    p.Pane = AddPagePane(page, view, columns, dialog,
                         [](QWidget *d, TNavigateBtn b) { FDbf->DBNavigatorContactClick(d, b); });
    p.Check = AddSpeedButton(p.Pane.Bar, 510, "\u2713", "Vy\xC5\x99\xC3\xADzeno");
    QObject::connect(p.Check, &QToolButton::clicked, page, [] { FDbf->SpeedButtonCheckClick(); });
    p.Memo = new TMemo(page);
    p.Memo->setMaximumHeight(70);
    p.Pane.Column->addWidget(p.Memo);
    p.MemoLink = std::make_unique<TContactMemo>(p.Memo, view, FDbf->Store(),
                                                [](const std::exception &e) { FDbf->ShowError(TFDbf::Reason(e)); }, true);
    // A contact's own dialog shows the text held for it; its OK stores that.
    p.Pane.Nav->OnClick = [dialog, view, link = p.MemoLink.get()](TNavigateBtn b) {
        link->Save();
        const uint32_t recNo = b == nbEdit && view->HasRow() ? view->Cursor().RecNo() : 0;
        std::string held;
        if (recNo && link->RefuseUnkept(dialog, recNo)) {
            view->Cursor().Cancel();
            view->Refresh();
            return;
        }
        if (recNo && link->Held(recNo, held))
            view->Cursor().FieldByName("MEMO").SetAsString(held);
        FDbf->Guard([&] { FDbf->DBNavigatorContactClick(dialog, b); });
        if (recNo && !FDbf->Cancelled)
            link->Forget(recNo);
        link->Show();
    };
    return p;
}

TContactPage::TContactPage() = default;
TContactPage::TContactPage(TContactPage &&) noexcept = default;
TContactPage &TContactPage::operator=(TContactPage &&) noexcept = default;
TContactPage::~TContactPage() = default;

void RemoveContactPage(TContactPage &page)
{
    page.MemoLink.reset();
}

TPageControl *AddPagesPanel(QWidget *dialog, TPanel *&panel)
{
    panel = new TPanel(dialog);
    auto *column = new QVBoxLayout(panel);
    auto *pages = new TPageControl(panel);
    column->addWidget(pages);
    return pages;
}

TPagePane AddNumPage(TPageControl *pages, int tag, TDbView *view, const std::vector<TColumnDef> &columns,
                     QWidget *dialog)
{
    TTabSheet *page = pages->AddPage("\xC8\xEDsla");
    page->Tag = tag;
    return AddPagePane(page, view, columns, dialog, [](QWidget *d, TNavigateBtn b) { FDbf->DBNavigatorNumClick(d, b); });
}

TMemo *AddNotePage(TPageControl *pages, int tag)
{
    TTabSheet *page = pages->AddPage("Pozn\xE1mka");
    page->Tag = tag;
    auto *column = new QVBoxLayout(page);
    auto *memo = new TMemo(page);
    column->addWidget(memo);
    return memo;
}

TPanel *AddButtonPanel(QDialog *dialog, TBitBtn *&ok, TBitBtn *&cancel)
{
    auto *panel = new TPanel(dialog);
    auto *row = OkCancelRow(dialog, ok, cancel);
    row->setParent(nullptr);
    panel->setLayout(row);
    ok->setParent(panel);
    cancel->setParent(panel);
    return panel;
}

void SetCallButtons(const std::vector<TSpeedButton *> &buttons, bool canCall)
{
    const std::string needs = Nls ? Nls->GetText(250) : std::string();
    for (TSpeedButton *b : buttons) {
        b->setEnabled(canCall);
        SetHintOf(b, ToggleLine(!canCall, HintOf(b), needs));
    }
}
