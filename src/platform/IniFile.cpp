#include "IniFile.h"

#include "AtomicFile.h"
#include "Cp1250.h"

#include <QCoreApplication>
#include <QTimer>

#include <cerrno>
#include <climits>
#include <cstdlib>

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

// [begin, end) of the section's body lines; begin == npos when absent.
struct Range {
    size_t header = std::string::npos, begin = 0, end = 0;
};

Range FindSection(const Lines &lines, const std::string &section)
{
    Range r;
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!SectionOf(lines[i], name))
            continue;
        if (r.header != std::string::npos) {
            r.end = i;
            return r;
        }
        if (cp1250::EqualNoCase(name, section)) {
            r.header = i;
            r.begin = i + 1;
        }
    }
    if (r.header != std::string::npos)
        r.end = lines.size();
    return r;
}

size_t FindKey(const Lines &lines, const Range &r, const std::string &key)
{
    if (r.header == std::string::npos)
        return std::string::npos;
    std::string k, v;
    for (size_t i = r.begin; i < r.end; ++i)
        if (KeyOf(lines[i], k, v) && cp1250::EqualNoCase(k, key))
            return i;
    return std::string::npos;
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

void Apply(Lines &lines, const Op &op)
{
    Range r = FindSection(lines, op.section);
    switch (op.kind) {
    case OpKind::Write: {
        std::string line = Clean(op.key) + "=" + Clean(op.value);
        if (r.header == std::string::npos) {
            lines.push_back("[" + Clean(op.section) + "]");
            lines.push_back(line);
            return;
        }
        size_t at = FindKey(lines, r, op.key);
        if (at != std::string::npos) {
            // Keep the key's spelling as it stands in the file.
            std::string k, v;
            KeyOf(lines[at], k, v);
            lines[at] = k + "=" + Clean(op.value);
            return;
        }
        size_t pos = r.end;
        while (pos > r.begin && Trim(lines[pos - 1]).empty())
            --pos;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos), line);
        return;
    }
    case OpKind::Delete: {
        size_t at = FindKey(lines, r, op.key);
        if (at != std::string::npos)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
        return;
    }
    case OpKind::Erase:
        if (r.header != std::string::npos)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(r.header),
                        lines.begin() + static_cast<std::ptrdiff_t>(r.end));
        return;
    }
}

} // namespace

struct TIniFile::State : std::enable_shared_from_this<TIniFile::State> {
    std::string fileName;
    unsigned createMode;
    Lines lines;
    std::vector<Op> pending;
    bool flushPosted = false;

    bool Flush()
    {
        flushPosted = false;
        if (pending.empty())
            return true;
        std::string before;
        bool existed = atomicfile::ReadAll(fileName, before);
        Lines fresh = SplitLines(before);
        const Lines original = fresh;
        for (const auto &op : pending)
            Apply(fresh, op);
        bool ok = true;
        if (!existed || fresh != original)
            ok = atomicfile::Replace(fileName, JoinLines(fresh), createMode);
        if (ok) {
            pending.clear();
            lines = std::move(fresh);
        }
        return ok;
    }

    void Add(Op op)
    {
        Apply(lines, op);
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
    if (atomicfile::ReadAll(d->fileName, bytes))
        d->lines = SplitLines(bytes);
}

TIniFile::~TIniFile() { d->Flush(); }

const std::string &TIniFile::FileName() const { return d->fileName; }

std::string TIniFile::ReadString(const std::string &section, const std::string &key, const std::string &def) const
{
    size_t at = FindKey(d->lines, FindSection(d->lines, section), key);
    if (at == std::string::npos)
        return def;
    std::string k, v;
    KeyOf(d->lines[at], k, v);
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

bool TIniFile::SectionExists(const std::string &section) const
{
    return FindSection(d->lines, section).header != std::string::npos;
}

bool TIniFile::ValueExists(const std::string &section, const std::string &key) const
{
    return FindKey(d->lines, FindSection(d->lines, section), key) != std::string::npos;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    std::vector<std::string> out;
    std::string name;
    for (const auto &l : d->lines) {
        if (!SectionOf(l, name))
            continue;
        bool seen = false;
        for (const auto &o : out)
            seen = seen || cp1250::EqualNoCase(o, name);
        if (!seen)
            out.push_back(name);
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string &section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    Range r = FindSection(d->lines, section);
    if (r.header == std::string::npos)
        return out;
    std::vector<std::string> seenKeys;
    std::string k, v;
    for (size_t i = r.begin; i < r.end; ++i) {
        if (!KeyOf(d->lines[i], k, v))
            continue;
        bool seen = false;
        for (const auto &s : seenKeys)
            if (cp1250::EqualNoCase(s, k)) {
                seen = true;
                break;
            }
        if (seen)
            continue;
        seenKeys.push_back(k);
        if (!v.empty())
            out.emplace_back(k, v);
    }
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
