// Windows whose close box was greyed out (the About and Copy File windows among them)
// refuse the window manager's close request, sent here as the real WM_DELETE_WINDOW
// message, and close only through their own Close button.
#include "about/Form2.h"
#include "app/modCloseBtn.h"
#include "copydialog/Form3.h"
#include "support/FakeServices.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// Xlib's macros last: they clash with Qt's and the button's names.
#include "support/WindowManager.h"

namespace {

void sendDeleteWindow(WId window) {
    Display* dpy = XOpenDisplay(nullptr);
    QVERIFY(dpy);
    testsupport::sendCloseRequest(dpy, Window(window));
    XCloseDisplay(dpy);
}

// The window survives the window manager's request and closes through its button.
void verifyOnlyItsButtonCloses(QWidget* window, QWidget* close) {
    QPointer<QWidget> guard(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
    sendDeleteWindow(window->winId());
    QTest::qWait(300);
    QVERIFY(guard && window->isVisible());
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    QVERIFY(!guard || !window->isVisible());
}

} // namespace

class TestDialogCloseBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QFAIL("this test needs an X server (run it under xvfb-run)");
    }

    void anOrdinaryWindowClosesOnRequest() {
        QWidget plain;
        plain.resize(200, 100);
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        sendDeleteWindow(plain.winId());
        QTRY_VERIFY(!plain.isVisible());
    }

    void aGreyedCloseBoxRefusesIt() {
        QWidget dialog;
        auto* closeButton = new QPushButton(QStringLiteral("Close"), &dialog);
        QObject::connect(closeButton, &QPushButton::clicked, &dialog, &QWidget::close);
        dialog.resize(200, 100);
        DisableCloseButton(&dialog);
        const Qt::WindowFlags flags = dialog.windowFlags();
        const int children = dialog.children().size();
        DisableCloseButton(&dialog); // a second run changes nothing
        QCOMPARE(dialog.windowFlags(), flags);
        QCOMPARE(dialog.children().size(), children);
        verifyOnlyItsButtonCloses(&dialog, closeButton);

        QWidget shown; // greyed while shown: the window stays on the screen
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        DisableCloseButton(&shown);
        QVERIFY(shown.isVisible());
        DisableCloseButton(nullptr); // no window: nothing happens
    }

    void aboutAndCopyFileWindowsBringTheMainWindowBack() {
        QWidget mainWindow;
        auto* about = new Form2(&mainWindow);
        verifyOnlyItsButtonCloses(about, about->Command3);
        QVERIFY(mainWindow.isVisible());

        mainWindow.hide();
        testsupport::FakeServices fake;
        QPointer<Form3> copy = new Form3(fake.services(), [] { return QStringLiteral("/tmp/a.txt"); }, &mainWindow);
        verifyOnlyItsButtonCloses(copy, copy->chameleonButton3);
        QVERIFY(mainWindow.isVisible());
        QTRY_VERIFY(copy.isNull()); // discarded: the next one opens afresh
    }
};

QTEST_MAIN(TestDialogCloseBox)
#include "tst_dialogclosebox.moc"
