#pragma once
// Shared helpers of the table engine's tests.
#include "Cursor.h"
#include "TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

// Copies the xBase sample tables into dir (they are never opened in place).
void CopyFixtures(const TempDir &dir);
std::string FixturePath(const std::string &name);
// Record numbers of the cursor from first to last in its current order.
std::vector<uint32_t> Walk(TDbCursor &c);
// Record numbers each tag of an index file lists, tag by tag name.
std::vector<uint32_t> CdxOrder(const std::string &cdxPath, const std::string &tag);
// The cursor in the tag's order walks the live ones of recnos, forwards and
// backwards; it is left in physical order.
void ExpectWalksBothWays(TDbCursor &c, const std::string &tag, const std::vector<uint32_t> &recnos);
void OpenTable(TDbCursor &c, const TempDir &dir, const std::string &name);
// The named fields of the current row as text, joined by '|'.
std::string Row(TDbCursor &c, std::initializer_list<const char *> fields);
// Row() of every row in the cursor's order, each ended by ';'.
std::string Rows(TDbCursor &c, std::initializer_list<const char *> fields);
