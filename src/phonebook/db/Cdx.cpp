#include "Cdx.h"

#include "DbTypes.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr size_t kPage = 512;
constexpr size_t kLeafData = 488; // a leaf's bytes after its 24-byte head
constexpr int kTagNameLen = 10;

// b: a std::string or a pointer to bytes.
template <typename TBytes> uint32_t Le(const TBytes &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

template <typename TBytes> uint32_t Be32(const TBytes &b, size_t at)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v = v << 8 | static_cast<uint8_t>(b[at + i]);
    return v;
}

void PutLe(std::string &b, size_t at, uint64_t v, int n)
{
    for (int i = 0; i < n; ++i, v >>= 8)
        b[at + static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
}

void PutBe32(std::string &b, size_t at, uint32_t v)
{
    for (int i = 3; i >= 0; --i, v >>= 8)
        b[at + static_cast<size_t>(i)] = static_cast<char>(v & 0xFF);
}

int BitsFor(uint32_t v)
{
    int bits = 0;
    while (v >> bits)
        ++bits;
    return bits;
}

[[noreturn]] void Damaged() { throw EDbError("Index file is damaged"); }

class TReader {
public:
    explicit TReader(const std::string &b) : b_(b), budget_(b.size() / kPage + 1) {}

    TCdxPage Page(uint32_t at, int keyLen, char fill)
    {
        if (at % kPage != 0 || at > b_.size() || b_.size() - at < kPage || budget_-- == 0)
            Damaged();
        return DecodeCdxPage(b_.data() + at, keyLen, fill);
    }

    // Entries of the tree rooted at root, following the leaves left to right.
    void Walk(uint32_t root, int keyLen, char fill, std::vector<uint32_t> &recnos, std::string &keys)
    {
        TCdxPage p = Page(root, keyLen, fill);
        while (!p.Leaf()) {
            if (p.Children.empty())
                Damaged();
            p = Page(p.Children[0], keyLen, fill);
        }
        for (;;) {
            if (!p.Leaf())
                Damaged();
            recnos.insert(recnos.end(), p.Recnos.begin(), p.Recnos.end());
            keys += p.Keys;
            if (p.Right == kCdxNone)
                break;
            p = Page(p.Right, keyLen, fill);
        }
    }

private:
    const std::string &b_;
    size_t budget_;
};

struct TLeafLayout {
    int RecBits, DupBits, Width;
};

TLeafLayout LayoutFor(int keyLen, uint32_t maxRecno)
{
    TLeafLayout l{0, BitsFor(static_cast<uint32_t>(keyLen)), 3};
    for (;; ++l.Width) {
        l.RecBits = l.Width * 8 - 2 * l.DupBits;
        if (l.RecBits >= 32 || maxRecno < (uint32_t{1} << l.RecBits))
            return l;
    }
}

// Packs entries from the front of recnos and keys into the leaf page p;
// returns how many fit.
size_t PackLeaf(std::string &p, const TLeafLayout &l, int keyLen, char fill, const uint32_t *recnos, const char *keys,
                size_t n)
{
    PutLe(p, 14, (uint64_t{1} << l.RecBits) - 1, 4);
    p[18] = static_cast<char>((1 << l.DupBits) - 1);
    p[19] = static_cast<char>((1 << l.DupBits) - 1);
    p[20] = static_cast<char>(l.RecBits);
    p[21] = static_cast<char>(l.DupBits);
    p[22] = static_cast<char>(l.DupBits);
    p[23] = static_cast<char>(l.Width);
    size_t used = 0, keyEnd = kPage, count = 0;
    const size_t len = static_cast<size_t>(keyLen);
    const char *prev = nullptr;
    for (; count < n; ++count) {
        const char *key = keys + count * len;
        size_t trail = 0;
        while (trail < len && key[len - 1 - trail] == fill)
            ++trail;
        size_t dup = 0;
        while (prev && dup < len - trail && key[dup] == prev[dup])
            ++dup;
        size_t stored = len - dup - trail;
        if (used + static_cast<size_t>(l.Width) + stored > kLeafData)
            break;
        uint64_t v = recnos[count] | static_cast<uint64_t>(dup) << l.RecBits
                     | static_cast<uint64_t>(trail) << (l.RecBits + l.DupBits);
        PutLe(p, 24 + count * static_cast<size_t>(l.Width), v, l.Width);
        keyEnd -= stored;
        memcpy(p.data() + keyEnd, key + dup, stored);
        used += static_cast<size_t>(l.Width) + stored;
        prev = key;
    }
    PutLe(p, 2, count, 2);
    PutLe(p, 12, kLeafData - used, 2);
    return count;
}

size_t PerInterior(int keyLen) { return (kPage - 12) / (static_cast<size_t>(keyLen) + 8); }

// Builds the pages of one tree; page offsets start at base.
class TTreeWriter {
public:
    TTreeWriter(int keyLen, char fill, uint32_t base) : keyLen_(keyLen), fill_(fill), base_(base) {}

    // Returns the root's offset; pages are appended to out.
    uint32_t Write(const std::vector<uint32_t> &recnos, const std::string &keys, std::string &out)
    {
        uint32_t maxRecno = recnos.empty() ? 0 : *std::max_element(recnos.begin(), recnos.end());
        TLeafLayout layout = LayoutFor(keyLen_, maxRecno);
        std::vector<TLevelEntry> level;
        size_t i = 0;
        do {
            level.push_back(WriteLeaf(layout, recnos, keys, i));
        } while (i < recnos.size());
        Link(level, 2);
        while (level.size() > 1)
            level = WriteInterior(level);
        std::string &root = pages_[(level[0].Page - base_) / kPage];
        root[0] = static_cast<char>(root[0] | 1);
        for (const std::string &p : pages_)
            out += p;
        return level[0].Page;
    }

private:
    struct TLevelEntry {
        uint32_t Page;
        uint32_t Recno;
        std::string Key;
    };

    uint32_t NewPage()
    {
        pages_.emplace_back(kPage, '\0');
        return base_ + static_cast<uint32_t>((pages_.size() - 1) * kPage);
    }

    TLevelEntry WriteLeaf(const TLeafLayout &l, const std::vector<uint32_t> &recnos, const std::string &keys, size_t &i)
    {
        uint32_t at = NewPage();
        std::string &p = pages_.back();
        PutLe(p, 0, 2, 2);
        const size_t len = static_cast<size_t>(keyLen_);
        size_t count = PackLeaf(p, l, keyLen_, fill_, recnos.data() + i, keys.data() + i * len, recnos.size() - i);
        i += count;
        TLevelEntry last{at, 0, {}};
        if (count) {
            last.Recno = recnos[i - 1];
            last.Key.assign(keys.data() + (i - 1) * len, len);
        }
        return last;
    }

    void Link(const std::vector<TLevelEntry> &level, int attr)
    {
        for (size_t k = 0; k < level.size(); ++k) {
            std::string &p = pages_[(level[k].Page - base_) / kPage];
            PutLe(p, 0, static_cast<uint64_t>(attr), 2);
            PutLe(p, 4, k ? level[k - 1].Page : 0xFFFFFFFFu, 4);
            PutLe(p, 8, k + 1 < level.size() ? level[k + 1].Page : 0xFFFFFFFFu, 4);
        }
    }

    std::vector<TLevelEntry> WriteInterior(const std::vector<TLevelEntry> &children)
    {
        const size_t len = static_cast<size_t>(keyLen_);
        const size_t perNode = PerInterior(keyLen_);
        std::vector<TLevelEntry> level;
        for (size_t k = 0; k < children.size(); k += perNode) {
            uint32_t at = NewPage();
            std::string &p = pages_.back();
            size_t n = std::min(perNode, children.size() - k);
            PutLe(p, 2, n, 2);
            for (size_t j = 0; j < n; ++j) {
                const TLevelEntry &c = children[k + j];
                size_t e = 12 + j * (len + 8);
                memcpy(p.data() + e, c.Key.data(), len);
                PutBe32(p, e + len, c.Recno);
                PutBe32(p, e + len + 4, c.Page);
            }
            const TLevelEntry &last = children[k + n - 1];
            level.push_back({at, last.Recno, last.Key});
        }
        Link(level, 0);
        return level;
    }

    int keyLen_;
    char fill_;
    uint32_t base_;
    std::vector<std::string> pages_;
};

// The 1024-byte head of a tree: root, key length, options, expression.
std::string TreeHeader(uint32_t root, int keyLen, uint8_t options, const std::string &expression, uint32_t counter = 0)
{
    std::string h(2 * kPage, '\0');
    PutLe(h, 0, root, 4);
    PutLe(h, 8, counter, 4);
    PutLe(h, 12, static_cast<uint64_t>(keyLen), 2);
    h[14] = static_cast<char>(options);
    h[15] = 1;
    PutLe(h, 16, 0x02000400, 4);
    size_t exprLen = expression.size() + 1;
    PutLe(h, 504, expression.empty() ? 1 : exprLen, 2);
    PutLe(h, 506, 1, 2);
    PutLe(h, 510, exprLen, 2);
    memcpy(h.data() + kPage, expression.data(), std::min(expression.size(), kPage - 2));
    return h;
}

} // namespace

TCdxPage DecodeCdxPage(const char *page, int keyLen, char fill)
{
    const char *p = page;
    TCdxPage out;
    out.Attr = static_cast<uint16_t>(Le(p, 0, 2));
    out.Left = Le(p, 4, 4);
    out.Right = Le(p, 8, 4);
    uint32_t count = Le(p, 2, 2);
    const size_t len = static_cast<size_t>(keyLen);
    if (keyLen < 1 || len + 8 > kPage - 12)
        Damaged();
    if (!out.Leaf()) {
        if (count > PerInterior(keyLen))
            Damaged();
        for (uint32_t i = 0; i < count; ++i) {
            size_t e = 12 + i * (len + 8);
            out.Keys.append(p + e, len);
            out.Recnos.push_back(Be32(p, e + len));
            out.Children.push_back(Be32(p, e + len + 4));
        }
        return out;
    }
    int recBits = static_cast<uint8_t>(p[20]);
    int dupBits = static_cast<uint8_t>(p[21]);
    int trailBits = static_cast<uint8_t>(p[22]);
    int width = static_cast<uint8_t>(p[23]);
    if (width < 1 || width > 8 || recBits + dupBits + trailBits > width * 8 || recBits > 32 || dupBits > 16
        || trailBits > 16 || count * static_cast<uint32_t>(width) > kLeafData)
        Damaged();
    size_t keyEnd = kPage;
    out.Recnos.reserve(count);
    out.Keys.reserve(count * len);
    std::string prev(len, fill);
    for (uint32_t i = 0; i < count; ++i) {
        size_t at = 24 + i * static_cast<size_t>(width);
        uint64_t v = 0;
        for (int k = width - 1; k >= 0; --k)
            v = v << 8 | static_cast<uint8_t>(p[at + static_cast<size_t>(k)]);
        uint32_t recno = static_cast<uint32_t>(v & ((uint64_t{1} << recBits) - 1));
        int dup = static_cast<int>(v >> recBits & ((1u << dupBits) - 1));
        int trail = static_cast<int>(v >> (recBits + dupBits) & ((1u << trailBits) - 1));
        int stored = keyLen - dup - trail;
        if (stored < 0 || keyEnd < 24 + count * static_cast<size_t>(width) + static_cast<size_t>(stored))
            Damaged();
        keyEnd -= static_cast<size_t>(stored);
        prev.replace(static_cast<size_t>(dup), std::string::npos, p + keyEnd, static_cast<size_t>(stored));
        prev.resize(len, fill);
        out.Recnos.push_back(recno);
        out.Keys += prev;
    }
    return out;
}

bool EncodeCdxPage(const TCdxPage &page, int keyLen, char fill, std::string &out)
{
    out.assign(kPage, '\0');
    PutLe(out, 0, page.Attr, 2);
    PutLe(out, 4, page.Left, 4);
    PutLe(out, 8, page.Right, 4);
    const size_t len = static_cast<size_t>(keyLen);
    const size_t n = page.Recnos.size();
    if (page.Leaf()) {
        uint32_t maxRecno = n ? *std::max_element(page.Recnos.begin(), page.Recnos.end()) : 0;
        return PackLeaf(out, LayoutFor(keyLen, maxRecno), keyLen, fill, page.Recnos.data(), page.Keys.data(), n) == n;
    }
    if (n > PerInterior(keyLen) || page.Children.size() != n)
        return false;
    PutLe(out, 2, n, 2);
    for (size_t j = 0; j < n; ++j) {
        size_t e = 12 + j * (len + 8);
        memcpy(out.data() + e, page.Keys.data() + j * len, len);
        PutBe32(out, e + len, page.Recnos[j]);
        PutBe32(out, e + len + 4, page.Children[j]);
    }
    return true;
}

std::string CdxNumberKey(double value)
{
    uint64_t bits;
    if (value == 0)
        value = 0; // -0 sorts as 0
    memcpy(&bits, &value, sizeof bits);
    bits = (bits >> 63) ? ~bits : bits | uint64_t{1} << 63;
    std::string key(8, '\0');
    for (int i = 7; i >= 0; --i, bits >>= 8)
        key[static_cast<size_t>(i)] = static_cast<char>(bits & 0xFF);
    return key;
}

std::vector<TCdxTag> ReadCdx(const std::string &bytes, const TCdxFillOf &fillOf)
{
    if (bytes.size() < 3 * kPage)
        Damaged();
    TReader reader(bytes);
    std::vector<uint32_t> tagPages;
    std::string names;
    reader.Walk(static_cast<uint32_t>(Le(bytes, 0, 4)), kTagNameLen, '\0', tagPages, names);
    // Tags in the order they lie in the file: the order they were made in.
    std::vector<std::pair<uint32_t, std::string>> byPage;
    for (size_t i = 0; i < tagPages.size(); ++i) {
        const char *name = names.data() + i * kTagNameLen;
        byPage.emplace_back(tagPages[i], std::string(name, strnlen(name, kTagNameLen)));
    }
    std::sort(byPage.begin(), byPage.end());
    std::vector<TCdxTag> tags;
    for (const auto &[at, name] : byPage) {
        TCdxTag tag;
        tag.Name = name;
        if (at % kPage != 0 || at > bytes.size() || bytes.size() - at < 2 * kPage)
            Damaged();
        tag.KeyLen = static_cast<int>(Le(bytes, at + 12, 2));
        uint8_t options = static_cast<uint8_t>(bytes[at + 14]);
        if (tag.KeyLen < 1 || tag.KeyLen > 240 || !(options & 0x20) || (options & 0x08))
            throw EDbError("Index tag " + tag.Name + " is not supported");
        tag.Unique = options & 0x01;
        const char *expr = bytes.data() + at + kPage;
        tag.Expression = std::string(expr, strnlen(expr, kPage));
        tag.Fill = fillOf(tag.Expression);
        reader.Walk(static_cast<uint32_t>(Le(bytes, at, 4)), tag.KeyLen, tag.Fill, tag.Recnos, tag.Keys);
        tags.push_back(std::move(tag));
    }
    return tags;
}

std::string WriteCdx(const std::vector<TCdxTag> &tags, uint32_t counter)
{
    // Tags lie in the file in their given order; the tag list is by name.
    std::map<std::string, uint32_t> tagPages;
    std::string body;
    uint32_t at = 3 * kPage;
    for (const TCdxTag &t : tags) {
        std::string name = DbUpper(t.Name);
        if (name.empty() || name.size() > kTagNameLen || !tagPages.emplace(name, at).second || t.KeyLen < 1
            || t.KeyLen > 240 || t.Keys.size() != t.Recnos.size() * static_cast<size_t>(t.KeyLen))
            throw EDbError("Index tag " + t.Name + " is not valid");
        std::string tree;
        TTreeWriter w(t.KeyLen, t.Fill, at + 2 * kPage);
        uint32_t root = w.Write(t.Recnos, t.Keys, tree);
        body += TreeHeader(root, t.KeyLen, static_cast<uint8_t>(t.Unique ? 0x61 : 0x60), DbUpper(t.Expression));
        body += tree;
        at += static_cast<uint32_t>(2 * kPage + tree.size());
    }
    std::vector<uint32_t> pages;
    std::string names;
    for (const auto &[name, page] : tagPages) {
        pages.push_back(page);
        std::string padded = name;
        padded.resize(kTagNameLen, '\0');
        names += padded;
    }
    std::string master;
    TTreeWriter w(kTagNameLen, '\0', 2 * kPage);
    uint32_t root = w.Write(pages, names, master);
    if (master.size() != kPage)
        throw EDbError("Too many index tags");
    return TreeHeader(root, kTagNameLen, 0xE0, "", counter) + master + body;
}
