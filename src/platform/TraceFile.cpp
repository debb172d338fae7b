#include "TraceFile.h"

#include <QCoreApplication>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <unordered_map>

namespace {

constexpr size_t kMostWaiting = 64 * 1024;

class OpenTraces {
public:
    ~OpenTraces()
    {
        Flush();
        for (auto &[path, trace] : traces_)
            ::close(trace.fd);
    }

    void Append(const std::string &path, const std::string &bytes, bool &eraseDue)
    {
        std::lock_guard lock(mutex_);
        if (eraseDue) {
            Forget(path);
            ::unlink(path.c_str());
            eraseDue = false;
        }
        Trace &trace = traces_[path];
        trace.waiting += bytes;
        if (trace.waiting.size() >= kMostWaiting || !QCoreApplication::instance())
            Write(path, trace);
        else if (!flushDue_)
            ScheduleFlush();
    }

    void Flush()
    {
        std::lock_guard lock(mutex_);
        flushDue_ = false;
        for (auto &[path, trace] : traces_)
            Write(path, trace);
    }

private:
    struct Trace {
        int fd = -1;
        std::string waiting;
    };

    void ScheduleFlush()
    {
        flushDue_ = true;
        QTimer::singleShot(0, QCoreApplication::instance(), [this] { Flush(); });
    }

    // The file is opened (and created private) when needed, and again when it
    // was deleted since the last write.
    void Write(const std::string &path, Trace &trace)
    {
        if (trace.waiting.empty())
            return;
        struct stat st {};
        if (trace.fd >= 0 && (::fstat(trace.fd, &st) != 0 || st.st_nlink == 0)) {
            ::close(trace.fd);
            trace.fd = -1;
        }
        if (trace.fd < 0)
            trace.fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600);
        if (trace.fd >= 0) {
            [[maybe_unused]] ssize_t n = ::write(trace.fd, trace.waiting.data(), trace.waiting.size());
        }
        trace.waiting.clear();
    }

    // What was written before the erase still belongs to the old file.
    void Forget(const std::string &path)
    {
        auto it = traces_.find(path);
        if (it == traces_.end())
            return;
        Write(path, it->second);
        if (it->second.fd >= 0)
            ::close(it->second.fd);
        traces_.erase(it);
    }

    std::mutex mutex_;
    std::unordered_map<std::string, Trace> traces_;
    bool flushDue_ = false;
};

OpenTraces &Traces()
{
    static OpenTraces traces;
    return traces;
}

} // namespace

void AppendToTrace(const std::string &path, const std::string &bytes, bool &eraseDue)
{
    Traces().Append(path, bytes, eraseDue);
}

void FlushTraces() { Traces().Flush(); }
