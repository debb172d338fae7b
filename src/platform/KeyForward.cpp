#include "KeyForward.h"
#include "PanelCalls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

TKeyForward PanelKeys;
TPanelCalls PanelCalls;

bool TKeyForwarder::eventFilter(QObject *watched, QEvent *event)
{
    // A key the focused control leaves unused travels on to its window: the
    // control has already handed it on.
    QWidget *focus = QApplication::focusWidget();
    auto *w = qobject_cast<QWidget *>(watched);
    const bool passedOn = focus && w && focus != w && w->isAncestorOf(focus);
    if (event->type() == QEvent::KeyPress && !passedOn) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (PanelKeys.KeyDown)
            PanelKeys.KeyDown(key);
        if (PanelKeys.KeyPress && !key->text().isEmpty())
            PanelKeys.KeyPress(key);
    }
    return QObject::eventFilter(watched, event);
}

void ForwardKeys(QWidget *w) { w->installEventFilter(new TKeyForwarder(w)); }
