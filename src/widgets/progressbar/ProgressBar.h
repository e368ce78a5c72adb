#pragma once

#include <QWidget>
#include <QtGlobal>

class PropertyBag;

// A value shown as a filled bar growing from the left edge. The client area is mapped
// onto a horizontal coordinate range that runs from Min at the left edge to Max at the
// right edge; the bar shpValue starts at the left edge, fills the whole client height and
// is Value range units wide. Parts of the bar beyond the right edge are cut off.
//
// Colours are 32-bit colour values: 0x00BBGGRR, or a system colour (top bit set, the
// system colour index in the low byte).
class ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 BorderStyle READ BorderStyle)
    Q_PROPERTY(float Min READ Min WRITE setMin)
    Q_PROPERTY(float Max READ Max WRITE setMax)
    Q_PROPERTY(float Value READ Value WRITE setValue)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
public:
    // Defaults of the stored properties.
    static constexpr quint32 kDefaultForeColor = 0x00FF0000; // blue
    static constexpr quint32 kDefaultBackColor = 0x8000000F; // the system colour of button faces
    static constexpr qint16 kDefaultBorderStyle = 1;         // single-line border
    static constexpr float kDefaultMin = 0;
    static constexpr float kDefaultMax = 1;
    static constexpr float kDefaultValue = 0;

    explicit ProgressBar(QWidget* parent = nullptr);

    // 0 no border, 1 a single-line border. Values outside the 16-bit range, and any
    // style but 0 and 1, are refused (false) and change nothing.
    qint32 BorderStyle() const { return borderStyle_; }
    bool setBorderStyle(qint32 style);

    // The left end of the range; writing sets the range to run from v to Max.
    float Min() const;
    void setMin(float v);
    // The right end of the range; writing sets the range to run from Min to v. A value of
    // 0 is ignored: the range keeps its right end.
    float Max() const;
    void setMax(float v);
    // The bar's width in range units. A negative width is refused (false).
    float Value() const { return value_; }
    bool setValue(float v);

    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 color);
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 color);

    // The stored properties, read and written in the order ForeColor, BackColor,
    // BorderStyle, Min, Max, Value; a missing key reads as its default.
    void ReadProperties(const PropertyBag& store);
    void WriteProperties(PropertyBag& store) const;

    // The client area: the widget without its border.
    QRect clientRect() const;
    // The bar as drawn, in widget pixels.
    QWidget* shpValue() const { return shpValue_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void setRange(float left, float width);
    void placeBar();
    void applyColors();

    QWidget* shpValue_ = nullptr;
    qint16 borderStyle_ = kDefaultBorderStyle;
    bool rangeSet_ = false; // until a range is set, the client area is measured in pixels
    float left_ = 0;        // L
    float width_ = 0;       // W (right end is L + W)
    float value_ = 0;       // the bar's width, in range units
    float barHeight_ = 0;   // the bar's height, in the vertical units (pixels, or 1 once a range is set)
    quint32 backColor_ = kDefaultBackColor;
    quint32 foreColor_ = kDefaultForeColor;
};
