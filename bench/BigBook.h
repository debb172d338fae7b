#pragma once
// A generated phone book at scale: 2,000 firms, 10,000 representatives,
// 100,000 numbers and 10,000 contacts, written straight to the table files.
#include <string>
#include <vector>

namespace BigBook {

constexpr int kFirms = 2000, kRepres = 10000, kNums = 100000;

// Writes the tables into dataDir + "Dbf/" (dataDir ends in a slash); with
// oneFirm every number belongs to the first firm.
void Write(const std::string &dataDir, bool oneFirm = false);
// The number of row i of the numbers table.
std::string Number(int i);
// Callers: most in the book by their last eight digits, some internal, some unknown.
std::vector<std::string> Callers();

} // namespace BigBook
