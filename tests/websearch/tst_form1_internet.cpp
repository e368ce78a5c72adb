// The internet search through the main window with recording panes: the query and the six addresses,
// the order of the searches, the chooser, the keys, Back's home check and the progress display.
#include "support/Window.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QtTest>
#include <QtWidgets>

using namespace testsupport;
using namespace websearch;

namespace {
const QStringList kPanes{"WB2", "WB3", "WB4", "WB5", "WB6", "WB7"};
QString home(int engine) {
    return QStringLiteral("http://home%1.test").arg(engine);
}
// What Search All asks of the panes for query, in its order.
QStringList searchAllLog(const QString& q) {
    QStringList calls;
    for (int engine : {Msn, Google, Yahoo, Lycos, AskJeeves, Altavista})
        calls << kPanes[engine] + " Navigate " + searchAddress(engine, q);
    return calls;
}
// The same call made of every pane, in engine order; %1 is the engine.
QStringList each(const QString& call) {
    QStringList calls;
    for (int i = 0; i < kEngineCount; ++i)
        calls << kPanes[i] + ' ' + (call.contains("%1") ? call.arg(i) : call);
    return calls;
}
} // namespace

class Form1InternetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        for (int i = 0; i < kEngineCount; ++i)
            setHosts(i, QStringLiteral("home%1.test").arg(i), QStringLiteral("search%1.test").arg(i));
    }

    void cleanupTestCase() { restoreDefaultHosts(); }
    void init() {
        w_ = std::make_unique<Window>();
        QTest::mouseClick((*w_)->Option3, Qt::LeftButton, {}, QPoint(5, (*w_)->Option3->height() / 2));
        QVERIFY((*w_)->Text2->isVisible());
        w_->takeLog();
    }

    void cleanup() { w_.reset(); }

    void searchAllAndSearchOne() {
        Window& w = *w_;
        QVERIFY(w->SSTab1->widget(3)->isAncestorOf(w.pane(3))); // each pane in its engine's tab
        w->SSTab1->setCurrentIndex(4), w->Text2->setText("orvik searcher"), click(w->chameleonButton11);
        QCOMPARE(w.takeLog() << w->Text3->text(), searchAllLog("orvik+searcher") << "orvik+searcher");
        QCOMPARE(QString::number(w->SSTab1->currentIndex()) + w->Combo2->currentText(),
                 "4Select Search Engine"); // both stay

        w->Text2->setText(" two  words "),
            click(w->chameleonButton16); // Search One, nothing chosen: the query only
        QCOMPARE(w.takeLog() << w->Text3->text(), QStringList{"+two++words+"});
        for (int engine = 0; engine < kEngineCount; ++engine) {
            w->Combo2->setCurrentIndex(engine), w->SSTab1->setCurrentIndex((engine + 1) % kEngineCount),
                click(w->chameleonButton16);
            QCOMPARE(w.takeLog(),
                     searchAllLog("+two++words+").filter(QRegularExpression("^" + kPanes[engine] + " ")));
            QCOMPARE(w->SSTab1->currentIndex(), (engine + 1) % kEngineCount); // it loads behind
        }
    }

    void keysInThePhraseAndAddressBoxes() {
        Window& w = *w_;
        w->Text2->setFocus(); // every key prepares the query from the phrase as it was before the key
        QTest::keyClicks(w->Text2, "ab c");
        QCOMPARE(w->Text2->text() + '|' + w->Text3->text(), "ab c|ab+");
        QTest::keyClick(w->Text2, Qt::Key_Return);
        QCOMPARE(w->Text3->text(), "ab+c");
        w->Text4->setText("some where"), QTest::keyClick(w->Text4, Qt::Key_Return);
        QCOMPARE(w.takeLog(), QStringList()); // typing never navigates, and Enter not without an engine
        choose(Yahoo); // Enter acts on the chosen engine's pane, whichever tab is visible
        w->SSTab1->setCurrentIndex(5), w.takeLog(), QTest::keyClick(w->Text2, Qt::Key_Enter);
        QCOMPARE(w.takeLog() << w->Text2->text(), searchAllLog("ab+c").mid(2, 1) << "ab c");
        QTest::keyClick(w->Text4, Qt::Key_Return), QTest::keyClick(w->Text4, Qt::Key_X);
        QCOMPARE(w.takeLog() << QString::number(w->SSTab1->currentIndex()),
                 (QStringList{"WB3 Navigate some where", "5"})); // as typed
    }

    void chooserLoadAllStopAndForward() {
        Window& w = *w_;
        w->Combo2->setFocus(); // picked as a user picks: Down chooses the next engine, shows its tab, loads
                               // its home
        QTest::keyClick(w->Combo2, Qt::Key_Down), QTest::keyClick(w->Combo2, Qt::Key_Down);
        QCOMPARE(w.takeLog() << QString::number(w->SSTab1->currentIndex()),
                 (QStringList{"WB2 Navigate " + home(0), "WB3 Navigate " + home(1), "1"}));
        w->SSTab1->setCurrentIndex(4),
            choose(Yahoo); // the same engine again brings its tab back and reloads its home page
        QCOMPARE(w.takeLog() << QString::number(w->SSTab1->currentIndex()),
                 (QStringList{"WB3 Navigate " + home(1), "1"}));
        w->SSTab1->setCurrentIndex(2);
        for (QWidget* b : {w->chameleonButton15, w->chameleonButton12, w->chameleonButton14})
            click(b); // Load All, Stop, Forward
        QCOMPARE(w.takeLog(), each("Navigate http://home%1.test") + each("Stop") + each("GoForward"));
        QCOMPARE(w->SSTab1->currentIndex(), 2);
    }

    void backChecksForAPaneOnItsHomePage_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("reads"); // locations read before a pane at home stops Back; 0: none is
        QTest::newRow("third at home") << 2 << home(2) + "/" << 3;
        QTest::newRow("elsewhere") << 0 << "http://elsewhere.test/" << 0;
        QTest::newRow("without the slash") << 0 << home(0) << 0;
        QTest::newRow("another engine's home") << 0 << home(1) + "/" << 0;
    }

    void backChecksForAPaneOnItsHomePage() {
        // The locations are read in engine order; a pane at home stops the reading and nobody moves,
        // otherwise every pane goes back.
        QFETCH(int, engine);
        QFETCH(QString, location);
        QFETCH(int, reads);
        w_->pane(engine)->location = location, click((*w_)->chameleonButton13);
        QCOMPARE(w_->takeLog(),
                 reads ? each("LocationURL").mid(0, reads) : each("LocationURL") + each("GoBack"));
    }

    void progressOfHiddenTabsIsIgnored() {
        Window& w = *w_;
        w->SSTab1->setCurrentIndex(0);
        emit w.pane(1)->ProgressChange(50, 100);
        QVERIFY(w->PB1->isHidden());
        emit w.pane(0)->ProgressChange(
            10, 40); // switching tabs does not refresh the display; the next event does
        w->SSTab1->setCurrentIndex(3);
        const QString before = w->Label8->text();
        emit w.pane(3)->ProgressChange(1, 3);
        QCOMPARE(before + '|' + w->Label8->text(),
                 " Download Progress   25   %   Completed| Download Progress  33   %   Completed");
    }

    void progressOfTheVisiblePane_data() {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QList<QPoint>>("events"); // (progress, progressMax)
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("max");
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("width"); // of the bar's 305 pixels: the nearest whole one
        const QString percent = " Download Progress   %1   %   Completed";
        QTest::newRow("25 of 100") << 0 << QList<QPoint>{{25, 100}} << percent.arg(25) << 100.0f << 25.0f
                                   << 76;
        QTest::newRow("Altavista") << 3 << QList<QPoint>{{25, 100}}
                                   << " Download Progress  25   %   Completed" << 100.0f << 25.0f << 76;
        QTest::newRow("1 of 3") << 1 << QList<QPoint>{{1, 3}} << percent.arg(33) << 3.0f << 1.0f << 102;
        // 0.145 is stored a little below, so it rounds down; exact halves go to the even hundredth.
        QTest::newRow("145 of 1000") << 0 << QList<QPoint>{{145, 1000}} << percent.arg(14) << 1000.0f
                                     << 145.0f << 44;
        QTest::newRow("1 of 8") << 0 << QList<QPoint>{{1, 8}} << percent.arg(12) << 8.0f << 1.0f << 38;
        QTest::newRow("0") << 0 << QList<QPoint>{{0, 100}} << "Download Progress  100 %  Completed" << 100.0f
                           << 0.0f << 0;
        QTest::newRow("total 0: the bar's maximum stays")
            << 0 << QList<QPoint>{{10, 200}, {50, 0}} << percent.arg(25) << 200.0f << 50.0f << 76;
        // Complete (-1) only shows the bar and the label as they were: at first the stored 2400 of 4575.
        QTest::newRow("-1 first") << 1 << QList<QPoint>{{-1, 100}} << "" << 4575.0f << 2400.0f << 160;
        QTest::newRow("-1 after 40") << 1 << QList<QPoint>{{40, 100}, {-1, 100}} << percent.arg(40) << 100.0f
                                     << 40.0f << 122;
    }

    // The label, and the bar as seen (its blue part over the ground) and as heard.
    void progressOfTheVisiblePane() {
        QFETCH(int, engine);
        QFETCH(QList<QPoint>, events);
        QFETCH(int, width);
        Window& w = *w_;
        w->SSTab1->setCurrentIndex(engine);
        QVERIFY(w->PB1->isHidden() && w->Label8->isHidden());
        for (const QPoint& event : events)
            emit w.pane(engine)->ProgressChange(event.x(), event.y());
        QVERIFY(w->PB1->isVisible() && w->Label8->isVisible());
        QTEST(w->Label8->text(), "text");
        QTEST(w->PB1->Max(), "max");
        QTEST(w->PB1->Value(), "value");
        const QImage bar = w->PB1->grab().toImage();
        QVERIFY(bar.width() == 305 && (width == 0 || bar.pixel(width - 1, 8) == qRgb(0, 0, 255)));
        QVERIFY(width == 305 || bar.pixel(width, 8) == w->PB1->palette().color(QPalette::Window).rgb());
        QAccessibleInterface* heard = QAccessible::queryAccessibleInterface(w->PB1);
        QCOMPARE(heard->role(), QAccessible::ProgressBar);
        QTEST(heard->valueInterface()->currentValue().toFloat(), "value");
        QTEST(heard->valueInterface()->maximumValue().toFloat(), "max");
    }

    void queriesAndAddresses_data() {
        QTest::addColumn<int>("engine"); // -2: the query prepared from the phrase
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        const auto row = [](const char* name, int engine, const QString& in, const QString& out) {
            QTest::newRow(name) << engine << in << out;
        };
        row("two blanks between", -2, "orvik  searcher", "orvik++searcher");
        row("blank on each side", -2, " word ", "+word+");
        row("empty phrase", -2, "", "");
        row("only the blank changes", -2, u"a\tb\u00A0c+d & #%Å"_qs,
            u"a\tb\u00A0c+d+&+#%Å"_qs); // tab, no-break space stay
        // The engines' result addresses for "orvik+searcher", one a line in engine order.
        const QList<QByteArray> addresses = readBytes(QFINDTESTDATA("data/addresses.txt")).split('\n');
        for (int engine = 0; engine < kEngineCount; ++engine)
            row(qPrintable(kPanes[engine]), engine, "orvik+searcher", addresses.value(engine));
        row("empty query", Lycos, "", "http://search5.test/default.asp?loc=searchbox&tab=&query=");
        row("nothing escaped", AskJeeves, u"ø#%\t&"_qs,
            u"http://home4.test/main/askjeeves.asp?ask=ø#%\t&&o=0&qsrc=0&meta=1"_qs);
        row("no such engine", kEngineCount, "x", "");
    }

    void queriesAndAddresses() {
        QFETCH(int, engine);
        QFETCH(QString, input);
        QTEST(engine == -2 ? prepareQuery(input) : searchAddress(engine, input), "output");
    }

    void theRealHosts() {
        restoreDefaultHosts();
        QCOMPARE(homeAddress(Google) + ' ' + yahooSearchAddress("q").left(35),
                 "http://www.google.com http://search.yahoo.com/search?p=q&");
        initTestCase();
    }

private:
    void choose(int engine) {
        (*w_)->Combo2->setCurrentIndex(engine);
        emit(*w_)->Combo2->activated(engine);
    }
    std::unique_ptr<Window> w_;
};

QTEST_MAIN(Form1InternetTest)
#include "tst_form1_internet.moc"
