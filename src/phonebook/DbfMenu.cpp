// The phone-book window's export, import and find commands.
#include "Dbf.h"

#include "DbView.h"
#include "DbfFind.h"
#include "DbfTransfer.h"
#include "Dbffind.h"
#include "PhoneBookStore.h"

void TFDbf::ExportClick()
{
    ExportBook(this, *store_);
}

void TFDbf::ImportClick()
{
    ImportBook(this, *store_);
    // The tables may have been replaced under the grids: the IDs are new.
    // A new book that could not be put in place or opened leaves them closed.
    ShowOpenError();
    RefreshViews();
    if (!viewFirm_->IsEmpty()) {
        viewFirm_->First();
        Guard([this] { SelectFirm(); });
    }
}

void TFDbf::FindFirmClick()
{
    if (AskFind(this, true, FindText, CaseSensitive, OnlyInName))
        FindFirm(true);
}

void TFDbf::FindNextFirmClick()
{
    FindFirm(false);
}

void TFDbf::FindRepreClick()
{
    if (AskFind(this, false, FindText, CaseSensitive, OnlyInName))
        FindRepre(true);
}

void TFDbf::FindNextRepreClick()
{
    FindRepre(false);
}

bool TFDbf::FindFirm(bool fromStart)
{
    bool hit = false;
    Guard([&] { hit = FindIn(*viewFirm_, DBGridFirm, "NAME", fromStart); });
    return hit;
}

bool TFDbf::FindRepre(bool fromStart)
{
    bool hit = false;
    Guard([&] { hit = FindIn(*viewRepre_, DBGridRepre, "SURNAME", fromStart); });
    return hit;
}

bool TFDbf::FindIn(TDbView &view, TDBGridEx *grid, const char *nameField, bool fromStart)
{
    if (!store_->TablesOpen)
        return false;
    TDbCursor &row = view.Reader();
    std::vector<TColumnText> columns;
    if (OnlyInName)
        columns.push_back(FieldText(row, nameField));
    else
        for (const auto &[column, width] : grid->ShownColumns()) {
            if (row.HasField(column.FieldName))
                columns.push_back(FieldText(row, column.FieldName));
            else // the window's calculated and lookup columns
                columns.push_back([this, &row, field = column.FieldName] {
                    std::string text;
                    CalcField(row, field, text);
                    return text;
                });
        }
    int hit = FindRowIndex(fromStart ? 0 : view.Row() + 1, view.Count(),
                           [&](int i) { row.GotoBookmark(view.RecNoAt(i)); }, columns, FindText, CaseSensitive);
    if (hit >= 0)
        view.MoveTo(hit);
    return hit >= 0;
}
