// The real program under a real X server: it starts, maps its main window, ignores its
// command line, registers its document type for the user, and quits cleanly when the
// window manager asks the window to close.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "support/WindowManager.h"

#include <X11/Xutil.h>

namespace {

// Finds a mapped top-level window with the given title below root.
Window findWindow(Display* dpy, Window root, const char* title) {
    Window rootRet, parent, *children = nullptr;
    unsigned int n = 0;
    Window found = 0;
    if (!XQueryTree(dpy, root, &rootRet, &parent, &children, &n)) return 0;
    for (unsigned int i = 0; i < n && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(dpy, children[i], &name) && name) {
            XWindowAttributes attrs;
            if (qstrcmp(name, title) == 0 && XGetWindowAttributes(dpy, children[i], &attrs) &&
                attrs.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
        if (!found) found = findWindow(dpy, children[i], title);
    }
    if (children) XFree(children);
    return found;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void startsShowsItsWindowAndQuitsOnClose();
};

void TestStartup::startsShowsItsWindowAndQuitsOnClose() {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) QFAIL("this test needs an X server (run it under xvfb-run)");

    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A document given on the command line is ignored.
    program.start(QStringLiteral(ORVIK_PROGRAM), {home.path() + QStringLiteral("/list.f4u")});
    QVERIFY(program.waitForStarted());

    QElapsedTimer clock;
    clock.start();
    Window w = 0;
    while (!w && clock.elapsed() < 20000 && program.state() == QProcess::Running) {
        w = findWindow(dpy, DefaultRootWindow(dpy), "ORVIK  SEARCHER   V 1.00");
        if (!w) QThread::msleep(50);
    }
    QVERIFY2(w, "the main window was not mapped");
    XWindowAttributes attrs;
    XGetWindowAttributes(dpy, w, &attrs);
    QCOMPARE(attrs.width, 752);

    QThread::msleep(300); // let it run its clock a little
    QCOMPARE(program.state(), QProcess::Running);
    // The desktop entry in the user's data folder names this very program.
    QFile entry(home.path() + QStringLiteral("/.local/share/applications/orvik-searcher.desktop"));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    QVERIFY(entry.readAll().contains("\nExec=\"" ORVIK_PROGRAM "\" %f\n"));
    QVERIFY(
        QFile::exists(home.path() + QStringLiteral("/.local/share/mime/packages/orvik-searcher-f4u.xml")));
    QVERIFY(QFile::exists(
        home.path() + QStringLiteral("/.local/share/icons/hicolor/48x48/mimetypes/application-x-f4u.png")));
    testsupport::sendCloseRequest(dpy, w);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    XCloseDisplay(dpy);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
