// The progress bar control: its properties, stored properties and geometry.
#include "widgets/progressbar/ProgressBar.h"
#include "widgets/progressbar/PropertyStore.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QImage>
#include <QPalette>
#include <QtTest>

namespace {

constexpr QRgb kBlue = qRgb(0, 0, 255);

ProgressBarPropertyStore mainWindowStore() {
    ProgressBarPropertyStore store;
    store.set("BorderStyle", qint16(0));
    store.set("Max", 4575.0f);
    store.set("Value", 2400.0f);
    return store;
}

} // namespace

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsFromAnEmptyStore();
    void createdBarIsHalfWidthFullHeight();
    void rangeBeforeAnyIsSetIsTheClientWidthInPixels();
    void maxZeroIsIgnored();
    void minZeroAtLeftZeroKeepsTheRange();
    void barWidthFollowsTheValue_data();
    void barWidthFollowsTheValue();
    void drawsTheBarInItsColourOverTheBackground();
    void resizeKeepsTheBarAtFullHeightAndItsShare();
    void borderStyleAcceptsOnlyNoneAndSingle();
    void negativeValueIsRefused();
    void mainWindowInstanceLoadsFromItsStore();
    void writesOnlyWhatDiffersFromTheDefaultsInOrder();
    void readsKeysWithoutRegardToCase();
    void assistiveTechnologyReadsRoleAndValue();
};

void ProgressBarTest::defaultsFromAnEmptyStore() {
    ProgressBar bar;
    bar.resize(200, 20);
    bar.ReadProperties(ProgressBarPropertyStore());
    QCOMPARE(bar.Min(), 0.0f);
    QCOMPARE(bar.Max(), 1.0f);
    QCOMPARE(bar.Value(), 0.0f);
    QCOMPARE(bar.BorderStyle(), 1);
    QCOMPARE(bar.ForeColor(), 0x00FF0000u);
    QCOMPARE(bar.BackColor(), 0x8000000Fu);
    // An empty bar inside a single-line border.
    QCOMPARE(bar.clientRect(), QRect(1, 1, 198, 18));
    QCOMPARE(bar.shpValue()->width(), 0);
    QCOMPARE(bar.shpValue()->pos(), QPoint(1, 1));
    const QImage image = bar.grab().toImage();
    QCOMPARE(image.pixel(0, 10), bar.palette().color(QPalette::WindowText).rgb());
    QCOMPARE(image.pixel(199, 10), bar.palette().color(QPalette::WindowText).rgb());
    QCOMPARE(image.pixel(100, 10), bar.palette().color(QPalette::Button).rgb());
}

void ProgressBarTest::createdBarIsHalfWidthFullHeight() {
    QWidget host;
    host.resize(400, 100);
    auto* bar = new ProgressBar(&host);
    const QSize size = bar->size();
    QCOMPARE(bar->shpValue()->geometry(), QRect(1, 1, size.width() / 2, size.height() - 2));
    QCOMPARE(bar->Value(), static_cast<float>(size.width()) / 2);
}

void ProgressBarTest::rangeBeforeAnyIsSetIsTheClientWidthInPixels() {
    ProgressBar bar;
    bar.resize(300, 20);
    QCOMPARE(bar.Min(), 0.0f);
    QCOMPARE(bar.Max(), 298.0f); // client width inside the border
    bar.setMin(0);
    QCOMPARE(bar.Max(), 298.0f);
    bar.setMax(4575);
    QCOMPARE(bar.Min(), 0.0f);
    QCOMPARE(bar.Max(), 4575.0f);
}

void ProgressBarTest::maxZeroIsIgnored() {
    ProgressBar bar;
    bar.resize(400, 20);
    bar.setBorderStyle(0);
    bar.setMin(0);
    bar.setMax(10000);
    bar.setValue(2500);
    bar.setMax(0);
    QCOMPARE(bar.Max(), 10000.0f);
    QCOMPARE(bar.Min(), 0.0f);
    QCOMPARE(bar.shpValue()->width(), 100);
    // Then a value is measured against the kept maximum.
    bar.setValue(5000);
    QCOMPARE(bar.shpValue()->width(), 200);
}

void ProgressBarTest::minZeroAtLeftZeroKeepsTheRange() {
    ProgressBar bar;
    bar.resize(400, 20);
    bar.setMin(0);
    bar.setMax(100);
    bar.setMin(0);
    QCOMPARE(bar.Min(), 0.0f);
    QCOMPARE(bar.Max(), 100.0f);
    // A new left end keeps the right end.
    bar.setMin(20);
    QCOMPARE(bar.Min(), 20.0f);
    QCOMPARE(bar.Max(), 100.0f);
}

void ProgressBarTest::barWidthFollowsTheValue_data() {
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

void ProgressBarTest::barWidthFollowsTheValue() {
    QFETCH(float, max);
    QFETCH(float, value);
    QFETCH(int, width);
    ProgressBar bar;
    bar.setBorderStyle(0);
    bar.resize(400, 20);
    bar.setMin(0);
    bar.setMax(max);
    QVERIFY(bar.setValue(value));
    QCOMPARE(bar.Value(), value);
    QCOMPARE(bar.shpValue()->geometry(), QRect(0, 0, width, 20));
}

void ProgressBarTest::drawsTheBarInItsColourOverTheBackground() {
    QWidget host;
    auto* bar = new ProgressBar(&host);
    bar->setGeometry(0, 0, 400, 20);
    bar->setBorderStyle(0);
    bar->setBackColor(0x0000FF00); // green
    bar->setMin(0);
    bar->setMax(10000);
    bar->setValue(2500);
    const QImage image = host.grab(QRect(0, 0, 400, 20)).toImage();
    QCOMPARE(image.pixel(0, 0), kBlue);
    QCOMPARE(image.pixel(99, 19), kBlue);
    QCOMPARE(image.pixel(100, 10), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(399, 10), qRgb(0, 255, 0));
    bar->setForeColor(0x000000FF); // red
    const QImage red = host.grab(QRect(0, 0, 400, 20)).toImage();
    QCOMPARE(red.pixel(50, 10), qRgb(255, 0, 0));
}

void ProgressBarTest::resizeKeepsTheBarAtFullHeightAndItsShare() {
    // A hidden widget gets its resize events when it is shown: show it first.
    ProgressBar bar;
    bar.resize(400, 20);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.ReadProperties(ProgressBarPropertyStore());
    bar.setMax(10000);
    bar.setValue(2500);
    QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 100, 18));
    bar.resize(202, 60);
    QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 50, 58));
    bar.resize(802, 7);
    QCOMPARE(bar.shpValue()->geometry(), QRect(1, 1, 200, 5));
    // A resize while the bar is still measured in pixels keeps it at full height too.
    ProgressBar fresh;
    fresh.resize(100, 10);
    fresh.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fresh));
    fresh.resize(100, 33);
    QCOMPARE(fresh.shpValue()->height(), 31);
}

void ProgressBarTest::borderStyleAcceptsOnlyNoneAndSingle() {
    ProgressBar bar;
    bar.resize(100, 20);
    QVERIFY(!bar.setBorderStyle(70000)); // beyond 16 bits
    QVERIFY(!bar.setBorderStyle(-40000));
    QVERIFY(!bar.setBorderStyle(2));
    QCOMPARE(bar.BorderStyle(), 1);
    QVERIFY(bar.setBorderStyle(0));
    QCOMPARE(bar.BorderStyle(), 0);
    QCOMPARE(bar.clientRect(), QRect(0, 0, 100, 20));
    QVERIFY(bar.setBorderStyle(1));
    QCOMPARE(bar.clientRect(), QRect(1, 1, 98, 18));
}

void ProgressBarTest::negativeValueIsRefused() {
    ProgressBar bar;
    bar.resize(100, 20);
    bar.setMin(0);
    bar.setMax(10);
    QVERIFY(bar.setValue(5));
    QVERIFY(!bar.setValue(-1));
    QCOMPARE(bar.Value(), 5.0f);
}

void ProgressBarTest::mainWindowInstanceLoadsFromItsStore() {
    QWidget host;
    auto* bar = new ProgressBar(&host);
    bar->setGeometry(432, 640, 305, 17);
    bar->ReadProperties(mainWindowStore());
    QCOMPARE(bar->BorderStyle(), 0);
    QCOMPARE(bar->Min(), 0.0f);
    QCOMPARE(bar->Max(), 4575.0f);
    QCOMPARE(bar->Value(), 2400.0f);
    QCOMPARE(bar->ForeColor(), 0x00FF0000u);
    // 2400 of 4575 of 305 pixels.
    QCOMPARE(bar->shpValue()->geometry(), QRect(0, 0, 160, 17));
}

void ProgressBarTest::writesOnlyWhatDiffersFromTheDefaultsInOrder() {
    ProgressBar bar;
    bar.resize(305, 17);
    bar.ReadProperties(mainWindowStore());
    ProgressBarPropertyStore written;
    bar.WriteProperties(written);
    QCOMPARE(written.keys(), (QStringList{"BorderStyle", "Max", "Value"}));
    QCOMPARE(written.read("BorderStyle", 1).toInt(), 0);
    QCOMPARE(written.read("Max", 1.0f).toFloat(), 4575.0f);
    QCOMPARE(written.read("Value", 0.0f).toFloat(), 2400.0f);

    bar.setForeColor(0x000000FF);
    bar.setBackColor(0x80000005);
    bar.setBorderStyle(1);
    bar.setMin(5);
    ProgressBarPropertyStore all;
    all.set("Value", 1.0f); // an earlier value keeps its place and is replaced
    bar.WriteProperties(all);
    QCOMPARE(all.keys(), (QStringList{"Value", "ForeColor", "BackColor", "Min", "Max"}));
    QCOMPARE(all.read("Value", 0.0f).toFloat(), 2400.0f);
    QCOMPARE(static_cast<quint32>(all.read("BackColor", 0).toInt()), 0x80000005u);

    ProgressBarPropertyStore fresh;
    bar.WriteProperties(fresh);
    QCOMPARE(fresh.keys(), (QStringList{"ForeColor", "BackColor", "Min", "Max", "Value"}));
    // And what was written reads back into the same state.
    ProgressBar copy;
    copy.resize(305, 17);
    copy.ReadProperties(fresh);
    QCOMPARE(copy.ForeColor(), 0x000000FFu);
    QCOMPARE(copy.BackColor(), 0x80000005u);
    QCOMPARE(copy.BorderStyle(), 1);
    QCOMPARE(copy.Min(), 5.0f);
    QCOMPARE(copy.Max(), 4575.0f);
    QCOMPARE(copy.Value(), 2400.0f);
}

void ProgressBarTest::readsKeysWithoutRegardToCase() {
    ProgressBarPropertyStore store;
    store.set("MAX", 50.0f);
    store.set("value", 25.0f);
    store.set("borderstyle", qint16(0));
    ProgressBar bar;
    bar.resize(100, 10);
    bar.ReadProperties(store);
    QCOMPARE(bar.Max(), 50.0f);
    QCOMPARE(bar.Value(), 25.0f);
    QCOMPARE(bar.BorderStyle(), 0);
    QCOMPARE(bar.shpValue()->width(), 50);
}

void ProgressBarTest::assistiveTechnologyReadsRoleAndValue() {
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

QTEST_MAIN(ProgressBarTest)
#include "tst_progressbar.moc"
