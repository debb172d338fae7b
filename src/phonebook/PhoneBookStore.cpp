#include "PhoneBookStore.h"

#include "BookSwap.h"
#include "DbfFormat.h"
#include "FailureTrace.h"
#include "IniFile.h"
#include "Nlsfunc.h"
#include "Paths.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <filesystem>

namespace {

std::string SortKey(const std::string &text)
{
    return Nls ? Nls->MakeSortKey(text) : text;
}

std::string Text(int id)
{
    return Nls ? Nls->GetText(id) : std::string();
}

std::string Cut(std::string text, size_t width)
{
    if (text.size() > width)
        text.resize(width);
    return text;
}

void SetKey(TDbCursor &c, const char *key, const char *from)
{
    c.FieldByName(key).SetAsString(SortKey(c.FieldByName(from).AsString()));
}

// Remembers filter and order, shows every row in physical order, and puts
// both back at the end with the data source enabled again.
class TFullScan {
public:
    explicit TFullScan(TDbCursor &c) : c_(c), filter_(c.Filter()), index_(c.IndexName())
    {
        c_.DisableControls();
        c_.SetFilter("");
        c_.SetIndexName("");
    }
    ~TFullScan()
    {
        try {
            c_.SetIndexName(index_);
            c_.SetFilter(filter_);
            c_.First();
        } catch (...) {
            TraceFailure("TFullScan"); // a destructor must not throw
        }
        c_.EnableControls();
    }
    TFullScan(const TFullScan &) = delete;
    TFullScan &operator=(const TFullScan &) = delete;

private:
    TDbCursor &c_;
    std::string filter_, index_;
};

} // namespace

TPhoneBookStore::TPhoneBookStore(const TIniFile &ini, const std::string &dataDir) : dataDir_(WithSlash(dataDir))
{
    std::string home = ini.ReadString("Dbf", "Home", "Dbf");
    DatabaseDir = ResolveDatabaseDir(home, dataDir_);
    createDir_ = DatabaseDir != FsName(home);
    firmIds_ = {&TableFirm, {{&QueryRepre, "IDF"}, {&QueryNum, "IDF"}, {&QueryContact, "IDF"}}, &NextFirmId};
    repreIds_ = {&TableRepre, {{&QueryNum, "IDR"}, {&QueryContact, "IDR"}}, &NextRepreId};
    // Sort keys from the row as it lands: an edit's untouched name may be
    // another program's by then.
    TableFirm.OnWrite = [this](TDbCursor &c) {
        TakeId(c, firmIds_);
        SetFirmKeys(c);
    };
    TableRepre.OnWrite = [this](TDbCursor &c) {
        CheckOwners(c);
        TakeId(c, repreIds_);
        SetRepreKeys(c);
    };
    TableNum.OnWrite = [this](TDbCursor &c) { CheckOwners(c); };
    TableContact.OnWrite = [this](TDbCursor &c) {
        CheckOwners(c);
        SetContactKeys(c);
    };
    // Nothing goes into a book that a pending import is to replace.
    for (TDbCursor *c : {&TableFirm, &QueryFirm, &TableRepre, &QueryRepre, &TableNum, &QueryNum, &TableContact,
                         &QueryContact})
        c->BeforeWrite = [this] { bookswap::GuardWrite(DatabaseDir); };
}

TPhoneBookStore::~TPhoneBookStore()
{
    CloseTables();
}

std::string TPhoneBookStore::ResolveDatabaseDir(const std::string &home, const std::string &dataDir)
{
    const std::string dir = FsName(home);
    if (IsAbsolutePath(dir) || dir.find(':') != std::string::npos)
        return dir;
    return WithSlash(dataDir) + dir;
}

TDbTableDef TPhoneBookStore::FirmsDef()
{
    return {{DbFloat("ID"), DbString("NAME", 40), DbString("ADD_STREET", 40), DbString("ADD_CITY", 40),
             DbString("ADD_ZIP", 5), DbString("ADD_STATE", 40), DbString("ICO", 10), DbString("DIC", 14),
             DbString("EMAIL", 60), DbString("WWW", 80), DbMemo("MEMO"), DbBoolean("DEALER"),
             DbBoolean("SUPPLIER"), DbBoolean("CUSTOMER"), DbString("XNAME", 40), DbString("XADD_CITY", 40)},
            {{"NAME", "XNAME", false},
             {"ICO", "ICO", false},
             {"DIC", "DIC", false},
             {"ADD_CITY", "XADD_CITY", false},
             {"ADD_ZIP", "ADD_ZIP", false}}};
}

TDbTableDef TPhoneBookStore::RepresDef()
{
    return {{DbFloat("ID"), DbFloat("IDF"), DbString("TITLE", 16), DbString("NAME", 40), DbString("SURNAME", 40),
             DbString("TITUL", 16), DbBoolean("MUZ"), DbString("FCE", 60), DbMemo("MEMO"), DbString("EMAIL", 60),
             DbString("XNAME", 40), DbString("XSURNAME", 40)},
            {{"ID", "ID", true}, {"SURNAME", "XSURNAME", false}, {"NAME", "XNAME", false}}};
}

TDbTableDef TPhoneBookStore::NumsDef()
{
    return {{DbFloat("IDF"), DbFloat("IDR"), DbString("TYPE", 1), DbString("NUM", 20)}, {{"NUM", "NUM", false}}};
}

TDbTableDef TPhoneBookStore::ContactsDef()
{
    return {{DbFloat("IDF"), DbFloat("IDR"), DbDate("DATUM"), DbString("SUBJECT", 40), DbMemo("MEMO"),
             DbBoolean("CHECKED"), DbString("XSUBJECT", 40)},
            {{"SUBJECT", "XSUBJECT", false}, {"DATUM", "DATUM", false}}};
}

void TPhoneBookStore::OpenPair(TDbCursor &table, TDbCursor &query, const std::string &fileName,
                               const TDbTableDef &def)
{
    table.DatabaseName = DatabaseDir;
    table.TableName = fileName;
    table.FieldDefs = def.Fields;
    table.IndexDefs = def.Indexes;
    table.CreateTableIfMissing();
    table.Open();
    query.DatabaseName = DatabaseDir;
    query.TableName = fileName;
    query.IndexDefs = def.Indexes;
    query.Close();
    query.SetFilter("");
    query.SetIndexName("");
    query.Open();
    query.First();
}

void TPhoneBookStore::OpenTables()
{
    try {
        std::filesystem::create_directories(dataDir_ + "Cfgs");
        if (createDir_)
            std::filesystem::create_directories(DatabaseDir);
        // The book must not open half new.
        std::string failed = bookswap::Finish(DatabaseDir);
        WaitsForSet = !failed.empty();
        if (WaitsForSet)
            throw EDbError("Cannot replace " + failed);
        try {
            if (std::string failed = bookswap::Finish(DatabaseDir, bookswap::kExport); !failed.empty())
                throw EDbError("Cannot replace " + failed);
        } catch (const std::exception &) {
            TraceFailure("TPhoneBookStore::OpenTables"); // the import tries again before it reads
        }
        OpenPair(TableFirm, QueryFirm, "Firms.dbf", FirmsDef());
        OpenPair(TableRepre, QueryRepre, "Repres.dbf", RepresDef());
        OpenPair(TableNum, QueryNum, "Nums.dbf", NumsDef());
        OpenPair(TableContact, QueryContact, "Contacts.dbf", ContactsDef());
        nameFirm_.OpenLike(QueryFirm);
        nameRepre_.OpenLike(QueryRepre);
        nameNum_.OpenLike(QueryNum);
    } catch (const std::exception &e) {
        TraceFailure("TPhoneBookStore::OpenTables");
        OpenError = e.what(); // the phone-book button simply stays disabled
        return;
    }
    OpenError.clear();
    TablesOpen = true;
    ScanNextIds();
}

void TPhoneBookStore::CloseTables()
{
    for (TIdKind *kind : {&firmIds_, &repreIds_})
        for (TIdSource &source : kind->Refs)
            source.Scanned = 0, source.Highest = 0;
    for (TDbCursor *c : {&TableFirm, &QueryFirm, &TableRepre, &QueryRepre, &TableNum, &QueryNum, &TableContact,
                         &QueryContact, &nameFirm_, &nameRepre_, &nameNum_})
        c->Close();
    TablesOpen = false;
}

bool TPhoneBookStore::Replaced() const
{
    if (!TablesOpen)
        return false;
    for (const TDbCursor *c : {&TableFirm, &TableRepre, &TableNum, &TableContact})
        if (c->Replaced())
            return true;
    return false;
}

int TPhoneBookStore::ScanHighestId(TDbCursor &table)
{
    int64_t highest = 0;
    TFullScan scan(table);
    for (table.First(); !table.Eof(); table.Next())
        highest = InRange(highest, table.FieldByName("ID").AsFloat());
    return static_cast<int>(std::min(highest + 1, MaxId));
}

void TPhoneBookStore::ScanNextIds()
{
    if (!TablesOpen)
        return;
    NextFirmId = 0;
    NextRepreId = 0;
    NextFirmId = ScanHighestId(TableFirm);
    NextRepreId = ScanHighestId(TableRepre);
}

void TPhoneBookStore::SetFirmKeys(TDbCursor &firm)
{
    SetKey(firm, "XNAME", "NAME");
    SetKey(firm, "XADD_CITY", "ADD_CITY");
}

void TPhoneBookStore::SetRepreKeys(TDbCursor &repre)
{
    SetKey(repre, "XNAME", "NAME");
    SetKey(repre, "XSURNAME", "SURNAME");
}

void TPhoneBookStore::SetContactKeys(TDbCursor &contact)
{
    SetKey(contact, "XSUBJECT", "SUBJECT");
}

void TPhoneBookStore::RebuildTable(TDbCursor &table, void (*setKeys)(TDbCursor &))
{
    TFullScan scan(table);
    for (table.First(); !table.Eof(); table.Next()) {
        table.Edit();
        setKeys(table);
        table.Post();
    }
}

void TPhoneBookStore::RebuildKeys()
{
    if (!TablesOpen)
        return;
    RebuildTable(TableFirm, SetFirmKeys);
    RebuildTable(TableRepre, SetRepreKeys);
    RebuildTable(TableContact, SetContactKeys);
}

std::string TPhoneBookStore::Lookup(TDbCursor &query, TLookup &cache, const std::string &id, const char *field,
                                    size_t width)
{
    if (id.empty() || !query.Active())
        return {};
    if (cache.Version != query.DataVersion()) {
        cache.Texts.clear();
        query.DisableControls();
        for (query.First(); !query.Eof(); query.Next())
            if (!query.FieldByName("ID").IsNull())
                cache.Texts.emplace(query.FieldByName("ID").AsFloat(), Cut(query.FieldByName(field).AsString(), width));
        query.EnableControls();
        cache.Version = query.DataVersion();
    }
    auto it = cache.Texts.find(std::strtod(id.c_str(), nullptr));
    return it == cache.Texts.end() ? std::string() : it->second;
}

std::string TPhoneBookStore::RepreSex(TDbCursor &repre)
{
    return Cut(Text(repre.FieldByName("MUZ").AsBoolean() ? 2010 : 2011), 8);
}

std::string TPhoneBookStore::RepreFirm(TDbCursor &repre)
{
    return Lookup(QueryFirm, firmNames_, repre.FieldByName("IDF").AsString(), "NAME", 40);
}

std::string TPhoneBookStore::NumTyp(TDbCursor &num)
{
    std::string type = num.FieldByName("TYPE").AsString();
    switch (type.empty() ? ' ' : type[0]) {
    case 'T': return Text(2000);
    case 'F': return Text(2001);
    case 'L': return Text(2002);
    case 'M': return Text(2003);
    default: return {};
    }
}

std::string TPhoneBookStore::DetailFirm(TDbCursor &detail)
{
    return Lookup(QueryFirm, firmNames_, detail.FieldByName("IDF").AsString(), "NAME", 40);
}

std::string TPhoneBookStore::DetailRepre(TDbCursor &detail)
{
    return Lookup(QueryRepre, repreSurnames_, detail.FieldByName("IDR").AsString(), "SURNAME", 40);
}

std::string TPhoneBookStore::ContactCheck(TDbCursor &contact)
{
    return contact.FieldByName("CHECKED").AsBoolean() ? "\xD6" : "";
}

std::string TPhoneBookStore::RepreSex() { return RepreSex(TableRepre); }
std::string TPhoneBookStore::RepreFirm() { return RepreFirm(TableRepre); }
std::string TPhoneBookStore::NumTyp() { return NumTyp(TableNum); }
std::string TPhoneBookStore::NumFirm() { return DetailFirm(TableNum); }
std::string TPhoneBookStore::NumRepre() { return DetailRepre(TableNum); }
std::string TPhoneBookStore::ContactCheck() { return ContactCheck(TableContact); }
std::string TPhoneBookStore::ContactFirm() { return DetailFirm(TableContact); }
std::string TPhoneBookStore::ContactRepre() { return DetailRepre(TableContact); }
