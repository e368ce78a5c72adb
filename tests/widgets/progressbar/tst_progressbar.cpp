// The progress bar control: its properties, stored properties, geometry, drawing and what assistive
// technology reads.
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QtTest>

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void borderRangeAndResize() {
        ProgressBar bar;
        bar.resize(200, 20);
        bar.ReadProperties(PropertyBag()); // an empty store: an empty bar in a single border
        QCOMPARE(bar.clientRect(), QRect(1, 1, 198, 18));
        QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 0, 18));
        QCOMPARE(bar.grab().toImage().pixel(199, 10), bar.palette().color(QPalette::WindowText).rgb());
        QVERIFY(bar.BorderStyle() == 1 && bar.setBorderStyle(0));
        QCOMPARE(bar.clientRect(), QRect(0, 0, 200, 20));

        ProgressBar range;
        range.resize(300, 20);
        range.setMin(0);
        QCOMPARE(range.Max(), 298.0f); // the client width inside the border; setting one end keeps the other
        range.setMax(4575), range.setMin(20);
        QCOMPARE(range.Max(), 4575.0f);
        QVERIFY(range.setValue(5) && !range.setValue(-1)); // a negative value is refused
        QCOMPARE(range.Value(), 5.0f);
        range.resize(400, 20); // hidden widgets get their resize events when shown: show it first
        range.show();
        QVERIFY(QTest::qWaitForWindowExposed(&range));
        range.ReadProperties(PropertyBag());
        range.setMax(10000), range.setValue(2500);
        QCOMPARE(range.shpValue()->geometry(), QRect(1, 1, 100, 18));
        range.resize(202, 60); // full height, and its share
        QCOMPARE(range.shpValue()->geometry(), QRect(1, 1, 50, 58));
    }

    void barWidthFollowsTheValue_data() {
        QTest::addColumn<float>("max");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("width");
        for (const auto& [name, max, value, width] : std::initializer_list<std::tuple<const char*, float, float, int>>{
                 {"empty", 10000, 0, 0}, {"quarter", 10000, 2500, 100}, {"third", 3, 1, 133}, {"full at max", 100, 100, 400},
                 {"full above max", 100, 250, 400}, {"one of 300", 300, 1, 1}})
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
        QVERIFY(bar->setValue(value));
        QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, width, 20));
        bar->setBackColor(0x0000FF00); // drawn in its colour over the green background
        const QImage image = host.grab(QRect(0, 0, 400, 20)).toImage();
        if (width > 0) QCOMPARE(image.pixel(width - 1, 19), qRgb(0, 0, 255));
        if (width < 400) QCOMPARE(image.pixel(width, 10), qRgb(0, 255, 0));
        bar->setForeColor(0x000000FF); // red
        if (width > 0) QCOMPARE(host.grab(QRect(0, 0, 400, 20)).toImage().pixel(0, 0), qRgb(255, 0, 0));
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
        QCOMPARE(iface->valueInterface()->currentValue().toFloat() * 10000 + iface->valueInterface()->maximumValue().toFloat(),
                 2400.0f * 10000 + 4575.0f);

        bar->setValue(100);
        QCOMPARE(iface->valueInterface()->currentValue().toFloat(), 100.0f);
    }
};

QTEST_MAIN(ProgressBarTest)
#include "tst_progressbar.moc"
