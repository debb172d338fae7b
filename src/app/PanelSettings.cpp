#include "PanelSettings.h"

#include "Cp1250.h"
#include "IniFile.h"

#include <sys/stat.h>

namespace {

// Settings hold the log-in password: the file is the user's alone.
constexpr unsigned kPrivate = 0600;

struct KeyField {
    const char *key;
    std::uint16_t TPanelSettings::*field;
};

constexpr KeyField kKeys[] = {
    {"SPK", &TPanelSettings::KeySPK},       {"FLASH", &TPanelSettings::KeyFLASH},
    {"TRF", &TPanelSettings::KeyTRF},       {"SPD", &TPanelSettings::KeySPD},
    {"VOL-UP", &TPanelSettings::KeyVOLUP},  {"VOL-DOWN", &TPanelSettings::KeyVOLDOWN},
    {"SPK2", &TPanelSettings::KeySPK2},     {"FLASH2", &TPanelSettings::KeyFLASH2},
    {"TRF2", &TPanelSettings::KeyTRF2},     {"SPD2", &TPanelSettings::KeySPD2},
    {"VOL-UP2", &TPanelSettings::KeyVOLUP2}, {"VOL-DOWN2", &TPanelSettings::KeyVOLDOWN2},
};

} // namespace

void TNameValueList::Set(const std::string &name, const std::string &value)
{
    const std::string key = cp1250::FoldUpper(name);
    auto it = index_.find(key);
    if (it == index_.end()) {
        if (!value.empty()) {
            index_.emplace(key, entries_.size());
            entries_.emplace_back(name, value);
        }
        return;
    }
    if (!value.empty()) {
        entries_[it->second].second = value;
        return;
    }
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(it->second));
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i)
        index_.emplace(cp1250::FoldUpper(entries_[i].first), i);
}

std::string TNameValueList::Value(const std::string &name) const
{
    auto it = index_.find(cp1250::FoldUpper(name));
    return it == index_.end() ? std::string() : entries_[it->second].second;
}

void TNameValueList::Clear()
{
    entries_.clear();
    index_.clear();
}

void TPanelSettings::LoadIni(const std::string &path)
{
    struct stat st {};
    const bool existed = ::stat(path.c_str(), &st) == 0;
    {
        TIniFile ini(path, kPrivate);
        Lang = ini.ReadString("Main", "Lang", Lang);
        RelaxMinimize = ini.ReadBool("Main", "RelaxMinimize", RelaxMinimize);
        NoRelaxActivate = ini.ReadBool("Main", "NoRelaxActivate", NoRelaxActivate);
        DblClick = ini.ReadBool("Main", "DblClick", DblClick);
        FlagNotWarnForIL = ini.ReadBool("Main", "FlagNotWarnForIL", FlagNotWarnForIL);
        Trace = ini.ReadBool("Main", "Trace", Trace);
        TraceErase = ini.ReadBool("Main", "TraceErase", TraceErase);
        ShowDest = ini.ReadBool("Main", "ShowDest", ShowDest);
        NotWarnForIL = ini.ReadString("Main", "NotWarnForIL", NotWarnForIL);
        LastTop = ini.ReadBool("Main", "LastTop", LastTop);
        StableDisp = ini.ReadBool("Main", "StableDisp", StableDisp);
        TariffEnabled = ini.ReadBool("Tariff", "Enabled", TariffEnabled);
        Currency = ini.ReadString("Tariff", "Currency", Currency);
        Delimiter = ini.ReadString("Tariff", "Delimiter", Delimiter);
        ToPSTN = ini.ReadString("Phone", "ToPSTN", ToPSTN);
        Conference = ini.ReadString("Phone", "Conference", Conference);
        OnOff = ini.ReadInteger("Phone", "OnOff", OnOff);
        User = ini.ReadString("USR", "User", User);
        Pass = ini.ReadString("USR", "Pass", Pass);
        Line = ini.ReadString("USR", "Line", Line);
        Attr = ini.ReadString("USR", "Attr", Attr);
        SoundStart = ini.ReadString("Sound", "Start", SoundStart);
        SoundEnd = ini.ReadString("Sound", "End", SoundEnd);
        SoundOpen = ini.ReadString("Sound", "Open", SoundOpen);
        SoundClose = ini.ReadString("Sound", "Close", SoundClose);
        SoundRing = ini.ReadString("Sound", "Ring", SoundRing);
        for (const auto &k : kKeys)
            this->*k.field = static_cast<std::uint16_t>(ini.ReadInteger("KeyPad", k.key, this->*k.field));
        Prefixes.Clear();
        for (auto &[name, value] : ini.ReadSectionValues("Prefixes"))
            Prefixes.Set(name, value);
    }
    if (!existed) {
        Prefixes.Set("+420", "_");
        Prefixes.Set("+", "00");
        Prefixes.Set("00420", "_");
    }
}

void TPanelSettings::SaveIni(const std::string &path) const
{
    TIniFile ini(path, kPrivate);
    ini.WriteString("Main", "Lang", Lang);
    ini.WriteBool("Main", "RelaxMinimize", RelaxMinimize);
    ini.WriteBool("Main", "NoRelaxActivate", NoRelaxActivate);
    ini.WriteBool("Main", "DblClick", DblClick);
    ini.WriteString("Main", "NotWarnForIL", NotWarnForIL);
    ini.WriteBool("Main", "LastTop", LastTop);
    ini.WriteBool("Main", "ShowDest", ShowDest);
    ini.WriteBool("Tariff", "Enabled", TariffEnabled);
    ini.WriteString("Tariff", "Currency", Currency);
    ini.WriteString("Tariff", "Delimiter", Delimiter);
    ini.WriteString("Phone", "ToPSTN", ToPSTN);
    ini.WriteString("Phone", "Conference", Conference);
    ini.WriteInteger("Phone", "OnOff", OnOff);
    ini.WriteString("USR", "User", User);
    ini.WriteString("USR", "Pass", Pass);
    ini.WriteString("USR", "Line", Line);
    ini.WriteString("USR", "Attr", Attr);
    ini.WriteString("Sound", "Start", SoundStart);
    ini.WriteString("Sound", "End", SoundEnd);
    ini.WriteString("Sound", "Open", SoundOpen);
    ini.WriteString("Sound", "Close", SoundClose);
    ini.WriteString("Sound", "Ring", SoundRing);
    for (const auto &k : kKeys)
        ini.WriteInteger("KeyPad", k.key, this->*k.field);
    ini.EraseSection("Prefixes");
    for (auto &[name, value] : Prefixes.Entries())
        ini.WriteString("Prefixes", name, value);
}
