// The progress bar as the main window uses it: its stored properties, the bar's width and drawing as the
// value changes, and what assistive technology reads.
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QtTest>

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void barWidthFollowsTheValue_data() {
        QTest::addColumn<float>("max");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("width");
        for (const auto& [name, max, value, width] :
             std::initializer_list<std::tuple<const char*, float, float, int>>{
                 {"empty", 10000, 0, 0},
                 {"quarter", 10000, 2500, 100},
                 {"third", 3, 1, 133},
                 {"full at max", 100, 100, 400},
                 {"full above max", 100, 250, 400},
                 {"one of 300", 300, 1, 1}})
            QTest::newRow(name) << max << value << width;
    }

    void barWidthFollowsTheValue() {
        QFETCH(float, max);
        QFETCH(int, width);
        QWidget host;
        auto* bar = new ProgressBar(&host);
        bar->setGeometry(0, 0, 400, 20);
        bar->setBorderStyle(0), bar->setMin(0), bar->setMax(max);
        bar->setMax(0); // ignored: the bar keeps its maximum
        QCOMPARE(bar->Max(), max);
        QFETCH(float, value);
        QVERIFY(bar->setValue(value) && !bar->setValue(-1)); // a negative value is refused
        QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, width, 20));
        const QImage image = host.grab(QRect(0, 0, 400, 20)).toImage();       // the bar over the background
        if (width > 0) QCOMPARE(image.pixel(width - 1, 19), qRgb(0, 0, 255)); // blue, as stored
        if (width < 400) QCOMPARE(image.pixel(width, 10), bar->palette().color(QPalette::Window).rgb());
    }

    void storedPropertiesAndAccessibility() {
        QWidget host;
        auto* bar = new ProgressBar(&host);
        bar->setGeometry(432, 640, 305, 17);
        bar->setAccessibleName("Download progress bar");
        PropertyBag store; // the main window's bar: no border, 2400 of 4575
        store.set("BorderStyle", qint16(0)), store.set("Max", 4575.0f), store.set("Value", 2400.0f);
        bar->ReadProperties(store);
        QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, 160, 17)); // 2400 of 4575 of 305 pixels
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(bar);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QCOMPARE(iface->text(QAccessible::Name), "Download progress bar");
        QCOMPARE(iface->valueInterface()->currentValue().toFloat() * 10000 +
                     iface->valueInterface()->maximumValue().toFloat(),
                 2400.0f * 10000 + 4575.0f);

        bar->setValue(100);
        QCOMPARE(iface->valueInterface()->currentValue().toFloat(), 100.0f);
    }
};

QTEST_MAIN(ProgressBarTest)
#include "tst_progressbar.moc"
