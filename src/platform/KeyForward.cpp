#include "KeyForward.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

TKeyForward PanelKeys;

namespace {

const char kForwards[] = "forwardsKeysToPanel";

// The key press being delivered: an unused key travels from a widget on to
// its parent as the same event.
struct TDelivery {
    const QEvent *Event = nullptr;
    QPointer<QWidget> At;
    bool HandedOn = false;
};
TDelivery delivery;

} // namespace

bool TKeyForwarder::eventFilter(QObject *watched, QEvent *event)
{
    // Every typed key is asked about shortcuts first: a new key's delivery
    // starts, whatever address its event has.
    if (event->type() == QEvent::ShortcutOverride)
        delivery = {};
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    const bool travelsOn = event == delivery.Event && delivery.At && delivery.At->parentWidget() == w;
    if (!travelsOn)
        delivery.HandedOn = false;
    delivery.Event = event;
    delivery.At = w;
    if (delivery.HandedOn || !w->property(kForwards).toBool())
        return false;
    delivery.HandedOn = true;
    // A handler may run a dialog whose keys are deliveries of their own.
    const TDelivery mine = delivery;
    auto *key = static_cast<QKeyEvent *>(event);
    if (PanelKeys.KeyDown)
        PanelKeys.KeyDown(key);
    if (PanelKeys.KeyPress && !key->text().isEmpty())
        PanelKeys.KeyPress(key);
    delivery = mine;
    return false;
}

void ForwardKeys(QWidget *w)
{
    static QPointer<TKeyForwarder> forwarder;
    if (!forwarder) {
        forwarder = new TKeyForwarder(qApp);
        qApp->installEventFilter(forwarder);
    }
    w->setProperty(kForwards, true);
}
