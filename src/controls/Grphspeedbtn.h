#pragma once
// A speed button painted like TGrphBtn: its glyph strip (up, disabled, down,
// exclusive) over a copy of the picture lying behind it.
#include "Vcl.h"

#include <QImage>

class TGrphSpeedBtn : public TSpeedButton {
    Q_OBJECT
public:
    explicit TGrphSpeedBtn(QWidget *parent = nullptr);

    QImage Glyph;
    int NumGlyphs() const { return numGlyphs_; }
    // Kept within 1 to 4.
    void SetNumGlyphs(int n);

    // 0 up, 1 disabled, 2 down, 3 exclusive (held down).
    int State() const;
    void DrawGlyph(QPainter &canvas, int state);
    void SetForeGround(QImage &bitmap, int state) const;
    void SetBackGround(QImage &bitmap) const;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    int numGlyphs_ = 1;
};
