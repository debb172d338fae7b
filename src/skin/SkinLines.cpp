#include "SkinLines.h"

#include "IniFile.h"
#include "Nlsfunc.h"

#include <climits>
#include <cstdio>

namespace {

// Reads a value the way the C scanner's conversions do, but bounded and
// without undefined behaviour on overlong numbers.
class Scanner {
public:
    explicit Scanner(const std::string &s) : s_(s) {}

    bool Int(int &out)
    {
        SkipBlanks();
        size_t p = pos_;
        bool negative = false;
        if (p < s_.size() && (s_[p] == '-' || s_[p] == '+'))
            negative = s_[p++] == '-';
        if (p >= s_.size() || !IsDigit(s_[p]))
            return false;
        long long v = 0;
        for (; p < s_.size() && IsDigit(s_[p]); ++p)
            if (v <= INT_MAX)
                v = v * 10 + (s_[p] - '0');
        v = negative ? -v : v;
        out = static_cast<int>(v < INT_MIN ? INT_MIN : (v > INT_MAX ? INT_MAX : v));
        pos_ = p;
        return true;
    }

    bool Literal(char c)
    {
        if (pos_ >= s_.size() || s_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    bool Char(char &c)
    {
        if (pos_ >= s_.size())
            return false;
        c = s_[pos_++];
        return true;
    }

    bool Word(std::string &out, size_t max)
    {
        SkipBlanks();
        size_t b = pos_;
        while (pos_ < s_.size() && !IsBlank(s_[pos_]) && pos_ - b < max)
            ++pos_;
        out = s_.substr(b, pos_ - b);
        return !out.empty();
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
    void SkipBlanks()
    {
        while (pos_ < s_.size() && IsBlank(s_[pos_]))
            ++pos_;
    }

    const std::string &s_;
    size_t pos_ = 0;
};

bool ReadBox(Scanner &in, TSkinItem &item)
{
    return in.Int(item.Left) && in.Int(item.Top) && in.Int(item.Width) && in.Int(item.Height);
}

std::string Box(const TSkinItem &item)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d %d %d %d", item.Left, item.Top, item.Width, item.Height);
    return buf;
}

constexpr size_t kMaxRest = 1000;

bool NeedsQuotes(const std::string &text) { return text.find(',') != std::string::npos || (!text.empty() && text[0] == '"'); }

std::string Quoted(const std::string &text)
{
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

// A label text written in quotes (it held a comma): true when rest starts
// with one whole quoted text followed by a comma or the end.
bool ReadQuoted(const std::string &rest, TSkinChange &change)
{
    if (rest.empty() || rest[0] != '"')
        return false;
    std::string text;
    size_t i = 1;
    for (;; ++i) {
        if (i >= rest.size())
            return false;
        if (rest[i] != '"') {
            text += rest[i];
            continue;
        }
        if (i + 1 < rest.size() && rest[i + 1] == '"') {
            text += '"';
            ++i;
            continue;
        }
        break;
    }
    if (i + 1 < rest.size() && rest[i + 1] != ',')
        return false;
    change.LabelText = text;
    change.Value = i + 2 < rest.size() ? rest.substr(i + 2, kMaxRest) : std::string();
    return true;
}

} // namespace

TSkinItem ParseImageLine(const std::string &line)
{
    TSkinItem item;
    Scanner in(line);
    (void)(ReadBox(in, item) && in.Literal(':') && in.Int(item.SpriteX) && in.Int(item.SpriteY) && in.Literal(':') &&
           in.Int(item.Code));
    return item;
}

std::string FormatImageLine(const TSkinItem &item)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, ":%d %d:%d", item.SpriteX, item.SpriteY, item.Code);
    return Box(item) + buf;
}

TSkinItem ParseLabelLine(const std::string &line, TLabelFlags &flags)
{
    TSkinItem item;
    flags = TLabelFlags();
    Scanner in(line);
    char t = 0, a = 0;
    if (!(ReadBox(in, item) && in.Literal(':') && in.Char(t) && in.Char(a)))
        return item;
    flags.Transparent = t == 'T';
    flags.Alignment = (a == 'R' || a == 'C') ? a : 'L';
    if (in.Literal(':'))
        in.Word(item.Link, kMaxLinkWord);
    return item;
}

std::string FormatLabelLine(const TSkinItem &item, const TLabelFlags &flags)
{
    std::string line = Box(item) + ":" + (flags.Transparent ? "T" : "F") + std::string(1, flags.Alignment);
    // The link word goes back too, or a saved skin forgets which image a label belongs to.
    if (!item.Link.empty())
        line += ":" + item.Link;
    return line;
}

TSkinControlKind ControlKind(const std::string &name)
{
    if (name.find("Image") != std::string::npos)
        return TSkinControlKind::Image;
    if (name.find("Label") != std::string::npos)
        return TSkinControlKind::Label;
    return TSkinControlKind::None;
}

std::string OversizedControl(const std::vector<std::pair<std::string, std::string>> &controls, long long panelWidth,
                             long long panelHeight, long long farthest, long long maxImagePixels)
{
    long long imagePixels = 0;
    for (const auto &[name, line] : controls) {
        const TSkinControlKind kind = ControlKind(name);
        if (kind == TSkinControlKind::None)
            continue;
        TLabelFlags flags;
        const TSkinItem item = kind == TSkinControlKind::Image ? ParseImageLine(line) : ParseLabelLine(line, flags);
        const long long left = item.Left, top = item.Top, width = item.Width, height = item.Height;
        const auto beyond = [farthest](long long v) { return v > farthest || v < -farthest; };
        if (beyond(left) || beyond(top) || beyond(width) || beyond(height))
            return name;
        if (kind == TSkinControlKind::Image && (width > panelWidth || height > panelHeight))
            return name;
        if (kind == TSkinControlKind::Image && width > 0 && height > 0) {
            imagePixels += width * height;
            if (imagePixels > maxImagePixels)
                return name;
        }
    }
    return {};
}

TSkinChange SplitSkinChange(const std::string &text)
{
    TSkinChange change;
    size_t comma = text.find(',');
    if (comma == std::string::npos)
        return change;
    change.Code = IniParseInt(text.substr(0, comma), 899);
    std::string rest = text.substr(comma + 1, kMaxRest);
    if (ReadQuoted(rest, change))
        return change;
    size_t second = rest.find(',');
    if (second == std::string::npos) {
        change.LabelText = rest;
        return change;
    }
    change.LabelText = rest.substr(0, second);
    change.Value = rest.substr(second + 1, kMaxRest);
    return change;
}

std::string JoinSkinChange(const TSkinChange &change)
{
    const std::string label = NeedsQuotes(change.LabelText) ? Quoted(change.LabelText) : change.LabelText;
    return std::to_string(change.Code) + "," + label + "," + change.Value;
}

std::string FunctionLabelText(int code)
{
    if (code >= 0 && code <= 9)
        return std::string(1, static_cast<char>('0' + code));
    if (code == 10)
        return "0";
    if (code == 11)
        return "*";
    if (code == 12)
        return "#";
    if (code < 0)
        return std::string(1, static_cast<char>(static_cast<unsigned char>(48 + code)));
    if (code > INT_MAX - 5000)
        return {};
    return Nls ? Nls->GetText(5000 + code) : std::string();
}
