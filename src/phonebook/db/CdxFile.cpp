#include "CdxFile.h"

#include "DbTypes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kCacheLimit = 64; // pages: the cache stays small whatever the table's size
constexpr int kTagNameLen = 10;
constexpr size_t kHead = 28;

[[noreturn]] void Damaged() { throw EDbError("Index file is damaged"); }

uint32_t Le32(const char *p)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8
                                 | static_cast<uint8_t>(p[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(p[3])) << 24);
}

std::string Le32Bytes(uint32_t v)
{
    std::string b(4, '\0');
    for (size_t i = 0; i < 4; ++i, v >>= 8)
        b[i] = static_cast<char>(v & 0xFF);
    return b;
}

int Compare(const char *a, uint32_t ra, const char *b, uint32_t rb, size_t len)
{
    int c = memcmp(a, b, len);
    return c ? c : ra < rb ? -1 : ra > rb ? 1 : 0;
}

// First place on the page whose entry is at or after (key, recno).
size_t LowerBound(const TCdxPage &p, const char *key, uint32_t recno, size_t len)
{
    size_t lo = 0, hi = p.Recnos.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (Compare(p.Keys.data() + mid * len, p.Recnos[mid], key, recno, len) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

void EraseEntry(TCdxPage &p, size_t i, size_t len)
{
    p.Recnos.erase(p.Recnos.begin() + static_cast<ptrdiff_t>(i));
    p.Keys.erase(i * len, len);
    if (!p.Leaf())
        p.Children.erase(p.Children.begin() + static_cast<ptrdiff_t>(i));
}

void InsertEntry(TCdxPage &p, size_t i, const char *key, uint32_t recno, uint32_t child, size_t len)
{
    p.Recnos.insert(p.Recnos.begin() + static_cast<ptrdiff_t>(i), recno);
    p.Keys.insert(i * len, key, len);
    if (!p.Leaf())
        p.Children.insert(p.Children.begin() + static_cast<ptrdiff_t>(i), child);
}

// Entries [from, to) of p, with p's kind and no siblings.
TCdxPage Part(const TCdxPage &p, size_t from, size_t to, size_t len)
{
    TCdxPage out;
    out.Attr = static_cast<uint16_t>(p.Attr & ~1);
    out.Recnos.assign(p.Recnos.begin() + static_cast<ptrdiff_t>(from), p.Recnos.begin() + static_cast<ptrdiff_t>(to));
    out.Keys = p.Keys.substr(from * len, (to - from) * len);
    if (!p.Leaf())
        out.Children.assign(p.Children.begin() + static_cast<ptrdiff_t>(from),
                            p.Children.begin() + static_cast<ptrdiff_t>(to));
    return out;
}

} // namespace

void TCdxFile::Open(const std::string &path, const TCdxFillOf &fillOf)
{
    Close();
    file_.Open(path);
    uint64_t size = file_.Size();
    pages_ = size / kCdxPage;
    std::string master = file_.ReadAt(0, 2 * kCdxPage);
    if (size < 3 * kCdxPage || master.size() < 2 * kCdxPage || (static_cast<uint8_t>(master[14]) & 0x60) != 0x60)
        Damaged();
    head_ = master.substr(0, kHead);
    counter_ = Le32(head_.data() + 8);
    mark_ = Le32(head_.data() + 24);
    // The tag list: a small tree of names.
    std::vector<std::pair<uint32_t, std::string>> byPage;
    size_t budget = size / kCdxPage + 1;
    char buf[kCdxPage];
    auto page = [&](uint32_t at) {
        if (at % kCdxPage || budget-- == 0 || file_.ReadInto(at, buf, kCdxPage) != kCdxPage)
            Damaged();
        return DecodeCdxPage(buf, kTagNameLen, '\0');
    };
    TCdxPage p = page(Le32(master.data()));
    while (!p.Leaf()) {
        if (p.Children.empty())
            Damaged();
        p = page(p.Children[0]);
    }
    for (;;) {
        for (size_t i = 0; i < p.Recnos.size(); ++i) {
            const char *name = p.Keys.data() + i * kTagNameLen;
            byPage.emplace_back(p.Recnos[i], std::string(name, strnlen(name, kTagNameLen)));
        }
        if (p.Right == kCdxNone)
            break;
        p = page(p.Right);
    }
    // Tags in the order they lie in the file: the order they were made in.
    std::sort(byPage.begin(), byPage.end());
    for (const auto &[at, name] : byPage) {
        std::string h = file_.ReadAt(at, 2 * kCdxPage);
        if (at % kCdxPage || h.size() < 2 * kCdxPage)
            Damaged();
        TTagInfo t;
        t.Name = name;
        t.Header = at;
        t.Root = Le32(h.data());
        t.KeyLen = static_cast<uint8_t>(h[12]) | static_cast<uint8_t>(h[13]) << 8;
        uint8_t options = static_cast<uint8_t>(h[14]);
        if (t.KeyLen < 1 || t.KeyLen > 240 || !(options & 0x20) || (options & 0x08) || h[502] || h[503])
            throw EDbError("Index tag " + t.Name + " is not supported");
        t.Unique = options & 0x01;
        t.Expression = std::string(h.data() + kCdxPage, strnlen(h.data() + kCdxPage, kCdxPage));
        t.Fill = fillOf(t.Expression);
        tags_.push_back(t);
    }
}

void TCdxFile::Close()
{
    file_.Close();
    tags_.clear();
    cache_.clear();
    end_ = 0;
}

int TCdxFile::TagIndex(const std::string &name) const
{
    for (size_t i = 0; i < tags_.size(); ++i)
        if (DbSameName(tags_[i].Name, name))
            return static_cast<int>(i);
    return -1;
}

bool TCdxFile::Reload()
{
    std::string h = file_.ReadAt(0, kHead);
    if (h.size() < kHead)
        Damaged();
    if (h == head_)
        return false;
    head_ = h;
    counter_ = Le32(h.data() + 8);
    mark_ = Le32(h.data() + 24);
    cache_.clear();
    end_ = 0;
    pages_ = file_.Size() / kCdxPage;
    for (TTagInfo &t : tags_) {
        std::string root = file_.ReadAt(t.Header, 4);
        if (root.size() < 4)
            Damaged();
        t.Root = Le32(root.data());
    }
    return true;
}

void TCdxFile::SetMark(uint32_t recno)
{
    counter_ += 1;
    mark_ = recno;
    head_.replace(8, 4, Le32Bytes(counter_));
    head_.replace(24, 4, Le32Bytes(mark_));
    file_.WriteAt(8, head_.substr(8));
}

// Cached by tag and place: a damaged file may give two tags one page.
uint64_t TCdxFile::CacheKey(int tag, uint32_t at) { return static_cast<uint64_t>(tag + 1) << 32 | at; }

const TCdxPage &TCdxFile::Page(int tag, uint32_t at)
{
    auto it = cache_.find(CacheKey(tag, at));
    if (it != cache_.end())
        return it->second;
    if (cache_.size() >= kCacheLimit)
        cache_.clear();
    char buf[kCdxPage];
    if (at % kCdxPage || at < 2 * kCdxPage || file_.ReadInto(at, buf, kCdxPage) != kCdxPage)
        Damaged();
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    return cache_.emplace(CacheKey(tag, at), DecodeCdxPage(buf, t.KeyLen, t.Fill)).first->second;
}

void TCdxFile::Write(int tag, uint32_t at, const TCdxPage &page)
{
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    std::string bytes;
    if (!EncodeCdxPage(page, t.KeyLen, t.Fill, bytes))
        throw EDbError("Index page overflows"); // callers split first
    file_.WriteAt(at, bytes);
    if (cache_.size() >= kCacheLimit)
        cache_.clear();
    for (int other = 0; other < static_cast<int>(tags_.size()); ++other)
        cache_.erase(CacheKey(other, at));
    cache_[CacheKey(tag, at)] = page;
}

// New pages always go at the end: a page taken out of a tree is never used
// again, so that another program still reading the old tree can never find
// it holding a page of another tag or level.
uint32_t TCdxFile::Allocate()
{
    uint64_t end = std::max<uint64_t>(end_, (file_.Size() + kCdxPage - 1) / kCdxPage * kCdxPage);
    if (end + kCdxPage > 0xFFFFFE00u)
        throw EDbError("Index file is full");
    end_ = end + kCdxPage;
    pages_ = end_ / kCdxPage;
    return static_cast<uint32_t>(end);
}

// A walk along a level longer than the file has pages goes round in a circle.
bool TCdxFile::TooFar(uint64_t steps)
{
    if (steps <= pages_)
        return false;
    pages_ = file_.Size() / kCdxPage;
    return steps > pages_;
}

TCdxFile::TPath TCdxFile::Descend(int tag, const char *key, uint32_t recno)
{
    const size_t len = KeyLen(tag);
    TPath path;
    uint32_t at = tags_[static_cast<size_t>(tag)].Root;
    for (;;) {
        if (path.size() > 32)
            Damaged();
        const TCdxPage &p = Page(tag, at);
        size_t i = LowerBound(p, key, recno, len);
        if (p.Leaf()) {
            path.push_back({at, i});
            return path;
        }
        if (p.Recnos.empty())
            Damaged();
        i = std::min(i, p.Recnos.size() - 1);
        path.push_back({at, i});
        at = p.Children[i];
    }
}

TCdxFile::TPos TCdxFile::Settle(int tag, TPos pos)
{
    for (size_t guard = 0; !pos.AtEnd(); ++guard) {
        const TCdxPage &p = Page(tag, pos.Page);
        if (!p.Leaf() || TooFar(guard))
            Damaged();
        if (pos.Index < p.Recnos.size())
            return pos;
        pos = {p.Right, 0};
    }
    return pos;
}

TCdxFile::TPos TCdxFile::Seek(int tag, const char *key, uint32_t recno)
{
    TStep leaf = Descend(tag, key, recno).back();
    return Settle(tag, {leaf.Page, leaf.Index});
}

TCdxFile::TPos TCdxFile::Edge(int tag, int step)
{
    uint32_t at = tags_[static_cast<size_t>(tag)].Root;
    for (int depth = 0;; ++depth) {
        const TCdxPage &p = Page(tag, at);
        if (p.Leaf()) {
            if (step > 0)
                return Settle(tag, {at, 0});
            return p.Recnos.empty() ? Step(tag, {at, 0}, -1) : TPos{at, p.Recnos.size() - 1};
        }
        if (p.Recnos.empty() || depth > 32)
            Damaged();
        at = step > 0 ? p.Children.front() : p.Children.back();
    }
}

TCdxFile::TPos TCdxFile::Step(int tag, TPos pos, int step)
{
    if (pos.AtEnd())
        return pos;
    if (step > 0)
        return Settle(tag, {pos.Page, pos.Index + 1});
    pos.Index = std::min(pos.Index, Page(tag, pos.Page).Recnos.size()); // the page may have shrunk since
    for (size_t guard = 0; pos.Index == 0; ++guard) {
        uint32_t left = Page(tag, pos.Page).Left;
        if (left == kCdxNone)
            return {};
        const TCdxPage &p = Page(tag, left);
        if (!p.Leaf() || TooFar(guard))
            Damaged();
        pos = {left, p.Recnos.size()};
    }
    return {pos.Page, pos.Index - 1};
}

uint32_t TCdxFile::Recno(int tag, const TPos &pos)
{
    const TCdxPage &p = Page(tag, pos.Page);
    if (pos.Index >= p.Recnos.size())
        Damaged();
    return p.Recnos[pos.Index];
}

std::string TCdxFile::Key(int tag, const TPos &pos)
{
    const TCdxPage &p = Page(tag, pos.Page);
    if (pos.Index >= p.Recnos.size())
        Damaged();
    return p.Keys.substr(pos.Index * KeyLen(tag), KeyLen(tag));
}

void TCdxFile::Insert(int tag, const char *key, uint32_t recno)
{
    TPath path = Descend(tag, key, recno);
    TCdxPage leaf = Copy(tag, path.back().Page);
    InsertEntry(leaf, path.back().Index, key, recno, 0, KeyLen(tag));
    Store(tag, path, path.size() - 1, std::move(leaf));
}

bool TCdxFile::Erase(int tag, const char *key, uint32_t recno)
{
    const size_t len = KeyLen(tag);
    TPath path = Descend(tag, key, recno);
    size_t level = path.size() - 1, i = path.back().Index;
    TCdxPage leaf = Copy(tag, path.back().Page);
    if (i >= leaf.Recnos.size() || Compare(leaf.Keys.data() + i * len, leaf.Recnos[i], key, recno, len) != 0)
        return false;
    EraseEntry(leaf, i, len);
    if (level > 0 && leaf.Recnos.empty())
        Unhook(tag, path, level, leaf);
    else if (level == 0 || !MergeLeft(tag, path, level, leaf))
        Store(tag, path, level, std::move(leaf));
    return true;
}

void TCdxFile::Store(int tag, TPath &path, size_t level, TCdxPage page)
{
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    std::string bytes;
    if (!EncodeCdxPage(page, t.KeyLen, t.Fill, bytes)) {
        Split(tag, path, level, page);
        return;
    }
    Write(tag, path[level].Page, page);
    if (level > 0 && !page.Recnos.empty())
        FixSeparator(tag, path, level - 1, page);
}

// The upper half goes to a new page, written before anything points to it;
// the parent learns of it next, and the old page is cut down last.
void TCdxFile::Split(int tag, TPath &path, size_t level, const TCdxPage &page)
{
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    const size_t len = KeyLen(tag), n = page.Recnos.size();
    std::string bytes;
    size_t half = n / 2;
    while (half > 1 && !EncodeCdxPage(Part(page, 0, half, len), t.KeyLen, t.Fill, bytes))
        --half;
    while (half + 1 < n && !EncodeCdxPage(Part(page, half, n, len), t.KeyLen, t.Fill, bytes))
        ++half;
    const uint32_t at = path[level].Page, newAt = Allocate();
    TCdxPage left = Part(page, 0, half, len), right = Part(page, half, n, len);
    left.Left = page.Left;
    left.Right = newAt;
    right.Left = at;
    right.Right = page.Right;
    Write(tag, newAt, right);
    auto last = [len](const TCdxPage &p) { return p.Keys.data() + (p.Recnos.size() - 1) * len; };
    if (level == 0) {
        TCdxPage root;
        root.Attr = 1;
        InsertEntry(root, 0, last(left), left.Recnos.back(), at, len);
        InsertEntry(root, 1, last(right), right.Recnos.back(), newAt, len);
        uint32_t rootAt = Allocate();
        Write(tag, rootAt, root);
        file_.WriteAt(t.Header, Le32Bytes(rootAt));
        tags_[static_cast<size_t>(tag)].Root = rootAt;
        Write(tag, at, left);
        return;
    }
    TCdxPage parent = Copy(tag, path[level - 1].Page);
    size_t i = path[level - 1].Index;
    EraseEntry(parent, i, len);
    InsertEntry(parent, i, last(right), right.Recnos.back(), newAt, len);
    InsertEntry(parent, i, last(left), left.Recnos.back(), at, len);
    Store(tag, path, level - 1, std::move(parent));
    Write(tag, at, left);
    if (right.Right != kCdxNone)
        Relink(tag, right.Right, true, newAt);
}

void TCdxFile::FixSeparator(int tag, TPath &path, size_t level, const TCdxPage &child)
{
    const size_t len = KeyLen(tag);
    size_t i = path[level].Index;
    const TCdxPage &now = Page(tag, path[level].Page);
    if (i >= now.Recnos.size())
        Damaged();
    const char *key = child.Keys.data() + (child.Recnos.size() - 1) * len;
    if (now.Recnos[i] == child.Recnos.back() && memcmp(now.Keys.data() + i * len, key, len) == 0)
        return;
    TCdxPage parent = now;
    parent.Recnos[i] = child.Recnos.back();
    parent.Keys.replace(i * len, len, key, len);
    Store(tag, path, level, std::move(parent));
}

// An emptied page leaves its parent first, then its neighbours' links.
void TCdxFile::Unhook(int tag, TPath &path, size_t level, const TCdxPage &page)
{
    TCdxPage parent = Copy(tag, path[level - 1].Page);
    EraseEntry(parent, path[level - 1].Index, KeyLen(tag));
    if (parent.Recnos.empty() && level - 1 > 0)
        Unhook(tag, path, level - 1, parent);
    else if (parent.Recnos.empty()) {
        TCdxPage root; // the last page gone: the root becomes an empty leaf
        root.Attr = 3;
        Write(tag, path[0].Page, root);
    } else
        Store(tag, path, level - 1, std::move(parent));
    if (page.Left != kCdxNone)
        Relink(tag, page.Left, false, page.Right);
    if (page.Right != kCdxNone)
        Relink(tag, page.Right, true, page.Left);
}

// A leaf that fits beside its left neighbour under the same parent joins it.
bool TCdxFile::MergeLeft(int tag, TPath &path, size_t level, const TCdxPage &page)
{
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    const size_t len = KeyLen(tag);
    size_t i = path[level - 1].Index;
    if (i == 0)
        return false;
    const uint32_t at = path[level].Page, leftAt = Copy(tag, path[level - 1].Page).Children[i - 1];
    if (page.Left != leftAt)
        return false;
    TCdxPage merged = Copy(tag, leftAt);
    merged.Recnos.insert(merged.Recnos.end(), page.Recnos.begin(), page.Recnos.end());
    merged.Keys += page.Keys;
    merged.Right = page.Right;
    // Only well under a page, so that the next insert does not split it again.
    std::string bytes;
    if (!EncodeCdxPage(merged, t.KeyLen, t.Fill, bytes) || (static_cast<uint8_t>(bytes[12]) | static_cast<uint8_t>(bytes[13]) << 8) < 160)
        return false;
    Write(tag, at, page);
    Write(tag, leftAt, merged);
    TCdxPage parent = Copy(tag, path[level - 1].Page);
    parent.Children[i] = leftAt;
    parent.Recnos[i] = merged.Recnos.back();
    parent.Keys.replace(i * len, len, merged.Keys, merged.Keys.size() - len, len);
    EraseEntry(parent, i - 1, len);
    path[level - 1].Index = i - 1;
    Store(tag, path, level - 1, std::move(parent));
    if (page.Right != kCdxNone)
        Relink(tag, page.Right, true, leftAt);
    return true;
}

void TCdxFile::Relink(int tag, uint32_t at, bool left, uint32_t to)
{
    TCdxPage p = Copy(tag, at);
    (left ? p.Left : p.Right) = to;
    Write(tag, at, p);
}

TCdxTag TCdxFile::ReadTag(int tag)
{
    const TTagInfo &t = tags_[static_cast<size_t>(tag)];
    TCdxTag out;
    out.Name = t.Name;
    out.Expression = t.Expression;
    out.Unique = t.Unique;
    out.KeyLen = t.KeyLen;
    out.Fill = t.Fill;
    size_t pages = 0;
    for (TPos pos = Edge(tag, 1); !pos.AtEnd();) { // a leaf at a time
        const TCdxPage &p = Page(tag, pos.Page);
        out.Recnos.insert(out.Recnos.end(), p.Recnos.begin(), p.Recnos.end());
        out.Keys += p.Keys;
        const uint32_t right = p.Right;
        if (TooFar(++pages))
            Damaged();
        pos = Settle(tag, {right, 0});
    }
    return out;
}
