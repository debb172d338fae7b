#pragma once
// A check box that shows only its caption: red when clear, blue when ticked,
// grey when disabled.
#include "Vcl.h"

class TSmCheckBox : public TCheckBox {
    Q_OBJECT
public:
    explicit TSmCheckBox(QWidget *parent = nullptr);
    // The colour the caption is written in.
    QColor TextColor() const;

protected:
    void paintEvent(QPaintEvent *e) override;
    bool hitButton(const QPoint &pos) const override;
};
