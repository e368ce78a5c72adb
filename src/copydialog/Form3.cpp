#include "copydialog/Form3.h"

#include "copydialog/modCopy.h"
#include "platform/FileDialogs.h"
#include "widgets/Twips.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/window/DialogLook.h"
#include "widgets/window/modCloseBtn.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>

using dialoglook::designFont;

namespace {

const QColor kGrey(224, 224, 224);

chameleonButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* tooltip,
                            int left) {
    auto* b = new chameleonButton(parent);
    b->ReadProperties(standardButtonProperties(QString::fromLatin1(caption)));
    b->setObjectName(QLatin1String(name));
    b->setGeometry(twipsRect(left, 1800, 1335, 375));
    b->setAccessibleName(QString::fromLatin1(caption));
    b->setToolTip(QString::fromLatin1(tooltip));
    return b;
}

} // namespace

Form3::Form3(platform::Services services, std::function<QString()> selectedEntry, QWidget* mainWindow)
    : services_(std::move(services)), selectedEntry_(std::move(selectedEntry)), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form3"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Copy File Dialog Box"));
    setFixedSize(twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));

    Label1 = new QLabel(
        QStringLiteral("Your selected file has been copied to clipboard. Please select directory in "
                       "which your selected file will be saved. Then click paste button."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(240, 120, 6855, 975));
    Label1->setFont(designFont(QStringLiteral("Arial"), 9.75, true));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dialoglook::setTextColour(Label1, dialoglook::kBlue);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(twipsRect(240, 720, 6915, 285));
    Text1->setFont(designFont(QStringLiteral("Tahoma"), 8.25, false));
    Text1->setAccessibleName(QStringLiteral("Copy to"));
    Text1->setAccessibleDescription(QStringLiteral("The folder and name the file is copied to"));

    Text2 = new QLineEdit(QStringLiteral("Status: Ready"), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(twipsRect(240, 1200, 6915, 285));
    Text2->setFont(designFont(QStringLiteral("Tahoma"), 8.25, true));
    Text2->setReadOnly(true);
    Text2->setAccessibleDescription(QStringLiteral("Status of the copy"));
    // The status line is read by its text, whatever it says now.
    Text2->setAccessibleName(Text2->text());
    connect(Text2, &QLineEdit::textChanged, Text2, &QWidget::setAccessibleName);
    for (QLineEdit* box : {Text1, Text2}) {
        dialoglook::setTextColour(box, dialoglook::kBlue);
        dialoglook::setBackColour(box, kGrey);
    }
    Text1->raise(); // the box lies over the lower part of the label

    chameleonButton2 = makeButton(this, "chameleonButton2", "Browse", "Browse To Select Directory", 1200);
    chameleonButton1 =
        makeButton(this, "chameleonButton1", "Paste", "Save File Into Your Selected Directory", 3000);
    chameleonButton3 = makeButton(this, "chameleonButton3", "Close", "Exit The Copy File Dialog Box", 4800);
    connect(chameleonButton1, &chameleonButton::Click, this, &Form3::chameleonButton1_Click);
    connect(chameleonButton2, &chameleonButton::Click, this, &Form3::chameleonButton2_Click);
    connect(chameleonButton3, &chameleonButton::Click, this, &Form3::chameleonButton3_Click);
    setTabOrder(Text1, chameleonButton2);
    setTabOrder(chameleonButton2, chameleonButton1);
    setTabOrder(chameleonButton1, chameleonButton3);

    Form_Load();
}

void Form3::Form_Load() {
    dialoglook::centreOnScreen(this);
    DisableCloseButton(this);
}

void Form3::chameleonButton2_Click() {
    cd1Filter_ = modCopy::BrowseFilter(selectedEntry_(), cd1Filter_);
    const QString chosen =
        services_.fileDialogs->saveFileName(this, QStringLiteral("Save File As"), cd1Filter_, cd1FileName_);
    if (!chosen.isEmpty()) cd1FileName_ = chosen; // a cancelled dialog keeps its last name
    Text1->setText(cd1FileName_);
}

void Form3::chameleonButton1_Click() {
    if (pasting_) return; // one copy at a time: Paste does nothing until it is over
    pasting_ = true;
    const QString target = Text1->text();
    modCopy::PasteFile(services_.fileCopier, services_.messageBoxes, this, selectedEntry_(), target,
                       [this, target](modCopy::PasteOutcome outcome) {
                           pasting_ = false;
                           if (outcome != modCopy::PasteOutcome::NotRun)
                               Text2->setText(modCopy::PasteStatus(outcome, target));
                       });
}

void Form3::chameleonButton3_Click() {
    close();
    if (mainWindow_) mainWindow_->show();
}

void Form3::closeEvent(QCloseEvent* event) {
    event->accept();
}
