#pragma once
// Windows that hand their keys to the panel do it through here; the panel
// plugs its key handlers in once it exists.
#include <QObject>

#include <functional>

class QKeyEvent;
class QWidget;

struct TKeyForward {
    // A key went down (every key); then, for keys that type a character, KeyPress.
    std::function<void(QKeyEvent *)> KeyDown;
    std::function<void(QKeyEvent *)> KeyPress;
};

extern TKeyForward PanelKeys;

// Hands w's key events to PanelKeys, and those its controls leave unused.
void ForwardKeys(QWidget *w);

// Follows every key press of the application from the control that gets it
// up through the parents that it travels on to, and hands it on once, at the
// first widget that forwards keys.
class TKeyForwarder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
