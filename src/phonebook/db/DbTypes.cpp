#include "DbTypes.h"

std::string DbUpper(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool DbSameName(const std::string &a, const std::string &b)
{
    return DbUpper(a) == DbUpper(b);
}
