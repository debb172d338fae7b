#include "Fce.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void CenterForm(const QWidget *ref, QWidget *form)
{
    // Before it is first shown a form has no size of its own yet.
    if (!form->isVisible() && !form->testAttribute(Qt::WA_Resized))
        form->adjustSize();
    QRect r = ref->frameGeometry();
    QRect g = form->frameGeometry();
    int left = r.left() + (r.width() - g.width()) / 2;
    int top = r.top() + (r.height() - g.height()) / 2;
    form->move(left < 0 ? 0 : left, top < 0 ? 0 : top);
    KeepOnScreen(form);
}

namespace {

// The window manager frames a window only after it is shown: the frame may
// then push it over the screen's edge, so the check is made again.
class TFrameWatch : public QObject {
public:
    explicit TFrameWatch(QWidget *w) : QObject(w)
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
            deleteLater();
            KeepOnScreen(w);
        }
        return false;
    }
};

} // namespace

void KeepOnScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
    if (frame == window->geometry() && !(window->windowFlags() & Qt::FramelessWindowHint) &&
        !window->findChild<TFrameWatch *>(QStringLiteral("FrameWatch"), Qt::FindDirectChildrenOnly))
        new TFrameWatch(window);
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int left = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() + 1 - frame.height()));
    if (left != frame.left() || top != frame.top())
        window->move(left, top);
}
