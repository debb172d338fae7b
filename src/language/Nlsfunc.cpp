#include "Nlsfunc.h"

#include "IniFile.h"
#include "Paths.h"

#include <ctime>
#include <sys/stat.h>

TNlsFunc *Nls = nullptr;

namespace {
constexpr size_t kTailLimit = 1000;

// What tells one version of a file from another; zeros when it is missing.
std::array<long long, 6> Stamp(const std::string &path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return {};
    return {static_cast<long long>(st.st_ino),
            static_cast<long long>(st.st_size),
            st.st_mtim.tv_sec,
            st.st_mtim.tv_nsec,
            st.st_ctim.tv_sec,
            st.st_ctim.tv_nsec};
}
} // namespace

TNlsFunc::TNlsFunc()
{
    upper_.fill(255);
    sort_.fill(255);
}

TNlsFunc::~TNlsFunc() = default;

std::string TNlsFunc::LanguageFilePath(const std::string &code)
{
    return FindFileNoCase(ProgramDir(), FsName("Talvodel." + code));
}

void TNlsFunc::SetLanguage(const std::string &code)
{
    language_ = code;
    OpenFile();
}

void TNlsFunc::OpenFile()
{
    CloseFile();
    const std::string path = LanguageFilePath(language_);
    const auto stamp = Stamp(path);
    if (!read_ || !readSettled_ || path != readPath_ || stamp != readStamp_) {
        read_ = std::make_shared<TIniFile>(path);
        readPath_ = path;
        readStamp_ = stamp;
        // File times move in steps of milliseconds: a file written moments
        // ago could be written again without its stamp changing.
        readSettled_ = stamp[2] != 0 && std::time(nullptr) - stamp[2] >= 2;
    }
    file_ = read_;
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
