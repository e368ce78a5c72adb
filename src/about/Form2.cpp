#include "about/Form2.h"

#include "widgets/Twips.h"
#include "widgets/button/StandardButton.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/window/DialogLook.h"
#include "widgets/window/modCloseBtn.h"

#include <QCloseEvent>
#include <QLabel>

namespace {

const char* const kLabel1 =
    "ORVIK SEARCHER version 1.0 is a beta release and is still under development. If you find an error, "
    "please report it by e-mail to the address given below, saying what you did and what you saw.";
const char* const kLabel2 =
    "This software can search any type of file within your hard disk or cd rom or floppy disc . Also , type "
    "the name of file along with it's file extension and  it will search and find the desired file in "
    "seconds.You can also search for all systems files like  dll , exe , ocx , dat , ini and so on. It shows "
    "hidden files which are hidden by using folder options of windows.";
const char* const kLabel3 =
    "It has its own web browser for viewing web sites. You can search any word with six search engines at a "
    "time or search only one search engine. These are GOOGLE , YAHOO , MSN , ALTAVISTA , LYCOS , ASK JEEVES "
    "search engines. ";
const char* const kLabel4 =
    "You can save the displayed files list as f4u filelist. You can copy any file to your selected path or "
    "can delete the selected file from the system forever.You can view the file properties of selected "
    "file. After installation , open the software and then restart the computer. This will associate the "
    "f4u file type with ORVIK SEARCHER.  ";
const char* const kLabel5 = "Dated  :  December  2 ,  2005";
const char* const kLabel6 = "  About The Author";
const char* const kLabel7 =
    "ORVIK SEARCHER is written and looked after by a small independent developer who builds plain desktop "
    "tools for finding, viewing and keeping files in order.";
const char* const kLabel8 = "Contact: orvik-searcher@example.org";

} // namespace

Form2::Form2(QWidget* mainWindow) : mainWindow_(mainWindow) {
    using dialoglook::designFont;
    setObjectName(QStringLiteral("Form2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About  ORVIK SEARCHER  v 1.0"));
    setFixedSize(twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));

    struct Text {
        QLabel** label;
        const char* name;
        const char* text;
        int left, top, width, height;
        bool bold;
    };
    const Text texts[] = {
        {&Label1, "Label1", kLabel1, 240, 120, 8460, 720, true},
        {&Label2, "Label2", kLabel2, 240, 1080, 8460, 1080, false},
        {&Label3, "Label3", kLabel3, 240, 2400, 8460, 840, false},
        {&Label4, "Label4", kLabel4, 240, 3480, 8460, 1080, false},
        {&Label5, "Label5", kLabel5, 240, 4800, 8460, 300, true},
        {&Label6, "Label6", kLabel6, 240, 5400, 8460, 300, true},
        {&Label7, "Label7", kLabel7, 240, 5760, 8460, 720, false},
        {&Label8, "Label8", kLabel8, 240, 6600, 8460, 300, false},
    };
    for (const Text& t : texts) {
        // A label's accessible name is its text, which is what a sighted user reads.
        auto* label = new QLabel(QString::fromLatin1(t.text), this);
        label->setObjectName(QLatin1String(t.name));
        label->setGeometry(twipsRect(t.left, t.top, t.width, t.height));
        label->setFont(designFont(QStringLiteral("Arial"), 9.75, t.bold));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        dialoglook::setTextColour(label, dialoglook::kBlue);
        *t.label = label;
    }
    Label8->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Command3 = new chameleonButton(this);
    Command3->ReadProperties(standardButtonProperties(QStringLiteral("Close"), 0xC0C0C0));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(twipsRect(3840, 7440, 1215, 345));
    Command3->setAccessibleName(QStringLiteral("Close"));
    Command3->setToolTip(QStringLiteral("Close The About Dialog Box"));
    connect(Command3, &chameleonButton::Click, this, &Form2::Command3_Click);

    Form_Load();
}

void Form2::Form_Load() {
    dialoglook::centreOnScreen(this);
    DisableCloseButton(this);
}

void Form2::Command3_Click() {
    close();
    if (mainWindow_) mainWindow_->show();
}

void Form2::closeEvent(QCloseEvent* event) {
    // A plain window's close: the dialog's own rule (reject) does not apply here.
    event->accept();
}
