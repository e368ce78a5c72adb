// The button's pictures: their size, and their drawing in the up, hovered, down and
// disabled looks with the relief effect. Placement is in ButtonRendering.cpp.
#include "ButtonColor.h"
#include "ButtonPicture.h"
#include "chameleonButton.h"

using buttonpicture::Transfer;

void chameleonButton::GetPictureSize() {
    if (pictureNormal_.isNull()) {
        picW_ = picH_ = 0;
        return;
    }
    const QSize stored = buttonpicture::storedSize(pictureNormal_);
    picW_ = buttonpicture::hiMetricToPixels(stored.width());
    picH_ = buttonpicture::hiMetricToPixels(stored.height());
}

// One transfer of pic at its placed size to (x, y), with the mask colour when it is used.
void chameleonButton::drawPictureAt(int x, int y, const QImage& pic, const Transfer& transfer) {
    Transfer t = transfer;
    t.hasMask = useMaskColor_;
    t.mask = pal_.cMask;
    buttonpicture::DrawPictureTransparent(surface_, x, y, picW_, picH_, pic, t);
}

namespace {
Transfer solid(quint32 colour, bool darkOnly = false) {
    Transfer t;
    t.hasSolid = true;
    t.solid = colour;
    t.darkOnly = darkOnly;
    return t;
}
} // namespace

void chameleonButton::DrawPictureEffect(int d, const QImage& pic) {
    if (specialEffect_ <= 0) return;
    quint32 base = pal_.cHotLight;
    if (buttonType_ == GradientRounded)
        base = pal_.cFaceBright;
    else if (d != -1 || colorScheme_ == CustomColors)
        base = pal_.cFace;
    const int a = specialEffect_ == EffectEngraved ? 40 : -40;
    drawPictureAt(picX_ + 1 + d, picY_ + 1 + d, pic, solid(shift(base, a)));
    if (specialEffect_ < EffectShadowed)
        drawPictureAt(picX_ - 1 + d, picY_ - 1 + d, pic, solid(shift(base, -a)));
}

void chameleonButton::DrawPicture(int pictureState) {
    if (pictureNormal_.isNull()) return;
    const bool hasOver = !pictureOver_.isNull();
    switch (pictureState) {
    case 0:
        if (isOver_) {
            if (buttonType_ == FlatHighlight) { // raised, with a shadow one pixel down and right
                DrawPictureEffect(-1, pictureNormal_);
                drawPictureAt(picX_ + 1, picY_ + 1, pictureNormal_, solid(pal_.cShadow));
                drawPictureAt(picX_ - 1, picY_ - 1, pictureNormal_, Transfer());
            } else {
                const QImage& pic = hasOver ? pictureOver_ : pictureNormal_;
                DrawPictureEffect(0, pic);
                drawPictureAt(picX_, picY_, pic, Transfer());
            }
        } else {
            DrawPictureEffect(0, pictureNormal_);
            Transfer t;
            t.greyscale = useGreyscale_;
            t.fade = buttonType_ == FlatHighlight;
            drawPictureAt(picX_, picY_, pictureNormal_, t);
        }
        break;
    case 1:
        if (hasOver && buttonType_ != FlatHighlight) {
            const int d = buttonType_ == FlatEtched ? 0 : 1;
            drawPictureAt(picX_ + d, picY_ + d, pictureOver_, Transfer());
        } else if (buttonType_ != FlatEtched && buttonType_ != FlatHighlight) {
            DrawPictureEffect(1, pictureNormal_);
            drawPictureAt(picX_ + 1, picY_ + 1, pictureNormal_, Transfer());
        } else {
            DrawPictureEffect(0, pictureNormal_);
            drawPictureAt(picX_, picY_, pictureNormal_, Transfer());
        }
        break;
    case 2:
        switch (buttonType_) {
        case GradientRounded: {
            Transfer t;
            t.greyscale = true;
            drawPictureAt(picX_ + 1, picY_ + 1, pictureNormal_, t);
            break;
        }
        case FlatEtched:
        case SoftFrame:
            drawPictureAt(picX_, picY_, pictureNormal_, solid(pal_.cShadow, true));
            break;
        case FlatHighlight:
            drawPictureAt(picX_, picY_, pictureNormal_, solid(shift(pal_.cShadow, 13), true));
            break;
        default: // a light copy one pixel down and right under a shadow-coloured one
            drawPictureAt(picX_ + 1, picY_ + 1, pictureNormal_, solid(pal_.cHighlight, true));
            drawPictureAt(picX_, picY_, pictureNormal_, solid(pal_.cShadow, true));
            break;
        }
        break;
    default:
        return;
    }
    // A picture behind the caption: the caption goes over it again, in the styles that
    // draw one.
    if (picturePosition_ == PictureBehind && buttonType_ >= ClassicOutlined &&
        buttonType_ <= GradientFramed && buttonType_ != PlainFace)
        DrawCaption(captionMode_);
}
