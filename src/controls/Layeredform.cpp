#include "Layeredform.h"

#include <QDebug>
#include <QImage>
#include <QWidget>

#include <algorithm>

TLayeredForm::TLayeredForm(QObject *owner) : QObject(owner)
{
    auto *form = owner && owner->isWidgetType() ? static_cast<QWidget *>(owner) : nullptr;
    if (!form || !form->isWindow())
        throw ELayeredFormError("Control parent must be a form!");
    if (form->findChildren<TLayeredForm *>(QString(), Qt::FindDirectChildrenOnly).size() > 1)
        throw ELayeredFormError("Only one instance of TLayeredForm allowed on form");
    form_ = form;
    fadeTimer_.setSingleShot(true);
    connect(&fadeTimer_, &QTimer::timeout, this, [this] { FadeStep(); });
}

void TLayeredForm::Loaded()
{
    if (form_->isVisible())
        form_->repaint();
}

void TLayeredForm::SetAlpha(int alpha)
{
    const auto a = static_cast<std::uint8_t>(std::clamp(alpha, 0, 255));
    const bool changed = a != alpha_;
    alpha_ = a;
    if (layerType_ == ltAlphaBlend)
        Update();
    if (changed)
        emit AlphaChanged(a);
}

void TLayeredForm::SetColorKey(TColor key)
{
    colorKey_ = key;
    if (layerType_ == ltColorKey)
        Update();
}

void TLayeredForm::SetLayerType(TLayerType type)
{
    if (type == layerType_)
        return;
    layerType_ = type;
    Update();
}

void TLayeredForm::Update()
{
    if (layerType_ == ltColorKey) {
        // The key is matched against what the form shows, its controls included.
        QImage shown(form_->size(), QImage::Format_RGB32);
        form_->render(&shown, QPoint(), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren | QWidget::IgnoreMask);
        region_ = KeyColorRegion(shown, colorKey_, form_->size());
        form_->setMask(region_);
    } else {
        region_ = QRegion();
        form_->clearMask();
    }
    form_->setWindowOpacity(layerType_ == ltAlphaBlend ? alpha_ / 255.0 : 1.0);
}

QRegion TLayeredForm::KeyColorRegion(const QImage &picture, TColor key, const QSize &window)
{
    QRegion region(0, 0, window.width(), window.height());
    if (picture.isNull())
        return region;
    const TColor rgb = ResolveColor(key);
    const QRgb keyPixel = qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    // Each row's runs of the key colour, one-pixel-high rectangles in y-x order.
    QList<QRect> runs;
    const int width = opaque.width(), height = opaque.height();
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(opaque.constScanLine(y));
        for (int x = 0; x < width;) {
            if (line[x] != keyPixel) {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && line[end] == keyPixel)
                ++end;
            runs.append(QRect(x, y, end - x, 1));
            x = end;
        }
    }
    QRegion cut;
    cut.setRects(runs.constData(), static_cast<int>(runs.size()));
    return region.subtracted(cut);
}

void TLayeredForm::FadeIn(int delay, std::uint8_t step) { StartFade(true, delay, step); }
void TLayeredForm::FadeOut(int delay, std::uint8_t step) { StartFade(false, delay, step); }

void TLayeredForm::StartFade(bool in, int delay, std::uint8_t step)
{
    fadeTimer_.stop();
    fadeIn_ = in;
    fadeDelay_ = std::max(delay, 0);
    // A step of 0 would never reach the end: the slowest fade that does.
    fadeStep_ = std::max<std::uint8_t>(step, 1);
    qDebug().noquote() << QStringLiteral("fade time = %1").arg(delay);
    SetAlpha(in ? 0 : 255);
    SetLayerType(ltAlphaBlend);
    fadeValue_ = in ? 0 : 255;
    FadeStep();
}

void TLayeredForm::FadeStep()
{
    if (fadeIn_ ? fadeValue_ < 255 : fadeValue_ > 0) {
        SetAlpha(fadeValue_);
        fadeValue_ += fadeIn_ ? fadeStep_ : -fadeStep_;
        fadeTimer_.start(fadeDelay_);
        return;
    }
    SetAlpha(fadeIn_ ? 255 : 0);
    ThreadDone(this);
}

void TLayeredForm::ThreadDone(QObject *sender)
{
    const TFadeThreadDone &done = fadeIn_ ? OnFadeInDone : OnFadeOutDone;
    if (done)
        done(sender);
}
