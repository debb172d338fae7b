#include "IniFile.h"

#include "AtomicFile.h"
#include "Cp1250.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <list>
#include <unordered_map>
#include <unordered_set>

namespace {

enum class OpKind { Write, Delete, Erase };
struct Op {
    OpKind kind;
    std::string section, key, value;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Section name of a header line, or false.
bool SectionOf(const std::string &line, std::string &name)
{
    std::string t = Trim(line);
    if (t.empty() || t[0] != '[')
        return false;
    size_t close = t.find(']');
    name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool KeyOf(const std::string &line, std::string &key, std::string &value)
{
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '[')
        return false;
    size_t eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (value.size() > TIniFile::kMaxValue)
        value.resize(TIniFile::kMaxValue);
    return !key.empty();
}

using Lines = std::vector<std::string>;

Lines SplitLines(const std::string &bytes)
{
    Lines lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t nl = bytes.find('\n', start);
        size_t end = nl == std::string::npos ? bytes.size() : nl;
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        if (nl == std::string::npos)
            break;
        start = nl + 1;
    }
    return lines;
}

std::string JoinLines(const Lines &lines)
{
    std::string out;
    for (const auto &l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string Clean(const std::string &s)
{
    // A line break in a value would split it into keys of its own.
    std::string out(s);
    for (char &c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

std::string Fold(const std::string &s) { return cp1250::FoldUpper(s); }

// Indices in file order whose front is the first one still in the file;
// removals always take the front, as the profile rules find the first.
template <class T> struct FirstQueue {
    std::vector<T> items;
    size_t head = 0;
    bool Empty() const { return head == items.size(); }
    T Front() const { return items[head]; }
    void Pop() { ++head; }
    void Push(T v) { items.push_back(v); }
};

struct Line {
    std::string text;
    bool live = true;
};

struct Section {
    std::string header; // as it stands; empty for the lines before the first header
    bool hasHeader = false;
    bool live = true;
    std::vector<Line> body;
    std::unordered_map<std::string, FirstQueue<size_t>> keys; // folded key -> body lines
};

// The file's lines grouped by section, with hash indices over section and key
// names, so that reading, writing and merging n keys takes time linear in n.
struct Doc {
    std::list<Section> sections;
    std::unordered_map<std::string, FirstQueue<std::list<Section>::iterator>> index;

    void Parse(const Lines &lines)
    {
        sections.clear();
        index.clear();
        sections.emplace_back();
        for (const auto &l : lines)
            AppendLine(l);
    }

    std::string Text() const
    {
        std::string out;
        for (const auto &s : sections) {
            if (!s.live)
                continue;
            if (s.hasHeader)
                out.append(s.header).append("\r\n");
            for (const auto &l : s.body)
                if (l.live)
                    out.append(l.text).append("\r\n");
        }
        return out;
    }

    Section *Find(const std::string &section)
    {
        auto it = index.find(Fold(section));
        return it == index.end() || it->second.Empty() ? nullptr : &*it->second.Front();
    }
    const Section *Find(const std::string &section) const { return const_cast<Doc *>(this)->Find(section); }

    static const Line *FindKey(const Section *s, const std::string &key)
    {
        if (!s)
            return nullptr;
        auto it = s->keys.find(Fold(key));
        return it == s->keys.end() || it->second.Empty() ? nullptr : &s->body[it->second.Front()];
    }

    void AppendLine(const std::string &text)
    {
        std::string name;
        if (SectionOf(text, name)) {
            auto &s = sections.emplace_back();
            s.header = text;
            s.hasHeader = true;
            index[Fold(name)].Push(std::prev(sections.end()));
            return;
        }
        AddBodyLine(sections.back(), sections.back().body.size(), text);
    }

    // Inserts at pos, which lies behind every key line of the section.
    static void AddBodyLine(Section &s, size_t pos, const std::string &text)
    {
        s.body.insert(s.body.begin() + static_cast<std::ptrdiff_t>(pos), Line{text});
        std::string k, v;
        if (KeyOf(text, k, v))
            s.keys[Fold(k)].Push(pos);
    }

    // A new key goes behind the section's last line that is not blank.
    void InsertKeyLine(std::list<Section>::iterator s, const std::string &text)
    {
        auto &body = s->body;
        size_t pos = body.size();
        while (pos > 0 && (!body[pos - 1].live || Trim(body[pos - 1].text).empty()))
            --pos;
        // Only blank and deleted lines lie behind pos; the deleted ones go for good.
        body.erase(std::remove_if(body.begin() + static_cast<std::ptrdiff_t>(pos), body.end(),
                                  [](const Line &l) { return !l.live; }),
                   body.end());
        std::string name;
        if (!SectionOf(text, name)) {
            AddBodyLine(*s, pos, text);
            return;
        }
        // A key that reads as a header starts a section of its own there.
        Section next;
        next.header = text;
        next.hasHeader = true;
        next.body.assign(body.begin() + static_cast<std::ptrdiff_t>(pos), body.end());
        body.resize(pos);
        sections.insert(std::next(s), std::move(next));
        Reindex();
    }

    void Reindex()
    {
        index.clear();
        std::string name;
        for (auto it = sections.begin(); it != sections.end(); ++it)
            if (it->live && it->hasHeader && SectionOf(it->header, name))
                index[Fold(name)].Push(it);
    }

    void Apply(const Op &op)
    {
        switch (op.kind) {
        case OpKind::Write: {
            std::string line = Clean(op.key) + "=" + Clean(op.value);
            auto found = index.find(Fold(op.section));
            if (found == index.end() || found->second.Empty()) {
                AppendLine("[" + Clean(op.section) + "]");
                InsertKeyLine(std::prev(sections.end()), line);
                return;
            }
            auto s = found->second.Front();
            auto key = s->keys.find(Fold(op.key));
            if (key != s->keys.end() && !key->second.Empty()) {
                // Keep the key's spelling as it stands in the file.
                Line &at = s->body[key->second.Front()];
                std::string k, v;
                KeyOf(at.text, k, v);
                at.text = k + "=" + Clean(op.value);
                return;
            }
            InsertKeyLine(s, line);
            return;
        }
        case OpKind::Delete: {
            Section *s = Find(op.section);
            if (!s)
                return;
            auto key = s->keys.find(Fold(op.key));
            if (key == s->keys.end() || key->second.Empty())
                return;
            s->body[key->second.Front()].live = false;
            key->second.Pop();
            return;
        }
        case OpKind::Erase: {
            auto found = index.find(Fold(op.section));
            if (found == index.end() || found->second.Empty())
                return;
            auto s = found->second.Front();
            found->second.Pop();
            s->live = false;
            s->body.clear();
            s->keys.clear();
            return;
        }
        }
    }
};

} // namespace

struct TIniFile::State : std::enable_shared_from_this<TIniFile::State> {
    std::string fileName;
    unsigned createMode;
    Doc doc;
    std::vector<Op> pending;
    bool flushPosted = false;

    bool Flush()
    {
        flushPosted = false;
        if (pending.empty())
            return true;
        std::string before;
        bool existed = atomicfile::ReadAll(fileName, before);
        const Lines original = SplitLines(before);
        Doc fresh;
        fresh.Parse(original);
        for (const auto &op : pending)
            fresh.Apply(op);
        std::string text = fresh.Text();
        bool ok = true;
        if (!existed || text != JoinLines(original))
            ok = atomicfile::Replace(fileName, text, createMode);
        if (ok) {
            pending.clear();
            doc = std::move(fresh);
        }
        return ok;
    }

    void Add(Op op)
    {
        doc.Apply(op);
        pending.push_back(std::move(op));
        if (flushPosted || !QCoreApplication::instance())
            return;
        flushPosted = true;
        std::weak_ptr<State> weak = weak_from_this();
        QTimer::singleShot(0, QCoreApplication::instance(), [weak] {
            if (auto s = weak.lock())
                s->Flush();
        });
    }
};

TIniFile::TIniFile(std::string fileName, unsigned createMode)
    : d(std::make_shared<State>())
{
    d->fileName = std::move(fileName);
    d->createMode = createMode;
    std::string bytes;
    atomicfile::ReadAll(d->fileName, bytes);
    d->doc.Parse(SplitLines(bytes));
}

TIniFile::~TIniFile() { d->Flush(); }

const std::string &TIniFile::FileName() const { return d->fileName; }

std::string TIniFile::ReadString(const std::string &section, const std::string &key, const std::string &def) const
{
    const Line *at = Doc::FindKey(d->doc.Find(section), key);
    if (!at)
        return def;
    std::string k, v;
    KeyOf(at->text, k, v);
    return v;
}

int IniParseInt(const std::string &text, int def)
{
    std::string t = Trim(text);
    if (t.empty())
        return def;
    size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size())
        return def;
    for (size_t j = i; j < t.size(); ++j)
        if (t[j] < '0' || t[j] > '9')
            return def;
    errno = 0;
    long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX)
        return def;
    return static_cast<int>(v);
}

int TIniFile::ReadInteger(const std::string &section, const std::string &key, int def) const
{
    return IniParseInt(ReadString(section, key, ""), def);
}

bool TIniFile::ReadBool(const std::string &section, const std::string &key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string &section) const { return d->doc.Find(section) != nullptr; }

bool TIniFile::ValueExists(const std::string &section, const std::string &key) const
{
    return Doc::FindKey(d->doc.Find(section), key) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    std::string name;
    for (const auto &s : d->doc.sections)
        if (s.live && s.hasHeader && SectionOf(s.header, name) && seen.insert(Fold(name)).second)
            out.push_back(name);
    return out;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string &section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    const Section *s = d->doc.Find(section);
    if (!s)
        return out;
    std::unordered_set<std::string> seen;
    std::string k, v;
    for (const auto &l : s->body)
        if (l.live && KeyOf(l.text, k, v) && seen.insert(Fold(k)).second && !v.empty())
            out.emplace_back(k, v);
    return out;
}

std::vector<std::string> TIniFile::ReadSection(const std::string &section) const
{
    std::vector<std::string> keys;
    for (auto &kv : ReadSectionValues(section))
        keys.push_back(kv.first);
    return keys;
}

void TIniFile::WriteString(const std::string &section, const std::string &key, const std::string &value)
{
    d->Add({OpKind::Write, section, key, value});
}

void TIniFile::WriteInteger(const std::string &section, const std::string &key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::DeleteKey(const std::string &section, const std::string &key)
{
    d->Add({OpKind::Delete, section, key, {}});
}

void TIniFile::EraseSection(const std::string &section)
{
    d->Add({OpKind::Erase, section, {}, {}});
}

bool TIniFile::UpdateFile() { return d->Flush(); }
