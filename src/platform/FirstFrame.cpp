#include "FirstFrame.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// The expose is handled (and the window painted) right after the filter lets
// it through; the loop ends when that event's turn is over.
class ExposeWatch : public QObject {
public:
    explicit ExposeWatch(QEventLoop &loop) : loop_(loop) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            loop_.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop &loop_;
};

} // namespace

void WaitUntilPainted(QWidget *window, int maxMs)
{
    if (!window || !window->isVisible())
        return;
    QWindow *handle = window->windowHandle();
    if (!handle || handle->isExposed())
        return;
    QEventLoop loop;
    ExposeWatch watch(loop);
    handle->installEventFilter(&watch);
    QTimer::singleShot(maxMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    handle->removeEventFilter(&watch);
}
