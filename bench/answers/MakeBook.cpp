// Writes the generated 100,000-number phone book into a data folder with its
// index files, and prints the callers that ring from it, one a line.
//   make_book <data folder>
#include "BigBook.h"
#include "IniFile.h"
#include "PhoneBookStore.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const std::string data = std::string(argv[1]) + "/";
    BigBook::Write(data);
    TIniFile ini(data + "none.ini");
    TPhoneBookStore store(ini, data);
    store.OpenTables();
    for (const std::string &caller : BigBook::Callers()) {
        store.NameByNumber(caller, "", '(', {}); // writes the index files once
        std::printf("%s\n", caller.c_str());
    }
    return 0;
}
