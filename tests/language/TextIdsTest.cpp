// Every text id the code asks for exists in both shipped language files.
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
    std::set<long long> tags;  // control and form tags: Tag = n
    std::set<long long> menus; // menu items: SetTag(item, n), AddItem(menu, n, ...)
};

Uses ScanSources()
{
    Uses uses;
    const std::regex text(R"(GetText\(\s*(-?\d+)\s*\))");
    const std::regex tag(R"(\bTag\s*=\s*(\d+)\s*;)");
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

} // namespace
