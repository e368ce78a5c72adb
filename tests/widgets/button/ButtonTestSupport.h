#pragma once

#include "widgets/button/ButtonColor.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QTest>
#include <memory>

struct Px { // one expected pixel, its colour as 0x00BBGGRR
    int x, y;
    quint32 c;
};

// A shown container, in a colour no style uses, holding one button loaded from the windows' stored
// settings with the given style and size.
struct ButtonHost {
    static constexpr QRgb kContainerColour = 0xFF9FC8C8;
    explicit ButtonHost(int style = 3, int width = 67, int height = 25, const QString& caption = "Search") {
        container->resize(width + 40, height + 40);
        QPalette pal = container->palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(kContainerColour));
        container->setPalette(pal);
        container->setAutoFillBackground(true);
        PropertyBag bag = standardButtonProperties(caption);
        bag.setInt("BTYPE", style);
        button->ReadProperties(bag);
        button->setGeometry(20, 20, width, height);
        container->show();
    }
    quint32 px(int x, int y) const { return buttoncolor::fromQRgb(button->surface().pixel(x, y)); }
    // The listed pixels whose colour differs, as "x,y=found".
    QString mismatches(const QList<Px>& expected) const {
        QStringList out;
        for (const Px& e : expected)
            if (px(e.x, e.y) != e.c) out << QStringLiteral("%1,%2=%3").arg(e.x).arg(e.y).arg(px(e.x, e.y), 6, 16, QChar(u'0'));
        return out.join(u' ');
    }
    bool hasColourIn(const QRect& r, quint32 c) const {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (px(x, y) == c) return true;
        return false;
    }
    void send(QEvent&& e) { QApplication::sendEvent(button, &e); }
    void mouse(QEvent::Type type, QPointF at, Qt::MouseButton b, Qt::MouseButtons held) {
        send(QMouseEvent(type, at, button->mapToGlobal(at), b, held, Qt::NoModifier));
    }
    void hover() { // the cursor goes to the button's centre and the button gets the move
        QCursor::setPos(button->mapToGlobal(button->rect().center()));
        mouse(QEvent::MouseMove, button->rect().center(), Qt::NoButton, Qt::NoButton);
    }
    bool unhover() { // the pointer leaves; the hover timer notices it
        QCursor::setPos(container->mapToGlobal(QPoint(2, 2)));
        return QTest::qWaitFor([&] { return !button->isHovered(); }, 1000);
    }
    void focusIn() { send(QFocusEvent(QEvent::FocusIn, Qt::TabFocusReason)); }
    void press() { mouse(QEvent::MouseButtonPress, QPointF(10, 10), Qt::LeftButton, Qt::LeftButton); }
    void release() { mouse(QEvent::MouseButtonRelease, QPointF(10, 10), Qt::LeftButton, Qt::NoButton); }
    std::unique_ptr<QWidget> container = std::make_unique<QWidget>();
    chameleonButton* button = new chameleonButton(container.get());
};

#define CHECK_PIXELS(host, ...) QCOMPARE((host).mismatches({__VA_ARGS__}), QString())
