#pragma once
// The panel's own settings in the program INI file, read once at start and
// written once at the end.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// name=value list whose set replaces an entry of the same name (names
// compared without regard to case) or appends one; an empty value removes it.
// Names are indexed, so a list of thousands loads in linear time.
class TNameValueList {
public:
    void Set(const std::string &name, const std::string &value);
    std::string Value(const std::string &name) const;
    const std::vector<std::pair<std::string, std::string>> &Entries() const { return entries_; }
    void Clear();

private:
    std::vector<std::pair<std::string, std::string>> entries_;
    std::unordered_map<std::string, size_t> index_; // folded name -> entry
};

struct TPanelSettings {
    // Main
    std::string Lang = "cz";
    bool RelaxMinimize = false;
    bool NoRelaxActivate = false;
    bool DblClick = false;
    bool FlagNotWarnForIL = false;
    bool Trace = false;
    bool TraceErase = false;
    bool ShowDest = false;
    std::string NotWarnForIL;
    bool LastTop = false;
    bool StableDisp = false;
    // Tariff
    bool TariffEnabled = false;
    std::string Currency = "K\xE8";
    std::string Delimiter = ",";
    // Phone
    std::string ToPSTN = "0";
    std::string Conference = "#0";
    int OnOff = 20;
    // USR
    std::string User, Pass, Line;
    std::string Attr = "STS-CTI-CMD";
    // Sound
    std::string SoundStart, SoundEnd;
    std::string SoundOpen = "Connect.wav";
    std::string SoundClose = "Exit.wav";
    std::string SoundRing;
    // KeyPad: virtual-key code + 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt
    std::uint16_t KeySPK = 116, KeyFLASH = 119, KeyTRF = 120, KeySPD = 121, KeyVOLUP = 117, KeyVOLDOWN = 118;
    std::uint16_t KeySPK2 = 110, KeyFLASH2 = 70, KeyTRF2 = 84, KeySPD2 = 83, KeyVOLUP2 = 107, KeyVOLDOWN2 = 109;

    TNameValueList Prefixes;

    // A missing file gives the defaults and the three standard prefixes.
    void LoadIni(const std::string &path);
    void SaveIni(const std::string &path) const;
};
