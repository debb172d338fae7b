#include "KeyForward.h"

#include <QKeyEvent>
#include <QWidget>

TKeyForward PanelKeys;

bool TKeyForwarder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (PanelKeys.KeyDown)
            PanelKeys.KeyDown(key);
        if (PanelKeys.KeyPress && !key->text().isEmpty())
            PanelKeys.KeyPress(key);
    }
    return QObject::eventFilter(watched, event);
}

void ForwardKeys(QWidget *w) { w->installEventFilter(new TKeyForwarder(w)); }
