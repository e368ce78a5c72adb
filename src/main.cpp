#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/SessionBus.h"

#include <QApplication>

// The program reads no command line: an argument (such as a document the desktop
// asks us to open) is ignored.
int main(int argc, char* argv[]) {
    platform::prepareApplication();
    platform::StartupReader ahead;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-searcher"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::findDisplayBuses();
    ahead.wait();
    Form1 window(platform::desktopServices(ahead.volumes()));
    window.show();
    return QApplication::exec();
}
