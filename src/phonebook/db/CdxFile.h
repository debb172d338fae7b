#pragma once
// A compound index file read lazily and changed in place: the header and the
// tag list at open, then only the pages a seek or a walk reaches, kept in a
// small cache that the file's change counter invalidates. Every change is
// written page by page in an order that leaves a tree other engines can read
// at each step: new pages before the pages that point to them.
#include "Cdx.h"
#include "FileLock.h"

#include <string>
#include <unordered_map>
#include <vector>

class TCdxFile {
public:
    struct TTagInfo {
        std::string Name, Expression;
        bool Unique = false;
        int KeyLen = 0;
        char Fill = ' ';
        uint32_t Header = 0; // where the tag's header lies
        uint32_t Root = 0;
    };
    // An entry of a tag: the page and the place on it; Page kCdxNone past the end.
    struct TPos {
        uint32_t Page = kCdxNone;
        size_t Index = 0;
        bool AtEnd() const { return Page == kCdxNone; }
    };

    // Throws EDbError when the file is damaged or holds tags we cannot read.
    void Open(const std::string &path, const TCdxFillOf &fillOf);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }
    bool IsFileAt(const std::string &path) const { return file_.IsFileAt(path); }
    bool Writable() const { return file_.Writable(); }
    const std::vector<TTagInfo> &Tags() const { return tags_; }
    int TagIndex(const std::string &name) const;

    // Reads the counter and the mark again; true (and the cache dropped)
    // when the file changed since we last looked.
    bool Reload();
    uint32_t Counter() const { return counter_; }
    // The record whose change was under way (0: none): a writer that died
    // between its record and its index leaves it set.
    uint32_t Mark() const { return mark_; }
    // Starts (recno) or ends (0) a change; the counter goes up either way.
    void SetMark(uint32_t recno);

    TPos Seek(int tag, const char *key, uint32_t recno); // first entry at or after
    TPos Edge(int tag, int step);                        // first (1) or last (-1)
    TPos Step(int tag, TPos pos, int step);
    uint32_t Recno(int tag, const TPos &pos);
    std::string Key(int tag, const TPos &pos);
    void Insert(int tag, const char *key, uint32_t recno);
    // False when the entry is not there.
    bool Erase(int tag, const char *key, uint32_t recno);
    // Every entry of the tag, in order.
    TCdxTag ReadTag(int tag);

private:
    struct TStep {
        uint32_t Page;
        size_t Index;
    };
    using TPath = std::vector<TStep>;

    const TCdxPage &Page(int tag, uint32_t at);
    TCdxPage Copy(int tag, uint32_t at) { return Page(tag, at); }
    void Write(int tag, uint32_t at, const TCdxPage &page);
    uint32_t Allocate();
    bool TooFar(uint64_t steps);
    TPath Descend(int tag, const char *key, uint32_t recno);
    TPos Settle(int tag, TPos pos);
    void Store(int tag, TPath &path, size_t level, TCdxPage page);
    void Split(int tag, TPath &path, size_t level, const TCdxPage &page);
    void FixSeparator(int tag, TPath &path, size_t level, const TCdxPage &child);
    void Unhook(int tag, TPath &path, size_t level, const TCdxPage &page);
    bool MergeLeft(int tag, TPath &path, size_t level, const TCdxPage &page);
    void Relink(int tag, uint32_t at, bool left, uint32_t to);
    size_t KeyLen(int tag) const { return static_cast<size_t>(tags_[static_cast<size_t>(tag)].KeyLen); }

    TDbFile file_;
    std::string head_; // the file's first 28 bytes
    uint32_t counter_ = 0, mark_ = 0;
    uint64_t end_ = 0;
    uint64_t pages_ = 0; // bounds every walk along a level
    std::vector<TTagInfo> tags_;
    static uint64_t CacheKey(int tag, uint32_t at);
    std::unordered_map<uint64_t, TCdxPage> cache_;
};
