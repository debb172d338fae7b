#pragma once
// A push button whose face is a glyph strip (up, disabled, down, focused,
// default) painted over a copy of the picture lying behind it.
#include "Vcl.h"

#include <QImage>

enum TGrphBtnState { gbsUp = 0, gbsDisabled = 1, gbsDown = 2, gbsFocused = 3, gbsDefault = 4 };

class TGrphBtn : public TButton {
    Q_OBJECT
public:
    explicit TGrphBtn(QWidget *parent = nullptr);

    const QImage &Glyph() const { return glyph_; }
    void SetGlyph(const QImage &glyph);
    int NumGlyphs() const { return numGlyphs_; }
    // Kept within 1 to 5.
    void SetNumGlyphs(int n);
    bool IsDefault() const { return default_; }
    void SetButtonStyle(bool isDefault);

    TGrphBtnState State() const;
    void DrawGlyph(QPainter &canvas, int state);
    void SetForeGround(QImage &bitmap, int state) const;
    void SetBackGround(QImage &bitmap) const;

protected:
    void paintEvent(QPaintEvent *e) override;
    void moveEvent(QMoveEvent *e) override;
    void changeEvent(QEvent *e) override;

private:
    QImage glyph_;
    int numGlyphs_ = 5;
    bool default_ = false;
};
