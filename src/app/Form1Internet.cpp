// The internet search of the main window: the query, the six engines' result pages, the
// navigation buttons, the engine chooser, the address box and the download progress.
#include "app/Form1.h"

#include "platform/WebPane.h"
#include "websearch/DownloadProgress.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

namespace {

// Sends the pane of engine to address; a missing pane is skipped.
void navigatePane(const Form1& form, int engine, const QString& address) {
    if (platform::WebPane* pane = form.enginePane(engine)) pane->Navigate(address);
}

// The builder of engine index i: the engine's result address for the query box, sent to
// its pane. Any other number runs none.
void runBuilder(const Form1& form, int engine) {
    const QString address = websearch::searchAddress(engine, form.Text3->text());
    if (!address.isEmpty()) navigatePane(form, engine, address);
}

// The engine chosen in the chooser, or -1 when none is.
int chosenEngine(const QComboBox* chooser) {
    const int index = chooser->currentIndex();
    return websearch::isEngineIndex(index) ? index : -1;
}

} // namespace

// --- query and builders ------------------------------------------------------------

void Form1::PrepareQuery() {
    Text3->setText(websearch::prepareQuery(Text2->text()));
}

void Form1::SearchGoogle() {
    runBuilder(*this, websearch::Google);
}
void Form1::SearchYahoo() {
    runBuilder(*this, websearch::Yahoo);
}
void Form1::SearchMsn() {
    runBuilder(*this, websearch::Msn);
}
void Form1::SearchAltavista() {
    runBuilder(*this, websearch::Altavista);
}
void Form1::SearchAskJeeves() {
    runBuilder(*this, websearch::AskJeeves);
}
void Form1::SearchLycos() {
    runBuilder(*this, websearch::Lycos);
}

// --- the buttons -------------------------------------------------------------------

// Search All: the fresh query to every engine, MSN first and Altavista last.
void Form1::chameleonButton11_Click() {
    PrepareQuery();
    for (int engine : websearch::kSearchAllOrder)
        runBuilder(*this, engine);
}

// Stop: every pane stops loading.
void Form1::chameleonButton12_Click() {
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        if (platform::WebPane* pane = enginePane(engine)) pane->Stop();
}

// Back: no pane moves while any of them shows its engine's home page; otherwise each
// pane goes one page back (a pane without an earlier page stays).
void Form1::chameleonButton13_Click() {
    for (int engine = 0; engine < websearch::kEngineCount; ++engine) {
        platform::WebPane* pane = enginePane(engine);
        if (!pane) return; // a location that cannot be read counts as home
        if (pane->LocationURL() == websearch::homeAddress(engine) + QLatin1Char('/')) return;
    }
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        enginePane(engine)->GoBack();
}

// Forward: each pane one page forward, where it has one.
void Form1::chameleonButton14_Click() {
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        if (platform::WebPane* pane = enginePane(engine)) pane->GoForward();
}

// Load All: every engine's home page in its pane.
void Form1::chameleonButton15_Click() {
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        navigatePane(*this, engine, websearch::homeAddress(engine));
}

// Search One: the fresh query to the chosen engine only; nothing chosen, no search.
void Form1::chameleonButton16_Click() {
    PrepareQuery();
    runBuilder(*this, chosenEngine(Combo2));
}

// --- chooser, phrase box, address box ------------------------------------------------

// An engine picked (again or anew): its tab comes to the front and its pane loads the
// engine's home page.
void Form1::Combo2_Click() {
    const int engine = chosenEngine(Combo2);
    if (engine < 0) return;
    SSTab1->setCurrentIndex(engine);
    navigatePane(*this, engine, websearch::homeAddress(engine));
}

// Every key prepares the query from the phrase as it was before the key; Enter also
// searches the chosen engine. The key itself is passed on.
void Form1::Text2_KeyPress(int& keyAscii) {
    PrepareQuery();
    if (keyAscii == 13) runBuilder(*this, chosenEngine(Combo2));
}

// Enter sends the chosen engine's pane to the address box's text exactly as typed.
void Form1::Text4_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    const int engine = chosenEngine(Combo2);
    if (engine >= 0) navigatePane(*this, engine, Text4->text());
}

// --- pane events -------------------------------------------------------------------

// The address box shows the last address any pane began to load, frames included.
void Form1::EnginePane_BeforeNavigate2(int, const QString& address) {
    Text4->setText(address);
}

// The visible tab's pane drives the download bar and label; the others are ignored.
void Form1::EnginePane_ProgressChange(int engine, int progress, int progressMax) {
    if (SSTab1->currentIndex() != engine) return;
    PB1->show();
    Label8->show();
    if (progress < 0) return;                     // complete: the bar and the label keep what they show
    PB1->setMax(static_cast<float>(progressMax)); // a total of 0 is ignored by the bar
    PB1->setValue(static_cast<float>(progress));
    Label8->setText(websearch::downloadProgressText(engine, progress, PB1->Value(), PB1->Max()));
}
