#include "FailureTrace.h"

#include "TraceFile.h"

#include <QDateTime>

#include <cstdio>
#include <exception>
#include <mutex>

namespace {

struct FailureSink {
    std::mutex lock;
    std::string path;
    int written = 0;
};

FailureSink &Sink()
{
    static FailureSink sink;
    return sink;
}

std::string Thrown()
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return "no exception being handled"; // a plain throw would end the program
    try {
        std::rethrow_exception(current);
    } catch (const std::exception &e) {
        return e.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

// One line however the text runs: control bytes (line ends among them) turn
// into spaces and the end is cut.
std::string Line(const std::string &text)
{
    std::string line = text.substr(0, kMaxFailureLine - 2);
    for (char &c : line)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return line + "\r\n";
}

void Put(const std::string &path, const std::string &line)
{
    if (path.empty()) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        return;
    }
    bool keep = false;
    AppendToTrace(path, line, keep);
    // A failure may be the last thing the program does: on disk at once.
    FlushTraces();
}

} // namespace

void SetFailureTrace(const std::string &path)
{
    std::lock_guard guard(Sink().lock);
    Sink().path = path;
    Sink().written = 0;
}

void TraceFailure(const char *where) noexcept
{
    try {
        const std::string what = Thrown();
        const std::string now =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
        FailureSink &sink = Sink();
        std::lock_guard guard(sink.lock);
        if (sink.written > kMaxFailures)
            return;
        const bool last = ++sink.written > kMaxFailures;
        Put(sink.path, Line(now + (last ? " Failures: no more are written in this run"
                                        : " Failure in " + std::string(where) + ": " + what)));
    } catch (...) {
        // Out of memory while reporting: the failure itself was handled.
    }
}
