// The drawing machinery of chameleonButton: palette, caption layout, window shape,
// captions, focus frame and the DrawButton entry point. The style sequences are in
// ButtonStyles.cpp.
#include "AccessKey.h"
#include "ButtonCanvas.h"
#include "ButtonColor.h"
#include "ButtonShape.h"
#include "chameleonButton.h"
#include "widgets/InstalledFace.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

using namespace buttoncolor;

namespace {

// Text is laid out and drawn at 96 dots per inch, the platform's screen resolution, on
// any screen; the device-pixel ratio scales the finished image.
constexpr int kDotsPerMeter96 = 3780;

const QImage& measuringDevice() {
    static const QImage device = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.setDotsPerMeterX(kDotsPerMeter96);
        img.setDotsPerMeterY(kDotsPerMeter96);
        return img;
    }();
    return device;
}

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

} // namespace

quint32 chameleonButton::shift(quint32 c, int a) const {
    return ShiftColor(c, a, false, softBevel_);
}

quint32 chameleonButton::shiftGradient(quint32 c, int a) const {
    return ShiftColor(c, a, true, softBevel_);
}

void chameleonButton::SetColors() {
    Palette& p = pal_;
    switch (colorScheme_) {
    case CustomColors:
        p.cFace = TranslateColor(backColor_);
        p.cFaceOver = TranslateColor(backOver_);
        p.cShadow = shift(p.cFace, -64);
        p.cLight = shift(p.cFace, 31);
        p.cHighlight = shift(p.cFace, 47);
        p.cDarkShadow = shift(p.cFace, -192);
        p.cText = TranslateColor(foreColor_);
        p.cTextOver = TranslateColor(foreOver_);
        p.cHot = shift(p.cFace, -128);
        p.cHotLight = p.cFace;
        break;
    case FixedClassic:
        p.cFace = p.cFaceOver = 0xC0C0C0;
        p.cShadow = 0x808080;
        p.cLight = 0xDFDFDF;
        p.cHighlight = 0xFFFFFF;
        p.cDarkShadow = 0;
        p.cText = p.cTextOver = 0;
        p.cHot = 0x800000;
        p.cHotLight = 0xD1ADAD;
        break;
    case ContainerColors: {
        // The parent's drawing surface: its background and text colours.
        const QWidget* container = parentWidget();
        const QPalette pal = container ? container->palette() : QGuiApplication::palette();
        const QPalette::ColorRole back = container ? container->backgroundRole() : QPalette::Window;
        const QPalette::ColorRole fore = container ? container->foregroundRole() : QPalette::WindowText;
        p.cFace = p.cFaceOver = fromQRgb(pal.color(back).rgb());
        p.cShadow = shift(p.cFace, -64);
        p.cLight = shift(p.cFace, 31);
        p.cHighlight = shift(p.cFace, 47);
        p.cDarkShadow = shift(p.cFace, -192);
        p.cText = p.cTextOver = fromQRgb(pal.color(fore).rgb());
        p.cHot = systemColorValue(13);
        p.cHotLight = BlendColor(p.cHot, 176);
        break;
    }
    default:
        p.cFace = p.cFaceOver = systemColorValue(15);
        p.cShadow = systemColorValue(16);
        p.cLight = systemColorValue(22);
        p.cHighlight = systemColorValue(20);
        p.cDarkShadow = systemColorValue(21);
        p.cText = p.cTextOver = systemColorValue(18);
        p.cHot = systemColorValue(13);
        p.cHotLight = BlendColor(p.cHot, 176);
        break;
    }
    p.cMask = TranslateColor(maskColor_);
    p.cFaceBright = ShiftColor(p.cFace, 48, buttonType_ == GradientRounded, softBevel_);
}

void chameleonButton::CalcTextRects() {
    const int w = width_;
    const int h = height_;
    // Rectangles as (left, top, right, bottom), right and bottom exclusive.
    int left = textRect_.left(), top = textRect_.top();
    int right = textRect_.left() + textRect_.width(), bottom = textRect_.top() + textRect_.height();
    switch (picturePosition_) {
    case PictureLeft:
        left = picW_ + 1, top = 1, right = w - 2, bottom = h - 2;
        break;
    case PictureRight:
        left = 1, top = 1, right = w - 2 - picW_, bottom = h - 2;
        break;
    case PictureTop:
        left = 1, top = picH_ + 1, right = w - 2, bottom = h - 2;
        break;
    case PictureBottom:
        left = 1, top = 1, right = w - 2, bottom = h - 2 - picH_;
        break;
    case PictureBehind:
        left = 1, top = 1, right = w - 2, bottom = h - 2;
        break;
    default:
        break;
    }
    const QFontMetrics fm(withInstalledFace(font()), &measuringDevice());
    const QRect measured =
        fm.boundingRect(QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0)),
                        Qt::TextWordWrap | Qt::TextShowMnemonic, caption_);
    right = left + measured.width();
    bottom = top + measured.height();
    textWidth_ = right - left;
    textHeight_ = bottom - top;

    int dx = 0, dy = 0;
    switch (picturePosition_) {
    case PictureLeft:
    case PictureTop:
    case PictureBehind:
        dx = (w - right) / 2;
        dy = (h - bottom) / 2;
        break;
    case PictureRight:
        dx = (w - right - picW_ - 4) / 2;
        dy = (h - bottom) / 2;
        break;
    case PictureBottom:
        dx = (w - right) / 2;
        dy = (h - bottom - picH_ - 4) / 2;
        break;
    default:
        break;
    }
    textRect_ = QRect(left + dx, top + dy, textWidth_, textHeight_);
    textRectDown_ = textRect_.translated(1, 1);
    CalcPicturePosition();
}

void chameleonButton::CalcPicturePosition() {
    if (pictureNormal_.isNull() && pictureOver_.isNull()) return;
    const int w = width_;
    const int h = height_;
    const int right = textRect_.left() + textRect_.width();
    const int bottom = textRect_.top() + textRect_.height();
    if (!caption_.trimmed().isEmpty() && picturePosition_ != PictureBehind) {
        switch (picturePosition_) {
        case PictureLeft:
            picX_ = textRect_.left() - picW_ - 4, picY_ = (h - picH_) / 2;
            break;
        case PictureRight:
            picX_ = right + 4, picY_ = (h - picH_) / 2;
            break;
        case PictureTop:
            picX_ = (w - picW_) / 2, picY_ = textRect_.top() - picH_ - 2;
            break;
        case PictureBottom:
            picX_ = (w - picW_) / 2, picY_ = bottom + 2;
            break;
        default:
            break;
        }
    } else {
        picX_ = (w - picW_) / 2;
        picY_ = (h - picH_) / 2;
    }
}

void chameleonButton::SetAccessKeys() {
    accessKey_ = accessKeyOf(caption_);
    updateAccessKeyShortcut();
}

void chameleonButton::MakeRegion() {
    buttonRegion_ = buttonRegion(buttonType_, width_, height_);
    if (buttonRegion_.isEmpty())
        clearMask();
    else
        setMask(buttonRegion_);
    update();
}

void chameleonButton::CaptureBackground() {
    QWidget* container = parentWidget();
    if (!container || width_ <= 0 || height_ <= 0)
        return; // nothing to capture: the previous background stays
    capturingBackground_ = true;
    // An opaque child would keep the parent from painting under it.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    QImage captured(width_, height_, QImage::Format_RGB32);
    captured.fill(Qt::black);
    {
        // The parent and its other children paint the area; this control paints nothing
        // while capturingBackground_ is set, so its own pixels are not included.
        QPainter p(&captured);
        container->render(&p, QPoint(), QRegion(geometry()),
                          QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    background_ = captured;
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    capturingBackground_ = false;
}

void chameleonButton::drawText(const QRect& r, quint32 colour) {
    if (caption_.isEmpty()) return;
    QPainter p(&surface_);
    p.setFont(withInstalledFace(font()));
    p.setPen(QColor::fromRgb(toQRgb(colour)));
    p.drawText(r, kTextFlags, caption_);
}

void chameleonButton::DrawCaptionEffect(const QRect& r) {
    if (specialEffect_ <= 0) return;
    quint32 base = pal_.cFace;
    if (buttonType_ == GradientRounded || buttonType_ == RoundedLight || buttonType_ == GradientFramed)
        base = pal_.cFaceBright;
    else if (lastState_ == 0 && isOver_ && colorScheme_ != CustomColors && buttonType_ == FlatHighlight)
        base = pal_.cHotLight;
    const int a = specialEffect_ == EffectEngraved ? 40 : -40;
    drawText(r.translated(1, 1), shift(base, a));
    if (specialEffect_ < EffectShadowed) drawText(r.translated(-1, -1), shift(base, -a));
}

void chameleonButton::DrawCaption(int mode) {
    captionMode_ = mode;
    switch (mode) {
    case 0:
        DrawCaptionEffect(textRect_);
        drawText(textRect_, pal_.cText);
        break;
    case 1:
        DrawCaptionEffect(textRect_);
        drawText(textRect_, pal_.cTextOver);
        break;
    case 2:
        DrawCaptionEffect(textRectDown_);
        drawText(textRectDown_, buttonType_ == RoundedLight ? pal_.cLight : pal_.cTextOver);
        break;
    case 3:
        drawText(textRectDown_, pal_.cHighlight);
        drawText(textRect_, pal_.cShadow);
        break;
    case 4:
        drawText(textRect_, pal_.cShadow);
        break;
    case 5:
        drawText(textRect_, shiftGradient(pal_.cFaceBright, -104));
        break;
    case 6:
        drawText(textRectDown_, pal_.cHighlight);
        drawText(textRect_, pal_.cFace);
        break;
    case 7:
        drawText(textRectDown_, shift(pal_.cShadow, -50));
        drawText(textRect_, pal_.cHighlight);
        break;
    default:
        break;
    }
}

void chameleonButton::DrawFocus() {
    if (!showFocusRect_ || !hasFocus_) return;
    ButtonCanvas(surface_).DrawFocusFrame(focusRect_, pal_.cText);
}

void chameleonButton::DrawButton(int state, bool force) {
    if (checkBoxBehaviour_ && value_) state = 2;
    if (!force && caption_ == lastCaption_ && state == lastState_) return;
    if (height_ <= 0 || width_ <= 0 || !redrawEnabled_) return;
    lastState_ = state;
    lastCaption_ = caption_;
    pendingDraw_ = PendingDraw{state, isOver_};
    ++drawCount_;
    update();
}

void chameleonButton::drawPending() {
    if (!pendingDraw_) return;
    const PendingDraw pending = *pendingDraw_;
    pendingDraw_.reset();
    // A control left without width or height since keeps the last surface it had.
    if (height_ <= 0 || width_ <= 0) return;
    // The pointer as it was when the drawing was asked for: a drag back inside draws the
    // down look as hovered without leaving the control hovered.
    const bool keptOver = isOver_;
    isOver_ = pending.over;
    drawSurface(pending.state);
    isOver_ = keptOver;
}

void chameleonButton::drawSurface(int state) {
    if (surface_.width() != width_ || surface_.height() != height_) {
        surface_ = QImage(width_, height_, QImage::Format_RGB32);
        surface_.setDotsPerMeterX(kDotsPerMeter96);
        surface_.setDotsPerMeterY(kDotsPerMeter96);
    }
    surface_.fill(Qt::black);

    // A hovered custom-coloured button takes its whole palette from BackOver.
    const bool hoverPalette = isOver_ && colorScheme_ == CustomColors;
    const quint32 keptBackColor = backColor_;
    if (hoverPalette) {
        backColor_ = backOver_;
        SetColors();
    }
    ButtonCanvas(surface_).DrawRectangle(0, 0, width_, height_, pal_.cFace, false);
    if (!enabled_) {
        drawDisabled();
        DrawPicture(2);
    } else if (state == 2) {
        drawDown();
        DrawPicture(1);
    } else if (state == 0) {
        drawUp();
        DrawPicture(0);
    }
    if (hoverPalette) {
        backColor_ = keptBackColor;
        SetColors();
    }
}
