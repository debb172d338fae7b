#include "PanelTrace.h"

#include <fcntl.h>
#include <unistd.h>

void TPanelTrace::Configure(std::string path, bool on, bool eraseAtStart)
{
    path_ = std::move(path);
    on_ = on;
    erase_ = eraseAtStart;
}

std::string TPanelTrace::Line(const std::string &text, const QTime &now)
{
    return now.toString(QStringLiteral("HH:mm:ss")).toStdString() + "." + std::to_string(now.msec() / 100) + " " + text +
           "\r\n";
}

void TPanelTrace::Write(const std::string &text, const QTime &now)
{
    if (!on_)
        return;
    if (erase_ && firstLine_) {
        ::unlink(path_.c_str());
        firstLine_ = false;
    }
    int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    std::string line = Line(text, now);
    [[maybe_unused]] ssize_t n = ::write(fd, line.data(), line.size());
    ::close(fd);
}
