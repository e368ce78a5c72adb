// The main window's internet search on the real web engine, with every engine pointed at
// a local HTTP server: real navigations, history, events and progress.
#include "LocalHttpServer.h"
#include "WebEngineTestSupport.h"

#include "app/Form1.h"
#include "widgets/button/chameleonButton.h"
#include "platform/AppSetup.h"
#include "platform/WebEnginePane.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

constexpr int kLoadTimeout = 30000;

// The address each engine's search builder produces for query.
QStringList searchAddresses(const QString& query) {
    QStringList addresses;
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        addresses << websearch::searchAddress(engine, query);
    return addresses;
}

} // namespace

class Form1WebTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void panesStartNoEngineUntilUsed();
    void searchAllSendsEveryPaneToItsAddress();
    void backAndForwardMoveThroughRealHistory();
    void chooserAndAddressBoxLoadTheChosenPane();
    void progressDisplayMovesWhileAPageLoads();
    void stopEndsLoadingInEveryPane();

private:
    // Waits until every pane's location is the one given.
    bool waitForLocations(const QStringList& locations);
    QString home(int) const { return QStringLiteral("http://") + server_.host(); }

    LocalHttpServer server_;
    Form1* form_ = nullptr;
};

void Form1WebTest::initTestCase() {
    QVERIFY(server_.start());
    websearch::pointAllHostsAt(server_.host());
    form_ = new Form1(platform::desktopServices());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QTest::mouseClick(form_->Option3, Qt::LeftButton, {}, QPoint(5, form_->Option3->height() / 2));
    QVERIFY(form_->SSTab1->isVisible());
}

void Form1WebTest::cleanupTestCase() {
    delete form_;
    websearch::restoreDefaultHosts();
}

bool Form1WebTest::waitForLocations(const QStringList& locations) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kLoadTimeout) {
        bool all = true;
        for (int engine = 0; engine < websearch::kEngineCount; ++engine)
            all = all && form_->enginePane(engine)->LocationURL() == locations[engine];
        if (all) return true;
        QTest::qWait(20);
    }
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        qWarning() << engine << form_->enginePane(engine)->LocationURL() << "expected" << locations[engine];
    return false;
}

void Form1WebTest::panesStartNoEngineUntilUsed() {
    // The window is up, in internet mode, with every pane on screen in turn: nothing of
    // the web engine has started.
    for (int tab = 0; tab < websearch::kEngineCount; ++tab) {
        form_->SSTab1->setCurrentIndex(tab);
        QTest::qWait(20);
    }
    form_->SSTab1->setCurrentIndex(0);
    QVERIFY(!platform::WebEnginePane::engineStarted());
    QCOMPARE(webEngineProcessCount(), 0);
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        QVERIFY(static_cast<platform::WebEnginePane*>(form_->enginePane(engine))->view() == nullptr);
}

void Form1WebTest::searchAllSendsEveryPaneToItsAddress() {
    server_.clearRequests();
    QSignalSpy addressChanges(form_->Text4, &QLineEdit::textChanged);
    form_->Text2->setFocus();
    QTest::keyClicks(form_->Text2, QStringLiteral("orvik searcher"));
    QTest::mouseClick(form_->chameleonButton11, Qt::LeftButton);
    const QStringList addresses = searchAddresses(QStringLiteral("orvik+searcher"));
    QVERIFY(waitForLocations(addresses));
    // Each pane asked the server for exactly its engine's result page.
    QStringList targets;
    for (const QString& address : addresses)
        targets << address.mid(address.indexOf('/', 7));
    QTRY_COMPARE_WITH_TIMEOUT(server_.requests().size(), 6, kLoadTimeout);
    QStringList requests = server_.requests();
    requests.sort();
    targets.sort();
    QCOMPARE(requests, targets);
    // The address box followed the panes' navigations and holds the last one that began.
    QCOMPARE(addressChanges.count(), 6);
    QStringList shown;
    for (const QList<QVariant>& change : addressChanges)
        shown << change.at(0).toString();
    shown.sort();
    QStringList expected = addresses;
    expected.sort();
    QCOMPARE(shown, expected);
    QCOMPARE(form_->Text4->text(), addressChanges.last().at(0).toString());
    QVERIFY(webEngineProcessCount() > 0);
}

void Form1WebTest::backAndForwardMoveThroughRealHistory() {
    // Home pages first: every pane reads its home address with "/" once loaded.
    QTest::mouseClick(form_->chameleonButton15, Qt::LeftButton);
    QStringList homes;
    for (int engine = 0; engine < websearch::kEngineCount; ++engine)
        homes << websearch::homeAddress(engine) + "/";
    QVERIFY(waitForLocations(homes));
    // So Back does nothing at all...
    QTest::mouseClick(form_->chameleonButton13, Qt::LeftButton);
    QTest::qWait(500);
    QVERIFY(waitForLocations(homes));

    // ...until the panes are elsewhere: then each goes back one page.
    form_->Text2->setText(QStringLiteral("two words"));
    QTest::mouseClick(form_->chameleonButton11, Qt::LeftButton);
    const QStringList results = searchAddresses(QStringLiteral("two+words"));
    QVERIFY(waitForLocations(results));
    QTest::mouseClick(form_->chameleonButton13, Qt::LeftButton);
    QVERIFY(waitForLocations(homes));
    QTest::mouseClick(form_->chameleonButton14, Qt::LeftButton);
    QVERIFY(waitForLocations(results));
    // At the end of every history, Forward leaves each pane where it is.
    QTest::mouseClick(form_->chameleonButton14, Qt::LeftButton);
    QTest::qWait(300);
    QVERIFY(waitForLocations(results));
}

void Form1WebTest::chooserAndAddressBoxLoadTheChosenPane() {
    form_->SSTab1->setCurrentIndex(0);
    form_->Combo2->setCurrentIndex(websearch::Msn);
    emit form_->Combo2->activated(websearch::Msn);
    QCOMPARE(form_->SSTab1->currentIndex(), int(websearch::Msn));
    QTRY_COMPARE_WITH_TIMEOUT(form_->enginePane(websearch::Msn)->LocationURL(),
                              websearch::homeAddress(websearch::Msn) + "/", kLoadTimeout);
    QCOMPARE(form_->Text4->text(), websearch::homeAddress(websearch::Msn) + "/");

    // An address typed into the box, Enter: the chosen engine's pane goes there.
    form_->SSTab1->setCurrentIndex(0);
    form_->Text4->setFocus();
    form_->Text4->setText(server_.host() + QStringLiteral("/typed/page"));
    QTest::keyClick(form_->Text4, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(form_->enginePane(websearch::Msn)->LocationURL(),
                              QStringLiteral("http://") + server_.host() + QStringLiteral("/typed/page"),
                              kLoadTimeout);
    QCOMPARE(form_->Text4->text(),
             QStringLiteral("http://") + server_.host() + QStringLiteral("/typed/page"));
}

void Form1WebTest::progressDisplayMovesWhileAPageLoads() {
    // A big page in the visible pane: the label and the bar follow its progress.
    form_->Combo2->setCurrentIndex(websearch::Google);
    form_->SSTab1->setCurrentIndex(websearch::Google);
    QStringList texts;
    QList<int> widths;
    bool finished = false;
    platform::WebPane* pane = form_->enginePane(websearch::Google);
    // Connected after the window's own handler, so it sees what the handler showed.
    const auto watch = connect(pane, &platform::WebPane::ProgressChange, this, [&](int progress, int) {
        if (progress < 0) {
            finished = true;
            return;
        }
        texts << form_->Label8->text();
        widths << form_->PB1->shpValue()->width();
    });
    form_->Text4->setFocus();
    form_->Text4->setText(QStringLiteral("http://") + server_.host() + QStringLiteral("/big"));
    QTest::keyClick(form_->Text4, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(finished, kLoadTimeout);
    disconnect(watch);
    QVERIFY(form_->PB1->isVisible());
    QVERIFY(form_->Label8->isVisible());
    QCOMPARE(texts.first(), QStringLiteral("Download Progress  100 %  Completed")); // the start reports 0
    QCOMPARE(texts.last(), QStringLiteral(" Download Progress   100   %   Completed"));
    QCOMPARE(widths.last(), form_->PB1->clientRect().width());
    QVERIFY2(texts.removeDuplicates() >= 0 && texts.size() >= 3, qPrintable(texts.join('|')));
    for (const QString& text : texts)
        QVERIFY2(text == QLatin1String("Download Progress  100 %  Completed") ||
                     QRegularExpression(QStringLiteral("^ Download Progress   \\d+   %   Completed$"))
                         .match(text)
                         .hasMatch(),
                 qPrintable(text));
    // A page loading behind another tab leaves the display alone.
    form_->SSTab1->setCurrentIndex(websearch::Lycos);
    const QString before = form_->Label8->text();
    finished = false;
    QSignalSpy done(pane, &platform::WebPane::ProgressChange);
    pane->Navigate(QStringLiteral("http://") + server_.host() + QStringLiteral("/big?again"));
    QTRY_VERIFY_WITH_TIMEOUT(!done.isEmpty() && done.last().at(0).toInt() == -1, kLoadTimeout);
    QCOMPARE(form_->Label8->text(), before);
}

void Form1WebTest::stopEndsLoadingInEveryPane() {
    QSignalSpy requested(&server_, &LocalHttpServer::requested);
    QList<std::shared_ptr<QSignalSpy>> spies;
    for (int engine = 0; engine < websearch::kEngineCount; ++engine) {
        spies << std::make_shared<QSignalSpy>(form_->enginePane(engine), &platform::WebPane::ProgressChange);
        form_->enginePane(engine)->Navigate(
            QStringLiteral("http://%1/slow%2").arg(server_.host()).arg(engine));
    }
    QTRY_COMPARE_WITH_TIMEOUT(requested.count(), 6, kLoadTimeout);
    QTest::mouseClick(form_->chameleonButton12, Qt::LeftButton);
    for (const auto& spy : spies)
        QTRY_VERIFY_WITH_TIMEOUT(!spy->isEmpty() && spy->last().at(0).toInt() == -1, 5000);
    server_.release();
}

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    Form1WebTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_web.moc"
