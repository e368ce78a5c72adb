// The shape sequences of the fourteen button styles, in their drawing order: up (some
// styles look different while hovered), down and disabled. DrawButton has already filled
// the face with cFace.
#include "ButtonCanvas.h"
#include "ButtonColor.h"
#include "chameleonButton.h"

#include <cmath>

using buttoncolor::BlendColor;

namespace {
constexpr quint32 kOutline = 0x733C00;       // dark blue outline of the gradient style
constexpr quint32 kOutlineCorner = 0x7B4D10; // its inner corner pixels
} // namespace

// One line per row from row 1 to row H; the row shift is -(span / H) * i rounded to the
// nearest integer, halves to even. Reversed runs from the bottom row upward.
void chameleonButton::gradientRows(quint32 base, double span, bool gradientShift, bool reversed) {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    for (int i = 1; i <= h; ++i) {
        const int n = int(std::nearbyint(-(span / h) * i));
        const quint32 colour = gradientShift ? shiftGradient(base, n) : shift(base, n);
        const int y = reversed ? h - i : i;
        c.DrawLine(0, y, w, y, colour);
    }
}

void chameleonButton::drawUp() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    switch (buttonType_) {
    case ClassicOutlined:
        drawCaptionUp();
        c.DrawFrame(p.cHighlight, p.cShadow, p.cHighlight, p.cShadow, -1, false);
        c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
        DrawFocus();
        break;
    case Bevel3D:
        drawCaptionUp();
        if (showFocusRect_ && defaultButton_) {
            c.DrawFrame(p.cHighlight, p.cDarkShadow, p.cLight, p.cShadow, -1, false);
            DrawFocus();
            c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
        } else {
            c.DrawFrame(p.cHighlight, p.cDarkShadow, p.cLight, p.cShadow, 0, false);
        }
        break;
    case GradientRounded:
        drawGradientRoundedUp();
        break;
    case RoundedLight:
        drawRoundedLight(false);
        break;
    case FlatEtched:
        c.DrawRectangle(1, 1, w - 1, h - 1, shift(p.cFace, 12), false);
        drawCaptionUp();
        c.DrawRectangle(1, 1, w - 1, h - 1, p.cHighlight, true);
        c.DrawRectangle(0, 0, w - 1, h - 1, shift(p.cShadow, -26), true);
        c.DrawPixel(1, h - 2, shift(p.cShadow, 26));
        c.DrawPixel(w - 2, 1, shift(p.cShadow, 26));
        if (hasFocus_ && showFocusRect_) // the caption frame stands for the focus frame
            c.DrawRectangle(textRect_.left() - 2, textRect_.top() - 1, textWidth_ + 4, textHeight_ + 2,
                            0xCC9999, true);
        break;
    case SoftFrame: {
        const quint32 l = shift(p.cLight, 8);
        drawCaptionUp();
        c.DrawFrame(l, p.cShadow, l, p.cShadow, 0, false);
        DrawFocus();
        break;
    }
    case ThinRaised:
        drawCaptionUp();
        c.DrawFrame(p.cHighlight, p.cShadow, 0, 0, 0, true);
        DrawFocus();
        break;
    case FlatHover:
        drawCaptionUp();
        if (isOver_) c.DrawFrame(p.cHighlight, p.cShadow, 0, 0, 0, true);
        DrawFocus();
        break;
    case FlatHighlight:
        if (isOver_) c.DrawRectangle(1, 1, w, h, p.cHotLight, false);
        drawCaptionUp();
        if (isOver_) c.DrawRectangle(0, 0, w, h, p.cHot, true);
        DrawFocus();
        break;
    case Transparent:
        c.CopyFrom(background_);
        drawCaptionUp();
        DrawFocus();
        break;
    case FlatHover3D:
        drawCaptionUp();
        if (isOver_) c.DrawFrame(p.cHighlight, p.cDarkShadow, p.cLight, p.cShadow, 0, false);
        DrawFocus();
        break;
    case Oval:
        c.DrawEllipse(0, 0, w, h, isOver_ ? p.cShadow : p.cFace, p.cFace);
        drawCaptionUp();
        break;
    case GradientFramed:
        drawGradientFramedUp(false);
        break;
    default: // PlainFace and every value outside the styles: the face only
        break;
    }
}

void chameleonButton::drawDown() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    switch (buttonType_) {
    case ClassicOutlined:
        DrawCaption(2);
        c.DrawFrame(p.cShadow, p.cHighlight, p.cShadow, p.cHighlight, -1, false);
        c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
        DrawFocus();
        break;
    case Bevel3D:
        DrawCaption(2);
        if (showFocusRect_ && defaultButton_) {
            c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
            c.DrawRectangle(1, 1, w - 2, h - 2, p.cShadow, true);
            DrawFocus();
        } else {
            c.DrawFrame(p.cDarkShadow, p.cHighlight, p.cShadow, p.cLight, 0, false);
        }
        break;
    case GradientRounded:
        drawGradientRoundedDown();
        break;
    case RoundedLight:
        drawRoundedLightDown();
        break;
    case FlatEtched:
        c.DrawRectangle(1, 1, w - 2, h - 2, shift(p.cShadow, 16), false);
        c.DrawRectangle(0, 0, w - 1, h - 1, shift(p.cShadow, -26), true);
        c.DrawLine(w - 1, 1, w - 1, h, p.cHighlight);
        c.DrawLine(1, h - 1, w - 1, h - 1, p.cHighlight);
        drawText(textRect_, p.cTextOver); // no shift and no effect in this style
        if (hasFocus_ && showFocusRect_)
            c.DrawRectangle(textRect_.left() - 2, textRect_.top() - 1, textWidth_ + 4, textHeight_ + 2,
                            0xCC9999, true);
        break;
    case SoftFrame: {
        const quint32 l = shift(p.cLight, 8);
        DrawCaption(2);
        c.DrawFrame(p.cShadow, l, p.cShadow, l, 0, false);
        DrawFocus();
        break;
    }
    case ThinRaised:
    case FlatHover:
        DrawCaption(2);
        c.DrawFrame(p.cShadow, p.cHighlight, 0, 0, 0, true);
        DrawFocus();
        break;
    case FlatHighlight:
        if (isOver_)
            c.DrawRectangle(0, 0, w, h,
                            colorScheme_ == CustomColors ? shift(p.cHotLight, -32) : BlendColor(p.cHot, 128),
                            false);
        DrawCaption(2);
        c.DrawRectangle(0, 0, w, h, p.cHot, true);
        DrawFocus();
        break;
    case Transparent:
        c.CopyFrom(background_);
        DrawCaption(2);
        DrawFocus();
        break;
    case FlatHover3D:
        DrawCaption(2);
        c.DrawFrame(p.cDarkShadow, p.cHighlight, p.cShadow, p.cLight, 0, false);
        DrawFocus();
        break;
    case Oval:
        c.DrawEllipse(0, 0, w, h, p.cDarkShadow, shift(p.cFace, -32));
        DrawCaption(2);
        break;
    case GradientFramed:
        c.DrawRectangle(1, 1, w, h, shift(p.cFace, -9), false);
        c.DrawRectangle(0, 0, w, h, shift(p.cShadow, -48), true);
        c.DrawLine(2, h - 2, w - 2, h - 2, p.cHighlight);
        c.DrawLine(w - 2, 2, w - 2, h - 1, p.cHighlight);
        DrawCaption(7);
        DrawFocus();
        break;
    default:
        break;
    }
}

void chameleonButton::drawDisabled() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    switch (buttonType_) {
    case ClassicOutlined:
        DrawCaption(3);
        c.DrawFrame(p.cHighlight, p.cShadow, p.cHighlight, p.cShadow, -1, false);
        c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
        break;
    case Bevel3D:
        DrawCaption(3);
        c.DrawFrame(p.cHighlight, p.cDarkShadow, p.cLight, p.cShadow, 0, false);
        break;
    case GradientRounded:
        drawGradientRoundedDisabled();
        break;
    case RoundedLight:
        drawRoundedLight(true);
        break;
    case FlatEtched:
        DrawCaption(4);
        c.DrawRectangle(0, 0, w, h, p.cShadow, true);
        break;
    case SoftFrame: {
        const quint32 l = shift(p.cLight, 8);
        DrawCaption(4);
        c.DrawFrame(l, p.cShadow, l, p.cShadow, 0, false);
        break;
    }
    case ThinRaised:
        DrawCaption(3);
        c.DrawFrame(p.cHighlight, p.cShadow, 0, 0, 0, true);
        break;
    case FlatHover:
    case FlatHover3D:
    case Oval:
        DrawCaption(3);
        break;
    case FlatHighlight:
        DrawCaption(4);
        break;
    case Transparent:
        c.CopyFrom(background_);
        DrawCaption(3);
        break;
    case GradientFramed:
        drawGradientFramedUp(true);
        break;
    default:
        break;
    }
}

// --- GradientRounded ---------------------------------------------------------------------

void chameleonButton::drawGradientRoundedUp() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const quint32 f = pal_.cFaceBright;
    gradientRows(f, 25.0, true, false);
    drawCaptionUp();
    c.DrawRectangle(0, 0, w, h, kOutline, true);
    c.DrawPixel(1, 1, kOutlineCorner);
    c.DrawPixel(1, h - 2, kOutlineCorner);
    c.DrawPixel(w - 2, 1, kOutlineCorner);
    c.DrawPixel(w - 2, h - 2, kOutlineCorner);
    if (isOver_) { // the orange hover rim
        c.DrawRectangle(1, 2, w - 2, h - 4, 0x31B2FF, true);
        c.DrawLine(2, h - 2, w - 2, h - 2, 0x0096E7);
        c.DrawLine(2, 1, w - 2, 1, 0xCEF3FF);
        c.DrawLine(1, 2, w - 1, 2, 0x8CDBFF);
        c.DrawLine(2, 3, 2, h - 3, 0x6BCBFF);
        c.DrawLine(w - 3, 3, w - 3, h - 3, 0x6BCBFF);
    } else if (showFocusRect_ && (hasFocus_ || defaultButton_)) { // the blue focus rim
        c.DrawRectangle(1, 2, w - 2, h - 4, 0xE7AE8C, true);
        c.DrawLine(2, h - 2, w - 2, h - 2, 0xEF826B);
        c.DrawLine(2, 1, w - 2, 1, 0xFFE7CE);
        c.DrawLine(1, 2, w - 1, 2, 0xF7D7BD);
        c.DrawLine(2, 3, 2, h - 3, 0xF0D1B5);
        c.DrawLine(w - 3, 3, w - 3, h - 3, 0xF0D1B5);
    } else { // plain edges
        c.DrawLine(2, h - 2, w - 2, h - 2, shiftGradient(f, -48));
        c.DrawLine(1, h - 3, w - 2, h - 3, shiftGradient(f, -32));
        c.DrawLine(w - 2, 2, w - 2, h - 2, shiftGradient(f, -36));
        c.DrawLine(w - 3, 3, w - 3, h - 3, shiftGradient(f, -24));
        c.DrawLine(2, 1, w - 2, 1, shiftGradient(f, 16));
        c.DrawLine(1, 2, w - 2, 2, shiftGradient(f, 10));
        c.DrawLine(1, 2, 1, h - 2, shiftGradient(f, -5));
        c.DrawLine(2, 3, 2, h - 3, shiftGradient(f, -10));
    }
}

void chameleonButton::drawGradientRoundedDown() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const quint32 b = shiftGradient(pal_.cFaceBright, -32);
    gradientRows(b, 25.0, true, true);
    DrawCaption(2);
    c.DrawRectangle(0, 0, w, h, kOutline, true);
    c.DrawPixel(1, 1, kOutlineCorner);
    c.DrawPixel(1, h - 2, kOutlineCorner);
    c.DrawPixel(w - 2, 1, kOutlineCorner);
    c.DrawPixel(w - 2, h - 2, kOutlineCorner);
    c.DrawLine(2, h - 2, w - 2, h - 2, shiftGradient(b, 16));
    c.DrawLine(1, h - 3, w - 2, h - 3, shiftGradient(b, 10));
    c.DrawLine(w - 2, 2, w - 2, h - 2, shiftGradient(b, 5));
    c.DrawLine(w - 3, 3, w - 3, h - 3, pal_.cFaceBright);
    c.DrawLine(2, 1, w - 2, 1, shiftGradient(b, -32));
    c.DrawLine(1, 2, w - 2, 2, shiftGradient(b, -24));
    c.DrawLine(1, 2, 1, h - 2, shiftGradient(b, -32));
    c.DrawLine(2, 2, 2, h - 2, shiftGradient(b, -22));
}

void chameleonButton::drawGradientRoundedDisabled() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const quint32 f = pal_.cFaceBright;
    c.DrawRectangle(0, 0, w, h, shiftGradient(f, -24), false);
    DrawCaption(5);
    c.DrawRectangle(0, 0, w, h, shiftGradient(f, -84), true);
    const quint32 corner = shiftGradient(f, -72);
    c.DrawPixel(1, 1, corner);
    c.DrawPixel(1, h - 2, corner);
    c.DrawPixel(w - 2, 1, corner);
    c.DrawPixel(w - 2, h - 2, corner);
}

// --- RoundedLight --------------------------------------------------------------------------

void chameleonButton::drawRoundedLight(bool disabled) {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    c.DrawRectangle(1, 1, w - 2, h - 2, p.cLight, false);
    if (disabled)
        DrawCaption(3);
    else
        drawCaptionUp();
    c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
    c.DrawPixel(1, 1, p.cDarkShadow);
    c.DrawPixel(1, h - 2, p.cDarkShadow);
    c.DrawPixel(w - 2, 1, p.cDarkShadow);
    c.DrawPixel(w - 2, h - 2, p.cDarkShadow);
    c.DrawLine(1, 2, 2, 0, p.cFace);
    c.DrawLine(3, 2, w - 3, 2, p.cHighlight);
    c.DrawLine(2, 2, 2, h - 3, p.cHighlight);
    c.DrawPixel(3, 3, p.cHighlight);
    c.DrawLine(w - 3, 1, w - 3, h - 3, p.cFace);
    c.DrawLine(1, h - 3, w - 3, h - 3, p.cFace);
    c.DrawPixel(w - 4, h - 4, p.cFace);
    c.DrawLine(w - 2, 2, w - 2, h - 2, p.cShadow);
    c.DrawLine(2, h - 2, w - 2, h - 2, p.cShadow);
    c.DrawPixel(w - 3, h - 3, p.cShadow);
}

void chameleonButton::drawRoundedLightDown() {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    const quint32 pressed = shift(p.cShadow, -16);
    c.DrawRectangle(1, 1, w - 2, h - 2, pressed, false);
    // The caption effect takes the pressed face as its base.
    pal_.cFaceBright = pressed;
    DrawCaption(2);
    pal_.cFaceBright = shift(p.cFace, 48);
    const quint32 deep = shift(p.cShadow, -64);
    const quint32 mid = shift(p.cShadow, -32);
    c.DrawRectangle(0, 0, w, h, p.cDarkShadow, true);
    c.DrawRectangle(1, 1, w - 2, h - 2, deep, true);
    c.DrawRectangle(2, 2, w - 4, h - 4, mid, true);
    c.DrawPixel(2, 2, deep);
    c.DrawPixel(3, 3, mid);
    c.DrawPixel(1, 1, p.cDarkShadow);
    c.DrawPixel(1, h - 2, p.cDarkShadow);
    c.DrawPixel(w - 2, 1, p.cDarkShadow);
    c.DrawPixel(w - 2, h - 2, p.cDarkShadow);
    c.DrawLine(w - 3, 1, w - 3, h - 3, p.cShadow);
    c.DrawLine(1, h - 3, w - 2, h - 3, p.cShadow);
    c.DrawPixel(w - 4, h - 4, p.cShadow);
    c.DrawLine(w - 2, 3, w - 2, h - 2, pressed);
    c.DrawLine(3, h - 2, w - 2, h - 2, pressed);
    c.DrawLine(w - 2, h - 3, w - 4, h - 1, mid);
    c.DrawPixel(2, h - 2, mid);
    c.DrawPixel(w - 2, 2, mid);
}

// --- GradientFramed ------------------------------------------------------------------------

void chameleonButton::drawGradientFramedUp(bool disabled) {
    ButtonCanvas c(surface_);
    const int w = width_, h = height_;
    const Palette& p = pal_;
    if (isOver_ && !disabled)
        c.DrawRectangle(0, 0, w, h, p.cLight, false);
    else
        gradientRows(p.cHighlight, 58.0, false, false);

    auto frameShapes = [&] {
        c.DrawRectangle(0, 0, w, h, shift(p.cShadow, -50), true);
        c.DrawRectangle(1, 1, w - 2, h - 2, shift(p.cFace, -9), true);
        c.DrawRectangle(2, 2, w - 4, 2, p.cHighlight, false);
        c.DrawRectangle(2, 4, 2, h - 6, p.cHighlight, false);
    };
    if (disabled) {
        frameShapes();
        DrawCaption(6);
        return;
    }
    if (defaultButton_) {
        // The default button's caption is bold; the layout follows the bold font.
        const QFont kept = font();
        redrawEnabled_ = false;
        QFont bold = kept;
        bold.setBold(true);
        QWidget::setFont(bold);
        CalcTextRects();
        drawCaptionUp();
        QWidget::setFont(kept);
        CalcTextRects();
        redrawEnabled_ = true;
    } else {
        drawCaptionUp();
    }
    frameShapes();
    DrawFocus();
}
