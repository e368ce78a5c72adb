#include "widgets/progressbar/ProgressBarAccessible.h"

#include "widgets/progressbar/ProgressBar.h"

namespace {

QAccessibleInterface* makeInterface(const QString& className, QObject* object) {
    if (className == QLatin1String("ProgressBar") && object && object->isWidgetType())
        return new ProgressBarAccessible(static_cast<ProgressBar*>(object));
    return nullptr;
}

} // namespace

ProgressBarAccessible::ProgressBarAccessible(ProgressBar* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

ProgressBar* ProgressBarAccessible::bar() const {
    return static_cast<ProgressBar*>(widget());
}

void* ProgressBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant ProgressBarAccessible::currentValue() const {
    return bar()->Value();
}
QVariant ProgressBarAccessible::maximumValue() const {
    return bar()->Max();
}
QVariant ProgressBarAccessible::minimumValue() const {
    return bar()->Min();
}

void ProgressBarAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    (void)installed;
}
