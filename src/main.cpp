#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/SessionBus.h"

#include <QApplication>

// The program reads no command line: an argument (such as a document the desktop
// asks us to open) is ignored.
int main(int argc, char* argv[]) {
    platform::prepareApplication();
    platform::StartupReader ahead;
    platform::ApplicationArguments arguments(argc, argv);
    QApplication app(arguments.argc(), arguments.argv());
    QApplication::setApplicationName(QStringLiteral("orvik-searcher"));
    QApplication::setQuitOnLastWindowClosed(false);
    ahead.wait(); // before the environment changes: the reading thread reads it too
    platform::findSessionBusOnDisplay();
    Form1 window(platform::desktopServices(ahead.volumes()));
    window.show();
    return QApplication::exec();
}
