// Naming callers, showing a number's entry and adding a number to the book.
#include "Dbf.h"

#include "DbView.h"
#include "Dbffr.h"
#include "Fce.h"
#include "PanelCalls.h"
#include "PhoneBookStore.h"

void TFDbf::FindNameByNumber(const std::string &number, const std::string &defaultName, std::string &name,
                             char separator) const
{
    TNameParts parts;
    if (PanelCalls.NameParts)
        PanelCalls.NameParts(parts.Title, parts.FirstName, parts.TitleAfter);
    name = store_->NameByNumber(number, defaultName, separator, parts);
}

void TFDbf::ShowNumber(const std::string &number, bool offerToAdd)
{
    if (number.empty() || !TablesOpen())
        return;
    Guard([&] {
        // Found through a reader of its own: the numbers pane keeps its
        // filter until the number's firm is selected.
        TDbCursor &reader = viewNum_->Reader();
        uint32_t row = 0;
        if (reader.Locate({{"NUM", number}})) {
            row = reader.RecNo();
        } else {
            if (!offerToAdd || !AddNumber(number))
                return;
            row = store_->TableNum.RecNo();
        }
        if (!reader.BookmarkValid(row))
            return;
        reader.GotoBookmark(row);
        int64_t idf = reader.FieldByName("IDF").AsInteger();
        int64_t idr = reader.FieldByName("IDR").AsInteger();
        if (!viewFirm_->MoveToRecNo(store_->FirmRow(static_cast<double>(idf))) || !SelectFirm())
            return;
        if (idr != 0) {
            if (!viewRepre_->MoveToRecNo(store_->RepreRow(static_cast<double>(idr))) || !SelectRepre())
                return;
        }
        viewNum_->MoveToRecNo(row);
        PageControl1->setCurrentWidget(TabContact);
    });
}

bool TFDbf::AddNumber(const std::string &number)
{
    auto *fr = new TFDbfFR(this, viewRepre_.get(), viewFirm_.get());
    CenterForm(this, fr);
    bool ok = fr->exec() == QDialog::Accepted;
    delete fr;
    if (!ok)
        return false;
    TDbCursor &num = store_->TableNum;
    num.Append();
    num.FieldByName("TYPE").SetAsString("T");
    num.FieldByName("NUM").SetAsString(number);
    DBNavigatorNumClick(nullptr, nbInsert);
    return !Cancelled;
}
