#include "ButtonSheet.h"

#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

const QStringList& galleryLooks() {
    static const QStringList looks = {QStringLiteral("up"),      QStringLiteral("hover"),
                                      QStringLiteral("down"),    QStringLiteral("focus"),
                                      QStringLiteral("default"), QStringLiteral("disabled")};
    return looks;
}

namespace {

const char* const kStyleNames[] = {"ClassicOutlined",
                                   "Bevel3D",
                                   "GradientRounded",
                                   "RoundedLight",
                                   "FlatEtched",
                                   "SoftFrame",
                                   "ThinRaised",
                                   "FlatHover",
                                   "FlatHighlight",
                                   "PlainFace",
                                   "Transparent",
                                   "FlatHover3D",
                                   "Oval",
                                   "GradientFramed"};

PropertyBag settingsFor(const GalleryOptions& o, int style) {
    PropertyBag bag = standardButtonProperties(o.caption, o.back);
    QFont font = bag.readFont(QStringLiteral("FONT"), QFont());
    font.setPointSizeF(o.fontSize);
    font.setBold(o.bold);
    bag.setFont(QStringLiteral("FONT"), font);
    bag.setInt(QStringLiteral("BTYPE"), style);
    bag.setInt(QStringLiteral("COLTYPE"), o.scheme);
    bag.setColor(QStringLiteral("BCOLO"), o.backOver);
    bag.setColor(QStringLiteral("FCOL"), o.fore);
    bag.setColor(QStringLiteral("FCOLO"), o.foreOver);
    bag.setColor(QStringLiteral("MCOL"), o.mask);
    return bag;
}

} // namespace

QImage renderButton(const GalleryOptions& o, int style, const QString& look) {
    if (!galleryLooks().contains(look)) return QImage();
    // A container with a background of its own, so that the transparent style shows it.
    QWidget container;
    container.resize(o.width + 20, o.height + 20);
    QPalette pal = container.palette();
    pal.setColor(QPalette::Window, QColor(0x9F, 0xC8, 0xC8));
    container.setPalette(pal);
    container.setAutoFillBackground(true);
    chameleonButton button(&container);
    button.ReadProperties(settingsFor(o, style));
    button.setGeometry(10, 10, o.width, o.height);
    container.show();

    if (look == QLatin1String("hover")) {
        QEnterEvent enter(QPointF(2, 2), QPointF(12, 12), QPointF(12, 12));
        QApplication::sendEvent(&button, &enter);
    } else if (look == QLatin1String("down")) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(o.width / 2.0, o.height / 2.0),
                          button.mapToGlobal(QPointF(o.width / 2.0, o.height / 2.0)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&button, &press);
    } else if (look == QLatin1String("focus")) {
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(&button, &focusIn);
    } else if (look == QLatin1String("default")) {
        button.setDefaultButton(true);
    } else if (look == QLatin1String("disabled")) {
        button.setEnabled(false);
    }
    return button.shapedImage();
}

QImage renderSheet(const GalleryOptions& o) {
    const int labelWidth = 130;
    const int headerHeight = 22;
    const int cellW = std::max(o.width + 16, 70);
    const int cellH = o.height + 12;
    const QStringList& looks = galleryLooks();
    QImage sheet(labelWidth + cellW * int(looks.size()), headerHeight + cellH * 14, QImage::Format_ARGB32);
    sheet.fill(QColor(0xB4, 0xB4, 0xB4));
    QPainter p(&sheet);
    p.setPen(Qt::black);
    QFont labelFont(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(11);
    p.setFont(labelFont);
    for (int c = 0; c < looks.size(); ++c)
        p.drawText(QRect(labelWidth + c * cellW, 0, cellW, headerHeight), Qt::AlignCenter, looks.at(c));
    for (int style = 1; style <= 14; ++style) {
        const int y = headerHeight + (style - 1) * cellH;
        p.drawText(QRect(4, y, labelWidth - 8, cellH), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("%1 %2").arg(style).arg(QLatin1String(kStyleNames[style - 1])));
        for (int c = 0; c < looks.size(); ++c) {
            const QImage button = renderButton(o, style, looks.at(c));
            p.drawImage(labelWidth + c * cellW + (cellW - o.width) / 2, y + (cellH - o.height) / 2, button);
        }
    }
    return sheet;
}
