#include "Timer.h"

TTimer::TTimer(QObject *parent, int interval, bool enabled)
    : QObject(parent), interval_(interval), enabled_(enabled)
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer)
            OnTimer();
    });
    Restart();
}

void TTimer::SetInterval(int ms)
{
    interval_ = ms;
    Restart();
}

void TTimer::SetEnabled(bool on)
{
    enabled_ = on;
    Restart();
}

void TTimer::Restart()
{
    timer_.stop();
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
}
