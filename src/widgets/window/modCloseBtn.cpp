#include "widgets/window/modCloseBtn.h"

#include <QCloseEvent>
#include <QObject>
#include <QWidget>

namespace {

const char* const kMarker = "closeButtonDisabled";

// Refuses the close requests that come from outside the program.
class CloseRequestFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return false;
    }
};

} // namespace

void DisableCloseButton(QWidget* window) {
    if (!window || !window->isWindow() || window->property(kMarker).toBool()) return;
    const bool wasVisible = window->isVisible();
    Qt::WindowFlags flags = window->windowFlags();
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    flags &= ~Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->installEventFilter(new CloseRequestFilter(window));
    window->setProperty(kMarker, true);
    if (wasVisible) // changing the flags takes the window off the screen
        window->show();
}
