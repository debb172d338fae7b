// Mouse input of the skin controls, delivered in the class library's order:
// a double click reads down, click, up, double click, down, up - with no
// second click (Qt would report a second press instead).
#include "Skin.h"
#include "SkinHost.h"
#include "Vcl.h"

#include <QMenu>
#include <QMouseEvent>

namespace {
bool IsImage(const QObject *o) { return std::string(o->metaObject()->className()) == "TImage"; }
} // namespace

bool TSkin::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control || control->parent() != Owner)
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    // The second press of a double click: the double-click event that follows stands for it.
    if (type == QEvent::MouseButtonPress && (mouse->flags() & Qt::MouseEventCreatedDoubleClick))
        return true;
    const bool left = mouse->button() == Qt::LeftButton;
    QPointer<QWidget> alive(control);
    if (type == QEvent::MouseButtonPress) {
        pressed_ = left ? control : nullptr;
        MouseDown(control, mouse->buttons() & Qt::LeftButton);
    } else if (type == QEvent::MouseButtonDblClick) {
        pressed_ = nullptr;
        if (left)
            DblClick(control);
        if (alive)
            MouseDown(control, mouse->buttons() & Qt::LeftButton);
    } else {
        const bool click = left && pressed_ == control && control->rect().contains(mouse->position().toPoint());
        pressed_ = nullptr;
        if (click)
            Click(control);
        if (alive)
            MouseUp(control);
    }
    return true;
}

void TSkin::MouseDown(QWidget *control, bool leftHeld)
{
    const int tag = TagOf(control);
    if (!IsImage(control) || tag >= 900)
        return;
    const std::string name = FromQ(control->objectName());
    SetImageState(name, leftHeld ? 1 : 0);
    if (leftHeld && host_)
        host_->OnPanelButtonDown(tag);
}

void TSkin::MouseUp(QWidget *control)
{
    const int tag = TagOf(control);
    if (!IsImage(control) || tag >= 900)
        return;
    SetImageState(FromQ(control->objectName()), 0);
    if (host_)
        host_->OnPanelButtonUp(tag);
}

void TSkin::Click(QWidget *control)
{
    if (!host_)
        return;
    const std::string name = FromQ(control->objectName());
    if (IsImage(control))
        host_->ExecutePanelFunction(TagOf(control), name);
    else
        host_->LookupDispNumber(name);
}

void TSkin::DblClick(QWidget *control)
{
    if (!host_)
        return;
    if (IsImage(control)) {
        QPointer<QWidget> alive(control);
        host_->OnPanelButtonDblClick(TagOf(control));
        if (alive)
            host_->OnImageDblClick(FromQ(control->objectName()));
    } else
        host_->ShowDispNumber(FromQ(control->objectName()));
}

void TSkin::ShowPopup(QWidget *control, QMenu *menu, const QPoint &pos)
{
    popupComponent_ = control;
    if (menu)
        menu->popup(control->mapToGlobal(pos));
}
