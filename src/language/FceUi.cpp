#include "Fce.h"

#include "Placement.h"
#include "ScreenFit.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <functional>

namespace {

// The window manager frames a window only after it is shown, and the frame
// changes its size: what was placed by the frame is placed again then.
class TFrameWatch : public QObject {
public:
    TFrameWatch(QWidget *w, std::function<void()> place) : QObject(w), place_(std::move(place))
    {
        setObjectName(QStringLiteral("FrameWatch"));
        w->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type t = event->type();
        auto *w = static_cast<QWidget *>(watched);
        if ((t == QEvent::Move || t == QEvent::Resize || t == QEvent::Show) && w->frameGeometry() != w->geometry()) {
            w->removeEventFilter(this);
            setParent(nullptr);
            deleteLater();
            place_();
        }
        return false;
    }

private:
    std::function<void()> place_;
};

TFrameWatch *WatchOf(QWidget *w)
{
    return w->findChild<TFrameWatch *>(QStringLiteral("FrameWatch"), Qt::FindDirectChildrenOnly);
}

// Places again once framed, in place of any earlier wish.
void WhenFramed(QWidget *w, std::function<void()> place)
{
    if (w->frameGeometry() != w->geometry() || (w->windowFlags() & Qt::FramelessWindowHint))
        return;
    delete WatchOf(w);
    new TFrameWatch(w, std::move(place));
}

void ClampToScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect area = AvailableArea(window, frame);
    if (area.isEmpty())
        return;
    const QPoint at = PulledOnto(frame, area);
    if (at != frame.topLeft())
        window->move(at);
}

void Centre(const QWidget *ref, QWidget *form)
{
    QRect r = ref->frameGeometry();
    QRect g = form->frameGeometry();
    int left = r.left() + (r.width() - g.width()) / 2;
    int top = r.top() + (r.height() - g.height()) / 2;
    form->move(left < 0 ? 0 : left, top < 0 ? 0 : top);
    ClampToScreen(form);
}

} // namespace

void CenterForm(const QWidget *ref, QWidget *form)
{
    // Before it is first shown a form has no size of its own yet.
    if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    Centre(ref, form);
    WhenFramed(form, [ref = QPointer<const QWidget>(ref), form] {
        if (ref)
            Centre(ref, form);
        else
            ClampToScreen(form);
    });
}

void KeepOnScreen(QWidget *window)
{
    ClampToScreen(window);
    if (!WatchOf(window))
        WhenFramed(window, [window] { ClampToScreen(window); });
}
