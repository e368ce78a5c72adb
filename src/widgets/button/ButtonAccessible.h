#pragma once

#include <QAccessibleWidget>

class chameleonButton;

// What assistive technology sees of a chameleonButton: a push button named by its caption
// (without the access-key marker), described by its tooltip, with a press action that
// clicks it.
class ChameleonButtonAccessible : public QAccessibleWidget {
public:
    explicit ChameleonButtonAccessible(chameleonButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    chameleonButton* button() const;
};

// Registers the accessible interface of the button class; repeated calls do nothing.
void installButtonAccessibleFactory();
