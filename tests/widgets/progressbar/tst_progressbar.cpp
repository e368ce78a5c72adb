// The progress bar as the main window uses it: its stored properties, the bar's width and colour as the
// value changes, and what assistive technology reads.
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QtTest>
#include <QtWidgets>

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void theBarFollowsTheValueAndIsHeard() {
        QWidget host;
        host.resize(752, 660);
        auto* bar = new ProgressBar(&host);
        bar->setGeometry(432, 640, 305, 17);
        bar->setAccessibleName("Download progress bar");
        PropertyBag store; // the main window's bar: no border, 2400 of 4575
        store.set("BorderStyle", qint16(0)), store.set("Max", 4575.0f), store.set("Value", 2400.0f);
        bar->ReadProperties(store);
        QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, 160, 17));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
        QVERIFY(iface->role() == QAccessible::ProgressBar &&
                iface->text(QAccessible::Name) == "Download progress bar");
        QCOMPARE(iface->valueInterface()->maximumValue().toFloat(), 4575.0f);
        // Width in whole pixels, the nearest, never past the end; a negative value is refused.
        for (const auto& [max, value, width] :
             {std::tuple{3.0f, 1.0f, 102}, {100.0f, 250.0f, 305}, {300.0f, 1.0f, 1}, {10000.0f, 0.0f, 0}}) {
            bar->setMax(max);
            QVERIFY(bar->setValue(value) && !bar->setValue(-1));
            QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, width, 17));
            QCOMPARE(iface->valueInterface()->currentValue().toFloat(), value);
            const QImage image = host.grab(bar->geometry()).toImage(); // blue, as stored, over the ground
            if (width > 0) QCOMPARE(image.pixel(width - 1, 16), qRgb(0, 0, 255));
            if (width < 305) QCOMPARE(image.pixel(width, 8), bar->palette().color(QPalette::Window).rgb());
        }
    }
};

QTEST_MAIN(ProgressBarTest)
#include "tst_progressbar.moc"
