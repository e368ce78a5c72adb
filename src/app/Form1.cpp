#include "app/Form1.h"

#include "app/ControlPlace.h"
#include "app/WindowText.h"
#include "filelist/DocumentLoad.h"
#include "filelist/modRegistry.h"
#include "platform/AppSetup.h"
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/PathCodec.h"
#include "platform/WebPane.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "search/SearchJob.h"
#include "widgets/Twips.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/progressbar/ProgressBar.h"
#include "widgets/window/DialogLook.h"
#include "widgets/window/WindowRole.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResource>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>

#include <thread>

namespace {

using controlplace::place;
using controlplace::placeValueLabel;
using dialoglook::designFont;
using dialoglook::kBlue;
using dialoglook::kRed;
using dialoglook::setTextColour;

template <std::size_t N> void setShown(const std::array<chameleonButton*, N>& buttons, bool shown) {
    for (chameleonButton* b : buttons)
        b->setVisible(shown);
}

// The program's picture, 64 pixels square, from its raw RGBA pixels (the same picture as
// the PNG the desktop shows): no image decoder is set up before the window shows.
QIcon programIcon() {
    constexpr int kSide = 64;
    const QByteArray pixels = QResource(QStringLiteral(":/icons/orvik-searcher.rgba")).uncompressedData();
    if (pixels.size() != kSide * kSide * 4) return {};
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), kSide, kSide,
                       QImage::Format_RGBA8888);
    return QIcon(QPixmap::fromImage(image.copy())); // the pixels outlive the resource data
}

// The key code a key press delivers to a text box: Enter is 13, other keys their
// character, keys without a character 0.
int keyAscii(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return 13;
    const QString t = e->text();
    return t.isEmpty() ? 0 : t.at(0).unicode();
}

} // namespace

Form1::Form1(platform::Services services, QWidget* parent) : QWidget(parent), services_(std::move(services)) {
    platform::substituteFonts();
    setObjectName(QStringLiteral("Form1"));
    giveWindowRole(this);
    setWindowTitle(QString::fromLatin1(windowtext::kMainTitle));
    setWindowIcon(programIcon());
    resize(twipsToPixels(kDesignWidth), twipsToPixels(kDesignHeight));
    buildControls();
    buildButtons();
    connectHandlers();
    Form_Load();
}

Form1::~Form1() = default;

platform::WebPane* Form1::enginePane(int engine) const {
    platform::WebPane* const panes[] = {WB2, WB3, WB4, WB5, WB6, WB7};
    return engine >= 0 && engine < 6 ? panes[engine] : nullptr;
}

void Form1::buildControls() {
    const QFont arial975b = designFont(QStringLiteral("Arial"), 9.75, true);

    Option3 = place(new QRadioButton(QStringLiteral("Search By Topic On Internet"), this), "Option3", 960,
                    120, 3015, 255, QStringLiteral("Search By Topic On Internet"));
    Option1 = place(new QRadioButton(QStringLiteral("Search By File Name"), this), "Option1", 4800, 120, 2415,
                    255, QStringLiteral("Search By File Name"));
    Option2 = place(new QRadioButton(QStringLiteral("Search By File Type"), this), "Option2", 8160, 120, 2295,
                    255, QStringLiteral("Search By File Type"));
    for (QRadioButton* o : {Option3, Option1, Option2}) {
        o->setFont(arial975b);
        setTextColour(o, kBlue);
    }

    Combo1 = place(new QComboBox(this), "Combo1", 360, 600, 1935, 360, QStringLiteral("File type"),
                   QStringLiteral("Select File Type"));
    // The font before the box becomes editable: its text box is made in that font, not laid out
    // again.
    Combo1->setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    Combo1->setEditable(true);
    // What the user types stays as typed: nothing is added to the items, no item's text is
    // completed into the box, and Enter (which the box would match against the items,
    // regardless of case) does nothing here.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    for (const char* item : windowtext::kFileTypes)
        Combo1->addItem(QString::fromLatin1(item));
    Combo1->setCurrentIndex(0);
    Combo1->setEditText(QStringLiteral("*.TXT"));

    Drive1 = place(new QComboBox(this), "Drive1", 7800, 600, 3255, 315, QStringLiteral("Drive"),
                   QStringLiteral("Select The Drive"));
    Drive1_Refresh(); // the start volume selected
    services_.drives->watch(this, [this] { Drive1_Refresh(); });

    Label1 = placeValueLabel(new QLabel(this), "Label1", 3480, 960, 6255, 735, QStringLiteral("Status"));
    Label1->setFont(designFont(QStringLiteral("Arial"), 8.25, true));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label5 = placeValueLabel(new QLabel(this), "Label5", 240, 1200, 3015, 255, QStringLiteral("Date"));
    Label4 = placeValueLabel(new QLabel(this), "Label4", 9840, 1200, 1215, 255, QStringLiteral("Time"));

    Frame1 = place(new QFrame(this), "Frame1", 240, 1560, 10815, 6495, QStringLiteral("Files"));
    Frame1->setFrameShape(QFrame::Box);
    Frame1->setFrameShadow(QFrame::Sunken);
    results_ = new search::ResultList(this);
    job_ = new search::SearchJob(results_, this);
    connect(job_, &search::SearchJob::folderListed, this, &Form1::showSearchingStatus);
    connect(job_, &search::SearchJob::finished, this, &Form1::searchFinished);
    load_ = new filelist::DocumentLoad(results_, this);
    connect(load_, &filelist::DocumentLoad::finished, this, &Form1::documentLoaded);
    List1 = place(new search::ResultListView(results_, Frame1), "List1", 120, 240, 10575, 5100,
                  QStringLiteral("Files found"));
    List1->setFont(designFont(QStringLiteral("Arial"), 8.25, true));
    List1->hide();
    WB1 = place(services_.webPanes->createFileViewer(Frame1), "WB1", 120, 240, 10575, 6135,
                QStringLiteral("File viewer"));
    WB1->hide();

    Label2 = place(new QLabel(QStringLiteral("Files Found :"), this), "Label2", 480, 8280, 1335, 255,
                   QStringLiteral("Files Found :"));
    Label3 = placeValueLabel(new QLabel(this), "Label3", 1920, 8280, 1455, 255,
                             QStringLiteral("Files found count"));
    Label6 = place(new QLabel(QStringLiteral("Current File :"), this), "Label6", 480, 8640, 1335, 255,
                   QStringLiteral("Current File :"));
    Label7 = placeValueLabel(new QLabel(this), "Label7", 1920, 8640, 1575, 255,
                             QStringLiteral("Current file position"));
    for (QLabel* l : {Label5, Label4, Label2, Label3, Label6, Label7})
        l->setFont(arial975b);

    for (QWidget* w : std::initializer_list<QWidget*>{Combo1, Drive1, Label1, Label5, Label4, List1, Label2,
                                                      Label3, Label6, Label7})
        setTextColour(w, kBlue);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->start();
}

// A first look at the window shows neither the file name box (the start mode is the file-type
// mode) nor the internet mode's controls.
void Form1::buildLaterControls() {
    if (laterControlsBuilt()) return;
    Text1 = place(new QLineEdit(this), "Text1", 360, 600, 6855, 315, QStringLiteral("File name"),
                  QString::fromLatin1(windowtext::kText1Tip));
    Text1->hide(); // explicitly, as the file-type mode has it
    Text1->setFont(designFont(QStringLiteral("Arial"), 8.25, false));
    setTextColour(Text1, kBlue);
    setTabOrder(Option2, Text1); // where the focus order has it: after the options
    Text1->installEventFilter(this);
    buildInternetControls();
}

void Form1::buildButtons() {
    controlplace::placeButtons(
        this,
        {{&chameleonButton1, "chameleonButton1", "Search", "Start Searching Process", 3240, 8160, 1000, 375},
         {&chameleonButton2, "chameleonButton2", "Show", "Load Selected File", 3240, 8520, 1000, 375},
         {&chameleonButton3, "chameleonButton3", "Next", "Load Next File", 4320, 8160, 1000, 375},
         {&chameleonButton4, "chameleonButton4", "Previous", "Load Previous File", 4320, 8520, 1000, 375},
         {&chameleonButton5, "chameleonButton5", "Back", "Back To File List", 5400, 8160, 1000, 375},
         {&chameleonButton8, "chameleonButton8", "Clear", "Clear File List", 5400, 8520, 1000, 375},
         {&chameleonButton6, "chameleonButton6", "Open", "Open Files Or File List", 6480, 8160, 1000, 375},
         {&chameleonButton7, "chameleonButton7", "Save ", "Save Displayed File List", 6480, 8520, 1000, 375},
         {&chameleonButton10, "chameleonButton10", "Copy ", "Copy Selected File To Destination", 7560, 8160,
          1000, 375},
         {&chameleonButton9, "chameleonButton9", "Delete", "Delete Selected File From System Forever !", 7560,
          8520, 1000, 375},
         {&chameleonButton17, "chameleonButton17", "File Info", "Shows File Properties Dialog Box", 8640,
          8160, 1000, 375},
         {&chameleonButton18, "chameleonButton18", "About", "About The Software /  Author", 8640, 8520, 1005,
          375}});
}

void Form1::connectHandlers() {
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option1_Click();
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option2_Click();
    });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Option3_Click();
    });
    Combo1->lineEdit()->installEventFilter(this);
    connect(chameleonButton1, &chameleonButton::Click, this, &Form1::chameleonButton1_Click);
    connect(chameleonButton8, &chameleonButton::Click, this, &Form1::chameleonButton8_Click);
    connect(List1, &search::ResultListView::Click, this, &Form1::List1_Click);

    connectFileActions();
    connectFileList();
    connectListMenu();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == List1 && List1_KeyPress(key)) return true;
        int code = keyAscii(key);
        if (code != 0) {
            if (watched == Text1)
                Text1_KeyPress(code);
            else if (watched == Text2)
                Text2_KeyPress(code);
            else if (watched == Text4)
                Text4_KeyPress(code);
            else if (watched == Combo1->lineEdit() && code == 13)
                return true; // no key in the type box starts a search, or changes its text
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- window lifecycle --------------------------------------------------------------

void Form1::setOuterHeight(int twips) {
    const int frameExtra = frameGeometry().height() - geometry().height();
    resize(width(), twipsToPixels(twips) - frameExtra);
}

void Form1::Form_Load() {
    // 1. Centre on the screen, for the size as built.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(s.x() + (s.width() - outer.width()) / 2, s.y() + (s.height() - outer.height()) / 2);
    }
    // 2. The file modes' height.
    setOuterHeight(kFileModeHeight);
    // 3. The file list document type, registered with the desktop on every start.
    // On a thread of its own: a home folder on a slow or hung share must not hold the window.
    if (services_.desktopData) {
        std::thread([desktop = services_.desktopData, folder = QCoreApplication::applicationDirPath(),
                     name = QFileInfo(QCoreApplication::applicationFilePath()).fileName()] {
            filelist::AssociateFileType(QStringLiteral("f4u"), folder, name, QStringLiteral("f4u"),
                                        folder + QStringLiteral("/ICON2.ico"), *desktop);
        }).detach();
    }
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Shown by the program (first show, or back from a dialog that hid it); a window
    // manager restoring the window or giving it the focus does not count.
    if (!event->spontaneous()) Form_Activate();
}

void Form1::Form_Activate() {
    hideInternetControls();
    Option2->setChecked(true); // runs the file-type mode switch unless already selected
    if (Text1) Text1->hide();
    Combo1->show();
}

void Form1::hideInternetControls() {
    if (!laterControlsBuilt()) return; // none to hide before they are built
    setShown(internetButtons(), false);
    for (QWidget* w : std::initializer_list<QWidget*>{Text2, Combo2, SSTab1, Text4, Label8, PB1})
        w->hide();
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Once the window has first been painted, the controls it does not show follow.
    if (!laterControlsBuilt() && !laterBuildPosted_) {
        laterBuildPosted_ = true;
        QTimer::singleShot(0, this, &Form1::buildLaterControls);
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    stopSearch(); // abandoned, not waited for: the program ends even while a listing hangs
    event->accept();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible()) w->close();
    QCoreApplication::quit();
}

void Form1::Timer1_Timer() {
    const QDateTime now = services_.clock->now();
    const QLocale locale = QLocale::system();
    Label5->setText(locale.toString(now.date(), QStringLiteral("dddd , dd MMMM , yyyy ")));
    Label4->setText(locale.toString(now.time(), windowtext::longTimeFormat(locale)));
}

// --- search modes ----------------------------------------------------------------

// Search, Show, Next, Previous, Back, Open, Save, Clear, Delete and Copy, in the order of
// their numbers.
std::array<chameleonButton*, 10> Form1::fileButtons() const {
    return {chameleonButton1, chameleonButton2, chameleonButton3, chameleonButton4, chameleonButton5,
            chameleonButton6, chameleonButton7, chameleonButton8, chameleonButton9, chameleonButton10};
}

void Form1::showFileModeLayout(bool fileNameMode) {
    setShown(fileButtons(), true);
    hideInternetControls();
    chameleonButton17->show();
    chameleonButton18->show();
    for (QLabel* l : {Label1, Label2, Label3, Label6, Label7})
        l->show();
    if (Text1) Text1->setVisible(fileNameMode);
    Combo1->setVisible(!fileNameMode);
    Drive1->show();
    Frame1->resize(Frame1->width(), twipsToPixels(6495));
    List1->resize(List1->width(), twipsToPixels(6200));
    setOuterHeight(kFileModeHeight);
}

void Form1::Option1_Click() {
    buildLaterControls(); // chosen before the window was first painted
    showFileModeLayout(true);
}

void Form1::Option2_Click() {
    showFileModeLayout(false);
}

void Form1::Option3_Click() {
    buildLaterControls(); // chosen before the window was first painted
    setShown(fileButtons(), false);
    setShown(internetButtons(), true);
    chameleonButton17->hide();
    chameleonButton18->hide();
    for (QLabel* l : {Label1, Label2, Label3, Label6, Label7})
        l->hide();
    Text1->hide();
    Text2->show();
    Text4->show();
    Combo1->hide();
    Combo2->show();
    Drive1->hide();
    SSTab1->show();
    PB1->hide();
    Label8->setText(QString());
    SSTab1->resize(SSTab1->width(), twipsToPixels(7100));
    Frame1->resize(Frame1->width(), twipsToPixels(7450));
    for (int engine = 0; engine < 6; ++engine) {
        platform::WebPane* pane = enginePane(engine);
        pane->resize(pane->width(), twipsToPixels(6650));
    }
    setOuterHeight(kInternetModeHeight);
}

void Form1::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == 13) StartSearch();
}

// --- the local search ------------------------------------------------------------

void Form1::chameleonButton1_Click() {
    StartSearch();
}

bool Form1::isSearching() const {
    return job_->running() || load_->running();
}

void Form1::StartSearch() {
    if (isSearching()) // one at a time: a search asked for while the list is being filled is refused
        return;

    Label1->show();
    results_->clear();
    showSearchingStatus(Drive1->currentData().toString()); // until the first folder is listed
    const std::string root = platform::encodePath(Drive1->currentData().toString()).toStdString();
    QString pattern;
    if (Option2->isChecked()) pattern = windowtext::trimLeadingBlanks(Combo1->currentText());
    if (Option1->isChecked()) pattern = windowtext::trimLeadingBlanks(Text1->text());

    job_->start(root, search::WildcardPattern(pattern));
}

// The walk ended on its own (one that was stopped never gets here: whoever stopped it says so).
void Form1::searchFinished() {
    QFont f = Label1->font();
    f.setPointSize(8);
    f.setBold(true);
    Label1->setFont(f);
    setTextColour(Label1, kRed);
    Label1->setText(QStringLiteral("\r\nSEARCH OVER"));
    Label3->setText(QString::number(results_->count()));
    Label7->setText(QString::number(List1->ListIndex() + 1));
    List1->show();
    List1->resize(List1->width(), twipsToPixels(6300));
}

void Form1::showSearchingStatus(const QString& folder) {
    QFont f = Label1->font();
    f.setPointSize(8);
    f.setBold(false);
    Label1->setFont(f);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(Label1, kBlue);
    Label1->setText(QString::fromLatin1(windowtext::kSearching) + QStringLiteral("\r\n") + folder +
                    QStringLiteral("..."));
}

// Fills the drive list with the volumes mounted now; the selected volume stays selected while it is
// there, else (and at start) the start volume is.
void Form1::Drive1_Refresh() {
    const QList<platform::Volume> volumes = services_.drives->volumes();
    QStringList texts, shown;
    for (const platform::Volume& v : volumes)
        texts << platform::driveEntryText(v);
    for (int i = 0; i < Drive1->count(); ++i)
        shown << Drive1->itemText(i);
    if (texts == shown) return;
    const QString selected = Drive1->currentData().toString();
    Drive1->clear();
    int index = -1;
    for (int i = 0; i < volumes.size(); ++i) {
        if (volumes[i].rootPath == selected) index = i;
        Drive1->addItem(texts[i], volumes[i].rootPath);
    }
    Drive1->setCurrentIndex(index >= 0 ? index : services_.drives->startIndex(volumes));
}

// --- the result list -------------------------------------------------------------

void Form1::List1_Click() {
    const int index = List1->ListIndex();
    Label1->setText(List1->List(index));
    setTextColour(Label1, kRed);
    Label3->setText(QString::number(List1->ListCount()));
    Label7->setText(QString::number(index + 1));
}

bool Form1::fileActionRunning() const {
    return load_->running() || saving_ || deleting_ || openingWithDesktop_;
}

void Form1::stopSearch() {
    job_->stop();
    load_->stop();
}

void Form1::chameleonButton8_Click() {
    stopSearch(); // a list emptied while the walk goes on would look like a finished search
    results_->clear();
    if (Text1) Text1->clear();
    Label1->setText(QString());
    Label3->setText(QString());
    Label7->setText(QString());
    List1->hide();
    WB1->hide();
}
