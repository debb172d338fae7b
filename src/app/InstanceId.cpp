#include "InstanceId.h"

#include "IniFile.h"
#include "Paths.h"

#include <QDir>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace {
const char *const kSection = "Cti";
const std::string kBase = "Talvocti";

// The folder is the store's key, where a "=" would end it, a line break split
// it, a leading ";" or "[" or an outer blank change its meaning, and letters
// beyond ASCII be folded as code page 1250 (merging the keys of "ž" and "ż").
// A folder free of those is its own key, as every key written before; any
// other is "%" and the folder with those bytes and "%" written as %XX.
bool Misread(const std::string &folder, size_t i)
{
    const auto c = static_cast<unsigned char>(folder[i]);
    if (c == '=' || c < 0x20 || c >= 0x7F)
        return true;
    return (i == 0 && (c == ';' || c == '[' || c == ' ' || c == '%')) || (i + 1 == folder.size() && c == ' ');
}

std::string KeyOfFolder(const std::string &folder)
{
    bool plain = true;
    for (size_t i = 0; i < folder.size() && plain; ++i)
        plain = !Misread(folder, i);
    if (plain)
        return folder;
    static const char hex[] = "0123456789ABCDEF";
    std::string key = "%";
    for (size_t i = 0; i < folder.size(); ++i) {
        const auto c = static_cast<unsigned char>(folder[i]);
        if (c == '%' || Misread(folder, i))
            key += {'%', hex[c >> 4], hex[c & 15]};
        else
            key += static_cast<char>(c);
    }
    return key;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string FolderOfKey(const std::string &key)
{
    if (key.empty() || key[0] != '%')
        return key;
    std::string folder;
    for (size_t i = 1; i < key.size(); ++i) {
        const int hi = key[i] == '%' && i + 2 < key.size() ? HexDigit(key[i + 1]) : -1;
        const int lo = hi >= 0 ? HexDigit(key[i + 2]) : -1;
        if (lo < 0) {
            folder += key[i];
            continue;
        }
        folder += static_cast<char>(hi << 4 | lo);
        i += 2;
    }
    return folder;
}

// Letter case aside, as the Windows registry compares names; the letters of
// a file-system name are compared, not its bytes.
bool SameFolder(const std::string &a, const std::string &b)
{
    return QPath(a).compare(QPath(b), Qt::CaseInsensitive) == 0;
}
} // namespace

std::string InstanceStorePath()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base = xdg && *xdg ? std::string(xdg) : std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return WithSlash(base) + "Talvo/Cti.ini";
}

std::string GetInstanceId(const std::string &folder, const std::string &storePath)
{
    std::string dir = storePath.substr(0, storePath.rfind('/') + 1);
    if (!dir.empty() && !QDir().mkpath(QPath(dir)))
        return kBase;
    TIniFile store(storePath);
    auto values = store.ReadSectionValues(kSection);
    std::string result;
    if (values.empty()) {
        result = kBase;
    } else {
        int highest = 0;
        for (auto &[name, data] : values) {
            highest = std::max(highest, IniParseInt(data.size() > kBase.size() ? data.substr(kBase.size()) : "", 0));
            if (SameFolder(FolderOfKey(name), folder))
                return data;
        }
        result = kBase + std::to_string(highest + 1);
    }
    store.WriteString(kSection, KeyOfFolder(folder), result);
    return store.UpdateFile() ? result : kBase;
}
