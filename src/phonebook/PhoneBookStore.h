#pragma once
// The phone book's four tables with their lookup cursors, their folder, the
// ID counters and the derived fields of the browsing tables. Owned by the
// phone-book window for the whole run.
#include "Cursor.h"
#include "IdIndex.h"
#include "NumberIndex.h"

#include <climits>
#include <string>
#include <unordered_map>
#include <vector>

class TIniFile;

// A new row's firm or representative was deleted by another program
// meanwhile: nothing was written.
class EDbOwnerGone : public EDbRecordGone {
public:
    using EDbRecordGone::EDbRecordGone;
};

// No ID is left for a new firm or representative: nothing was written.
class EDbNoFreeId : public EDbError {
public:
    using EDbError::EDbError;
};

// The lowest ID from 1 to max that used lacks; 0 when none is left.
int64_t LowestFreeId(std::vector<int64_t> used, int64_t max);

// Which parts of a representative's name a caller's name shows (the skin's [Show]).
struct TNameParts {
    bool Title = false, FirstName = false, TitleAfter = false;
};

class TPhoneBookStore {
public:
    // Reads [Dbf] Home of the INI file; dataDir is the program's data folder.
    TPhoneBookStore(const TIniFile &ini, const std::string &dataDir);
    ~TPhoneBookStore();
    TPhoneBookStore(const TPhoneBookStore &) = delete;
    TPhoneBookStore &operator=(const TPhoneBookStore &) = delete;

    // The browsing tables (filters, orders and notifications are the window's).
    TDbCursor TableFirm, TableRepre, TableNum, TableContact;
    // Unfiltered cursors in physical order over the same tables, for lookups.
    TDbCursor QueryFirm, QueryRepre, QueryNum, QueryContact;

    std::string DatabaseDir;
    bool TablesOpen = false;
    // Why the last OpenTables failed, in the engine's words; empty when it did not.
    std::string OpenError;
    // The last OpenTables found an import marked complete that it could not
    // put in place, and so left the book closed.
    bool WaitsForSet = false;
    int NextFirmId = 0;
    int NextRepreId = 0;
    // The highest ID a new firm or representative may take.
    int64_t MaxId = INT32_MAX;

    // Creates what is missing and opens everything; errors leave TablesOpen false.
    void OpenTables();
    void CloseTables();
    // Another program replaced the open book's files (an import): its
    // tables must be opened again to show, and to save into, the new book.
    bool Replaced() const;
    void ScanNextIds();
    void RebuildKeys();

    // Sort-key columns of the row being edited, from their text columns.
    static void SetFirmKeys(TDbCursor &firm);
    static void SetRepreKeys(TDbCursor &repre);
    static void SetContactKeys(TDbCursor &contact);

    // Posts or deletes the current row of c, keeping the store's indexes current.
    void Post(TDbCursor &c);
    void Delete(TDbCursor &c);
    // Rows of Repres, Nums or Contacts (by c's table) that a condition on
    // IDF can pass; nullptr for anything else.
    const std::vector<uint32_t> *FirmRows(const TDbCursor &c, const TDbCondition &condition);
    // First row with that ID in physical order, 0 when none.
    uint32_t FirmRow(double id);
    uint32_t RepreRow(double id);

    // The row of Nums that names a caller's number, 0 when none.
    uint32_t NumberRow(const std::string &number);
    // The caller's name for a number: "" for an empty number, the default for
    // one the book does not know (or while the tables are not open). The
    // first matching row in physical order decides.
    std::string NameByNumber(const std::string &number, const std::string &defaultName, char separator,
                             const TNameParts &parts);

    // Derived fields of the current row of any cursor over the table.
    std::string RepreSex(TDbCursor &repre);
    std::string RepreFirm(TDbCursor &repre);
    std::string NumTyp(TDbCursor &num);
    std::string DetailFirm(TDbCursor &detail);
    std::string DetailRepre(TDbCursor &detail);
    std::string ContactCheck(TDbCursor &contact);
    // Derived fields of the current rows of the browsing tables.
    std::string RepreSex();
    std::string RepreFirm();
    std::string NumTyp();
    std::string NumFirm();
    std::string NumRepre();
    std::string ContactCheck();
    std::string ContactFirm();
    std::string ContactRepre();

    static TDbTableDef FirmsDef();
    static TDbTableDef RepresDef();
    static TDbTableDef NumsDef();
    static TDbTableDef ContactsDef();
    // Home as the INI file has it made a path: a relative one under the data
    // folder, an absolute one as it stands.
    static std::string ResolveDatabaseDir(const std::string &home, const std::string &dataDir);

private:
    void OpenPair(TDbCursor &table, TDbCursor &query, const std::string &fileName, const TDbTableDef &def);
    int ScanHighestId(TDbCursor &table);
    // Above MaxId: one past it, whatever the row holds.
    int64_t InRange(int64_t highest, double id) const;
    // A field that holds IDs of one kind, and the highest of the records
    // read so far; read on as the file grows.
    struct TIdSource {
        TDbCursor *Table;
        const char *Field;
        uint32_t Scanned = 0;
        int64_t Highest = 0;
    };
    struct TIdKind {
        TDbCursor *Table;            // the rows' own IDs, in field ID
        std::vector<TIdSource> Refs; // the rows that refer to them
        int *Next;
    };
    int64_t ScanHighest(TIdSource &source) const;
    // Under the table's lock: a new row without an ID gets one that no row
    // holds (deleted rows too) or refers to now, whoever wrote it; throws
    // EDbNoFreeId when none is left.
    void TakeId(TDbCursor &row, TIdKind &kind);
    TIdKind firmIds_, repreIds_;
    // Under the table's lock: a new row is stored only while its firm (and
    // its representative) stands; throws EDbOwnerGone.
    void CheckOwners(TDbCursor &row);
    void RebuildTable(TDbCursor &table, void (*setKeys)(TDbCursor &));
    // Text of field by ID from the first row that has it; cached until the table changes.
    struct TLookup {
        uint64_t Version = 0;
        std::unordered_map<double, std::string> Texts;
    };
    std::string Lookup(TDbCursor &query, TLookup &cache, const std::string &id, const char *field, size_t width);

    TLookup firmNames_, repreSurnames_;
    // Fields of rows a caller was named from, by record number, until their
    // table changes: a caller named again reads nothing from the disk.
    struct TRowTexts {
        uint64_t Version = 0;
        std::unordered_map<uint32_t, std::vector<std::string>> Rows;
    };
    const std::vector<std::string> &RowTexts(TDbCursor &query, TRowTexts &cache, uint32_t recno,
                                             std::initializer_list<const char *> fields);
    TRowTexts firmTexts_, repreTexts_;
    TIdIndex firmById_{"ID"}, repreById_{"ID"}, repreByFirm_{"IDF"}, numByFirm_{"IDF"}, contactByFirm_{"IDF"};
    // Callers are named from cursors of their own, which go over to a book
    // another program put in place at once; the window's cursors wait for
    // its dialogs to close.
    TDbCursor nameFirm_, nameRepre_, nameNum_;
    TIdIndex nameFirmById_{"ID"}, nameRepreById_{"ID"};
    TNumberIndex numbers_;
    void FollowReplacedNames();
    struct TIndexes {
        TDbCursor *Reader = nullptr;
        std::vector<TIdIndex *> Ids;
        TNumberIndex *Numbers = nullptr;
    };
    TIndexes IndexesOf(const TDbCursor &c);

    std::string dataDir_;
    bool createDir_ = false; // only a folder under the data folder is made
};
