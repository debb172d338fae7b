#include "TraceFile.h"

#include <fcntl.h>
#include <unistd.h>

void AppendToTrace(const std::string &path, const std::string &bytes, bool &eraseDue)
{
    if (eraseDue) {
        ::unlink(path.c_str());
        eraseDue = false;
    }
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    [[maybe_unused]] ssize_t n = ::write(fd, bytes.data(), bytes.size());
    ::close(fd);
}
