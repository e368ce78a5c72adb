// The main window's viewer (Show, Next, Previous, Back and the double-click) and the file
// list document (Open and Save).
#include "app/Form1.h"
#include "widgets/window/DialogLook.h"

#include "filelist/BlockedTypes.h"
#include "filelist/DocumentLoad.h"
#include "filelist/FileListDocument.h"
#include "platform/Background.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/WebPane.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "search/SearchJob.h"
#include "widgets/Twips.h"
#include "widgets/button/chameleonButton.h"

#include <QLabel>

namespace {

using Icon = platform::MessageBoxRequest::Icon;

const QString kSelectionTitle = QStringLiteral(" File Selection Error ");
const QString kSaveTitle = QStringLiteral(" Save Filelist Error ");
const QString kOpenTitle = QStringLiteral(" Open Filelist Error ");

void tell(platform::MessageBoxes& boxes, QWidget* parent, const QString& text, const QString& title,
          Icon icon = Icon::None) {
    platform::MessageBoxRequest box;
    box.text = text;
    box.title = title;
    box.icon = icon;
    boxes.show(parent, box);
}

// A file dialog's answer that means it was cancelled.
bool cancelled(const QString& name) {
    return name.isEmpty() || name == QLatin1String(" ");
}

} // namespace

void Form1::connectFileList() {
    connect(chameleonButton2, &chameleonButton::Click, this, &Form1::chameleonButton2_Click);
    connect(chameleonButton3, &chameleonButton::Click, this, &Form1::chameleonButton3_Click);
    connect(chameleonButton4, &chameleonButton::Click, this, &Form1::chameleonButton4_Click);
    connect(chameleonButton5, &chameleonButton::Click, this, &Form1::chameleonButton5_Click);
    connect(List1, &search::ResultListView::DblClick, this, &Form1::List1_DblClick);
    connect(chameleonButton6, &chameleonButton::Click, this, &Form1::chameleonButton6_Click);
    connect(chameleonButton7, &chameleonButton::Click, this, &Form1::chameleonButton7_Click);
}

// --- the viewer --------------------------------------------------------------------

// The checks Show, Next and Previous share: a selected position, an entry there and, for a
// step, a second entry to go to. Tells the user what is missing and returns false.
bool Form1::selectionReady(bool forStep) {
    auto& boxes = *services_.messageBoxes;
    if (Label7->text() == QLatin1String("0")) {
        tell(boxes, this, QStringLiteral("  Please select file from the file list!"), kSelectionTitle);
        return false;
    }
    if (List1->List(List1->ListIndex()).isEmpty()) {
        tell(boxes, this, QStringLiteral("  There is no file in the file list!"), kSelectionTitle);
        return false;
    }
    if (forStep && List1->ListCount() < 2) {
        tell(boxes, this, QStringLiteral("  There is only one file in the Filelist!"), kSelectionTitle);
        return false;
    }
    return true;
}

void Form1::showSelectedFile() {
    const int index = List1->ListIndex();
    const QString path = List1->List(index);
    WB1->show();
    WB1->Navigate(path);
    Label1->setText(path);
    dialoglook::setTextColour(Label1, dialoglook::kRed);
    Label3->setText(QString::number(List1->ListCount()));
    Label7->setText(QString::number(index + 1));
}

void Form1::chameleonButton2_Click() {
    auto& boxes = *services_.messageBoxes;
    if (!selectionReady(false)) return;
    const QString path = List1->List(List1->ListIndex());
    List1->hide();
    if (filelist::CheckBlockedType(boxes, this, path, filelist::BlockedAction::Open,
                                   QString::fromLatin1(filelist::kShowTitle)))
        return;
    showSelectedFile();
}

void Form1::List1_DblClick() {
    List1->hide();
    if (filelist::CheckBlockedType(*services_.messageBoxes, this, List1->List(List1->ListIndex()),
                                   filelist::BlockedAction::Open,
                                   QString::fromLatin1(filelist::kSearcherTitle)))
        return;
    showSelectedFile();
}

void Form1::chameleonButton3_Click() {
    auto& boxes = *services_.messageBoxes;
    const int index = List1->ListIndex();
    if (!selectionReady(true)) return;
    if (index == List1->ListCount() - 1) {
        tell(boxes, this, QStringLiteral("  This is the last file in the Filelist!"), kSelectionTitle);
        return;
    }
    Label1->setText(QString());
    List1->hide();
    if (filelist::CheckBlockedType(boxes, this, List1->List(index + 1), filelist::BlockedAction::Open,
                                   QString::fromLatin1(filelist::kSearcherTitle)))
        return;
    List1->setListIndex(index + 1);
    showSelectedFile();
}

void Form1::chameleonButton4_Click() {
    auto& boxes = *services_.messageBoxes;
    const int index = List1->ListIndex();
    if (!selectionReady(true)) return;
    if (index < 1) {
        tell(boxes, this, QStringLiteral("  This is the first file in the Filelist!"), kSelectionTitle);
        return;
    }
    List1->hide();
    if (filelist::CheckBlockedType(boxes, this, List1->List(index - 1), filelist::BlockedAction::Open,
                                   QString::fromLatin1(filelist::kSearcherTitle)))
        return;
    List1->setListIndex(index - 1);
    showSelectedFile();
}

void Form1::chameleonButton5_Click() {
    auto& boxes = *services_.messageBoxes;
    if (Label7->text() == QLatin1String("0")) {
        tell(boxes, this, QStringLiteral("  File List is already opened !"), kSelectionTitle);
        return;
    }
    const QString path = List1->List(List1->ListIndex());
    if (path.isEmpty()) {
        tell(boxes, this, QStringLiteral("  There is no file in the file list!"), kSelectionTitle);
        return;
    }
    List1->show();
    WB1->hide();
    Label1->setText(path);
    List1->resize(List1->width(), twipsToPixels(6200));
}

// --- the file list document ----------------------------------------------------------

void Form1::chameleonButton6_Click() {
    if (load_->running()) return; // one document at a time: Clear stops it
    const QString name = services_.fileDialogs->openFileName(
        this, QString(), QStringLiteral("Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*"));
    if (cancelled(name)) return;
    if (isSearching()) { // the list becomes what Open brings, never a mix with the search's
        stopSearch();
        results_->clear();
        Label1->setText(QStringLiteral("\r\nSEARCH STOPPED"));
    }
    List1->show();
    WB1->hide();
    if (name.right(3).toLower() == QLatin1String("f4u")) {
        results_->clear();
        load_->start(name); // the entries come in as it is read; documentLoaded() when it is
        return;
    }
    results_->append(name);
    results_->flush();
    showListCounts();
}

void Form1::documentLoaded(const filelist::PlaylistResult& read) {
    showListCounts();
    if (read.changed)
        Label1->setText(
            QStringLiteral("  The file list changed while it was being read: the entries read until "
                           "then are listed."));
    if (!read.ok)
        tell(*services_.messageBoxes, this,
             QStringLiteral("  The file list could not be read: %1").arg(read.error), kOpenTitle,
             Icon::Warning);
}

void Form1::showListCounts() {
    Label3->setText(QString::number(List1->ListCount()));
    Label7->setText(QString::number(List1->ListIndex() + 1));
}

void Form1::chameleonButton7_Click() {
    auto& boxes = *services_.messageBoxes;
    if (saving_) return;                       // one save at a time: the next waits until it is over
    if (job_->running() || load_->running()) { // what is listed so far is not the whole list
        tell(boxes, this,
             job_->running()
                 ? QStringLiteral("  A search is running: the file list is not complete yet. Save it "
                                  "when the search is over, or Clear to stop the search.")
                 : QStringLiteral("  A file list is being opened: the list is not complete yet. Save "
                                  "it when it is, or Clear to stop opening it."),
             kSaveTitle);
        return;
    }
    if (List1->ListCount() == 0) {
        tell(boxes, this,
             QStringLiteral("    Filelist is Empty! Please add files to Filelist and Save again !"),
             kSaveTitle);
        return;
    }
    const QString name = services_.fileDialogs->saveFileName(
        this, QString(), QStringLiteral("File List (*.f4u)|*.f4u"), QString());
    if (cancelled(name)) return;
    saving_ = true;
    // The list as it is now: it may change while the document is written.
    platform::runInBackground(
        this, [name, entries = results_->entries()] { return filelist::SavePlaylist(name, entries); },
        [this](const filelist::PlaylistResult& saved) {
            saving_ = false;
            auto& boxes = *services_.messageBoxes;
            if (!saved.ok) {
                tell(boxes, this,
                     QStringLiteral("  The file list was not saved: %1\n  A file list that was there before "
                                    "is unchanged.")
                         .arg(saved.error),
                     kSaveTitle, Icon::Warning);
            } else if (saved.entriesWithCr > 0) {
                tell(boxes, this,
                     QStringLiteral(
                         "  The file list was saved. Entries with a line break (CR) in the file name: "
                         "%1.\n  Each of them will load back as more than one entry.")
                         .arg(saved.entriesWithCr),
                     QStringLiteral(" Save Filelist Message "), Icon::Warning);
            }
        });
}
