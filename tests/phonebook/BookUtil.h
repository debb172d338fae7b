#pragma once
// A phone book in a temporary folder, filled through the store's own post path.
#include "IniFile.h"
#include "PhoneBookStore.h"
#include "TempDir.h"

#include <memory>
#include <string>

class TestBook {
public:
    TestBook()
    {
        TIniFile ini(dir.File("none.ini"));
        store = std::make_unique<TPhoneBookStore>(ini, dir.Path());
        store->OpenTables();
    }
    void Firm(int id, const std::string &name)
    {
        TDbCursor &c = store->TableFirm;
        c.Append();
        c.FieldByName("ID").SetAsInteger(id);
        c.FieldByName("NAME").SetAsString(name);
        store->Post(c);
    }
    void Repre(int id, int idf, const std::string &title, const std::string &surname, const std::string &name = "",
               const std::string &titul = "")
    {
        TDbCursor &c = store->TableRepre;
        c.Append();
        c.FieldByName("ID").SetAsInteger(id);
        c.FieldByName("IDF").SetAsInteger(idf);
        c.FieldByName("TITLE").SetAsString(title);
        c.FieldByName("SURNAME").SetAsString(surname);
        c.FieldByName("NAME").SetAsString(name);
        c.FieldByName("TITUL").SetAsString(titul);
        store->Post(c);
    }
    // A detail row is stored only under a firm (and representative) that
    // stands: one is made for it when the test has none.
    void Owners(int idf, int idr)
    {
        if (!store->FirmRow(idf))
            Firm(idf, "Firm " + std::to_string(idf));
        if (idr && !store->RepreRow(idr))
            Repre(idr, idf, "", "Repre " + std::to_string(idr));
    }
    // A firm deleted by a program that left its rows behind.
    void DropFirm(int id)
    {
        TDbCursor &c = store->TableFirm;
        if (c.Locate({{"ID", std::to_string(id)}}))
            store->Delete(c);
    }
    void Num(int idf, int idr, const std::string &type, const std::string &num)
    {
        Owners(idf, idr);
        TDbCursor &c = store->TableNum;
        c.Append();
        c.FieldByName("IDF").SetAsInteger(idf);
        c.FieldByName("IDR").SetAsInteger(idr);
        c.FieldByName("TYPE").SetAsString(type);
        c.FieldByName("NUM").SetAsString(num);
        store->Post(c);
    }
    void Contact(int idf, int idr, const std::string &subject)
    {
        Owners(idf, idr);
        TDbCursor &c = store->TableContact;
        c.Append();
        c.FieldByName("IDF").SetAsInteger(idf);
        c.FieldByName("IDR").SetAsInteger(idr);
        c.FieldByName("SUBJECT").SetAsString(subject);
        store->Post(c);
    }

    TempDir dir;
    std::unique_ptr<TPhoneBookStore> store;
};
