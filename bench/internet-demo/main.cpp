// Developer tool: the main window in internet mode with every engine pointed at a small
// HTTP server on 127.0.0.1, so that the panes can be seen and tried without the network.
//
//   internet-demo [PHRASE] [--quit-after SECONDS]
//
// Starts the server, shows the window, switches to internet mode and, when a phrase is
// given, types it into the phrase box and clicks Search All. Prints the server's address.
#include "LocalHttpServer.h"

#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "websearch/Engines.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    QString phrase;
    int quitAfter = 0;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--quit-after") && i + 1 < args.size())
            quitAfter = args[++i].toInt();
        else
            phrase = args[i];
    }

    LocalHttpServer server;
    if (!server.start()) {
        std::fprintf(stderr, "internet-demo: cannot listen on 127.0.0.1\n");
        return 1;
    }
    websearch::pointAllHostsAt(server.host());
    std::printf("engines at http://%s\n", qPrintable(server.host()));
    std::fflush(stdout);

    Form1 window(platform::desktopServices());
    window.show();
    QTimer::singleShot(0, &window, [&] {
        window.Option3->click();
        if (phrase.isEmpty()) return;
        window.Text2->setText(phrase);
        window.chameleonButton11_Click(); // Search All
    });
    if (quitAfter > 0) QTimer::singleShot(quitAfter * 1000, &app, &QApplication::quit);
    return QApplication::exec();
}
