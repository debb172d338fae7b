#pragma once
// The one language object: message texts by number, control texts from the
// open language file, the collation tables and sort keys, and the walk that
// translates forms and menus by control tag.
//
// The widget-free members live in the language library; the translation walk
// (TranslateForm and friends) is defined in the language UI library, so the
// text and collation parts build and test without widgets.
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class TIniFile;
class QWidget;

class TNlsFunc {
public:
    TNlsFunc();
    ~TNlsFunc();

    void SetLanguage(const std::string &code);
    void OpenFile();
    void CloseFile();
    bool FileOpen() const { return file_ != nullptr; }
    TIniFile *File() const { return file_.get(); }
    const std::string &Language() const { return language_; }
    // Stores the code without opening its file (the settings hand it over at start).
    void SetLanguageCode(const std::string &code) { language_ = code; }
    // Full path of the language file of a code, in the program folder.
    static std::string LanguageFilePath(const std::string &code);

    void LoadTexts();
    std::string GetText(int id) const;
    std::string GetParamText(const std::string &section, int id, const std::string &def) const;

    void LoadCollation();
    std::string MakeSortKey(const std::string &text) const;
    std::string UpperByTable(const std::string &text) const;
    std::string SortWeights(const std::string &text) const;
    std::string ReplaceDoubles(const std::string &text) const;

    // Translation walk (language UI library).
    void TranslateForm(QWidget *form, bool openClose);
    void TranslateHints(QWidget *form, bool openClose);
    void TranslateControl(TIniFile *file, QWidget *control);
    void TranslateControlHint(TIniFile *file, QWidget *control);
    // A menu bar, a pop-up menu or a sub-menu: every item below it.
    void TranslateMenu(QWidget *menu);
    static std::string KeepAfterColon(const std::string &current, const std::string &translated);

    // The "\n" escape: each pair becomes CR LF, with at most 1000 characters
    // of what followed it kept.
    static std::string ReplaceEscape(std::string text, const std::string &pair, const std::string &with);

private:
    std::unordered_map<std::string, std::string> texts_;
    std::vector<std::pair<std::string, std::string>> doubles_;
    std::shared_ptr<TIniFile> file_;
    // The file last read, opened again without reading while it is unchanged:
    // a start translates a dozen forms from it.
    std::shared_ptr<TIniFile> read_;
    std::string readPath_;
    std::array<long long, 6> readStamp_{};
    bool readSettled_ = false;
    std::array<unsigned char, 256> upper_;
    std::array<unsigned char, 256> sort_;
    std::string language_ = "Cz";
};

extern TNlsFunc *Nls;
