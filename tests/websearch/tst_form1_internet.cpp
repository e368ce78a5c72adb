// The internet search: query preparation, the six result addresses, the engine hosts and
// the download progress texts; and the main window driven through its controls, with
// scripted panes that record every call: the order of the searches, the chooser, the key
// handling of the phrase and address boxes, Back's home check and the progress display.
#include "app/Form1.h"
#include "platform/WebPane.h"
#include "websearch/DownloadProgress.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <memory>

namespace {

// A pane without a web engine. Every call goes to a log shared by all panes
// ("WB4 Navigate <address>", "WB2 Stop", ...); the location is set by the test.
class FakeWebPane : public platform::WebPane {
public:
    FakeWebPane(std::shared_ptr<QStringList> log, QWidget* parent) : WebPane(parent), log_(std::move(log)) {}
    void Navigate(const QString& address) override { record(QStringLiteral("Navigate ") + address); }
    void Stop() override { record(QStringLiteral("Stop")); }
    bool GoBack() override { return record(QStringLiteral("GoBack")); }
    bool GoForward() override { return record(QStringLiteral("GoForward")); }
    QString LocationURL() const override {
        record(QStringLiteral("LocationURL"));
        return location;
    }
    QString location;

private:
    bool record(const QString& what) const {
        log_->append(objectName() + QLatin1Char(' ') + what);
        return false;
    }
    std::shared_ptr<QStringList> log_;
};

class FakeWebPaneFactory : public platform::WebPaneFactory {
public:
    platform::WebPane* create(QWidget* parent) override { return new FakeWebPane(log, parent); }
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
};

const QStringList kPaneNames{"WB2", "WB3", "WB4", "WB5", "WB6", "WB7"};

QString home(int engine) {
    return QStringLiteral("http://home%1.test").arg(engine);
}

// What Search All asks of the panes for query, in its order (the addresses themselves are
// tested with the address builders).
QStringList searchAllLog(const QString& q) {
    QStringList calls;
    for (int engine : {websearch::Msn, websearch::Google, websearch::Yahoo, websearch::Lycos,
                       websearch::AskJeeves, websearch::Altavista})
        calls << kPaneNames[engine] + " Navigate " + websearch::searchAddress(engine, q);
    return calls;
}

// The same call made of every pane, in engine order.
QStringList each(const QString& call) {
    QStringList calls;
    for (const QString& name : kPaneNames)
        calls << name + QLatin1Char(' ') + call;
    return calls;
}

} // namespace

using namespace websearch;

class Form1InternetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        for (int i = 0; i < websearch::kEngineCount; ++i)
            websearch::setHosts(i, QStringLiteral("home%1.test").arg(i),
                                QStringLiteral("search%1.test").arg(i));
    }
    void cleanupTestCase() { websearch::restoreDefaultHosts(); }
    void init() {
        factory_ = std::make_shared<FakeWebPaneFactory>();
        platform::Services services = platform::desktopServices();
        services.webPanes = factory_;
        form_ = new Form1(services);
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
        QTest::mouseClick(form_->Option3, Qt::LeftButton, {}, QPoint(5, form_->Option3->height() / 2));
        QVERIFY(form_->Text2->isVisible());
        takeLog();
    }
    void cleanup() { delete form_; }

    void searchAllSendsEveryEngineInItsOrder() {
        for (int engine = 0; engine < websearch::kEngineCount; ++engine) // each pane in its engine's tab
            QVERIFY(form_->SSTab1->widget(engine)->isAncestorOf(pane(engine)));
        form_->SSTab1->setCurrentIndex(4);
        form_->Text2->setText(QStringLiteral("orvik searcher"));
        click(form_->chameleonButton11);
        QCOMPARE(form_->Text3->text(), QStringLiteral("orvik+searcher"));
        QCOMPARE(takeLog(), searchAllLog(QStringLiteral("orvik+searcher")));
        // The tab and the chooser stay as they were.
        QCOMPARE(form_->SSTab1->currentIndex(), 4);
        QCOMPARE(form_->Combo2->currentText(), QStringLiteral("Select Search Engine"));
        // An empty phrase is searched all the same, with an empty query.
        form_->Text2->clear();
        click(form_->chameleonButton11);
        QCOMPARE(takeLog(), searchAllLog(QString()));
    }
    void searchOneSearchesOnlyTheChosenEngine() {
        // Nothing chosen: the query is prepared, no pane moves.
        form_->Text2->setText(QStringLiteral(" two  words "));
        click(form_->chameleonButton16);
        QCOMPARE(form_->Text3->text(), QStringLiteral("+two++words+"));
        QCOMPARE(takeLog(), QStringList());

        const QStringList all = searchAllLog(QStringLiteral("+two++words+"));
        for (int engine = 0; engine < websearch::kEngineCount; ++engine) {
            form_->Combo2->setCurrentIndex(engine);
            form_->SSTab1->setCurrentIndex((engine + 1) % websearch::kEngineCount);
            click(form_->chameleonButton16);
            QCOMPARE(takeLog(), all.filter(QRegularExpression("^" + kPaneNames[engine] + " ")));
            QCOMPARE(form_->SSTab1->currentIndex(), (engine + 1) % websearch::kEngineCount); // loads behind
        }
    }
    void keysInThePhraseAndAddressBoxes() {
        // Every key prepares the query from the phrase as it was before the key.
        form_->Text2->setFocus();
        QTest::keyClicks(form_->Text2, QStringLiteral("ab"));
        QCOMPARE(form_->Text3->text(), QStringLiteral("a"));
        QTest::keyClicks(form_->Text2, QStringLiteral(" c"));
        QCOMPARE(form_->Text2->text(), QStringLiteral("ab c"));
        QCOMPARE(form_->Text3->text(), QStringLiteral("ab+"));
        QTest::keyClick(form_->Text2, Qt::Key_Return);
        QCOMPARE(form_->Text3->text(), QStringLiteral("ab+c"));
        form_->Text4->setText(QStringLiteral("some where"));
        QTest::keyClick(form_->Text4, Qt::Key_Return);
        QCOMPARE(takeLog(), QStringList()); // typing never navigates, and Enter not without an engine

        // Enter acts on the chosen engine's pane, whichever tab is visible.
        choose(websearch::Yahoo);
        form_->SSTab1->setCurrentIndex(5);
        takeLog();
        QTest::keyClick(form_->Text2, Qt::Key_Enter);
        QCOMPARE(takeLog(), searchAllLog(QStringLiteral("ab+c")).mid(2, 1));
        QCOMPARE(form_->Text2->text(), QStringLiteral("ab c"));
        QTest::keyClick(form_->Text4, Qt::Key_Return);
        QTest::keyClick(form_->Text4, Qt::Key_X);
        QCOMPARE(takeLog(), QStringList{"WB3 Navigate some where"}); // the text as typed
        form_->Text4->clear();
        QTest::keyClick(form_->Text4, Qt::Key_Enter);
        QCOMPARE(takeLog(), QStringList{"WB3 Navigate "});
        QCOMPARE(form_->SSTab1->currentIndex(), 5);
    }
    void chooserShowsTheTabAndLoadsTheHomePage() {
        // Picked the way a user picks: Down in the box chooses the next engine.
        form_->Combo2->setFocus();
        QTest::keyClick(form_->Combo2, Qt::Key_Down);
        QCOMPARE(form_->SSTab1->currentIndex(), 0);
        QTest::keyClick(form_->Combo2, Qt::Key_Down);
        QCOMPARE(form_->SSTab1->currentIndex(), 1);
        QCOMPARE(takeLog(), (QStringList{"WB2 Navigate " + home(0), "WB3 Navigate " + home(1)}));
        // Picking the same engine again brings its tab back and reloads its home page.
        form_->SSTab1->setCurrentIndex(4);
        choose(websearch::Yahoo);
        QCOMPARE(form_->SSTab1->currentIndex(), 1);
        QCOMPARE(takeLog(), QStringList{"WB3 Navigate " + home(1)});
    }
    void loadAllStopAndForwardGoThroughThePanesInOrder() {
        form_->SSTab1->setCurrentIndex(2);
        click(form_->chameleonButton15);
        QStringList homes = each(QStringLiteral("Navigate http://home%1.test"));
        for (int i = 0; i < websearch::kEngineCount; ++i)
            homes[i] = homes[i].arg(i);
        QCOMPARE(takeLog(), homes);
        QCOMPARE(form_->SSTab1->currentIndex(), 2);
        click(form_->chameleonButton12);
        QCOMPARE(takeLog(), each(QStringLiteral("Stop")));
        click(form_->chameleonButton14);
        QCOMPARE(takeLog(), each(QStringLiteral("GoForward")));
    }
    void backChecksForAPaneOnItsHomePage_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("reads"); // locations read before a pane at home stops Back; 0: none is
        QTest::newRow("third at home") << 2 << home(2) + "/" << 3;
        QTest::newRow("last at home") << 5 << home(5) + "/" << 6;
        QTest::newRow("elsewhere") << 0 << "http://elsewhere.test/" << 0;
        QTest::newRow("without the slash") << 0 << home(0) << 0;
        QTest::newRow("other case") << 0 << "http://HOME0.test/" << 0;
        QTest::newRow("with a path") << 0 << home(0) + "/index.html" << 0;
        QTest::newRow("https") << 0 << "https://home0.test/" << 0;
        QTest::newRow("another engine's home") << 0 << home(1) + "/" << 0;
    }
    void backChecksForAPaneOnItsHomePage() {
        // The locations are read in engine order; a pane at home stops the reading and nobody
        // moves, otherwise every pane goes back.
        QFETCH(int, engine);
        QFETCH(QString, location);
        QFETCH(int, reads);
        pane(engine)->location = location;
        click(form_->chameleonButton13);
        const QStringList read = each(QStringLiteral("LocationURL"));
        QCOMPARE(takeLog(), reads ? read.mid(0, reads) : read + each(QStringLiteral("GoBack")));
    }
    void progressOfHiddenTabsIsIgnored() {
        QVERIFY(form_->PB1->isHidden());
        form_->SSTab1->setCurrentIndex(0);
        for (int engine = 1; engine < websearch::kEngineCount; ++engine) {
            emit pane(engine)->ProgressChange(50, 100);
            emit pane(engine)->ProgressChange(-1, 100);
        }
        QVERIFY(form_->PB1->isHidden());
        QCOMPARE(form_->PB1->Value(), 2400.0f);
        // Switching tabs does not refresh the display; the new tab's next event does.
        emit pane(0)->ProgressChange(10, 40);
        form_->SSTab1->setCurrentIndex(3);
        QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress   25   %   Completed"));
        emit pane(3)->ProgressChange(1, 3);
        QCOMPARE(form_->Label8->text(), QStringLiteral(" Download Progress  33   %   Completed"));
    }
    void progressOfTheVisiblePane_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QList<QPoint>>("events"); // (progress, progressMax)
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("max");
        QTest::addColumn<float>("value");
        const QString percent = QStringLiteral(" Download Progress   %1   %   Completed");
        QTest::newRow("25 of 100") << 0 << QList<QPoint>{{25, 100}} << percent.arg(25) << 100.0f << 25.0f;
        QTest::newRow("Altavista") << 3 << QList<QPoint>{{25, 100}}
                                   << " Download Progress  25   %   Completed" << 100.0f << 25.0f;
        QTest::newRow("1 of 3") << 1 << QList<QPoint>{{1, 3}} << percent.arg(33) << 3.0f << 1.0f;
        QTest::newRow("2 of 3") << 2 << QList<QPoint>{{2, 3}} << percent.arg(67) << 3.0f << 2.0f;
        QTest::newRow("1 of 300") << 4 << QList<QPoint>{{1, 300}} << percent.arg(0) << 300.0f << 1.0f;
        QTest::newRow("above the total")
            << 5 << QList<QPoint>{{300, 200}} << percent.arg(150) << 200.0f << 300.0f;
        QTest::newRow("0") << 0 << QList<QPoint>{{0, 100}} << "Download Progress  100 %  Completed" << 100.0f
                           << 0.0f;
        // A total of 0 leaves the bar's maximum: 50 is measured against 200.
        QTest::newRow("total 0") << 0 << QList<QPoint>{{10, 200}, {50, 0}} << percent.arg(25) << 200.0f
                                 << 50.0f;
        // Complete (-1) only shows the bar and the label as they were: at first, the bar's
        // stored 2400 of 4575 and an empty label.
        QTest::newRow("-1 first") << 1 << QList<QPoint>{{-1, 100}} << "" << 4575.0f << 2400.0f;
        QTest::newRow("-1 after 40") << 1 << QList<QPoint>{{40, 100}, {-1, 100}} << percent.arg(40) << 100.0f
                                     << 40.0f;
    }
    void progressOfTheVisiblePane() {
        QFETCH(int, engine);
        QFETCH(QList<QPoint>, events);
        QFETCH(QString, text);
        QFETCH(float, max);
        QFETCH(float, value);
        form_->SSTab1->setCurrentIndex(engine);
        QVERIFY(form_->PB1->isHidden() && form_->Label8->isHidden());
        for (const QPoint& event : events)
            emit pane(engine)->ProgressChange(event.x(), event.y());
        QVERIFY(form_->PB1->isVisible() && form_->Label8->isVisible());
        QCOMPARE(form_->Label8->text(), text);
        QCOMPARE(form_->PB1->Max(), max);
        QCOMPARE(form_->PB1->Value(), value);
    }

    void prepareQueryReplacesEveryBlankOneForOne_data() {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("query");
        QTest::newRow("two blanks between") << QStringLiteral("orvik  searcher") << "orvik++searcher";
        QTest::newRow("blank on each side") << QStringLiteral(" word ") << "+word+";
        QTest::newRow("empty") << QString() << "";
        QTest::newRow("tab and no-break space stay")
            << QString::fromUtf8("a\tb\u00A0c d") << QString::fromUtf8("a\tb\u00A0c+d");
        QTest::newRow("nothing escaped") << QStringLiteral("a+b & c#d%e") << "a+b+&+c#d%e";
        QTest::newRow("non-ASCII as typed")
            << QString::fromUtf8("Åsa bjørn") << QString::fromUtf8("Åsa+bjørn");
    }
    void prepareQueryReplacesEveryBlankOneForOne() {
        QFETCH(QString, phrase);
        QFETCH(QString, query);
        QCOMPARE(prepareQuery(phrase), query);
    }
    void buildersUseTheirHostPathAndTexts_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("address");
        const QString q = QStringLiteral("orvik+searcher");
        QTest::newRow("Google") << int(Google) << q
                                << "http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=orvik+searcher";
        QTest::newRow("Yahoo")
            << int(Yahoo) << q
            << "http://search1.test/search?p=orvik+searcher&sm=Yahoo%21+Search&fr=FP-tab-web-t"
               "&toggle=1&cop=&ei=UTF-8";
        QTest::newRow("MSN")
            << int(Msn) << q
            << "http://search2.test/results.asp?q=orvik+searcher&FORM=MSN6B&RS=CHECKED&v=1&cp=1252";
        QTest::newRow("Altavista") << int(Altavista) << q
                                   << "http://home3.test/sites/search/web?q=orvik+searcher&avkw=tgz&kl=XX";
        QTest::newRow("Ask Jeeves")
            << int(AskJeeves) << q
            << "http://home4.test/main/askjeeves.asp?ask=orvik+searcher&o=0&qsrc=0&meta=1";
        QTest::newRow("Lycos") << int(Lycos) << q
                               << "http://search5.test/default.asp?loc=searchbox&tab=&query=orvik+searcher";
        // The query goes in as it stands: empty, or with characters that mean something in an address.
        QTest::newRow("empty query") << int(Lycos) << ""
                                     << "http://search5.test/default.asp?loc=searchbox&tab=&query=";
        QTest::newRow("ampersand unescaped")
            << int(Msn) << "cats&dogs"
            << "http://search2.test/results.asp?q=cats&dogs&FORM=MSN6B&RS=CHECKED&v=1&cp=1252";
        QTest::newRow("nothing escaped")
            << int(AskJeeves) << QString::fromUtf8("ø#%\t")
            << QString::fromUtf8("http://home4.test/main/askjeeves.asp?ask=ø#%\t&o=0&qsrc=0&meta=1");
        QTest::newRow("no such engine") << kEngineCount << "x" << QString();
        QTest::newRow("negative index") << -1 << "x" << QString();
    }
    void buildersUseTheirHostPathAndTexts() {
        QFETCH(int, engine);
        QFETCH(QString, query);
        QFETCH(QString, address);
        QCOMPARE(searchAddress(engine, query), address);
    }
    void homeAddressesAreSchemeAndHostOnly() {
        QCOMPARE(homeAddress(Lycos), QStringLiteral("http://home5.test"));
        restoreDefaultHosts();
        QCOMPARE(homeAddress(Google), QStringLiteral("http://www.google.com"));
        QVERIFY(yahooSearchAddress(QStringLiteral("q"))
                    .startsWith(QStringLiteral("http://search.yahoo.com/search?p=q&")));
        initTestCase(); // the test hosts again
    }
    void progressTexts_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("text");
        // The window's own examples are tested through the window; here the rounding.
        // 0.145 is stored a little below, so it rounds down; exact halves go to the even hundredth.
        QTest::newRow("just below a half") << 0 << 145 << 1000 << " Download Progress   14   %   Completed";
        QTest::newRow("1 of 8") << 0 << 1 << 8 << " Download Progress   12   %   Completed";
        QTest::newRow("3 of 8") << 0 << 3 << 8 << " Download Progress   38   %   Completed";
        QTest::newRow("Altavista 0") << 3 << 0 << 100 << "Download Progress  100 %  Completed";
    }
    void progressTexts() {
        QFETCH(int, engine);
        QFETCH(int, progress);
        QFETCH(int, max);
        QFETCH(QString, text);
        QCOMPARE(downloadProgressText(engine, progress, float(progress), float(max)), text);
    }

private:
    FakeWebPane* pane(int engine) const { return static_cast<FakeWebPane*>(form_->enginePane(engine)); }
    QStringList takeLog() { return std::exchange(*factory_->log, {}); }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void choose(int engine) {
        form_->Combo2->setCurrentIndex(engine);
        emit form_->Combo2->activated(engine);
    }

    std::shared_ptr<FakeWebPaneFactory> factory_;
    Form1* form_ = nullptr;
};

QTEST_MAIN(Form1InternetTest)
#include "tst_form1_internet.moc"
