#include "widgets/window/DialogLook.h"

#include "widgets/InstalledFace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace dialoglook {

QFont designFont(const QString& face, double points, bool bold) {
    QFont f(installedFace(face));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    w->setPalette(p);
}

void setBackColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    window->move(s.x() + (s.width() - outer.width()) / 2, s.y() + (s.height() - outer.height()) / 2);
}

} // namespace dialoglook
