#include "BigBook.h"

#include "DbfFormat.h"
#include "Memo.h"
#include "PhoneBookStore.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

namespace BigBook {
namespace {

std::string Field(const TDbFieldDef &f, const std::string &value)
{
    if (f.Type == 'F' || f.Type == 'N')
        return DbfFormatNumber(std::stod(value), f);
    std::string s = value.substr(0, static_cast<size_t>(f.Size));
    s.resize(static_cast<size_t>(f.Size), ' ');
    return s;
}

// A table of count rows straight to its file; values by field name, the rest blank.
void Table(const std::string &folder, const std::string &name, const TDbTableDef &def, int count,
           const std::function<std::map<std::string, std::string>(int)> &row)
{
    TDbfHeader h = MakeDbfHeader(def.Fields, true);
    h.RecordCount = static_cast<uint32_t>(count);
    std::ofstream out(folder + name + ".dbf", std::ios::binary);
    out << BuildDbfHeader(h);
    for (int i = 0; i < count; ++i) {
        auto values = row(i);
        out << ' ';
        for (const TDbFieldDef &f : h.Fields)
            out << (values.count(f.Name) ? Field(f, values[f.Name]) : std::string(static_cast<size_t>(f.Size), ' '));
    }
    out << '\x1A';
    if (h.HasMemo())
        std::ofstream(folder + name + ".fpt", std::ios::binary) << TDbMemoFile::EmptyFile();
}

} // namespace

std::string Number(int i) { return "0" + std::to_string(400000000 + static_cast<long long>(i) * 104729 % 100000007); }

void Write(const std::string &dataDir, bool oneFirm)
{
    const std::string folder = dataDir + "Dbf/";
    std::filesystem::create_directories(folder);
    Table(folder, "Firms", TPhoneBookStore::FirmsDef(), kFirms, [](int i) {
        std::string name = "Firm " + std::to_string(i * 7907 % 20011);
        return std::map<std::string, std::string>{{"ID", std::to_string(i + 1)}, {"NAME", name}, {"XNAME", name}};
    });
    Table(folder, "Repres", TPhoneBookStore::RepresDef(), kRepres, [](int j) {
        std::string surname = "Surname " + std::to_string(j * 7919 % 10007);
        return std::map<std::string, std::string>{{"ID", std::to_string(j + 1)}, {"IDF", std::to_string(j % kFirms + 1)},
                                                  {"SURNAME", surname}, {"XSURNAME", surname}, {"MUZ", "T"}};
    });
    Table(folder, "Nums", TPhoneBookStore::NumsDef(), kNums, [oneFirm](int i) {
        int idf = oneFirm ? 1 : i % kFirms + 1;
        int idr = i % 3 == 0 ? 0 : idf + kFirms * (i % 5);
        bool local = i % 50 == 0;
        return std::map<std::string, std::string>{{"IDF", std::to_string(idf)}, {"IDR", std::to_string(idr)},
                                                  {"TYPE", local ? "L" : i % 2 ? "M" : "T"},
                                                  {"NUM", local ? std::to_string(100 + i % 900) : Number(i)}};
    });
    Table(folder, "Contacts", TPhoneBookStore::ContactsDef(), kNums / 10, [](int i) {
        return std::map<std::string, std::string>{{"IDF", std::to_string(i % kFirms + 1)}, {"IDR", "0"},
                                                  {"SUBJECT", "Call " + std::to_string(i)}};
    });
}

std::vector<std::string> Callers()
{
    std::vector<std::string> out;
    for (int k = 0; k < 1000; ++k) {
        int i = static_cast<int>(static_cast<long long>(k) * 7727 % kNums);
        if (k % 10 == 0)
            out.push_back("0" + std::to_string(300000000 + k)); // unknown
        else if (k % 10 == 1)
            out.push_back(std::to_string(100 + k % 900)); // internal
        else
            out.push_back(Number(i).substr(2));
    }
    return out;
}

} // namespace BigBook
