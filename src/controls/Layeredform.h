#pragma once
// The window shape of a frameless form: a plain rectangle, the whole window
// at one opacity, or the form cut where it shows its key colour; and a timed
// fade of the opacity in or out.
#include "Color.h"

#include <QObject>
#include <QRegion>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <stdexcept>

class QImage;
class QSize;
class QWidget;

enum TLayerType { ltNone, ltAlphaBlend, ltColorKey };

class ELayeredFormError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using TFadeThreadDone = std::function<void(QObject *sender)>;

class TLayeredForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Alpha READ Alpha WRITE SetAlpha NOTIFY AlphaChanged)
public:
    // The owner must be a form (a window) without a layered form of its own.
    explicit TLayeredForm(QObject *owner);

    // After the form's stored properties are set: the form repaints at once;
    // the shape waits for the first property change.
    void Loaded();
    // Applies the active type to the form now.
    void Update();

    std::uint8_t Alpha() const { return alpha_; }
    TColor ColorKey() const { return colorKey_; }
    TLayerType LayerType() const { return layerType_; }
    // Each applies at once only when it concerns the active type.
    void SetAlpha(int alpha);
    void SetColorKey(TColor key);
    void SetLayerType(TLayerType type);

    // The region given to the form by the last colour-key cut; empty otherwise.
    QRegion Region() const { return region_; }

    // Opacity from 0 up to 255, or from 255 down to 0, by step, delay
    // milliseconds apart. A step of 0 is taken as 1. A fade started while
    // another runs takes over from it; the one replaced reports nothing.
    void FadeIn(int delay, std::uint8_t step);
    void FadeOut(int delay, std::uint8_t step);
    void ThreadDone(QObject *sender);
    TFadeThreadDone OnFadeInDone;
    TFadeThreadDone OnFadeOutDone;

    // The window without the pixels of the key colour, over a window of the given size.
    static QRegion KeyColorRegion(const QImage &picture, TColor key, const QSize &window);

signals:
    void AlphaChanged(int alpha);

private:
    void StartFade(bool in, int delay, std::uint8_t step);
    void FadeStep();

    QWidget *form_;
    std::uint8_t alpha_ = 255;
    TColor colorKey_ = clBlack;
    TLayerType layerType_ = ltNone;
    QRegion region_;
    // The fade runs on the GUI thread: a widget is touched from no other.
    QTimer fadeTimer_;
    bool fadeIn_ = true;
    int fadeDelay_ = 0;
    std::uint8_t fadeStep_ = 1;
    int fadeValue_ = 0;
};
