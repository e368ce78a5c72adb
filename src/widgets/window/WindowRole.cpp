#include "widgets/window/WindowRole.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

constexpr char kRoleProperty[] = "orvikWindowRole";

// Asked for every class of an object's ancestry, most derived first: answering for the
// window's own class comes before Qt's answer for QWidget or QDialog.
QAccessibleInterface* windowInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType() || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    auto* w = static_cast<QWidget*>(object);
    if (!w->isWindow()) return nullptr;
    return new QAccessibleWidget(w, QAccessible::Role(role.toInt()));
}

} // namespace

void giveWindowRole(QWidget* window, QAccessible::Role role) {
    static const bool installed = (QAccessible::installFactory(windowInterface), true);
    Q_UNUSED(installed);
    window->setProperty(kRoleProperty, int(role));
}
