// The windows under a real X server: the real program starts, registers its document type and quits on
// the window manager's close request; the desktop's applications and session bus are found; About and
// Copy File refuse that request and close by their button.
#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "platform/DesktopFiles.h"
#include "platform/SessionBus.h"
#include "support/DesktopMain.h"
#include "support/FileBytes.h"
#include "support/TreeBuilder.h"
#include "support/Window.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/window/modCloseBtn.h"

#include <QtTest>
#include <QtWidgets>

// Xlib's macros last: they clash with Qt's and the button's names.
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

// The window survives the window manager's request and closes through its button.
void verifyOnlyItsButtonCloses(QWidget* window, QWidget* close) {
    QPointer<QWidget> guard(window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(!(window->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(window->frameGeometry().center(),
             window->screen()->geometry().center()); // as it asks the window manager
    sendDeleteWindow(window->winId());
    QTest::qWait(300);
    QVERIFY(guard && window->isVisible());
    QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
    QVERIFY(!guard || !window->isVisible());
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

    void theDesktopsDefaultApplicationOpensAFileAndItsFolder() {
        // A desktop of our own: an application that writes down what it was given opens text files and
        // folders.
        QTemporaryDir desktop;
        const QString record = desktop.filePath("record"), opened = desktop.filePath("opened");
        QDir().mkpath(desktop.filePath("data/applications")), QDir().mkpath(desktop.filePath("config"));
        void (*write)(const QString&, const QByteArray&) = testsupport::writeBytes;
        write(record, "#!/bin/sh\necho \"$1\" >> " + opened.toUtf8() + "\n");
        QFile::setPermissions(record, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(desktop.filePath("data/applications/recorder.desktop"),
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + record.toUtf8() +
                  " %f\nMimeType=text/plain;inode/directory;\n");
        write(desktop.filePath("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=recorder.desktop\ninode/directory=recorder.desktop\n");
        const QString file = desktop.filePath("notes.txt");
        write(file, "some words\n");
        const QByteArray names[] = {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS"},
                         saved[] = {qgetenv(names[0]), qgetenv(names[1]), qgetenv(names[2])};
        const auto restore = qScopeGuard([&] {
            for (int i = 0; i < 3; ++i)
                qputenv(names[i], saved[i]);
        });
        const QByteArray data = QFile::encodeName(desktop.filePath("data"));
        qputenv(names[0], data), qputenv(names[1], QFile::encodeName(desktop.filePath("config"))),
            qputenv(names[2], data + ":/usr/share");
        platform::SystemDesktopFiles files(QDBusConnection(QStringLiteral("no bus"))); // no file manager
        files.open(file);
        QTRY_COMPARE_WITH_TIMEOUT(QString(testsupport::readBytes(opened)), file + "\n", 10000);
        files.showInFolder(file); // no file manager answers: the folder, with its application
        QTRY_COMPARE_WITH_TIMEOUT(QString(testsupport::readBytes(opened)),
                                  file + "\n" + desktop.path() + "\n", 10000);
    }

    // Where no session bus is named, the one dbus-launch started on this display is found; a named one stays.
    void theSessionBusOnTheDisplayIsFoundWhereNoneIsNamed() {
        QProcess uuid, launch;
        uuid.start("dbus-uuidgen", {"--get"});
        uuid.waitForFinished();
        launch.start(
            "dbus-launch",
            {"--autolaunch", QString::fromLatin1(uuid.readAllStandardOutput().trimmed()), "--sh-syntax"});
        QVERIFY(launch.waitForFinished(10000));
        const QByteArray out = launch.readAllStandardOutput();
        const QByteArray launched = out.mid(26, out.indexOf("';") - 26); // DBUS_SESSION_BUS_ADDRESS='
        const QByteArray saved = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        const auto restore = qScopeGuard([&] { qputenv("DBUS_SESSION_BUS_ADDRESS", saved); });
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        platform::findSessionBusOnDisplay();
        QVERIFY2(launched.startsWith("unix:") && qgetenv("DBUS_SESSION_BUS_ADDRESS") == launched,
                 out.constData());
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nowhere");
        platform::findSessionBusOnDisplay();
        QCOMPARE(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/nowhere");
    }

    void dialogsRefuseTheCloseRequestAndTheMainWindowComesBack() {
        testsupport::TreeBuilder tree;
        tree.file("a.txt");
        testsupport::Window w(tree.root());
        w.search("*.txt");
        w.clickRow(0);
        testsupport::click(w->chameleonButton18);
        auto* about = testsupport::openWindow<Form2>();
        QVERIFY(about && !w->isVisible());
        verifyOnlyItsButtonCloses(about, about->Command3);
        QVERIFY(w->isVisible());
        testsupport::click(w->chameleonButton10);
        auto* copy = testsupport::openWindow<Form3>();
        QVERIFY(copy && !w->isVisible());
        DisableCloseButton(copy); // a second run changes nothing
        verifyOnlyItsButtonCloses(copy, copy->chameleonButton3);
        QVERIFY(w->isVisible());
    }
};

ORVIK_DESKTOP_TEST_MAIN(TestXWindows)
#include "tst_xwindows.moc"
