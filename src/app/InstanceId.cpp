#include "InstanceId.h"

#include "Cp1250.h"
#include "IniFile.h"
#include "Paths.h"

#include <QDir>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace {
const char *const kSection = "Cti";
const std::string kBase = "Talvocti";
} // namespace

std::string InstanceStorePath()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    std::string base = xdg && *xdg ? std::string(xdg) : std::string(std::getenv("HOME") ? std::getenv("HOME") : ".") + "/.config";
    return WithSlash(base) + "Talvo/Cti.ini";
}

std::string GetInstanceId(const std::string &folder, const std::string &storePath)
{
    std::string dir = storePath.substr(0, storePath.rfind('/') + 1);
    if (!dir.empty() && !QDir().mkpath(QString::fromLocal8Bit(dir.c_str())))
        return kBase;
    TIniFile store(storePath);
    auto values = store.ReadSectionValues(kSection);
    std::string result;
    if (values.empty()) {
        result = kBase;
    } else {
        int highest = 0;
        for (auto &[name, data] : values) {
            highest = std::max(highest, IniParseInt(data.size() > kBase.size() ? data.substr(kBase.size()) : "", 0));
            if (cp1250::EqualNoCase(name, folder))
                return data;
        }
        result = kBase + std::to_string(highest + 1);
    }
    store.WriteString(kSection, folder, result);
    return store.UpdateFile() ? result : kBase;
}
