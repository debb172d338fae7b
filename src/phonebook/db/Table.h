#pragma once
// One open table shared by every cursor of the process on the same file:
// records held in memory, orders of every index tag kept sorted in memory,
// writes going straight to the files (record first, count last, then the
// index file rewritten whole and replaced atomically).
#include "Cdx.h"
#include "DbTypes.h"
#include "DbfFormat.h"
#include "FileLock.h"
#include "Memo.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TDbTable {
public:
    // The open table of that file, opened now when no cursor holds it.
    // Index definitions replace the file's tags of the same name; the file's
    // other tags are kept. Throws EDbError.
    static std::shared_ptr<TDbTable> Acquire(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs);
    ~TDbTable();

    const std::vector<TDbFieldDef> &Fields() const { return header_.Fields; }
    int FieldIndex(const std::string &name) const;
    uint32_t Count() const { return count_; }
    uint32_t LiveCount() const { return count_ - deleted_; }
    const char *Record(uint32_t recno) const { return records_.data() + (recno - 1) * header_.RecordLen; }
    bool Deleted(uint32_t recno) const { return Record(recno)[0] == '*'; }
    std::string Memo(const char *record, int field) const;
    std::string BlankRecord() const { return std::string(header_.RecordLen, ' '); }
    bool ReadOnly() const { return !dbf_.Writable(); }
    // Changes with every write; never the same for two tables of a run.
    uint64_t Version() const { return version_; }

    int TagCount() const { return static_cast<int>(tags_.size()); }
    int TagIndex(const std::string &name) const;
    const TDbIndexDef &TagDef(int tag) const { return tags_[static_cast<size_t>(tag)].Def; }
    const std::vector<uint32_t> &Order(int tag) const { return tags_[static_cast<size_t>(tag)].Order; }
    size_t Position(int tag, uint32_t recno) const;
    // Whether the index holds that place of the order: a unique tag holds
    // the first record of each key only.
    bool Held(int tag, size_t pos) const;

    // Memos: field index -> new text. The record's memo fields are set here.
    uint32_t Append(std::string record, const std::map<int, std::string> &memos);
    void Update(uint32_t recno, std::string record, const std::map<int, std::string> &memos);
    void Delete(uint32_t recno);

    // The index file as the current data gives it.
    std::vector<TCdxTag> CdxTags() const;
    const std::string &IndexPath() const { return cdxPath_; }

private:
    struct TTag {
        TDbIndexDef Def;
        int Field = -1;
        int KeyLen = 0;
        std::string Keys; // by record number
        std::vector<uint32_t> Order;
        std::unique_ptr<TCdxTag> Kept; // another program's tag we keep unread
    };

    TDbTable() = default;
    void Load(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs);
    void SetupTags(const std::vector<TDbIndexDef> &defs, const std::vector<TCdxTag> &onDisk);
    std::string KeyOf(const TTag &tag, const char *record) const;
    const char *KeyAt(const TTag &tag, uint32_t recno) const;
    bool Less(const TTag &tag, uint32_t a, const char *keyB, uint32_t b) const;
    void AddToOrders(uint32_t recno);
    void RemoveFromOrders(uint32_t recno);
    // Takes in what other programs wrote; called under the writers' lock.
    void SyncWithFile();
    void PutMemos(std::string &record, const std::map<int, std::string> &memos);
    void WriteIndex();
    void Changed();

    std::string path_, cdxPath_;
    TDbfHeader header_;
    TDbFile dbf_;
    TDbMemoFile memo_;
    std::string records_;
    uint32_t count_ = 0;
    uint32_t deleted_ = 0;
    uint64_t version_ = 0;
    std::vector<TTag> tags_;
};
