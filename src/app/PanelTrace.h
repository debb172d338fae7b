#pragma once
// The panel's optional line trace: one line per entry, opened, appended and
// closed each time, optionally emptied at the first line of a run.
#include <QTime>

#include <string>

class TPanelTrace {
public:
    void Configure(std::string path, bool on, bool eraseAtStart);
    void Write(const std::string &text, const QTime &now = QTime::currentTime());
    static std::string Line(const std::string &text, const QTime &now);

private:
    std::string path_;
    bool on_ = false;
    bool eraseDue_ = false;
};
