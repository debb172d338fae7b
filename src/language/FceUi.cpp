#include "Fce.h"

#include <QWidget>

void CenterForm(const QWidget *ref, QWidget *form)
{
    QRect r = ref->frameGeometry();
    QRect g = form->frameGeometry();
    int left = r.left() + (r.width() - g.width()) / 2;
    int top = r.top() + (r.height() - g.height()) / 2;
    form->move(left < 0 ? 0 : left, top < 0 ? 0 : top);
}
