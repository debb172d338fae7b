#pragma once
// One open table shared by every cursor of the process on the same file.
// Records are read from the file as cursors reach them (a few blocks kept);
// orders are walked in the index file itself. Writes go straight to the
// files under the writers' lock: the index marked busy, the record, the
// count, the index pages the keys touch, the mark cleared. Other programs'
// posts are taken in when the record count or the index's change counter
// moved; walks and jumps look for them once per turn of the event loop, so
// that a run over many records reads no file headers while nobody writes.
// An index found mid-change is waited for; one a writer left half written
// is written anew from the records on disk, or, when we may not write, its
// orders are taken from the data until it is whole again.
#include "CdxFile.h"
#include "DbTypes.h"
#include "DbfFormat.h"
#include "FileLock.h"
#include "Memo.h"

#include <array>
#include <cstdint>
#include <functional>
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
    uint32_t LiveCount() const;
    // Valid until a few more records have been read.
    const char *Record(uint32_t recno) const;
    // Every record from `from` on, deleted ones too, as the file holds them
    // now, whatever was read before: another program's change in place
    // leaves no trace in the headers. Each record is valid during its call.
    void ReadFile(const std::function<void(uint32_t recno, const char *record)> &visit, uint32_t from = 1) const;
    bool Deleted(uint32_t recno) const { return Record(recno)[0] == '*'; }
    std::string Memo(const char *record, int field) const;
    std::string BlankRecord() const { return std::string(header_.RecordLen, ' '); }
    bool ReadOnly() const { return !dbf_.Writable(); }
    // Changes with every write seen; never the same for two tables of a run.
    uint64_t Version() const { return version_; }
    // Takes in what other programs wrote since we last looked; the second
    // form looks once in a turn only.
    void Refresh();
    void RefreshOncePerTurn();
    // The file's name now names another file (the book was replaced, say by
    // an import): the table reads on as it was and refuses every write.
    bool Replaced();
    // What the last look found, without looking again.
    bool KnownReplaced() const { return replaced_; }
    // Refresh once no other program is writing (a write under way lands
    // first). Never while this program writes the table: it would drop its lock.
    void RefreshAfterWriters();
    // Around this program's last write of the table; zeros when it failed or
    // wrote nothing.
    const TDbWriteVersions &LastWrite() const { return lastWrite_; }
    // Begins a new turn for every table: each pass of the event loop does,
    // once a table was opened under one.
    static void NewTurn();

    int TagCount() const { return static_cast<int>(tags_.size()); }
    int TagIndex(const std::string &name) const;
    const TDbIndexDef &TagDef(int tag) const { return tags_[static_cast<size_t>(tag)].Def; }
    // The record after (step 1) or before (-1) recno in the tag's order (-1:
    // physical order), or the first or last for recno 0; 0 when none. A
    // unique tag holds the first record of each key only.
    uint32_t Neighbour(int tag, uint32_t recno, int step);

    // The record's key in the tag, compared as unsigned bytes.
    std::string KeyOf(int tag, uint32_t recno) const { return KeyOf(tags_[static_cast<size_t>(tag)], Record(recno)); }
    // A tag whose key is that text field alone and that lists every record;
    // -1 when none.
    int TextTagOf(int field) const;
    // The first record after `after` whose key in the tag is key; 0 when none.
    uint32_t NextWithKey(int tag, const std::string &key, uint32_t after);

    // Called under the writers' lock with the record as it will be written:
    // what must be decided against the table as it stands (a new ID).
    using TWriteHook = std::function<void(std::string &record)>;
    // Called first under the writers' lock, before anything is read or
    // written: may refuse the write by throwing.
    using TWriteGate = std::function<void()>;
    // Memos: field index -> new text. The record's memo fields are set here.
    uint32_t Append(std::string record, const std::map<int, std::string> &memos, const TWriteHook &hook = {},
                    const TWriteGate &gate = {});
    // With original (the record as the edit began), a field that still holds
    // its original bytes and a memo not in memos keep what the file has now,
    // so another program's change to them survives. Throws EDbRecordGone
    // when the record was deleted meanwhile.
    void Update(uint32_t recno, std::string record, const std::map<int, std::string> &memos,
                const std::string *original = nullptr, const TWriteHook &hook = {}, const TWriteGate &gate = {});
    void Delete(uint32_t recno, const TWriteGate &gate = {});

    // The index file as the current data gives it.
    std::vector<TCdxTag> CdxTags();
    const std::string &IndexPath() const { return cdxPath_; }

private:
    struct TTag {
        TDbIndexDef Def;
        int Field = -1;
        int KeyLen = 0;
        bool Kept = false; // another program's tag on a key we cannot compute
        int Cdx = -1;      // the tag of the open index file
    };
    struct TBlock {
        uint32_t First = 0, N = 0;
        uint64_t Used = 0;
        std::string Bytes;
    };
    struct THint {
        int Tag = -2;
        uint32_t Recno = 0;
        uint64_t Version = 0;
        TCdxFile::TPos Pos;
    };
    // A tag's order computed from the data.
    struct TOrder {
        uint64_t Version = 0;
        TCdxTag Tag;
        std::vector<uint32_t> At; // by record: its place in Tag + 1, 0 when not in it
    };
    class TWriteLock;

    TDbTable() = default;
    void Load(const std::string &dbfPath, const std::vector<TDbIndexDef> &indexDefs);
    void SetupTags(const std::vector<TDbIndexDef> &defs, const std::vector<TDbIndexDef> &onDisk);
    bool OpenIndex();
    bool IndexCurrent();
    bool IndexWhole(bool counted);
    bool Look(bool &counted);
    void Mend(bool wait);
    void CheckExists(uint32_t recno) const;
    void ReadRecords(uint32_t first, uint32_t n, std::string &into) const;
    void ForgetRecords() const;
    void WalkIndexFile();
    void Rebuild();
    void CheckIndex();
    TCdxTag OrderOf(const TTag &tag);
    const TOrder &InMemory(int tag);
    size_t PlaceInMemory(const TOrder &order, const std::string &key, uint32_t recno) const;
    uint32_t NeighbourInMemory(int tag, uint32_t recno, int step);
    std::string KeyOf(const TTag &tag, const char *record) const;
    void IndexInsert(const TTag &tag, const std::string &key, uint32_t recno);
    void IndexErase(const TTag &tag, const std::string &key, uint32_t recno);
    void PutMemos(std::string &record, const std::map<int, std::string> &memos);
    // Fields of record still as in original take their bytes from now.
    void MergeUnchanged(std::string &record, const std::string &original, const std::string &now,
                        const std::map<int, std::string> &memos) const;
    void WriteRecord(uint32_t recno, const std::string &record);
    void Changed();
    void Counted(uint64_t before, int delta);

    std::string path_, cdxPath_;
    TDbfHeader header_;
    TDbFile dbf_;
    TDbMemoFile memo_;
    TCdxFile cdx_;
    uint32_t count_ = 0;
    uint64_t version_ = 0;
    TDbWriteVersions lastWrite_;
    std::vector<TTag> tags_;
    mutable std::array<TBlock, 8> blocks_;
    mutable TBlock *last_ = &blocks_[0];
    mutable uint64_t uses_ = 0;
    mutable uint32_t lastEnd_ = 0;
    mutable uint32_t live_ = 0;
    mutable uint64_t liveVersion_ = 0;
    THint hint_;
    uint64_t turn_ = 0; // the turn we last looked in
    bool suspect_ = false; // the index lacked an entry it should hold
    bool writing_ = false; // this process holds the writers' lock
    bool inMemory_ = false; // the index file is not whole: orders from the data
    bool midSave_ = false;  // ... read while a live writer was mid-save
    std::vector<TOrder> orders_;
    bool replaced_ = false;
};
