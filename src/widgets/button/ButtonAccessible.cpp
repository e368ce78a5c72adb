#include "ButtonAccessible.h"

#include "AccessKey.h"
#include "chameleonButton.h"

#include <QPointer>

ChameleonButtonAccessible::ChameleonButtonAccessible(chameleonButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

chameleonButton* ChameleonButtonAccessible::button() const {
    return static_cast<chameleonButton*>(widget());
}

QString ChameleonButtonAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return captionWithoutMarkers(button()->Caption());
    case QAccessible::Description:
        return button()->toolTip();
    case QAccessible::Accelerator: {
        const QChar key = button()->accessKey();
        return key.isNull() ? QString() : QStringLiteral("Alt+") + key.toUpper();
    }
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State ChameleonButtonAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (button()->CheckBoxBehaviour()) {
        s.checkable = true;
        s.checked = button()->Value();
    }
    s.pressed = button()->lastState() == 2;
    return s;
}

QStringList ChameleonButtonAccessible::actionNames() const {
    return button()->Enabled() ? QStringList{pressAction()} : QStringList();
}

void ChameleonButtonAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction() || !button()->Enabled()) return;
    // Pressing through assistive technology is a left click. It runs right after this call
    // has answered, from the event loop: a click may open a message box, whose own event
    // loop would otherwise keep the screen reader waiting for the answer.
    QPointer<chameleonButton> pressed = button();
    QMetaObject::invokeMethod(
        pressed,
        [pressed] {
            if (!pressed || !pressed->Enabled()) return;
            pressed->lastButton_ = 1;
            pressed->clickHandling();
        },
        Qt::QueuedConnection);
}

QStringList ChameleonButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction()) return {QStringLiteral("Space")};
    return {};
}

namespace {
QAccessibleInterface* buttonAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("chameleonButton") && object && object->isWidgetType())
        return new ChameleonButtonAccessible(static_cast<chameleonButton*>(object));
    return nullptr;
}
} // namespace

void installButtonAccessibleFactory() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(buttonAccessibleFactory);
}
