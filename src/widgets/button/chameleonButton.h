#pragma once

#include "widgets/PropertyBag.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace buttonpicture {
struct Transfer;
}

// The skinnable push button of every window: it paints itself completely in one of
// fourteen styles into a persistent image, which paintEvent shows.
//
// A window loads each of its buttons from stored settings and listens to Click:
//     auto* b = new chameleonButton(this);
//     b->ReadProperties(standardButtonProperties(QStringLiteral("Search")));
//     b->setGeometry(twipsRect(...));
//     connect(b, &chameleonButton::Click, this, &Form1::chameleonButton1_Click);
// The container marks its default button with setDefaultButton(true).
//
// Colours are 0x00BBGGRR values (red + 256 green + 65536 blue) or system colour references
// (high bit set, low byte the index). Getters return the stored, untranslated values.
// Every setter that changes a stored setting emits PropertyChanged with its key.
class chameleonButton : public QWidget {
    Q_OBJECT

public:
    enum ButtonTypes {
        ClassicOutlined = 1,
        Bevel3D = 2,
        GradientRounded = 3,
        RoundedLight = 4,
        FlatEtched = 5,
        SoftFrame = 6,
        ThinRaised = 7,
        FlatHover = 8,
        FlatHighlight = 9,
        PlainFace = 10,
        Transparent = 11,
        FlatHover3D = 12,
        Oval = 13,
        GradientFramed = 14
    };
    enum ColorSchemes { SystemColors = 1, CustomColors = 2, FixedClassic = 3, ContainerColors = 4 };
    enum PicturePositions {
        PictureLeft = 0,
        PictureRight = 1,
        PictureTop = 2,
        PictureBottom = 3,
        PictureBehind = 4
    };
    enum SpecialEffects { EffectNone = 0, EffectEmbossed = 1, EffectEngraved = 2, EffectShadowed = 3 };

    explicit chameleonButton(QWidget* parent = nullptr);
    ~chameleonButton() override;

    // --- Properties -----------------------------------------------------------------
    int ButtonType() const { return buttonType_; }
    void setButtonType(int value);
    int ColorScheme() const { return colorScheme_; }
    void setColorScheme(int value);
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 value);
    quint32 BackOver() const { return backOver_; }
    void setBackOver(quint32 value);
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 value);
    quint32 ForeOver() const { return foreOver_; }
    void setForeOver(quint32 value);
    quint32 MaskColor() const { return maskColor_; }
    void setMaskColor(quint32 value);
    bool UseMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool value);
    bool UseGreyscale() const { return useGreyscale_; }
    void setUseGreyscale(bool value);
    QString Caption() const { return caption_; }
    void setCaption(const QString& value);
    bool Enabled() const { return enabled_; }
    // Also enables or disables the window. Hides QWidget::setEnabled on purpose.
    void setEnabled(bool value);
    QFont Font() const { return font(); }
    // Sets the window's font. Hides QWidget::setFont on purpose.
    void setFont(const QFont& value);
    bool FontBold() const { return font().bold(); }
    void setFontBold(bool value);
    bool FontItalic() const { return font().italic(); }
    void setFontItalic(bool value);
    bool FontUnderline() const { return font().underline(); }
    void setFontUnderline(bool value);
    short FontSize() const;
    void setFontSize(short points);
    QString FontName() const { return font().family(); }
    void setFontName(const QString& value);
    bool ShowFocusRect() const { return showFocusRect_; }
    void setShowFocusRect(bool value);
    bool SoftBevel() const { return softBevel_; }
    void setSoftBevel(bool value);
    QImage PictureNormal() const { return pictureNormal_; }
    void setPictureNormal(const QImage& value);
    QImage PictureOver() const { return pictureOver_; }
    void setPictureOver(const QImage& value);
    int PicturePosition() const { return picturePosition_; }
    void setPicturePosition(int value);
    int SpecialEffect() const { return specialEffect_; }
    void setSpecialEffect(int value);
    bool CheckBoxBehaviour() const { return checkBoxBehaviour_; }
    void setCheckBoxBehaviour(bool value);
    bool Value() const { return value_; }
    void setValue(bool value);
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int value);
    QImage MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QImage& value);
    bool HandPointer() const { return handPointer_; }
    void setHandPointer(bool value);
    // The control's window; asking for it gives the widget a native window.
    WId hWnd() { return winId(); }
    QString Version() const { return QStringLiteral("2.0.6"); }

    // --- Methods ----------------------------------------------------------------------
    void Refresh();
    void DisableRefresh() { redrawEnabled_ = false; }

    // --- Container flags ----------------------------------------------------------------
    // Whether the container shows this button as its default button. Qt has no ambient
    // properties, so the container sets it. A change counts as a change of the container's
    // values: the palette is recomputed unless the colours are custom, and the button is
    // redrawn in every scheme, so that the default-button look never goes stale.
    bool isDefaultButton() const { return defaultButton_; }
    void setDefaultButton(bool value);
    // Design mode (a form designer) rather than run time; false by default.
    bool designMode() const { return designMode_; }
    void setDesignMode(bool value) { designMode_ = value; }

    // --- Stored settings -------------------------------------------------------------
    // The defaults of an instance placed in a designer for the first time.
    void InitProperties(const QString& displayName);
    // Applies a stored set; missing keys take their defaults. Returns one message for
    // every value that could not be converted to its type (that key kept its default).
    QStringList ReadProperties(const PropertyBag& bag);
    // Writes every key, in the fixed order, without defaults.
    void WriteProperties(PropertyBag& bag) const;

    // --- Drawing, for readers of pixels -------------------------------------------------
    // The persistent drawing surface (RGB32, W x H), with the last drawing asked for made.
    const QImage& surface() {
        drawPending();
        return surface_;
    }
    // The surface with pixels outside the window shape made transparent (ARGB32).
    QImage shapedImage();
    // The window shape in effect.
    QRegion buttonShape() const { return buttonRegion_; }
    // The current access key in lower case, or a null QChar.
    QChar accessKey() const { return accessKey_; }
    QRect textRect() const { return textRect_; }
    QRect textRectDown() const { return textRectDown_; }
    QRect focusRect() const { return focusRect_; }
    // Where the picture goes and its size in pixels (picX, picY, picW, picH).
    QRect pictureRect() const { return QRect(picX_, picY_, picW_, picH_); }
    int lastState() const { return lastState_; }
    // How many drawings were asked for since creation (skipped drawings are not counted).
    quint64 drawCount() const { return drawCount_; }
    // Whether the pointer is taken to be over the control (hover look, hover timer on).
    bool isHovered() const { return isOver_; }
    bool hoverTimerActive() const { return OverTimer.isActive(); }
    int lastButton() const { return lastButton_; }
    int lastKey() const { return lastKey_; }

    // The palette computed from the colour properties and the scheme.
    struct Palette {
        quint32 cFace = 0, cLight = 0, cHighlight = 0, cShadow = 0, cDarkShadow = 0, cText = 0, cTextOver = 0,
                cFaceOver = 0, cMask = 0, cFaceBright = 0, cHot = 0, cHotLight = 0;
    };
    const Palette& colors() const { return pal_; }

    // The only entry point for painting: state 0 up, 2 down; without force nothing is
    // drawn when neither the state nor the caption changed since the last drawing. The
    // drawing is made into the surface when it is next painted or read: of several asked
    // for in between (a resize and a show, say) only the last is made, as each one covers
    // the whole surface.
    void DrawButton(int state, bool force);

    QSize sizeHint() const override { return QSize(67, 25); }

signals:
    // The events, in their fixed order. Mouse buttons are 1 left, 2 right, 4 middle (for
    // MouseMove the buttons held, added up); shift is 1 Shift + 2 Ctrl + 4 Alt; x and y are
    // twips from the control's top-left corner; key codes are virtual key numbers (32 space,
    // 37 to 40 the arrows, 65 to 90 the letters). The arguments are references: the control
    // reads them back after the event, so a handler that changes the button or key code
    // changes what the control does.
    void Click();
    void MouseDown(short& button, short& shift, float& x, float& y);
    void MouseMove(short& button, short& shift, float& x, float& y);
    void MouseUp(short& button, short& shift, float& x, float& y);
    void KeyPress(short& keyAscii);
    void KeyDown(short& keyCode, short& shift);
    void KeyUp(short& keyCode, short& shift);
    void MouseOver();
    void MouseOut();

    // The stored set changed; key names the setting.
    void PropertyChanged(const QString& key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    friend class ChameleonButtonAccessible;

    // Rendering machinery.
    void SetColors();
    quint32 shift(quint32 c, int a) const;         // gradient off
    quint32 shiftGradient(quint32 c, int a) const; // gradient on
    void CalcTextRects();
    void CalcPicturePosition();
    void GetPictureSize();
    void SetAccessKeys();
    void MakeRegion();
    void CaptureBackground();
    void DrawCaption(int mode);
    void DrawCaptionEffect(const QRect& r);
    void drawText(const QRect& r, quint32 colour);
    void DrawFocus();
    void DrawPicture(int pictureState);
    void DrawPictureEffect(int offset, const QImage& picture);
    void drawPictureAt(int x, int y, const QImage& picture, const buttonpicture::Transfer& transfer);
    void handleResize();
    void clickHandling();
    // Input.
    bool IsMouseOver(const QPoint& globalPos) const;
    void pressHandling(short button, short shift, float x, float y);
    void OverTimer_Timer();
    void updateAccessKeyShortcut();
    void applyPointer();
    void fontChanged();

    // The style sequences.
    void drawUp();
    void drawDown();
    void drawDisabled();
    void drawGradientRoundedUp();
    void drawGradientRoundedDown();
    void drawGradientRoundedDisabled();
    void drawRoundedLight(bool disabled);
    void drawRoundedLightDown();
    void drawGradientFramedUp(bool disabled);
    void gradientRows(quint32 base, double span, bool gradientShift, bool reversed);
    void drawCaptionUp() { DrawCaption(isOver_ ? 1 : 0); }

    // Stored settings.
    int buttonType_ = 0;
    int colorScheme_ = 0;
    int picturePosition_ = 0;
    int specialEffect_ = 0;
    int height_ = 0;
    int width_ = 0;
    quint32 backColor_ = 0, backOver_ = 0, foreColor_ = 0, foreOver_ = 0, maskColor_ = 0;
    bool useMaskColor_ = false, useGreyscale_ = false, handPointer_ = false;
    QImage pictureNormal_, pictureOver_;
    QImage background_; // captured parent pixels, Transparent type only
    QString caption_;
    QRect textRect_, textRectDown_, focusRect_;
    int textWidth_ = 0, textHeight_ = 0;
    int picX_ = 0, picY_ = 0, picW_ = 0, picH_ = 0;
    QRegion buttonRegion_;
    int lastButton_ = 0;
    int lastKey_ = 0;
    bool enabled_ = false, softBevel_ = false, hasFocus_ = false, showFocusRect_ = false;
    Palette pal_;
    int lastState_ = 0;
    QString lastCaption_;
    bool redrawEnabled_ = true;
    bool isOver_ = false;
    bool capturingBackground_ = false;
    int captionMode_ = 0;
    bool checkBoxBehaviour_ = false, value_ = false;

    int mousePointer_ = 0;
    QImage mouseIcon_;
    QChar accessKey_;
    bool defaultButton_ = false;
    bool designMode_ = false;
    QImage surface_;
    quint64 drawCount_ = 0;
    // The drawing asked for and not yet made: its state, and whether the pointer was over
    // the control when it was asked for.
    struct PendingDraw {
        int state = 0;
        bool over = false;
    };
    std::optional<PendingDraw> pendingDraw_;
    void drawPending();
    void drawSurface(int state); // draws the whole surface in `state` now

    QTimer OverTimer; // notices the end of hover; runs only while hovered
    int accessShortcut_ = 0;
    Qt::MouseButton pressedButton_ = Qt::NoButton; // the button of a press inside, until its release
    bool afterDoubleClick_ = false;                // the release that ends a double click
};
