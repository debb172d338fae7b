#include "KeyForward.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

TKeyForward PanelKeys;

namespace {

// The key last handed on, and where: a handler may open a modal dialog that
// moves the focus, so the focus alone cannot tell that the same key, now
// travelling on to the window, was handed on already.
const QEvent *forwarded = nullptr;
QPointer<QWidget> forwardedAt;

} // namespace

bool TKeyForwarder::eventFilter(QObject *watched, QEvent *event)
{
    // A key the focused control leaves unused travels on to its window: the
    // control has already handed it on.
    QWidget *focus = QApplication::focusWidget();
    auto *w = qobject_cast<QWidget *>(watched);
    const bool passedOn = focus && w && focus != w && w->isAncestorOf(focus);
    const bool again = event == forwarded && forwardedAt && w && focus != w && forwardedAt != w &&
                       w->isAncestorOf(forwardedAt);
    if (event->type() == QEvent::KeyPress && !passedOn && !again) {
        auto *key = static_cast<QKeyEvent *>(event);
        forwarded = event;
        forwardedAt = w;
        if (PanelKeys.KeyDown)
            PanelKeys.KeyDown(key);
        if (PanelKeys.KeyPress && !key->text().isEmpty())
            PanelKeys.KeyPress(key);
    }
    return QObject::eventFilter(watched, event);
}

void ForwardKeys(QWidget *w) { w->installEventFilter(new TKeyForwarder(w)); }
