// The store's indexes: kept current on its own posts and deletes, read again
// when anything else changed a table.
#include "PhoneBookStore.h"

#include "FailureTrace.h"
#include "Fce.h"

TPhoneBookStore::TIndexes TPhoneBookStore::IndexesOf(const TDbCursor &c)
{
    if (&c == &TableFirm || &c == &QueryFirm)
        return {&QueryFirm, {&nameFirmById_, &firmById_}, nullptr};
    if (&c == &TableRepre || &c == &QueryRepre)
        return {&QueryRepre, {&nameRepreById_, &repreById_, &repreByFirm_}, nullptr};
    if (&c == &TableNum || &c == &QueryNum)
        return {&QueryNum, {&numByFirm_}, &numbers_};
    if (&c == &TableContact || &c == &QueryContact)
        return {&QueryContact, {&contactByFirm_}, nullptr};
    return {};
}

// The indexes take in our write only when they were current up to just
// before it, as the table saw it under its lock: a change another program
// made since we last looked is taken in by the write itself, and must leave
// them out of step.
void TPhoneBookStore::Post(TDbCursor &c)
{
    TIndexes x = IndexesOf(c);
    c.Post();
    for (TIdIndex *i : x.Ids)
        i->Posted(c);
    if (x.Numbers)
        x.Numbers->Posted(c);
}

void TPhoneBookStore::Delete(TDbCursor &c)
{
    TIndexes x = IndexesOf(c);
    uint32_t recno = c.State() == TDbCursor::dsInsert ? 0 : c.RecNo();
    c.Delete();
    for (TIdIndex *i : x.Ids)
        i->Deleted(c, recno);
    if (x.Numbers)
        x.Numbers->Deleted(c, recno);
}

const std::vector<uint32_t> *TPhoneBookStore::FirmRows(const TDbCursor &c, const TDbCondition &condition)
{
    if (!DbSameName(condition.Field, "IDF"))
        return nullptr;
    TIndexes x = IndexesOf(c);
    TIdIndex *byFirm = x.Ids.empty() ? nullptr : x.Ids.back();
    if (!byFirm || byFirm == &firmById_ || !x.Reader->Active())
        return nullptr;
    byFirm->Sync(*x.Reader);
    return &byFirm->Rows(condition.Value);
}

uint32_t TPhoneBookStore::FirmRow(double id)
{
    firmById_.Sync(QueryFirm);
    return firmById_.First(id);
}

uint32_t TPhoneBookStore::RepreRow(double id)
{
    repreById_.Sync(QueryRepre);
    return repreById_.First(id);
}

uint32_t TPhoneBookStore::NumberRow(const std::string &number)
{
    numbers_.Sync(nameNum_);
    return numbers_.Find(NormalizeNumber(number));
}

void TPhoneBookStore::FollowReplacedNames()
{
    for (TDbCursor *c : {&nameNum_, &nameFirm_, &nameRepre_}) {
        c->DataVersion(); // the file is looked at once a turn
        if (!c->Active() || c->KnownReplaced()) {
            c->Close();
            c->Open();
        }
    }
}

const std::vector<std::string> &TPhoneBookStore::RowTexts(TDbCursor &query, TRowTexts &cache, uint32_t recno,
                                                           std::initializer_list<const char *> fields)
{
    constexpr size_t kRows = 4096; // bounds the memory whatever the book's size
    if (cache.Version != query.DataVersion() || cache.Rows.size() >= kRows) {
        cache.Rows.clear();
        cache.Version = query.DataVersion();
    }
    if (auto it = cache.Rows.find(recno); it != cache.Rows.end())
        return it->second;
    query.GotoBookmark(recno);
    std::vector<std::string> texts;
    for (const char *f : fields)
        texts.push_back(query.FieldByName(f).AsString());
    return cache.Rows.emplace(recno, std::move(texts)).first->second;
}

std::string TPhoneBookStore::NameByNumber(const std::string &number, const std::string &defaultName, char separator,
                                          const TNameParts &parts)
{
    if (number.empty())
        return {};
    if (!TablesOpen)
        return defaultName;
    try {
        FollowReplacedNames();
        uint32_t row = NumberRow(number);
        if (!row)
            return defaultName;
        int64_t idf = 0, idr = 0;
        if (!numbers_.Ids(row, idf, idr)) {
            nameNum_.GotoBookmark(row);
            idf = nameNum_.FieldByName("IDF").AsInteger();
            idr = nameNum_.FieldByName("IDR").AsInteger();
        }
        nameFirmById_.Sync(nameFirm_);
        uint32_t firmRow = nameFirmById_.First(static_cast<double>(idf));
        if (!firmRow)
            return defaultName;
        std::string firm = RowTexts(nameFirm_, firmTexts_, firmRow, {"NAME"})[0];
        if (idr)
            nameRepreById_.Sync(nameRepre_);
        uint32_t repreRow = idr ? nameRepreById_.First(static_cast<double>(idr)) : 0;
        if (!repreRow)
            return firm;
        const std::vector<std::string> &repre =
            RowTexts(nameRepre_, repreTexts_, repreRow, {"TITLE", "SURNAME", "NAME", "TITUL"});
        std::string r;
        const std::string &title = repre[0];
        if (parts.Title && !title.empty())
            r = title.back() == '.' ? title : title + ".";
        r += repre[1];
        if (parts.FirstName)
            r += " " + repre[2];
        if (parts.TitleAfter)
            r += "," + repre[3];
        return separator == '(' ? r + "(" + firm + ")" : r + separator + firm;
    } catch (const EDbError &) {
        TraceFailure("TPhoneBookStore::NameByNumber");
        return defaultName; // a damaged table must not break the ring display
    }
}
