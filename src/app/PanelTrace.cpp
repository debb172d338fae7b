#include "PanelTrace.h"

#include "TraceFile.h"

void TPanelTrace::Configure(std::string path, bool on, bool eraseAtStart)
{
    path_ = std::move(path);
    on_ = on;
    eraseDue_ = eraseAtStart;
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
    AppendToTrace(path_, Line(text, now), eraseDue_);
}
