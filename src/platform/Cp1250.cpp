#include "Cp1250.h"

#include <array>
#include <unordered_map>

namespace cp1250 {
namespace {

// Bytes 0x80-0xFF; the five undefined bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 128> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

std::array<unsigned char, 256> MakeUpperTable()
{
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<unsigned char>(c - 32);
    const unsigned char pairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E}, {0x9F, 0x8F},
                                      {0xB3, 0xA3}, {0xB9, 0xA5}, {0xBA, 0xAA}, {0xBE, 0xBC}, {0xBF, 0xAF}};
    for (auto &p : pairs)
        t[p[0]] = p[1];
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            t[c] = static_cast<unsigned char>(c - 0x20);
    return t;
}

const std::array<unsigned char, 256> kUpper = MakeUpperTable();

} // namespace

bool IsControl(unsigned char c)
{
    const char16_t u = c < 0x80 ? c : kHigh[c - 0x80];
    return u < 0x20 || (u >= 0x7F && u < 0xA0);
}

QString ToUnicode(const std::string &bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (unsigned char c : bytes)
        out.append(QChar(c < 0x80 ? char16_t(c) : kHigh[c - 0x80]));
    return out;
}

const std::unordered_map<char16_t, unsigned char> &Reverse()
{
    static const std::unordered_map<char16_t, unsigned char> reverse = [] {
        std::unordered_map<char16_t, unsigned char> m;
        for (int i = 0; i < 128; ++i)
            m.emplace(kHigh[i], static_cast<unsigned char>(0x80 + i));
        return m;
    }();
    return reverse;
}

std::string FromUnicode(const QString &text)
{
    const auto &reverse = Reverse();
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        char16_t u = ch.unicode();
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        auto it = reverse.find(u);
        out.push_back(it != reverse.end() ? static_cast<char>(it->second) : '?');
    }
    return out;
}

QStringList Unkept(const QString &text)
{
    const auto &reverse = Reverse();
    QStringList out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80 || reverse.count(u))
            continue;
        qsizetype len = 1;
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            len = 2;
        const QString ch = text.mid(i, len);
        if (!out.contains(ch))
            out.append(ch);
        i += len - 1;
    }
    return out;
}

unsigned char FoldUpper(unsigned char c) { return kUpper[c]; }

std::string FoldUpper(const std::string &text)
{
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
    return out;
}

bool EqualNoCase(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (kUpper[static_cast<unsigned char>(a[i])] != kUpper[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

} // namespace cp1250
