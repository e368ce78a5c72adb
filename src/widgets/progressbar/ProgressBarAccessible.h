#pragma once

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

class ProgressBar;

// What assistive technology reads of a progress bar: the progress bar role and its value
// within its range (read only).
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(ProgressBar* bar);

    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 0; }

    // Makes every ProgressBar use this interface; safe to call more than once.
    static void install();

private:
    ProgressBar* bar() const;
};
