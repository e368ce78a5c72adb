#include "widgets/progressbar/ProgressBar.h"

#include "widgets/ColorValue.h"
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBarAccessible.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kForeColorKey = QStringLiteral("ForeColor");
const QString kBackColorKey = QStringLiteral("BackColor");
const QString kBorderStyleKey = QStringLiteral("BorderStyle");
const QString kMinKey = QStringLiteral("Min");
const QString kMaxKey = QStringLiteral("Max");
const QString kValueKey = QStringLiteral("Value");

float toFloat(const QVariant& v, float fallback) {
    bool ok = false;
    const float f = v.toFloat(&ok);
    return ok ? f : fallback;
}

} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
    ProgressBarAccessible::install();
    setAttribute(Qt::WA_OpaquePaintEvent);
    shpValue_ = new QWidget(this);
    shpValue_->setObjectName(QStringLiteral("shpValue"));
    shpValue_->setAutoFillBackground(true);
    shpValue_->setAttribute(Qt::WA_TransparentForMouseEvents);
    applyColors();
    // The bar starts at the top-left corner, half as wide as the control and as high as
    // the client area, measured in pixels until a range is set.
    const QRect client = clientRect();
    value_ = static_cast<float>(width()) / 2;
    barHeight_ = static_cast<float>(client.height());
    placeBar();
}

QRect ProgressBar::clientRect() const {
    return borderStyle_ == 1 ? rect().adjusted(1, 1, -1, -1) : rect();
}

bool ProgressBar::setBorderStyle(qint32 style) {
    if (style < std::numeric_limits<qint16>::min() || style > std::numeric_limits<qint16>::max())
        return false;
    if (style != 0 && style != 1) return false;
    if (borderStyle_ == style) return true;
    borderStyle_ = static_cast<qint16>(style);
    placeBar();
    update();
    return true;
}

float ProgressBar::Min() const {
    return rangeSet_ ? left_ : 0.0f;
}

float ProgressBar::Max() const {
    return rangeSet_ ? left_ + width_ : static_cast<float>(clientRect().width());
}

void ProgressBar::setRange(float left, float width) {
    if (!rangeSet_) {
        // The vertical scale changes from pixels to 0..1 at the same time: keep the
        // bar's drawn height.
        const int clientHeight = clientRect().height();
        barHeight_ = clientHeight > 0 ? barHeight_ / static_cast<float>(clientHeight) : 1.0f;
        rangeSet_ = true;
    }
    left_ = left;
    width_ = width;
    placeBar();
}

void ProgressBar::setMin(float v) {
    const float right = Max();
    setRange(v, right - v);
}

void ProgressBar::setMax(float v) {
    if (v == 0) return;
    const float left = Min();
    setRange(left, v - left);
}

bool ProgressBar::setValue(float v) {
    if (!(v >= 0)) return false; // negative (or not a number)
    value_ = v;
    placeBar();
    return true;
}

void ProgressBar::setBackColor(quint32 color) {
    backColor_ = color;
    applyColors();
    update();
}

void ProgressBar::setForeColor(quint32 color) {
    foreColor_ = color;
    applyColors();
}

void ProgressBar::applyColors() {
    QPalette barPalette = shpValue_->palette();
    barPalette.setColor(QPalette::Window, colorvalue::toQColor(foreColor_, palette()));
    shpValue_->setPalette(barPalette);
}

void ProgressBar::placeBar() {
    const QRect client = clientRect();
    double pixelWidth = 0;
    double pixelHeight = 0;
    if (rangeSet_) {
        if (width_ != 0) pixelWidth = static_cast<double>(value_) / width_ * client.width();
        pixelHeight = static_cast<double>(barHeight_) * client.height();
    } else {
        pixelWidth = value_;
        pixelHeight = barHeight_;
    }
    // What lies beyond the right edge is not visible.
    const int w =
        static_cast<int>(std::lround(std::clamp(pixelWidth, 0.0, static_cast<double>(client.width()))));
    const int h =
        static_cast<int>(std::lround(std::clamp(pixelHeight, 0.0, static_cast<double>(client.height()))));
    shpValue_->setGeometry(client.left(), client.top(), w, h);
}

void ProgressBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    barHeight_ = rangeSet_ ? 1.0f : static_cast<float>(clientRect().height());
    placeBar();
}

void ProgressBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) applyColors();
    QWidget::changeEvent(event);
}

void ProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colorvalue::toQColor(backColor_, palette()));
    if (borderStyle_ == 1) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

QSize ProgressBar::sizeHint() const {
    return {100, 17};
}

void ProgressBar::ReadProperties(const PropertyBag& store) {
    setForeColor(store.readColor(kForeColorKey, kDefaultForeColor));
    setBackColor(store.readColor(kBackColorKey, kDefaultBackColor));
    setBorderStyle(store.read(kBorderStyleKey, kDefaultBorderStyle).toInt());
    setMin(toFloat(store.read(kMinKey, kDefaultMin), kDefaultMin));
    setMax(toFloat(store.read(kMaxKey, kDefaultMax), kDefaultMax));
    setValue(toFloat(store.read(kValueKey, kDefaultValue), kDefaultValue));
}

void ProgressBar::WriteProperties(PropertyBag& store) const {
    store.write(kForeColorKey, static_cast<qint32>(foreColor_), static_cast<qint32>(kDefaultForeColor));
    store.write(kBackColorKey, static_cast<qint32>(backColor_), static_cast<qint32>(kDefaultBackColor));
    store.write(kBorderStyleKey, static_cast<qint16>(borderStyle_), kDefaultBorderStyle);
    store.write(kMinKey, Min(), kDefaultMin);
    store.write(kMaxKey, Max(), kDefaultMax);
    store.write(kValueKey, Value(), kDefaultValue);
}
