// The baseline of startup-bench: a bare Qt Widgets window of the main window's size and
// title, and nothing else.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("ORVIK  SEARCHER   V 1.00"));
    window.resize(752, 635);
    window.show();
    return QApplication::exec();
}
