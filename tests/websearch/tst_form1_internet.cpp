// The main window's internet search driven through its controls, with scripted panes
// that record every call: the order of the searches, the chooser, the key handling of
// the phrase and address boxes, Back's home check and the download progress display.
#include "FakeWebPane.h"

#include "app/Form1.h"
#include "widgets/button/chameleonButton.h"
#include "websearch/Engines.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

namespace {

const QStringList kPaneNames{"WB2", "WB3", "WB4", "WB5", "WB6", "WB7"};

QString home(int engine) {
    return QStringLiteral("http://home%1.test").arg(engine);
}

} // namespace

class Form1InternetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { websearch::restoreDefaultHosts(); }
    void init();
    void cleanup();

    void chooserItemsAndTabsFollowTheEngineTable();
    void searchAllSendsEveryEngineInItsOrder();
    void searchAllKeepsTabAndChooser();
    void searchOneSearchesOnlyTheChosenEngine();
    void phraseBoxKeepsTheQueryOneKeyBehind();
    void enterInThePhraseBoxSearchesTheChosenEngine();
    void chooserShowsTheTabAndLoadsTheHomePage();
    void chooserByKeyboard();
    void enterInTheAddressBoxSendsTheChosenPaneTheTextAsTyped();
    void addressBoxFollowsEveryPane();
    void loadAllStopAndForwardGoThroughThePanesInOrder();
    void backStopsAtAPaneOnItsHomePage();
    void backComparesExactly_data();
    void backComparesExactly();
    void backMovesEveryPaneThatCan();
    void progressOfHiddenTabsIsIgnored();
    void progressTextsOfTheVisiblePane_data();
    void progressTextsOfTheVisiblePane();
    void progressCompleteOnlyShows();
    void progressOfZeroAndOfNoTotal();

private:
    FakeWebPane* pane(int engine) const { return static_cast<FakeWebPane*>(form_->enginePane(engine)); }
    QStringList takeLog() {
        QStringList log = *factory_->log;
        factory_->log->clear();
        return log;
    }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void choose(int engine) {
        form_->Combo2->setCurrentIndex(engine);
        emit form_->Combo2->activated(engine);
    }

    std::shared_ptr<FakeWebPaneFactory> factory_;
    Form1* form_ = nullptr;
};

void Form1InternetTest::initTestCase() {
    for (int i = 0; i < websearch::kEngineCount; ++i)
        websearch::setHosts(i, QStringLiteral("home%1.test").arg(i), QStringLiteral("search%1.test").arg(i));
}

void Form1InternetTest::init() {
    factory_ = std::make_shared<FakeWebPaneFactory>();
    platform::Services services = platform::desktopServices();
    services.webPanes = factory_;
    form_ = new Form1(services);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QTest::mouseClick(form_->Option3, Qt::LeftButton, {}, QPoint(5, form_->Option3->height() / 2));
    QVERIFY(form_->Option3->isChecked());
    QVERIFY(form_->Text2->isVisible());
    takeLog();
}

void Form1InternetTest::cleanup() {
    delete form_;
    form_ = nullptr;
}

void Form1InternetTest::chooserItemsAndTabsFollowTheEngineTable() {
    QCOMPARE(form_->Combo2->count(), websearch::kEngineCount);
    QCOMPARE(form_->SSTab1->count(), websearch::kEngineCount);
    for (const websearch::Engine& engine : websearch::engines()) {
        QCOMPARE(form_->Combo2->itemText(engine.index), engine.comboItem);
        QCOMPARE(form_->SSTab1->tabText(engine.index), engine.tabCaption);
        QCOMPARE(form_->enginePane(engine.index)->objectName(), kPaneNames[engine.index]);
        QVERIFY(form_->SSTab1->widget(engine.index)->isAncestorOf(form_->enginePane(engine.index)));
    }
}

void Form1InternetTest::searchAllSendsEveryEngineInItsOrder() {
    form_->Text2->setText(QStringLiteral("orvik searcher"));
    click(form_->chameleonButton11);
    QCOMPARE(form_->Text3->text(), QStringLiteral("orvik+searcher"));
    QCOMPARE(
        takeLog(),
        (QStringList{
            "WB4 Navigate http://search2.test/results.asp?q=orvik+searcher&FORM=MSN6B&RS=CHECKED&v=1&cp=1252",
            "WB2 Navigate http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=orvik+searcher",
            "WB3 Navigate http://search1.test/search?p=orvik+searcher&sm=Yahoo%21+Search&fr=FP-tab-web-t"
            "&toggle=1&cop=&ei=UTF-8",
            "WB7 Navigate http://search5.test/default.asp?loc=searchbox&tab=&query=orvik+searcher",
            "WB6 Navigate http://home4.test/main/askjeeves.asp?ask=orvik+searcher&o=0&qsrc=0&meta=1",
            "WB5 Navigate http://home3.test/sites/search/web?q=orvik+searcher&avkw=tgz&kl=XX",
        }));
    // An empty phrase is searched all the same, with an empty query.
    form_->Text2->clear();
    click(form_->chameleonButton11);
    const QStringList log = takeLog();
    QCOMPARE(log.size(), 6);
    QCOMPARE(log[1], QStringLiteral("WB2 Navigate http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q="));
    QCOMPARE(log[3],
             QStringLiteral("WB7 Navigate http://search5.test/default.asp?loc=searchbox&tab=&query="));
}

void Form1InternetTest::searchAllKeepsTabAndChooser() {
    form_->SSTab1->setCurrentIndex(4);
    form_->Text2->setText(QStringLiteral("a&b"));
    click(form_->chameleonButton11);
    QCOMPARE(form_->SSTab1->currentIndex(), 4);
    QCOMPARE(form_->Combo2->currentIndex(), -1);
    QCOMPARE(form_->Combo2->currentText(), QStringLiteral("Select Search Engine"));
    QCOMPARE(takeLog().first(),
             QStringLiteral(
                 "WB4 Navigate http://search2.test/results.asp?q=a&b&FORM=MSN6B&RS=CHECKED&v=1&cp=1252"));
}

void Form1InternetTest::searchOneSearchesOnlyTheChosenEngine() {
    // Nothing chosen: the query is prepared, no pane moves.
    form_->Text2->setText(QStringLiteral(" two  words "));
    click(form_->chameleonButton16);
    QCOMPARE(form_->Text3->text(), QStringLiteral("+two++words+"));
    QCOMPARE(takeLog(), QStringList());

    choose(websearch::Lycos);
    form_->SSTab1->setCurrentIndex(1);
    takeLog();
    click(form_->chameleonButton16);
    QCOMPARE(takeLog(), (QStringList{"WB7 Navigate http://search5.test/default.asp?loc=searchbox&tab=&query="
                                     "+two++words+"}));
    QCOMPARE(form_->SSTab1->currentIndex(), 1); // loads behind another tab

    // Each engine's builder for its index.
    const QStringList expected{
        "WB2 Navigate http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=x",
        "WB3 Navigate http://search1.test/search?p=x&sm=Yahoo%21+Search&fr=FP-tab-web-t"
        "&toggle=1&cop=&ei=UTF-8",
        "WB4 Navigate http://search2.test/results.asp?q=x&FORM=MSN6B&RS=CHECKED&v=1&cp=1252",
        "WB5 Navigate http://home3.test/sites/search/web?q=x&avkw=tgz&kl=XX",
        "WB6 Navigate http://home4.test/main/askjeeves.asp?ask=x&o=0&qsrc=0&meta=1",
        "WB7 Navigate http://search5.test/default.asp?loc=searchbox&tab=&query=x"};
    form_->Text2->setText(QStringLiteral("x"));
    for (int engine = 0; engine < websearch::kEngineCount; ++engine) {
        form_->Combo2->setCurrentIndex(engine);
        click(form_->chameleonButton16);
        QCOMPARE(takeLog(), QStringList{expected[engine]});
    }
}

void Form1InternetTest::phraseBoxKeepsTheQueryOneKeyBehind() {
    form_->Text2->setFocus();
    QTest::keyClicks(form_->Text2, QStringLiteral("ab"));
    QCOMPARE(form_->Text2->text(), QStringLiteral("ab"));
    QCOMPARE(form_->Text3->text(), QStringLiteral("a"));
    QTest::keyClick(form_->Text2, Qt::Key_Space);
    QCOMPARE(form_->Text3->text(), QStringLiteral("ab"));
    QTest::keyClick(form_->Text2, Qt::Key_C);
    QCOMPARE(form_->Text2->text(), QStringLiteral("ab c"));
    QCOMPARE(form_->Text3->text(), QStringLiteral("ab+"));
    // Search All prepares afresh and so uses the whole phrase.
    click(form_->chameleonButton11);
    QCOMPARE(form_->Text3->text(), QStringLiteral("ab+c"));
    QCOMPARE(takeLog().size(), 6);
    // Typing never navigates.
    QTest::keyClicks(form_->Text2, QStringLiteral(" more"));
    QCOMPARE(takeLog(), QStringList());
}

void Form1InternetTest::enterInThePhraseBoxSearchesTheChosenEngine() {
    form_->Text2->setFocus();
    QTest::keyClicks(form_->Text2, QStringLiteral("x y"));
    QTest::keyClick(form_->Text2, Qt::Key_Return);
    QCOMPARE(form_->Text3->text(), QStringLiteral("x+y"));
    QCOMPARE(takeLog(), QStringList()); // nothing chosen

    choose(websearch::Google);
    form_->SSTab1->setCurrentIndex(5);
    takeLog();
    QTest::keyClick(form_->Text2, Qt::Key_Enter);
    QCOMPARE(takeLog(),
             QStringList{"WB2 Navigate http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=x+y"});
    QCOMPARE(form_->SSTab1->currentIndex(), 5);
    QCOMPARE(form_->Text2->text(), QStringLiteral("x y"));
}

void Form1InternetTest::chooserShowsTheTabAndLoadsTheHomePage() {
    choose(websearch::Altavista);
    QCOMPARE(form_->SSTab1->currentIndex(), 3);
    QCOMPARE(takeLog(), QStringList{"WB5 Navigate http://home3.test"});
    // Picking it again reloads the home page, over whatever the pane showed.
    form_->SSTab1->setCurrentIndex(0);
    form_->Text2->setText(QStringLiteral("q"));
    click(form_->chameleonButton16);
    takeLog();
    choose(websearch::Altavista);
    QCOMPARE(form_->SSTab1->currentIndex(), 3);
    QCOMPARE(takeLog(), QStringList{"WB5 Navigate http://home3.test"});
    choose(websearch::AskJeeves);
    QCOMPARE(form_->SSTab1->currentIndex(), 4);
    QCOMPARE(takeLog(), QStringList{"WB6 Navigate http://home4.test"});
}

void Form1InternetTest::chooserByKeyboard() {
    // A pick made the way a user makes it: Down in the box chooses the next engine.
    form_->Combo2->setFocus();
    QTest::keyClick(form_->Combo2, Qt::Key_Down);
    QCOMPARE(form_->Combo2->currentIndex(), 0);
    QCOMPARE(form_->SSTab1->currentIndex(), 0);
    QTest::keyClick(form_->Combo2, Qt::Key_Down);
    QCOMPARE(form_->SSTab1->currentIndex(), 1);
    QCOMPARE(takeLog(), (QStringList{"WB2 Navigate http://home0.test", "WB3 Navigate http://home1.test"}));
}

void Form1InternetTest::enterInTheAddressBoxSendsTheChosenPaneTheTextAsTyped() {
    form_->Text4->setFocus();
    QTest::keyClicks(form_->Text4, QStringLiteral("some where"));
    QTest::keyClick(form_->Text4, Qt::Key_Return);
    QCOMPARE(takeLog(), QStringList()); // nothing chosen

    choose(websearch::Yahoo);
    form_->SSTab1->setCurrentIndex(0); // the chosen engine's pane, whichever tab is visible
    takeLog();
    form_->Text4->setFocus();
    QTest::keyClick(form_->Text4, Qt::Key_Return);
    QCOMPARE(takeLog(), QStringList{"WB3 Navigate some where"});
    QTest::keyClick(form_->Text4, Qt::Key_X);
    QCOMPARE(takeLog(), QStringList());
    form_->Text4->clear();
    QTest::keyClick(form_->Text4, Qt::Key_Enter);
    QCOMPARE(takeLog(), QStringList{"WB3 Navigate "});
}

void Form1InternetTest::addressBoxFollowsEveryPane() {
    form_->SSTab1->setCurrentIndex(0);
    pane(5)->raiseBeforeNavigate2(QStringLiteral("http://search5.test/default.asp?x"));
    QCOMPARE(form_->Text4->text(), QStringLiteral("http://search5.test/default.asp?x"));
    pane(0)->raiseBeforeNavigate2(QStringLiteral("http://frame.test/inner"));
    QCOMPARE(form_->Text4->text(), QStringLiteral("http://frame.test/inner"));
    pane(2)->raiseBeforeNavigate2(QString());
    QCOMPARE(form_->Text4->text(), QString());
}

void Form1InternetTest::loadAllStopAndForwardGoThroughThePanesInOrder() {
    form_->SSTab1->setCurrentIndex(2);
    click(form_->chameleonButton15);
    QStringList expected;
    for (int i = 0; i < 6; ++i)
        expected << kPaneNames[i] + " Navigate " + home(i);
    QCOMPARE(takeLog(), expected);
    QCOMPARE(form_->SSTab1->currentIndex(), 2);

    click(form_->chameleonButton12);
    expected.clear();
    for (const QString& name : kPaneNames)
        expected << name + " Stop";
    QCOMPARE(takeLog(), expected);

    pane(1)->forwardPages = 1;
    click(form_->chameleonButton14);
    expected.clear();
    for (const QString& name : kPaneNames)
        expected << name + " GoForward";
    QCOMPARE(takeLog(), expected);
    QCOMPARE(pane(1)->forwardPages, 0);
}

void Form1InternetTest::backStopsAtAPaneOnItsHomePage() {
    for (int i = 0; i < 6; ++i) {
        pane(i)->location = QStringLiteral("http://elsewhere.test/page%1").arg(i);
        pane(i)->backPages = 1;
    }
    pane(2)->location = home(2) + "/";
    click(form_->chameleonButton13);
    // The locations are read in engine order up to the pane at home; nobody moves.
    QCOMPARE(takeLog(), (QStringList{"WB2 LocationURL", "WB3 LocationURL", "WB4 LocationURL"}));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(pane(i)->backPages, 1);

    // Right after Load All every pane that was not redirected reads its home with "/".
    pane(0)->location = home(0) + "/";
    click(form_->chameleonButton13);
    QCOMPARE(takeLog(), QStringList{"WB2 LocationURL"});
}

void Form1InternetTest::backComparesExactly_data() {
    QTest::addColumn<QString>("location");
    QTest::newRow("without the slash") << home(0);
    QTest::newRow("other case") << "http://HOME0.test/";
    QTest::newRow("with a path") << home(0) + "/index.html";
    QTest::newRow("https") << "https://home0.test/";
    QTest::newRow("another engine's home") << home(1) + "/";
    QTest::newRow("empty") << "";
}

void Form1InternetTest::backComparesExactly() {
    QFETCH(QString, location);
    pane(0)->location = location;
    click(form_->chameleonButton13);
    const QStringList log = takeLog();
    QCOMPARE(log.filter(QRegularExpression(" LocationURL$")).size(), 6);
    QCOMPARE(log.filter(QRegularExpression(" GoBack$")).size(), 6);
}

void Form1InternetTest::backMovesEveryPaneThatCan() {
    pane(0)->backPages = 2;
    pane(3)->backPages = 1;
    click(form_->chameleonButton13);
    QStringList expected;
    for (const QString& name : kPaneNames)
        expected << name + " LocationURL";
    for (const QString& name : kPaneNames)
        expected << name + " GoBack";
    QCOMPARE(takeLog(), expected);
    QCOMPARE(pane(0)->backPages, 1);
    QCOMPARE(pane(3)->backPages, 0);
}

void Form1InternetTest::progressOfHiddenTabsIsIgnored() {
    QVERIFY(form_->PB1->isHidden());
    QCOMPARE(form_->Label8->text(), QString());
    form_->SSTab1->setCurrentIndex(0);
    for (int engine = 1; engine < 6; ++engine) {
        pane(engine)->raiseProgressChange(50, 100);
        pane(engine)->raiseProgressChange(-1, 100);
    }
    QVERIFY(form_->PB1->isHidden());
    QVERIFY(!form_->Label8->isVisible() || form_->Label8->text().isEmpty());
    QCOMPARE(form_->PB1->Max(), 4575.0f);
    QCOMPARE(form_->PB1->Value(), 2400.0f);
}

void Form1InternetTest::progressTextsOfTheVisiblePane_data() {
    QTest::addColumn<int>("engine");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("progressMax");
    QTest::addColumn<QString>("text");
    QTest::newRow("25 of 100") << 0 << 25 << 100 << " Download Progress   25   %   Completed";
    QTest::newRow("Altavista 25 of 100") << 3 << 25 << 100 << " Download Progress  25   %   Completed";
    QTest::newRow("1 of 300") << 4 << 1 << 300 << " Download Progress   0   %   Completed";
    QTest::newRow("above the total") << 5 << 300 << 200 << " Download Progress   150   %   Completed";
}

void Form1InternetTest::progressTextsOfTheVisiblePane() {
    QFETCH(int, engine);
    QFETCH(int, progress);
    QFETCH(int, progressMax);
    QFETCH(QString, text);
    form_->SSTab1->setCurrentIndex(engine);
    pane(engine)->raiseProgressChange(progress, progressMax);
    QVERIFY(form_->PB1->isVisible());
    QVERIFY(form_->Label8->isVisible());
    QCOMPARE(form_->Label8->text(), text);
    QCOMPARE(form_->PB1->Max(), float(progressMax));
    QCOMPARE(form_->PB1->Value(), float(progress));
    const int fullWidth = form_->PB1->clientRect().width();
    const int expectedWidth =
        std::min(fullWidth, int(std::lround(double(progress) / progressMax * fullWidth)));
    QCOMPARE(form_->PB1->shpValue()->width(), expectedWidth);
}

void Form1InternetTest::progressCompleteOnlyShows() {
    // At first the bar shows its stored 2400 of 4575 and the label is empty.
    form_->SSTab1->setCurrentIndex(1);
    pane(1)->raiseProgressChange(-1, 100);
    QVERIFY(form_->PB1->isVisible());
    QVERIFY(form_->Label8->isVisible());
    QCOMPARE(form_->Label8->text(), QString());
    QCOMPARE(form_->PB1->Max(), 4575.0f);
    QCOMPARE(form_->PB1->Value(), 2400.0f);
    QCOMPARE(form_->PB1->shpValue()->width(), 160);

    pane(1)->raiseProgressChange(40, 100);
    form_->PB1->hide();
    form_->Label8->hide();
    pane(1)->raiseProgressChange(-1, 100);
    QVERIFY(form_->PB1->isVisible());
    QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress   40   %   Completed"));
    QCOMPARE(form_->PB1->Value(), 40.0f);
}

void Form1InternetTest::progressOfZeroAndOfNoTotal() {
    form_->SSTab1->setCurrentIndex(0);
    pane(0)->raiseProgressChange(0, 100);
    QCOMPARE(form_->Label8->text(), QStringLiteral("Download Progress  100 %  Completed"));
    QCOMPARE(form_->PB1->Value(), 0.0f);
    QCOMPARE(form_->PB1->shpValue()->width(), 0);
    // A total of 0 leaves the bar's maximum: 50 is measured against 200.
    pane(0)->raiseProgressChange(10, 200);
    pane(0)->raiseProgressChange(50, 0);
    QCOMPARE(form_->PB1->Max(), 200.0f);
    QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress   25   %   Completed"));
    // Switching tabs does not refresh the display; the new tab's next event does.
    form_->SSTab1->setCurrentIndex(3);
    QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress   25   %   Completed"));
    pane(3)->raiseProgressChange(1, 3);
    QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress  33   %   Completed"));
}

QTEST_MAIN(Form1InternetTest)
#include "tst_form1_internet.moc"
