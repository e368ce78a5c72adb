#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class chameleonButton;

// The About window: what the program does, its date and its author, and one Close
// button. It is shown without being modal while the main window is hidden; Close
// discards it and shows the main window again. Its title-bar close box is greyed.
class Form2 : public QDialog {
    Q_OBJECT
public:
    // mainWindow: the window to show again when the dialog is closed (may be null).
    explicit Form2(QWidget* mainWindow = nullptr);

    // Design client area, in twips.
    static constexpr int kDesignWidth = 8940;
    static constexpr int kDesignHeight = 8115;

    QLabel* Label1 = nullptr; // the product and its release
    QLabel* Label2 = nullptr; // local search
    QLabel* Label3 = nullptr; // internet search
    QLabel* Label4 = nullptr; // file list actions
    QLabel* Label5 = nullptr; // date
    QLabel* Label6 = nullptr; // heading of the author section
    QLabel* Label7 = nullptr; // about the author
    QLabel* Label8 = nullptr; // contact line
    chameleonButton* Command3 = nullptr;

    void Form_Load();
    void Command3_Click();

protected:
    // Escape does not close the window: only Close does, and it brings the main window back.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
};
