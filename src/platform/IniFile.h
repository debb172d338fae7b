#pragma once
// INI files with the Windows profile reader's rules: whole sections in file
// order, names compared without regard to case (code page 1250 letters too),
// a repeated key counts once with its first value, empty values are left out
// of section reads, values are trimmed, lose one pair of enclosing quotes and
// hold at most 2047 characters.
//
// Several objects may open one file at different moments. An object reads the
// file when it is opened; its writes are kept as a list of changes that is
// replayed on the file as it then stands (so another object's keys are never
// overwritten by a stale copy) and written atomically: at the next turn of
// the event loop, on UpdateFile, or at the latest when the object goes.
//
// A file created here is the user's alone: the program's INI file holds the
// log-in password, and whichever of its writers comes first creates it.
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(std::string fileName, unsigned createMode = 0600);
    ~TIniFile();
    TIniFile(const TIniFile &) = delete;
    TIniFile &operator=(const TIniFile &) = delete;

    const std::string &FileName() const;

    std::string ReadString(const std::string &section, const std::string &key, const std::string &def) const;
    int ReadInteger(const std::string &section, const std::string &key, int def) const;
    bool ReadBool(const std::string &section, const std::string &key, bool def) const;
    bool SectionExists(const std::string &section) const;
    bool ValueExists(const std::string &section, const std::string &key) const;
    std::vector<std::string> ReadSections() const;
    // Keys with non-empty values, first occurrence only, in file order.
    std::vector<std::string> ReadSection(const std::string &section) const;
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string &section) const;

    void WriteString(const std::string &section, const std::string &key, const std::string &value);
    void WriteInteger(const std::string &section, const std::string &key, int value);
    void WriteBool(const std::string &section, const std::string &key, bool value);
    void DeleteKey(const std::string &section, const std::string &key);
    void EraseSection(const std::string &section);

    // Writes pending changes now; false when the file could not be written.
    bool UpdateFile();

    static constexpr size_t kMaxValue = 2047;

private:
    struct State;
    std::shared_ptr<State> d;
};

// Decimal integer of a whole (trimmed) text, or def.
int IniParseInt(const std::string &text, int def);
