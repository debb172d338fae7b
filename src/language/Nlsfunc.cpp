#include "Nlsfunc.h"

#include "IniFile.h"
#include "Paths.h"

TNlsFunc *Nls = nullptr;

namespace {
constexpr size_t kTailLimit = 1000;
}

TNlsFunc::TNlsFunc()
{
    upper_.fill(255);
    sort_.fill(255);
}

TNlsFunc::~TNlsFunc() = default;

std::string TNlsFunc::LanguageFilePath(const std::string &code)
{
    return FindFileNoCase(ProgramDir(), "Talvodel." + code);
}

void TNlsFunc::SetLanguage(const std::string &code)
{
    language_ = code;
    OpenFile();
}

void TNlsFunc::OpenFile()
{
    CloseFile();
    file_ = std::make_unique<TIniFile>(LanguageFilePath(language_));
}

void TNlsFunc::CloseFile() { file_.reset(); }

std::string TNlsFunc::ReplaceEscape(std::string text, const std::string &pair, const std::string &with)
{
    for (size_t p; (p = text.find(pair)) != std::string::npos;)
        text = text.substr(0, p) + with + text.substr(p + pair.size(), kTailLimit);
    return text;
}

void TNlsFunc::LoadTexts()
{
    texts_.clear();
    if (file_) {
        for (auto &[key, value] : file_->ReadSectionValues("Texty")) {
            std::string v = ReplaceEscape(value, "\\n", "\r\n");
            v = ReplaceEscape(v, "\\\"", "\"");
            texts_.emplace(key, std::move(v));
        }
    }
    LoadCollation();
}

std::string TNlsFunc::GetText(int id) const
{
    auto it = texts_.find(std::to_string(id));
    return it == texts_.end() ? std::string() : it->second;
}

std::string TNlsFunc::GetParamText(const std::string &section, int id, const std::string &def) const
{
    std::string s = file_ ? file_->ReadString(section, std::to_string(id), def) : def;
    return ReplaceEscape(s, "\\n", "\r\n");
}
