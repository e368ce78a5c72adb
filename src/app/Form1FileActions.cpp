// The main window's buttons that act on the selected file or open a dialog: Delete,
// Copy, File Info and About.
#include "app/Form1.h"

#include "about/Form2.h"
#include "copydialog/Form3.h"
#include "filelist/FileActions.h"
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
    const int index = List1->ListIndex();
    const filelist::DeleteOutcome outcome =
        filelist::DeleteSelectedFile(*services_.messageBoxes, this, List1->List(index), Label7->text());
    if (outcome != filelist::DeleteOutcome::Deleted || index < 0) return;
    results_->removeEntry(index);
    List1->setListIndex(-1);
    Label1->setText(QString());
    Label3->setText(QString());
    Label7->setText(QString());
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
