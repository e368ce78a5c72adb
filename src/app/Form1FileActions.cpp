// The main window's buttons that act on the selected file or open a dialog: Delete,
// Copy, File Info and About.
#include "app/Form1.h"

#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "filelist/FileActions.h"
#include "platform/Background.h"
#include "platform/MessageBoxes.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "widgets/button/chameleonButton.h"

#include <QLabel>
#include <QPointer>

void Form1::connectFileActions() {
    connect(chameleonButton9, &chameleonButton::Click, this, &Form1::chameleonButton9_Click);
    connect(chameleonButton10, &chameleonButton::Click, this, &Form1::chameleonButton10_Click);
    connect(chameleonButton17, &chameleonButton::Click, this, &Form1::chameleonButton17_Click);
    connect(chameleonButton18, &chameleonButton::Click, this, &Form1::chameleonButton18_Click);
}

void Form1::chameleonButton9_Click() {
    if (deleting_) return; // one at a time: Delete does nothing until the file is gone or not
    const int index = List1->ListIndex();
    const QString entry = List1->List(index);
    if (index < 0 || !filelist::AskToDelete(*services_.messageBoxes, this, entry, Label7->text())) return;
    deleting_ = true;
    const QByteArray bytes = results_->entryBytes(index);
    platform::runInBackground(
        this, [bytes] { return filelist::DeleteFile(bytes); },
        [this, index, bytes](int error) {
            deleting_ = false;
            filelist::ReportDelete(*services_.messageBoxes, this, error);
            // The entry goes with its file, where the list still holds it there.
            if (error != 0 || results_->entryBytes(index) != bytes) return;
            results_->removeEntry(index);
            List1->setListIndex(-1);
            Label1->setText(QString());
            Label3->setText(QString());
            Label7->setText(QString());
        });
}

void Form1::chameleonButton10_Click() {
    if (List1->List(List1->ListIndex()).isEmpty()) {
        platform::MessageBoxRequest r;
        r.text = QStringLiteral("   There is no file to copy. Please select file !   ");
        services_.messageBoxes->show(this, r);
        return;
    }
    hide();
    // The dialog reads the selected entry itself; it cannot change while the window is hidden.
    (new Form3(
         services_,
         [list = QPointer<search::ResultListView>(List1)] {
             return list ? list->List(list->ListIndex()) : QString();
         },
         this))
        ->show();
}

void Form1::chameleonButton17_Click() {
    filelist::DisplayFileProperties(*services_.fileProperties, List1->List(List1->ListIndex()));
}

void Form1::chameleonButton18_Click() {
    hide();
    (new Form2(this))->show();
}
