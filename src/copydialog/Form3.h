#pragma once

#include "platform/Services.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QLineEdit;
class chameleonButton;

// The Copy File window: copies the file selected in the main window's result list to a
// path chosen in a save dialog. It is shown without being modal while the main window
// is hidden; Close discards it (cancelling a copy that still runs) and shows the main window
// again. Its title-bar close box is greyed.
class Form3 : public QDialog {
    Q_OBJECT
public:
    // selectedEntry: reads the result list's selected entry, the file to copy, each time
    // it is needed. mainWindow: the window to show again on Close (may be null).
    Form3(platform::Services services, std::function<QString()> selectedEntry, QWidget* mainWindow = nullptr);

    // Design client area, in twips.
    static constexpr int kDesignWidth = 7395;
    static constexpr int kDesignHeight = 2415;

    QLabel* Label1 = nullptr;                    // what to do
    QLineEdit* Text1 = nullptr;                  // the target path
    QLineEdit* Text2 = nullptr;                  // status line
    chameleonButton* chameleonButton1 = nullptr; // Paste
    chameleonButton* chameleonButton2 = nullptr; // Browse
    chameleonButton* chameleonButton3 = nullptr; // Close

    // The save dialog's state as it carries over between two Browse clicks.
    QString CD1Filter() const { return cd1Filter_; }
    QString CD1FileName() const { return cd1FileName_; }

    // Whether a copy runs; Paste does nothing until it is over.
    bool pasting() const { return pasting_; }

    void Form_Load();
    void chameleonButton1_Click(); // Paste
    void chameleonButton2_Click(); // Browse
    void chameleonButton3_Click(); // Close

protected:
    // Escape does not close the window: only Close does, and it brings the main window back.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    platform::Services services_;
    std::function<QString()> selectedEntry_;
    QPointer<QWidget> mainWindow_;
    QString cd1Filter_, cd1FileName_;
    bool pasting_ = false; // a copy runs
};
