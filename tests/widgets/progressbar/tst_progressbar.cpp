// The progress bar control: its properties, stored properties, geometry and drawing.
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QImage>
#include <QPalette>
#include <QtTest>

namespace {

// The main window's bar: no border, 2400 of 4575.
PropertyBag mainWindowStore() {
    PropertyBag store;
    store.set("BorderStyle", qint16(0));
    store.set("Max", 4575.0f);
    store.set("Value", 2400.0f);
    return store;
}

} // namespace

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void anEmptyStoreGivesAnEmptyBarInASingleBorder() {
        ProgressBar bar;
        bar.resize(200, 20);
        bar.ReadProperties(PropertyBag());
        QCOMPARE(bar.clientRect(), QRect(1, 1, 198, 18));
        QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 0, 18));
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.pixel(0, 10), bar.palette().color(QPalette::WindowText).rgb());
        QCOMPARE(image.pixel(199, 10), bar.palette().color(QPalette::WindowText).rgb());
        QCOMPARE(image.pixel(100, 10), bar.palette().color(QPalette::Button).rgb());
        // Only no border and a single-line border are accepted.
        for (int refused : {70000, -40000, 2}) // beyond 16 bits, or no such style
            QVERIFY(!bar.setBorderStyle(refused));
        QCOMPARE(bar.BorderStyle(), 1);
        QVERIFY(bar.setBorderStyle(0));
        QCOMPARE(bar.clientRect(), QRect(0, 0, 200, 20));
    }
    void rangeIsInPixelsUntilSetAndKeepsTheOtherEnd() {
        // A new bar is half full, at full height, measured in pixels.
        QWidget host;
        auto* created = new ProgressBar(&host);
        const QSize size = created->size();
        QCOMPARE(created->shpValue()->geometry(), QRect(1, 1, size.width() / 2, size.height() - 2));
        QCOMPARE(created->Value(), float(size.width()) / 2);

        ProgressBar bar;
        bar.resize(300, 20);
        bar.setMin(0);
        QCOMPARE(bar.Max(), 298.0f); // the client width inside the border
        bar.setMax(4575);
        QCOMPARE(bar.Min(), 0.0f);
        bar.setMin(20);
        QCOMPARE(bar.Max(), 4575.0f);
        QVERIFY(bar.setValue(5));
        QVERIFY(!bar.setValue(-1)); // a negative value is refused
        QCOMPARE(bar.Value(), 5.0f);
    }
    void barWidthFollowsTheValue_data() {
        QTest::addColumn<float>("max");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("width");
        QTest::newRow("empty") << 10000.0f << 0.0f << 0;
        QTest::newRow("quarter") << 10000.0f << 2500.0f << 100;
        QTest::newRow("third") << 3.0f << 1.0f << 133;
        QTest::newRow("full at max") << 100.0f << 100.0f << 400;
        QTest::newRow("full above max") << 100.0f << 250.0f << 400;
        QTest::newRow("one of 300") << 300.0f << 1.0f << 1;
    }
    void barWidthFollowsTheValue() {
        QFETCH(float, max);
        QFETCH(float, value);
        QFETCH(int, width);
        ProgressBar bar;
        bar.setBorderStyle(0);
        bar.resize(400, 20);
        bar.setMin(0);
        bar.setMax(max);
        bar.setMax(0); // ignored: the bar keeps its maximum
        QCOMPARE(bar.Max(), max);
        QVERIFY(bar.setValue(value));
        QCOMPARE(bar.shpValue()->geometry(), QRect(0, 0, width, 20));
    }
    void drawsTheBarInItsColourOverTheBackground() {
        QWidget host;
        auto* bar = new ProgressBar(&host);
        bar->setGeometry(0, 0, 400, 20);
        bar->setBorderStyle(0);
        bar->setBackColor(0x0000FF00); // green
        bar->setMax(10000);
        bar->setValue(2500);
        const QImage image = host.grab(QRect(0, 0, 400, 20)).toImage();
        QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(99, 19), qRgb(0, 0, 255));
        QCOMPARE(image.pixel(100, 10), qRgb(0, 255, 0));
        QCOMPARE(image.pixel(399, 10), qRgb(0, 255, 0));
        bar->setForeColor(0x000000FF); // red
        QCOMPARE(host.grab(QRect(0, 0, 400, 20)).toImage().pixel(50, 10), qRgb(255, 0, 0));
    }
    void resizeKeepsTheBarAtFullHeightAndItsShare() {
        // A hidden widget gets its resize events when it is shown: show it first.
        ProgressBar bar;
        bar.resize(400, 20);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.ReadProperties(PropertyBag());
        bar.setMax(10000);
        bar.setValue(2500);
        QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 100, 18));
        bar.resize(202, 60);
        QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 50, 58));
        bar.resize(802, 7);
        QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 200, 5));
        // So does a resize while the bar is still measured in pixels.
        ProgressBar fresh;
        fresh.resize(100, 10);
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        fresh.resize(100, 33);
        QCOMPARE(fresh.shpValue()->height(), 31);
    }
    void storedPropertiesReadAndWrite() {
        QWidget host;
        auto* bar = new ProgressBar(&host);
        bar->setGeometry(432, 640, 305, 17);
        bar->ReadProperties(mainWindowStore());
        QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, 160, 17)); // 2400 of 4575 of 305 pixels
        // Only what differs from the defaults is written, in the stored order.
        PropertyBag written;
        bar->WriteProperties(written);
        QCOMPARE(written.keys(), (QStringList{"BorderStyle", "Max", "Value"}));
        QCOMPARE(written.read("Max", 1.0f).toFloat(), 4575.0f);

        bar->setForeColor(0x000000FF);
        bar->setBackColor(0x80000005);
        bar->setBorderStyle(1);
        bar->setMin(5);
        PropertyBag all;
        all.set("Value", 1.0f); // an earlier value keeps its place and is replaced
        bar->WriteProperties(all);
        QCOMPARE(all.keys(), (QStringList{"Value", "ForeColor", "BackColor", "Min", "Max"}));
        QCOMPARE(all.read("Value", 0.0f).toFloat(), 2400.0f);
        // What was written reads back into the same store, keys without regard to case.
        PropertyBag upper;
        for (const QString& key : all.keys())
            upper.set(key.toUpper(), all.read(key, 0));
        ProgressBar copy;
        copy.resize(305, 17);
        copy.ReadProperties(upper);
        PropertyBag again;
        copy.WriteProperties(again);
        QCOMPARE(again.keys(), (QStringList{"ForeColor", "BackColor", "Min", "Max", "Value"}));
        for (const QString& key : again.keys())
            QVERIFY2(again.read(key, 0) == all.read(key, 0), qPrintable(key));
    }
    void assistiveTechnologyReadsRoleAndValue() {
        ProgressBar bar;
        bar.setAccessibleName(QStringLiteral("Download progress bar"));
        bar.resize(305, 17);
        bar.ReadProperties(mainWindowStore());
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&bar);
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::ProgressBar);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Download progress bar"));
        QAccessibleValueInterface* value = iface->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toFloat(), 2400.0f);
        QCOMPARE(value->maximumValue().toFloat(), 4575.0f);
        bar.setValue(100);
        QCOMPARE(value->currentValue().toFloat(), 100.0f);
    }
};

QTEST_MAIN(ProgressBarTest)
#include "tst_progressbar.moc"
