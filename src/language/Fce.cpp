#include "Fce.h"

#include "Paths.h"
#include "RegularFile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string_view>
#include <thread>

std::string DataDir;

std::string ProgramIniPath() { return DataDir + ProgramName() + ".ini"; }

namespace {
constexpr size_t kTail = 1000;

bool IsTrimmed(unsigned char c) { return c <= ' '; }
} // namespace

std::string GetCommaField(int index, const std::string &text)
{
    size_t p = text.find(',');
    if (index == 0)
        return p == std::string::npos ? text : text.substr(0, p);
    if (p == std::string::npos)
        return {};
    std::string rest = text.substr(p + 1, kTail);
    size_t q = rest.find(',');
    if (q == std::string::npos)
        return {};
    if (index == 1)
        return rest.substr(0, q);
    return rest.substr(q + 1, kTail);
}

std::string SqlDateString(int days, const QDate &today)
{
    QDate d = days ? today.addDays(days) : today;
    return "'" + std::to_string(d.month()) + "/" + std::to_string(d.day()) + "/" + std::to_string(d.year()) + "'";
}

std::string RightStr(const std::string &text, int n)
{
    if (n <= 0 || static_cast<size_t>(n) > text.size())
        return {};
    return text.substr(text.size() - static_cast<size_t>(n));
}

namespace {
// The separators people write into numbers, tested without a search per character.
bool Separator(char c) { return c == ' ' || c == '-' || c == '/' || c == '.' || c == '(' || c == ')'; }
} // namespace

std::string PlainNumber(const std::string &number)
{
    std::string plain;
    plain.reserve(number.size());
    for (char c : number)
        if (!Separator(c))
            plain += c;
    return plain;
}

void AppendNormalizedNumber(std::string_view number, std::string &out)
{
    const size_t start = out.size();
    for (char c : number)
        if (!Separator(c))
            out += c;
    std::string_view plain(out.data() + start, out.size() - start);
    if (plain.substr(0, 4) == "+420")
        out.replace(start, 4, "0");
    else if (!plain.empty() && plain[0] == '+')
        out.replace(start, 1, "00");
}

std::string NormalizeNumber(const std::string &number)
{
    std::string n;
    AppendNormalizedNumber(number, n);
    return n;
}

std::string ToggleLine(bool add, const std::string &text, const std::string &line)
{
    std::string m = "\n" + line;
    size_t p = text.find(m);
    if (add)
        return p == std::string::npos ? text + m : text;
    return p == std::string::npos ? text : text.substr(0, p);
}

int HexToIntDef(const std::string &text, int def)
{
    // Only a text its value reproduces: upper-case digits, no prefix, no
    // blanks. Leading zeros are part of the reproduction; more than 32 bits
    // of value is not.
    if (text.empty())
        return def;
    size_t significant = 0;
    std::uint32_t value = 0;
    for (char ch : text) {
        int digit;
        if (ch >= '0' && ch <= '9')
            digit = ch - '0';
        else if (ch >= 'A' && ch <= 'F')
            digit = ch - 'A' + 10;
        else
            return def;
        if (significant || digit)
            ++significant;
        if (significant > 8)
            return def;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<int>(value);
}

std::string TextBeforeQuote(const std::string &text)
{
    std::string s = text.substr(0, text.find('"'));
    size_t b = 0, e = s.size();
    while (b < e && IsTrimmed(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && IsTrimmed(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

void Delay(unsigned ms)
{
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

int GetWinMajorVersion() { return 10; }

bool GetUserProfileDir(std::string &dir)
{
    const char *home = std::getenv("HOME");
    if (home && *home) {
        dir = home;
        return true;
    }
    if (passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        dir = pw->pw_dir;
        return true;
    }
    return false;
}

std::string GetDataDir(const std::string &name)
{
    std::string home;
    if (!GetUserProfileDir(home))
        return ProgramDir();
    return WithSlash(home) + name + "/";
}

bool CopyFileData(const std::string &destination, const std::string &source)
{
    int in = OpenRegularFile(source);
    if (in < 0)
        return false;
    int out = ::open(destination.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) {
        ::close(in);
        return false;
    }
    char buf[5000];
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        if (::write(out, buf, static_cast<size_t>(n)) != n) {
            ok = false;
            break;
        }
    }
    ::close(in);
    ok = ::close(out) == 0 && ok;
    // A silently truncated copy is worse than none.
    if (!ok)
        ::unlink(destination.c_str());
    return ok;
}

bool CopyDirFiles(const std::string &destinationDir, const std::string &sourceDir, const std::string &mask)
{
    if (destinationDir == sourceDir)
        return true;
    DIR *d = ::opendir(sourceDir.c_str());
    if (!d)
        return errno == ENOENT;
    bool whole = true;
    while (dirent *e = ::readdir(d)) {
        std::string name = e->d_name;
        if (::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) != 0)
            continue;
        std::string src = WithSlash(sourceDir) + name;
        struct stat st {};
        if (::stat(src.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        whole = CopyFileData(WithSlash(destinationDir) + name, src) && whole;
    }
    ::closedir(d);
    return whole;
}

