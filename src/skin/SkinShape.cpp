// The panel's outline: a frameless window shaped by its layered form, with
// the background picture's bottom-left colour letting the panel show through.
#include "Layeredform.h"
#include "Skin.h"
#include "Vcl.h"

TLayeredForm *TSkin::LayeredForm() const
{
    auto *layered = Owner->findChild<TLayeredForm *>(QString(), Qt::FindDirectChildrenOnly);
    if (!layered) {
        layered = new TLayeredForm(Owner);
        layered->setObjectName(QStringLiteral("LayeredForm1"));
    }
    return layered;
}

void TSkin::ApplyWindowShape(TColor colorKey, int alpha, int type)
{
    if (!(Owner->windowFlags() & Qt::FramelessWindowHint))
        Owner->setWindowFlag(Qt::FramelessWindowHint, true);
    TLayeredForm *layered = LayeredForm();
    const auto layerType = type == ltAlphaBlend || type == ltColorKey ? static_cast<TLayerType>(type) : ltNone;
    layered->SetColorKey(colorKey);
    layered->SetAlpha(alpha);
    layered->SetLayerType(layerType);
    if (BackImage && !background_.isNull()) {
        // A key that is the see-through colour itself still cuts: skins keyed
        // on their outline colour rely on it.
        const TColor key = ResolveColor(colorKey);
        const QRgb corner = background_.pixel(0, background_.height() - 1);
        const bool keyedCorner = layerType == ltColorKey && qRgb(RedOf(key), GreenOf(key), BlueOf(key)) ==
                                                                (corner | 0xFF000000u);
        if (!keyedCorner)
            BackImage->SetPicture(QPixmap::fromImage(BottomLeftSeeThrough(background_)));
    }
    // The cut follows what the panel shows now.
    if (layerType == ltColorKey)
        layered->Update();
    Region = layered->Region();
    Owner->show();
    Owner->raise();
}
