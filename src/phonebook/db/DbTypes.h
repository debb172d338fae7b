#pragma once
// Definitions shared by the table engine: field and index definitions and
// the one exception type every failure of the engine arrives as.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class EDbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A post into a record that another program deleted meanwhile: nothing was written.
class EDbRecordGone : public EDbError {
public:
    using EDbError::EDbError;
};

// A write into a table whose file another program replaced (an import): nothing was written.
class EDbReplaced : public EDbError {
public:
    using EDbError::EDbError;
};

// The data versions around one write of a table, both taken under the
// writers' lock: Before once what others wrote had been taken in, After once
// ours had landed. Zeros: nothing was written.
struct TDbWriteVersions {
    uint64_t Before = 0, After = 0;
    // A cache current at version lacks this write alone and may take it in.
    bool Follows(uint64_t version) const { return version != 0 && version == Before; }
};

// Type letters as they stand in the table header: C, N, F, L, D, M.
struct TDbFieldDef {
    std::string Name;
    char Type = 'C';
    int Size = 0;
    int Decimals = 0;
    int Offset = 0; // within the record, the deleted flag being byte 0
};

// Key expressions are one field name (character, numeric or date field).
struct TDbIndexDef {
    std::string Name;
    std::string Expression;
    bool Unique = false;
};

struct TDbTableDef {
    std::vector<TDbFieldDef> Fields;
    std::vector<TDbIndexDef> Indexes;
};

inline TDbFieldDef DbString(const std::string &name, int size) { return {name, 'C', size, 0, 0}; }
// Float fields are wide enough for IDs down to -2000000000.
inline TDbFieldDef DbFloat(const std::string &name) { return {name, 'F', 20, 0, 0}; }
inline TDbFieldDef DbBoolean(const std::string &name) { return {name, 'L', 1, 0, 0}; }
inline TDbFieldDef DbDate(const std::string &name) { return {name, 'D', 8, 0, 0}; }
inline TDbFieldDef DbMemo(const std::string &name) { return {name, 'M', 10, 0, 0}; }

// Upper case of ASCII letters only: field and tag names are ASCII.
std::string DbUpper(std::string text);
bool DbSameName(const std::string &a, const std::string &b);
