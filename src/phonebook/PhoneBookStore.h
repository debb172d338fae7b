#pragma once
// The phone book's four tables with their lookup cursors, their folder, the
// ID counters and the derived fields of the browsing tables. Owned by the
// phone-book window for the whole run.
#include "Cursor.h"

#include <string>
#include <unordered_map>

class TIniFile;

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
    int NextFirmId = 0;
    int NextRepreId = 0;

    // Creates what is missing and opens everything; errors leave TablesOpen false.
    void OpenTables();
    void CloseTables();
    void ScanNextIds();
    void RebuildKeys();

    // Sort-key columns of the row being edited, from their text columns.
    static void SetFirmKeys(TDbCursor &firm);
    static void SetRepreKeys(TDbCursor &repre);
    static void SetContactKeys(TDbCursor &contact);

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
    // Relative Home under the data folder; an absolute one as it stands.
    static std::string ResolveDatabaseDir(const std::string &home, const std::string &dataDir);

private:
    void OpenPair(TDbCursor &table, TDbCursor &query, const std::string &fileName, const TDbTableDef &def);
    int ScanHighestId(TDbCursor &table);
    void RebuildTable(TDbCursor &table, void (*setKeys)(TDbCursor &));
    // Text of field by ID from the first row that has it; cached until the table changes.
    struct TLookup {
        uint64_t Version = 0;
        std::unordered_map<double, std::string> Texts;
    };
    std::string Lookup(TDbCursor &query, TLookup &cache, const std::string &id, const char *field, size_t width);

    TLookup firmNames_, repreSurnames_;

    std::string dataDir_;
    bool createDir_ = false; // only a folder under the data folder is made
};
