// Every text id the code asks for exists in both shipped language files, and
// each key of a section stands there once.
#include "Cp1250.h"
#include "IniFile.h"
#include "Nlsfunc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

struct Uses {
    std::set<long long> texts; // GetText(n)
    std::set<long long> tags;  // control and form tags: Tag = n, or a button's tag argument
    std::set<long long> menus; // menu items: SetTag(item, n), AddItem(menu, n, ...)
};

Uses ScanSources()
{
    Uses uses;
    const std::regex text(R"(GetText\(\s*(-?\d+)\s*\))");
    const std::regex tag(R"(\bTag\s*=\s*(\d+)\s*;)");
    const std::regex button(R"(\b\w*Button\((?:[^,;()]+,)?\s*(\d+)\s*,)");
    const std::regex menu(R"(\b(?:SetTag|AddItem)\([^,;]+,\s*(\d+)\s*[,)])");
    for (auto &e : std::filesystem::recursive_directory_iterator(TALVO_SOURCE_DIR "/src")) {
        auto ext = e.path().extension();
        if (ext != ".cpp" && ext != ".h")
            continue;
        std::ifstream in(e.path());
        std::stringstream s;
        s << in.rdbuf();
        const std::string code = s.str();
        auto collect = [&](const std::regex &re, std::set<long long> &into) {
            for (std::sregex_iterator it(code.begin(), code.end(), re), end; it != end; ++it)
                into.insert(std::stoll((*it)[1]));
        };
        collect(text, uses.texts);
        collect(tag, uses.tags);
        collect(button, uses.tags);
        uses.tags.erase(0); // tag 0: not translated
        collect(menu, uses.menus);
    }
    return uses;
}

bool Has(const TIniFile &f, const char *section, long long id)
{
    return !f.ReadString(section, std::to_string(id), "").empty();
}

TEST(TextIds, EveryIdTheCodeUsesIsInBothLanguageFiles)
{
    const Uses uses = ScanSources();
    for (const char *code : {"cz", "eng"}) {
        TIniFile f(TNlsFunc::LanguageFilePath(code));
        for (long long id : uses.texts)
            EXPECT_TRUE(Has(f, "Texty", id)) << "Texty " << id << " missing in " << code;
        for (long long id : uses.tags)
            EXPECT_TRUE(Has(f, "Common", id) || Has(f, "CommonHint", id) || Has(f, "CommonHint", id + 10000))
                << "Common/CommonHint " << id << " missing in " << code;
        for (long long id : uses.menus)
            EXPECT_TRUE(Has(f, "Menu", id)) << "Menu " << id << " missing in " << code;
    }
}

TEST(TextIds, BothLanguageFilesHoldTheSameIds)
{
    TIniFile cz(TNlsFunc::LanguageFilePath("cz"));
    TIniFile eng(TNlsFunc::LanguageFilePath("eng"));
    for (const char *section : {"Common", "CommonHint", "Menu", "MenuHint", "Texty"})
        EXPECT_EQ(cz.ReadSection(section), eng.ReadSection(section)) << section;
}

// The reader takes a key's first line, so a second one in the section is
// never shown, and the window meant to show it shows another's text.
TEST(TextIds, NoKeyStandsTwiceInASectionOfAShippedLanguageFile)
{
    auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(" \t"));
        s.erase(s.find_last_not_of(" \t\r") + 1);
        return s;
    };
    for (const char *code : {"cz", "eng"}) {
        std::ifstream in(TNlsFunc::LanguageFilePath(code), std::ios::binary);
        ASSERT_TRUE(in) << code;
        std::string line, section;
        std::set<std::pair<std::string, std::string>> seen;
        while (std::getline(in, line)) {
            line = trim(line);
            if (line.empty() || line[0] == ';')
                continue;
            if (line[0] == '[') {
                section = line;
                continue;
            }
            const size_t eq = line.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = cp1250::FoldUpper(trim(line.substr(0, eq)));
            EXPECT_TRUE(seen.emplace(section, key).second) << code << " " << section << " " << key;
        }
    }
}

} // namespace
