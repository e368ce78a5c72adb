// button-draw: how long one drawing of a main-window button (67 x 25, the gradient style
// with the windows' stored settings) takes, in each look.
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The median of several rounds of many forced drawings, in microseconds per drawing. Each
// drawing is asked for and then made, as reading the surface makes it.
double timeDrawing(chameleonButton& button, int state) {
    constexpr int kRounds = 15;
    constexpr int kDraws = 2000;
    std::vector<double> perDraw;
    for (int r = 0; r < kRounds; ++r) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kDraws; ++i) {
            button.DrawButton(state, true);
            (void)button.surface();
        }
        perDraw.push_back(double(timer.nsecsElapsed()) / kDraws / 1000.0);
    }
    std::sort(perDraw.begin(), perDraw.end());
    return perDraw[perDraw.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window;
    window.resize(200, 100);
    chameleonButton button(&window);
    button.ReadProperties(standardButtonProperties(QStringLiteral("Search")));
    button.setGeometry(10, 10, 67, 25);
    window.show();

    const double up = timeDrawing(button, 0);
    const double down = timeDrawing(button, 2);
    const QPoint middle(33, 12);
    QCursor::setPos(button.mapToGlobal(middle));
    QMouseEvent move(QEvent::MouseMove, QPointF(middle), QPointF(button.mapToGlobal(middle)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &move);
    const double hover = timeDrawing(button, 0);
    button.setEnabled(false);
    const double disabled = timeDrawing(button, 0);
    std::printf("one 67x25 drawing (median of 15 x 2000): up %.1f us, hover %.1f us, down %.1f us, disabled "
                "%.1f us\n",
                up, hover, down, disabled);

    // The same button with a 16 x 16 picture beside its caption (mask colour around it).
    chameleonButton pictured(&window);
    pictured.ReadProperties(standardButtonProperties(QStringLiteral("Search")));
    pictured.setGeometry(10, 50, 67, 25);
    pictured.show();
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(0xC0, 0xC0, 0xC0));
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            if ((x - 8) * (x - 8) + (y - 8) * (y - 8) < 30)
                picture.setPixel(x, y, qRgb(0x20, 0x40, 0xC0 - 8 * y));
    pictured.setPictureNormal(picture);
    const double pUp = timeDrawing(pictured, 0);
    const double pDown = timeDrawing(pictured, 2);
    pictured.setUseGreyscale(true);
    const double pGrey = timeDrawing(pictured, 0);
    pictured.setEnabled(false);
    const double pDisabled = timeDrawing(pictured, 0);
    std::printf("with a 16x16 picture: up %.1f us, down %.1f us, greyscale %.1f us, disabled %.1f us\n", pUp,
                pDown, pGrey, pDisabled);
    return 0;
}
