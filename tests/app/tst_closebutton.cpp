// A dialog whose close box was greyed out ignores the window manager's close request
// (sent here as the real WM_DELETE_WINDOW message) but closes through its own button.
#include "app/modCloseBtn.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "support/WindowManager.h"

namespace {

void sendDeleteWindow(WId window) {
    Display* dpy = XOpenDisplay(nullptr);
    QVERIFY(dpy);
    testsupport::sendCloseRequest(dpy, Window(window));
    XCloseDisplay(dpy);
}

} // namespace

class TestCloseButton : public QObject {
    Q_OBJECT
private slots:
    void windowManagerCannotCloseTheDialog();
};

void TestCloseButton::windowManagerCannotCloseTheDialog() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("this test needs an X server (run it under xvfb-run)");

    // An ordinary window closes when the window manager asks.
    QWidget plain;
    plain.resize(200, 100);
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    sendDeleteWindow(plain.winId());
    QTRY_VERIFY(!plain.isVisible());

    QWidget dialog;
    auto* closeButton = new QPushButton(QStringLiteral("Close"), &dialog);
    QObject::connect(closeButton, &QPushButton::clicked, &dialog, &QWidget::close);
    dialog.resize(200, 100);
    DisableCloseButton(&dialog);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    const Qt::WindowFlags flags = dialog.windowFlags();
    const int children = dialog.children().size();
    DisableCloseButton(&dialog); // a second run changes nothing
    QCOMPARE(dialog.windowFlags(), flags);
    QCOMPARE(dialog.children().size(), children);

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    sendDeleteWindow(dialog.winId());
    QTest::qWait(300);
    QVERIFY(dialog.isVisible());

    QTest::mouseClick(closeButton, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());

    // Greyed while shown: the window stays on the screen.
    QWidget shown;
    shown.resize(100, 100);
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    DisableCloseButton(&shown);
    QVERIFY(shown.isVisible());
    DisableCloseButton(nullptr); // no window: nothing happens
}

QTEST_MAIN(TestCloseButton)
#include "tst_closebutton.moc"
