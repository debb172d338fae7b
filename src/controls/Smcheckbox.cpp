#include "Smcheckbox.h"

#include <QPainter>

TSmCheckBox::TSmCheckBox(QWidget *parent) : TCheckBox(parent) {}

QColor TSmCheckBox::TextColor() const
{
    if (!isEnabled())
        return QColor(128, 128, 128);
    // A greyed (third-state) box is not ticked.
    return checkState() == Qt::Checked ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

void TSmCheckBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(font());
    p.setPen(TextColor());
    p.drawText(rect().adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text());
}

// With no check mark drawn, the whole control is the place to click.
bool TSmCheckBox::hitButton(const QPoint &pos) const { return rect().contains(pos); }
