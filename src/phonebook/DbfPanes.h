#pragma once
// Pieces the phone-book window and its edit dialogs share: grid columns by
// text id, and the number and contact pages of the firm and representative
// dialogs, whose navigators run the window's own handlers.
#include "DbControls.h"
#include "Dbgridex.h"
#include "Vcl.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include <memory>
#include <string>
#include <vector>

class TContactMemo;
class TDbView;

struct TColumnDef {
    const char *Field;
    int TextId;
    int Width;
};

void SetGridColumns(TDBGridEx *grid, const std::vector<TColumnDef> &defs);
// Titles of the grid's columns from the language, for the fields defs names.
void TitleColumns(TDBGridEx *grid, const std::vector<TColumnDef> &defs);
TSpeedButton *AddSpeedButton(QWidget *parent, int tag, const char *glyph, const char *hint);
// A tool bar over a pane: a navigator and room for buttons.
TToolBar *AddBar(QWidget *pane, QVBoxLayout *column, TDBNavigator **navigator);
// A label and a bound edit on one row of a grid layout.
TEdit *AddFieldRow(QWidget *parent, QGridLayout *grid, int row, int tag, const char *caption);

// A page of a dialog with a grid over one of the window's views and its navigator.
struct TPagePane {
    TDBGridEx *Grid = nullptr;
    TDBNavigator *Navigator = nullptr;
    TDbNavigatorLink *Nav = nullptr;
    TToolBar *Bar = nullptr;
    QVBoxLayout *Column = nullptr;
    std::vector<TColumnDef> Columns;
};
// dialog: the sender of the window's handler (nested dialogs centre over it).
TPagePane AddPagePane(QWidget *page, TDbView *view, const std::vector<TColumnDef> &columns, QWidget *dialog,
                      void (*click)(QWidget *dialog, TNavigateBtn));
// The user's layout of the pane's grid from its file, titled in the current
// language (the file keeps the titles of the language it was saved in).
void LoadPageColumns(const TPagePane &pane, const std::string &path);
// The contacts page of the firm and representative dialogs: grid, navigator,
// the done button and the memo of the current contact, held for the dialog's
// OK (MemoLink->Commit).
struct TContactPage {
    TContactPage();
    TContactPage(TContactPage &&) noexcept;
    TContactPage &operator=(TContactPage &&) noexcept;
    ~TContactPage();
    TPagePane Pane;
    TSpeedButton *Check = nullptr;
    TMemo *Memo = nullptr;
    std::unique_ptr<TContactMemo> MemoLink;
};
TContactPage AddContactPage(TPageControl *pages, int tag, TDbView *view, const std::vector<TColumnDef> &columns,
                            QWidget *dialog);
// Lets go of the view; what was typed and not committed is dropped.
void RemoveContactPage(TContactPage &page);
// Panel2 of the edit dialogs with its page control.
TPageControl *AddPagesPanel(QWidget *dialog, TPanel *&panel);
// The numbers page; its navigator runs the window's number handler.
TPagePane AddNumPage(TPageControl *pages, int tag, TDbView *view, const std::vector<TColumnDef> &columns,
                     QWidget *dialog);
// A page with one memo (a note bound to the row's MEMO).
TMemo *AddNotePage(TPageControl *pages, int tag);
// Panel3 of the edit dialogs: OK and Cancel.
TPanel *AddButtonPanel(QDialog *dialog, TBitBtn *&ok, TBitBtn *&cancel);
// Dial and hang-up buttons of a dialog, enabled by the right to call.
void SetCallButtons(const std::vector<TSpeedButton *> &buttons, bool canCall);
