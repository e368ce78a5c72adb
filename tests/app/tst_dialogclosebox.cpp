// The About and Copy File windows refuse the window manager's close request (sent
// here as the real WM_DELETE_WINDOW message): they close only through their own
// Close button, which brings the main window back.
#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "support/FakeServices.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QPointer>
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

// The dialog survives the window manager's request and closes through its button.
void verifyOnlyItsButtonCloses(QWidget* dialog, chameleonButton* close, QWidget& mainWindow) {
    QPointer<QWidget> guard(dialog);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QVERIFY(!(dialog->windowFlags() & Qt::WindowCloseButtonHint));
    sendDeleteWindow(dialog->winId());
    QTest::qWait(300);
    QVERIFY(guard && dialog->isVisible());
    QVERIFY(mainWindow.isHidden());

    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    QVERIFY(mainWindow.isVisible());
    QTRY_VERIFY(guard.isNull());
}

} // namespace

class TestDialogCloseBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void aboutWindow();
    void copyFileWindow();
};

void TestDialogCloseBox::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QFAIL("this test needs an X server (run it under xvfb-run)");
}

void TestDialogCloseBox::aboutWindow() {
    QWidget mainWindow;
    auto* dialog = new Form2(&mainWindow);
    verifyOnlyItsButtonCloses(dialog, dialog->Command3, mainWindow);
}

void TestDialogCloseBox::copyFileWindow() {
    QWidget mainWindow;
    testsupport::FakeServices fake;
    auto* dialog = new Form3(
        fake.services(), [] { return QStringLiteral("/tmp/a.txt"); }, &mainWindow);
    verifyOnlyItsButtonCloses(dialog, dialog->chameleonButton3, mainWindow);
}

QTEST_MAIN(TestDialogCloseBox)
#include "tst_dialogclosebox.moc"
