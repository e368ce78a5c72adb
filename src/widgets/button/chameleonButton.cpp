#include "chameleonButton.h"

#include "AccessKey.h"
#include "ButtonAccessible.h"
#include "ButtonColor.h"
#include "ButtonShape.h"

#include <QAccessible>
#include <QCursor>
#include <QPainter>
#include <QPixmap>

using buttoncolor::systemColor;
using buttoncolor::TranslateColor;

chameleonButton::chameleonButton(QWidget* parent) : QWidget(parent) {
    installButtonAccessibleFactory();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true); // moves without a button held start the hover
    OverTimer.setInterval(3);
    connect(&OverTimer, &QTimer::timeout, this, &chameleonButton::OverTimer_Timer);
    redrawEnabled_ = true;
    InitProperties(QString());
}

chameleonButton::~chameleonButton() {
    redrawEnabled_ = false;
}

// --- Stored settings -----------------------------------------------------------------

void chameleonButton::InitProperties(const QString& displayName) {
    drawPending(); // as in ReadProperties
    enabled_ = true;
    showFocusRect_ = true;
    useMaskColor_ = true;
    caption_ = displayName;
    if (parentWidget()) QWidget::setFont(parentWidget()->font());
    buttonType_ = Bevel3D;
    colorScheme_ = SystemColors;
    SetColors();
    backColor_ = backOver_ = pal_.cFace;
    maskColor_ = 0xC0C0C0;
    foreColor_ = foreOver_ = pal_.cText;
    SetAccessKeys();
    CalcTextRects();
}

namespace {

// Typed reads of a stored set that collect a message for every unusable value.
class BagReader {
public:
    BagReader(const PropertyBag& bag, QStringList& problems) : bag_(bag), problems_(problems) {}
    int integer(const char* key, int def) { return check(key, bag_.readInt(QLatin1String(key), def, &ok_)); }
    bool boolean(const char* key, bool def) {
        return check(key, bag_.readBool(QLatin1String(key), def, &ok_));
    }
    QString string(const char* key) {
        return check(key, bag_.readString(QLatin1String(key), QString(), &ok_));
    }
    quint32 colour(const char* key, quint32 def) {
        return check(key, bag_.readColor(QLatin1String(key), def, &ok_));
    }
    QFont font(const char* key, const QFont& def) {
        return check(key, bag_.readFont(QLatin1String(key), def, &ok_));
    }
    QImage picture(const char* key) {
        return check(key, bag_.readPicture(QLatin1String(key), QImage(), &ok_));
    }

private:
    template <typename T> T check(const char* key, T value) {
        if (!ok_)
            problems_ << QStringLiteral("The stored value of \"%1\" is not usable; its default is used.")
                             .arg(QLatin1String(key));
        ok_ = true;
        return value;
    }
    const PropertyBag& bag_;
    QStringList& problems_;
    bool ok_ = true;
};

} // namespace

QStringList chameleonButton::ReadProperties(const PropertyBag& bag) {
    // The settings change without a drawing of their own: what was asked for before is
    // drawn as it was then.
    drawPending();
    QStringList problems;
    BagReader r(bag, problems);
    buttonType_ = r.integer("BTYPE", 2);
    caption_ = r.string("TX");
    enabled_ = r.boolean("ENAB", true);
    QWidget::setFont(r.font("FONT", font()));
    colorScheme_ = r.integer("COLTYPE", 1);
    showFocusRect_ = r.boolean("FOCUSR", true);
    backColor_ = r.colour("BCOL", TranslateColor(systemColor(15)));
    backOver_ = r.colour("BCOLO", backColor_);
    foreColor_ = r.colour("FCOL", TranslateColor(systemColor(18)));
    foreOver_ = r.colour("FCOLO", foreColor_);
    maskColor_ = r.colour("MCOL", 0xC0C0C0);
    mousePointer_ = qint16(r.integer("MPTR", 0));
    applyPointer();
    mouseIcon_ = r.picture("MICON");
    applyPointer();
    pictureNormal_ = r.picture("PICN");
    pictureOver_ = r.picture("PICH");
    useMaskColor_ = r.boolean("UMCOL", true);
    softBevel_ = r.boolean("SOFT", false);
    picturePosition_ = r.integer("PICPOS", 0);
    useGreyscale_ = r.boolean("NGREY", false);
    specialEffect_ = r.integer("FX", 0);
    setHandPointer(r.boolean("HAND", false));
    checkBoxBehaviour_ = r.boolean("CHECK", false);
    value_ = r.boolean("VALUE", false);

    QWidget::setEnabled(enabled_);
    GetPictureSize();
    CalcTextRects();
    SetAccessKeys();
    return problems;
}

void chameleonButton::WriteProperties(PropertyBag& bag) const {
    bag.setInt(QStringLiteral("BTYPE"), buttonType_);
    bag.setString(QStringLiteral("TX"), caption_);
    bag.setBool(QStringLiteral("ENAB"), enabled_);
    bag.setFont(QStringLiteral("FONT"), font());
    bag.setInt(QStringLiteral("COLTYPE"), colorScheme_);
    bag.setBool(QStringLiteral("FOCUSR"), showFocusRect_);
    bag.setColor(QStringLiteral("BCOL"), backColor_);
    bag.setColor(QStringLiteral("BCOLO"), backOver_);
    bag.setColor(QStringLiteral("FCOL"), foreColor_);
    bag.setColor(QStringLiteral("FCOLO"), foreOver_);
    bag.setColor(QStringLiteral("MCOL"), maskColor_);
    bag.setInt(QStringLiteral("MPTR"), mousePointer_);
    bag.setPicture(QStringLiteral("MICON"), mouseIcon_);
    bag.setPicture(QStringLiteral("PICN"), pictureNormal_);
    bag.setPicture(QStringLiteral("PICH"), pictureOver_);
    bag.setBool(QStringLiteral("UMCOL"), useMaskColor_);
    bag.setBool(QStringLiteral("SOFT"), softBevel_);
    bag.setInt(QStringLiteral("PICPOS"), picturePosition_);
    bag.setBool(QStringLiteral("NGREY"), useGreyscale_);
    bag.setInt(QStringLiteral("FX"), specialEffect_);
    bag.setBool(QStringLiteral("HAND"), handPointer_);
    bag.setBool(QStringLiteral("CHECK"), checkBoxBehaviour_);
    bag.setBool(QStringLiteral("VALUE"), value_);
}

// --- Property setters ----------------------------------------------------------------

void chameleonButton::setBackColor(quint32 value) {
    backColor_ = value;
    if (designMode_) backOver_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("BCOL"));
}

void chameleonButton::setBackOver(quint32 value) {
    backOver_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("BCOLO"));
}

void chameleonButton::setForeColor(quint32 value) {
    foreColor_ = value;
    if (designMode_) foreOver_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("FCOL"));
}

void chameleonButton::setForeOver(quint32 value) {
    foreOver_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("FCOLO"));
}

void chameleonButton::setMaskColor(quint32 value) {
    maskColor_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("MCOL"));
}

void chameleonButton::setButtonType(int value) {
    buttonType_ = value;
    if (designMode_ && value == FlatEtched)
        setFontBold(true);
    else if (value == Transparent && redrawEnabled_)
        CaptureBackground();
    handleResize();
    emit PropertyChanged(QStringLiteral("BTYPE"));
}

void chameleonButton::setCaption(const QString& value) {
    caption_ = value;
    SetAccessKeys();
    CalcTextRects();
    DrawButton(0, true);
    if (QAccessible::isActive()) {
        QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&nameChanged);
    }
    emit PropertyChanged(QStringLiteral("TX"));
}

void chameleonButton::setEnabled(bool value) {
    enabled_ = value;
    DrawButton(0, true);
    QWidget::setEnabled(value);
    emit PropertyChanged(QStringLiteral("ENAB"));
}

void chameleonButton::fontChanged() {
    CalcTextRects();
    DrawButton(0, true);
}

void chameleonButton::setFont(const QFont& value) {
    QWidget::setFont(value);
    fontChanged();
    emit PropertyChanged(QStringLiteral("FONT"));
}

void chameleonButton::setFontBold(bool value) {
    QFont f = font();
    f.setBold(value);
    QWidget::setFont(f);
    fontChanged();
}

void chameleonButton::setFontItalic(bool value) {
    QFont f = font();
    f.setItalic(value);
    QWidget::setFont(f);
    fontChanged();
}

void chameleonButton::setFontUnderline(bool value) {
    QFont f = font();
    f.setUnderline(value);
    QWidget::setFont(f);
    fontChanged();
}

short chameleonButton::FontSize() const {
    const qreal pt = font().pointSizeF();
    return short(pt > 0 ? qRound(pt) : 0);
}

void chameleonButton::setFontSize(short points) {
    if (points <= 0) return; // a font has no size of zero or less; keep the present one
    QFont f = font();
    f.setPointSize(points);
    QWidget::setFont(f);
    fontChanged();
}

void chameleonButton::setFontName(const QString& value) {
    QFont f = font();
    f.setFamily(value);
    QWidget::setFont(f);
    fontChanged();
}

void chameleonButton::setColorScheme(int value) {
    colorScheme_ = value;
    SetColors();
    DrawButton(0, true);
    emit PropertyChanged(QStringLiteral("COLTYPE"));
}

void chameleonButton::setShowFocusRect(bool value) {
    showFocusRect_ = value;
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("FOCUSR"));
}

void chameleonButton::setMousePointer(int value) {
    mousePointer_ = value;
    applyPointer();
    emit PropertyChanged(QStringLiteral("MPTR"));
}

void chameleonButton::setMouseIcon(const QImage& value) {
    mouseIcon_ = value;
    applyPointer();
    emit PropertyChanged(QStringLiteral("MICON"));
}

void chameleonButton::setHandPointer(bool value) {
    handPointer_ = value;
    mouseIcon_ = QImage();
    mousePointer_ = value ? 99 : 1;
    applyPointer();
    emit PropertyChanged(QStringLiteral("HAND"));
}

// The platform's pointer numbers mapped to Qt's shapes; 99 is the custom image, which for
// the hand pointer is Qt's pointing hand.
void chameleonButton::applyPointer() {
    switch (mousePointer_) {
    case 1:
    case 4:
        setCursor(Qt::ArrowCursor);
        break;
    case 2:
        setCursor(Qt::CrossCursor);
        break;
    case 3:
        setCursor(Qt::IBeamCursor);
        break;
    case 5:
    case 15:
        setCursor(Qt::SizeAllCursor);
        break;
    case 6:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case 7:
        setCursor(Qt::SizeVerCursor);
        break;
    case 8:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case 9:
        setCursor(Qt::SizeHorCursor);
        break;
    case 10:
        setCursor(Qt::UpArrowCursor);
        break;
    case 11:
        setCursor(Qt::WaitCursor);
        break;
    case 12:
        setCursor(Qt::ForbiddenCursor);
        break;
    case 13:
        setCursor(Qt::BusyCursor);
        break;
    case 14:
        setCursor(Qt::WhatsThisCursor);
        break;
    case 99:
        if (handPointer_)
            setCursor(Qt::PointingHandCursor);
        else if (!mouseIcon_.isNull())
            setCursor(QCursor(QPixmap::fromImage(mouseIcon_)));
        else
            unsetCursor();
        break;
    default:
        unsetCursor();
        break;
    }
}

void chameleonButton::setSoftBevel(bool value) {
    softBevel_ = value;
    SetColors();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("SOFT"));
}

void chameleonButton::setPictureNormal(const QImage& value) {
    pictureNormal_ = value;
    GetPictureSize();
    CalcTextRects();
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("PICN"));
}

void chameleonButton::setPictureOver(const QImage& value) {
    pictureOver_ = value;
    if (isOver_) DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("PICO"));
}

void chameleonButton::setPicturePosition(int value) {
    picturePosition_ = value;
    emit PropertyChanged(QStringLiteral("PICPOS"));
    CalcTextRects();
    DrawButton(lastState_, true);
}

void chameleonButton::setUseMaskColor(bool value) {
    useMaskColor_ = value;
    if (!pictureNormal_.isNull()) DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("UMCOL"));
}

void chameleonButton::setUseGreyscale(bool value) {
    useGreyscale_ = value;
    if (!pictureNormal_.isNull()) DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("NGREY"));
}

void chameleonButton::setSpecialEffect(int value) {
    specialEffect_ = value;
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("FX"));
}

void chameleonButton::setCheckBoxBehaviour(bool value) {
    checkBoxBehaviour_ = value;
    DrawButton(lastState_, true);
    emit PropertyChanged(QStringLiteral("CHECK"));
}

void chameleonButton::setValue(bool value) {
    value_ = value;
    if (checkBoxBehaviour_) DrawButton(0, true);
    emit PropertyChanged(QStringLiteral("VALUE"));
}

void chameleonButton::setDefaultButton(bool value) {
    if (defaultButton_ == value) return;
    defaultButton_ = value;
    // A change of the container's ambient values: the custom scheme keeps its palette.
    if (colorScheme_ != CustomColors) SetColors();
    DrawButton(lastState_, true);
}

// --- Methods ---------------------------------------------------------------------------

void chameleonButton::Refresh() {
    if (buttonType_ == Transparent) CaptureBackground();
    SetColors();
    CalcTextRects();
    redrawEnabled_ = true;
    DrawButton(lastState_, true);
}

QImage chameleonButton::shapedImage() {
    QImage out = surface().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (!buttonRegion_.contains(QPoint(x, y))) line[x] = 0;
    }
    return out;
}

// --- Window events ---------------------------------------------------------------------

void chameleonButton::paintEvent(QPaintEvent*) {
    if (capturingBackground_) return;
    drawPending();
    if (surface_.isNull()) return;
    QPainter p(this);
    p.drawImage(QRect(0, 0, width_, height_), surface_);
}

void chameleonButton::handleResize() {
    if (capturingBackground_) return;
    height_ = height();
    width_ = width();
    focusRect_ = buttonFocusRect(buttonType_, width_, height_);
    CalcTextRects();
    MakeRegion();
    if (height_ != 0) DrawButton(0, true);
}

void chameleonButton::resizeEvent(QResizeEvent*) {
    handleResize();
}

void chameleonButton::showEvent(QShowEvent*) {
    if (buttonType_ == Transparent) CaptureBackground();
    redrawEnabled_ = true;
    SetColors();
    DrawButton(0, true);
}

void chameleonButton::hideEvent(QHideEvent*) {
    redrawEnabled_ = false;
}
