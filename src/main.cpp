#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/SessionBus.h"

#include <QApplication>

// The program reads no command line: an argument (such as a document the desktop
// asks us to open) is ignored.
int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-searcher"));
    QApplication::setQuitOnLastWindowClosed(false);
    platform::findAutolaunchedSessionBus();
    Form1 window(platform::desktopServices());
    window.show();
    return QApplication::exec();
}
