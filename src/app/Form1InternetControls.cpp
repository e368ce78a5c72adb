// The internet mode's controls of the main window. A first look at the window shows none
// of them, so they are built with the other later controls (buildLaterControls).
#include "app/ControlPlace.h"
#include "app/Form1.h"

#include "platform/WebPane.h"
#include "websearch/Engines.h"
#include "widgets/PropertyBag.h"
#include "widgets/progressbar/ProgressBar.h"
#include "widgets/window/DialogLook.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

using controlplace::place;
using controlplace::placeValueLabel;
using dialoglook::designFont;

void Form1::buildInternetControls() {
    // Hidden as the file modes have them (hidden explicitly, so that showing the window again
    // does not show them); the internet mode shows them.
    const auto keep = [](auto* w) {
        w->hide();
        return w;
    };
    Text2 = keep(place(new QLineEdit(this), "Text2", 3240, 600, 5535, 315, QStringLiteral("Search phrase"),
                       QStringLiteral("Search Input Box")));
    Text2->setFont(designFont(QStringLiteral("Arial"), 9.75, false));

    Combo2 = keep(place(new QComboBox(this), "Combo2", 9000, 600, 2055, 315, QStringLiteral("Search engine"),
                        QStringLiteral("Select Search Engine For Searching !")));
    Combo2->setEditable(true);
    Combo2->setInsertPolicy(QComboBox::NoInsert);
    for (const websearch::Engine& e : websearch::engines())
        Combo2->addItem(e.comboItem);
    Combo2->setCurrentIndex(-1);
    Combo2->setEditText(QStringLiteral("Select Search Engine"));
    Combo2->lineEdit()->setCursorPosition(0); // show the start of the text, not its end

    Text3 = keep(place(new QLineEdit(this), "Text3", 8640, 1080, 975, 285, QStringLiteral("Query")));

    SSTab1 = keep(
        place(new QTabWidget(this), "SSTab1", 360, 1800, 10575, 4935, QStringLiteral("Search engines")));
    SSTab1->setFont(designFont(QStringLiteral("Arial"), 9.75, true));
    SSTab1->tabBar()->setExpanding(true);
    SSTab1->setUsesScrollButtons(false);
    platform::WebPane** panes[] = {&WB2, &WB3, &WB4, &WB5, &WB6, &WB7};
    static const char* const paneNames[] = {"WB2", "WB3", "WB4", "WB5", "WB6", "WB7"};
    for (int i = 0; i < 6; ++i) {
        auto* page = new QWidget;
        page->setObjectName(QStringLiteral("SSTab1Page%1").arg(i));
        *panes[i] = place(services_.webPanes->create(page), paneNames[i], 0, 0, 10575, i == 0 ? 3855 : 5535,
                          websearch::engine(i).tabCaption);
        SSTab1->addTab(page, websearch::engine(i).tabCaption);
    }

    Text4 = keep(place(new QLineEdit(this), "Text4", 240, 9120, 10815, 315, QStringLiteral("Address")));
    Label8 = keep(placeValueLabel(new QLabel(this), "Label8", 240, 9600, 5175, 255,
                                  QStringLiteral("Download progress")));
    Label8->setFont(designFont(QStringLiteral("Arial"), 9, true));
    PB1 = keep(place(new ProgressBar(this), "PB1", 6480, 9600, 4575, 255, QStringLiteral("Download progress bar")));
    PropertyBag pb1Stored; // as stored with the window: no border, 2400 of 4575
    pb1Stored.set(QStringLiteral("BorderStyle"), qint16(0));
    pb1Stored.set(QStringLiteral("Max"), 4575.0f);
    pb1Stored.set(QStringLiteral("Value"), 2400.0f);
    PB1->ReadProperties(pb1Stored);

    for (QWidget* w : {static_cast<QWidget*>(Text2), static_cast<QWidget*>(Combo2), static_cast<QWidget*>(Text4),
                       static_cast<QWidget*>(Label8)})
        dialoglook::setTextColour(w, dialoglook::kBlue);
    SSTab1->raise(); // in internet mode the tabs lie above the file-mode work area

    controlplace::placeButtons(
        this, {{&chameleonButton13, "chameleonButton13", "Back", "Back To Previous Page", 360, 600, 1215, 375},
               {&chameleonButton14, "chameleonButton14", "Forward", "Go To Next Page", 1800, 600, 1215, 375},
               {&chameleonButton16, "chameleonButton16", "Search One", "Search In Only Selected Search Engine !",
                3480, 1080, 1095, 375},
               {&chameleonButton11, "chameleonButton11", "Search All", "Search in all search engines", 4800,
                1080, 1095, 375},
               {&chameleonButton12, "chameleonButton12", "Stop ", "Stop Loading All Web Pages !", 6120, 1080,
                1095, 375},
               {&chameleonButton15, "chameleonButton15", "Load All", "Load All Search Engines Home Pages !",
                7440, 1080, 1095, 375}});
    for (chameleonButton* b : internetButtons())
        keep(b);
    connectInternetControls();
}

void Form1::connectInternetControls() {
    Text2->installEventFilter(this);
    Text4->installEventFilter(this);
    connect(chameleonButton11, &chameleonButton::Click, this, &Form1::chameleonButton11_Click);
    connect(chameleonButton12, &chameleonButton::Click, this, &Form1::chameleonButton12_Click);
    connect(chameleonButton13, &chameleonButton::Click, this, &Form1::chameleonButton13_Click);
    connect(chameleonButton14, &chameleonButton::Click, this, &Form1::chameleonButton14_Click);
    connect(chameleonButton15, &chameleonButton::Click, this, &Form1::chameleonButton15_Click);
    connect(chameleonButton16, &chameleonButton::Click, this, &Form1::chameleonButton16_Click);
    connect(Combo2, &QComboBox::activated, this, &Form1::Combo2_Click);
    for (int engine = 0; engine < 6; ++engine) {
        platform::WebPane* pane = enginePane(engine);
        connect(pane, &platform::WebPane::BeforeNavigate2, this,
                [this, engine](const QString& address) { EnginePane_BeforeNavigate2(engine, address); });
        connect(pane, &platform::WebPane::ProgressChange, this,
                [this, engine](int progress, int progressMax) {
                    EnginePane_ProgressChange(engine, progress, progressMax);
                });
    }
}

// Search All, Stop, Back, Forward, Load All and Search One, in the order of their numbers.
std::array<chameleonButton*, 6> Form1::internetButtons() const {
    return {chameleonButton11, chameleonButton12, chameleonButton13,
            chameleonButton14, chameleonButton15, chameleonButton16};
}
