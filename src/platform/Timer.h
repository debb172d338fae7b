#pragma once
// A timer as the panel's forms expect one: an interval of 0 never fires
// (a QTimer with 0 would fire on every turn of the event loop).
#include <QObject>
#include <QTimer>

#include <functional>

class TTimer : public QObject {
    Q_OBJECT
public:
    explicit TTimer(QObject *parent = nullptr, int interval = 1000, bool enabled = true);

    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Active() const { return timer_.isActive(); }

    std::function<void()> OnTimer;

private:
    void Restart();
    QTimer timer_;
    int interval_;
    bool enabled_;
};
