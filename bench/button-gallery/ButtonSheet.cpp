#include "ButtonSheet.h"

#include "widgets/button/ButtonColor.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

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
    bag.setPicture(QStringLiteral("PICN"), o.picture);
    bag.setPicture(QStringLiteral("PICH"), o.pictureOver);
    bag.setInt(QStringLiteral("PICPOS"), o.picturePosition);
    bag.setBool(QStringLiteral("NGREY"), o.greyscale);
    bag.setInt(QStringLiteral("FX"), o.effect);
    return bag;
}

const char* const kPositionNames[] = {"left", "right", "top", "bottom", "behind"};

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

    if (look == QLatin1String("hover")) { // the pointer moves onto the button's middle
        const QPointF at(o.width / 2.0, o.height / 2.0);
        QCursor::setPos(button.mapToGlobal(at.toPoint()));
        QMouseEvent move(QEvent::MouseMove, at, button.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&button, &move);
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

QImage galleryPicture(quint32 mask, bool over) {
    QImage pic(16, 16, QImage::Format_RGB32);
    pic.fill(QColor::fromRgb(buttoncolor::toQRgb(mask)));
    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor rim = over ? QColor(0xC0, 0x50, 0x00) : QColor(0x00, 0x00, 0x80);
    const QColor lens = over ? QColor(0xFF, 0xF0, 0xA0) : QColor(0xA0, 0xD0, 0xFF);
    p.setPen(Qt::NoPen);
    p.setBrush(lens);
    p.drawEllipse(QRect(2, 1, 9, 9));
    p.setBrush(Qt::white); // a light glint, which a disabled silhouette leaves out
    p.drawRect(4, 3, 2, 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rim, 2));
    p.drawEllipse(QRect(2, 1, 9, 9));
    p.setPen(QPen(QColor(0x60, 0x30, 0x10), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(11, 10, 14, 13);
    return pic;
}

QImage renderSheet(const GalleryOptions& o) {
    const int labelWidth = o.picture.isNull() ? 130 : 175;
    const int headerHeight = 22;
    const int cellW = std::max(o.width + 16, 70);
    const int cellH = o.height + 12;
    const QStringList& looks = galleryLooks();
    struct Row {
        int style;
        int position;
    };
    QList<Row> rows;
    for (int style : o.styles) {
        if (o.everyPosition && !o.picture.isNull())
            for (int position = 0; position <= 4; ++position)
                rows.append({style, position});
        else
            rows.append({style, o.picturePosition});
    }
    QImage sheet(labelWidth + cellW * int(looks.size()), headerHeight + cellH * int(rows.size()),
                 QImage::Format_ARGB32);
    sheet.fill(QColor(0xB4, 0xB4, 0xB4));
    QPainter p(&sheet);
    p.setPen(Qt::black);
    QFont labelFont(QStringLiteral("DejaVu Sans"));
    labelFont.setPixelSize(11);
    p.setFont(labelFont);
    for (int c = 0; c < looks.size(); ++c)
        p.drawText(QRect(labelWidth + c * cellW, 0, cellW, headerHeight), Qt::AlignCenter, looks.at(c));
    for (int r = 0; r < rows.size(); ++r) {
        const int style = rows.at(r).style;
        const int y = headerHeight + r * cellH;
        QString label = QStringLiteral("%1 %2").arg(style).arg(
            style >= 1 && style <= 14 ? QLatin1String(kStyleNames[style - 1]) : QLatin1String("(none)"));
        if (!o.picture.isNull())
            label +=
                QStringLiteral(", ") + QLatin1String(kPositionNames[std::clamp(rows.at(r).position, 0, 4)]);
        p.drawText(QRect(4, y, labelWidth - 8, cellH), Qt::AlignVCenter | Qt::AlignLeft, label);
        GalleryOptions cell = o;
        cell.picturePosition = rows.at(r).position;
        for (int c = 0; c < looks.size(); ++c) {
            const QImage button = renderButton(cell, style, looks.at(c));
            p.drawImage(labelWidth + c * cellW + (cellW - o.width) / 2, y + (cellH - o.height) / 2, button);
        }
    }
    return sheet;
}
