// The real program under a real X server: it starts, registers its document type and quits on the window
// manager's close request.
#include "support/DesktopMain.h"
#include "support/FileBytes.h"

#include <QtTest>
#include <QtWidgets>

// Xlib's macros last: they clash with Qt's names.
#include <X11/Xlib.h>

namespace {
// The window manager's close request, of the title bar's close box and of Alt+F4. A window may vanish
// meanwhile: its errors are ignored.
void sendDeleteWindow(WId window) {
    Display* dpy = XOpenDisplay(nullptr);
    QVERIFY(dpy);
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = Window(window);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    XSendEvent(dpy, Window(window), False, NoEventMask, &ev);
    XCloseDisplay(dpy);
}
// What xdotool prints for its arguments, within a bounded time.
QString xdotool(const QStringList& arguments) {
    QProcess tool;
    tool.start("xdotool", arguments);
    if (!tool.waitForFinished(20000)) tool.kill(), tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError()).trimmed();
}

} // namespace

class TestXWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QGuiApplication::platformName() != "xcb")
            QFAIL("this test needs an X server (run it under xvfb-run)");
    }

    void theProgramStartsShowsItsWindowAndQuitsOnClose() {
        QTemporaryDir home;
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", home.path());
        env.remove("XDG_DATA_HOME");
        program.setProcessEnvironment(env);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(ORVIK_PROGRAM), {home.path() + "/list.f4u"}); // a document: ignored
        QVERIFY(program.waitForStarted(5000));
        const auto quit = qScopeGuard([&] { program.kill(), program.waitForFinished(); });
        const QString pid = QString::number(program.processId()); // its mapped window, found by its process
        const QString w = xdotool({"search", "--sync", "--all", "--onlyvisible", "--pid", pid, "--name",
                                   "^ORVIK  SEARCHER   V 1\\.00$"});
        QVERIFY2(!w.isEmpty() && !w.contains('\n'), qPrintable("the main window was not mapped: " + w));
        QVERIFY(xdotool({"getwindowgeometry", w}).contains("Geometry: 752x"));
        QTest::qWait(300); // let it run its clock a little
        QCOMPARE(program.state(), QProcess::Running);
        // The desktop entry in the user's data folder names this very program.
        QVERIFY(testsupport::readBytes(home.path() + "/.local/share/applications/orvik-searcher.desktop")
                    .contains("\nExec=\"" ORVIK_PROGRAM "\" %f\n"));
        sendDeleteWindow(w.toULong());
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

ORVIK_DESKTOP_TEST_MAIN(TestXWindows)
#include "tst_xwindows.moc"
