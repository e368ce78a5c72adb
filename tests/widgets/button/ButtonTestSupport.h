#pragma once

#include "widgets/button/ButtonColor.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

// A shown container holding one button loaded from the windows' stored settings, with the
// given style and size. The container's background is a colour no style uses.
struct ButtonHost {
    static constexpr QRgb kContainerColour = 0xFF9FC8C8;

    explicit ButtonHost(int style = 3, int width = 67, int height = 25,
                        const QString& caption = QStringLiteral("Search"), quint32 back = 0xE0E0E0) {
        container = std::make_unique<QWidget>();
        container->resize(width + 40, height + 40);
        QPalette pal = container->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(kContainerColour));
        container->setPalette(pal);
        container->setAutoFillBackground(true);
        button = new chameleonButton(container.get());
        PropertyBag bag = standardButtonProperties(caption, back);
        bag.setInt(QStringLiteral("BTYPE"), style);
        button->ReadProperties(bag);
        button->setGeometry(20, 20, width, height);
        container->show();
    }

    // The pixel at (x, y) of the button's drawing as 0x00BBGGRR.
    quint32 px(int x, int y) const { return buttoncolor::fromQRgb(button->surface().pixel(x, y)); }

    void hover() {
        QEnterEvent enter(QPointF(5, 5), QPointF(25, 25), QPointF(25, 25));
        QApplication::sendEvent(button, &enter);
    }
    void unhover() {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
    }
    void press(Qt::MouseButton b = Qt::LeftButton, QPointF at = QPointF(10, 10)) {
        QMouseEvent e(QEvent::MouseButtonPress, at, button->mapToGlobal(at), b, b, Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void release(Qt::MouseButton b = Qt::LeftButton, QPointF at = QPointF(10, 10)) {
        QMouseEvent e(QEvent::MouseButtonRelease, at, button->mapToGlobal(at), b, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(button, &e);
    }
    void focusIn() {
        QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(button, &e);
    }
    void focusOut() {
        QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(button, &e);
    }

    // True when some pixel inside r has exactly the colour c (0x00BBGGRR).
    bool hasColourIn(const QRect& r, quint32 c) const {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (px(x, y) == c) return true;
        return false;
    }

    std::unique_ptr<QWidget> container;
    chameleonButton* button = nullptr;
};
