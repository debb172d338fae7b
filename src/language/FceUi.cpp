#include "Fce.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

void CenterForm(const QWidget *ref, QWidget *form)
{
    QRect r = ref->frameGeometry();
    QRect g = form->frameGeometry();
    int left = r.left() + (r.width() - g.width()) / 2;
    int top = r.top() + (r.height() - g.height()) / 2;
    form->move(left < 0 ? 0 : left, top < 0 ? 0 : top);
}

void KeepOnScreen(QWidget *window)
{
    const QRect frame = window->frameGeometry();
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
