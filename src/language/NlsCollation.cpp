// Collation: sort keys whose plain byte order is the language's order.
#include "IniFile.h"
#include "Nlsfunc.h"

void TNlsFunc::LoadCollation()
{
    upper_.fill(255);
    sort_.fill(255);
    doubles_.clear();
    if (!file_)
        return;
    for (auto &[key, value] : file_->ReadSectionValues("Sort")) {
        auto c = static_cast<unsigned char>(key[0]);
        if (c >= 1 && c <= 254)
            sort_[c] = static_cast<unsigned char>(IniParseInt(value, 255) & 0xFF);
    }
    for (auto &[key, value] : file_->ReadSectionValues("Upper")) {
        auto c = static_cast<unsigned char>(key[0]);
        if (c >= 1 && c <= 254)
            upper_[c] = static_cast<unsigned char>(value[0]);
    }
    doubles_ = file_->ReadSectionValues("Double");
}

std::string TNlsFunc::MakeSortKey(const std::string &text) const
{
    return ReplaceDoubles(SortWeights(UpperByTable(text)));
}

std::string TNlsFunc::UpperByTable(const std::string &text) const
{
    std::string out(text);
    for (char &ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (upper_[c] != 255)
            ch = static_cast<char>(upper_[c]);
        else if (c >= 'a' && c <= 'z') // toupper of the C locale, whatever locale the process has
            ch = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

std::string TNlsFunc::SortWeights(const std::string &text) const
{
    std::string out(text);
    for (char &ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (sort_[c] != 255)
            ch = static_cast<char>(sort_[c]);
    }
    return out;
}

std::string TNlsFunc::ReplaceDoubles(const std::string &text) const
{
    std::string out(text);
    for (auto &[key, value] : doubles_) {
        std::string k = SortWeights(key);
        // Two characters give way to one: any other key length would delete
        // a byte or never end.
        if (k.size() != 2)
            continue;
        char w = static_cast<char>(IniParseInt(value, 255) & 0xFF);
        for (size_t p; (p = out.find(k)) != std::string::npos;)
            out = out.substr(0, p) + w + out.substr(p + 2, 1000);
    }
    return out;
}
