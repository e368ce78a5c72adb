// The internet search on the real web engine, every engine pointed at a local HTTP server: the lazy
// start, real navigations and their events, history, progress, and the shielding of local files.
#include "LocalHttpServer.h"

#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/LazyWebPane.h"
#include "platform/WebEnginePane.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/button/chameleonButton.h"
#include "widgets/progressbar/ProgressBar.h"

#include "support/FileBytes.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <unistd.h>

namespace {
constexpr int kLoadTimeout = 30000;
constexpr int kEngines = websearch::kEngineCount;

// The web engine's helper processes that this test process has started.
int webEngineProcessCount() {
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        const QByteArray line = testsupport::readBytes("/proc/" + pid + "/stat"); // pid (comm) state ppid ...
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        count += line.contains("(QtWebEngine") && rest.value(1).toLongLong() == getpid();
    }
    return count;
}

QStringList searchAddresses(const QString& query) {
    QStringList addresses;
    for (int engine = 0; engine < kEngines; ++engine) addresses << websearch::searchAddress(engine, query);
    return addresses;
}
} // namespace

class Form1WebTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(server_.start());
        websearch::pointAllHostsAt(server_.host());
        form_ = new Form1(platform::desktopServices());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
        QTest::mouseClick(form_->Option3, Qt::LeftButton, {}, QPoint(5, form_->Option3->height() / 2));
        QVERIFY(form_->SSTab1->isVisible());
    }
    void cleanupTestCase() {
        delete form_;
        websearch::restoreDefaultHosts();
    }

    void panesStartNoEngineUntilUsed() {
        // Every pane on screen in turn, and Stop, Back and Forward on panes that never loaded anything:
        // nothing of the web engine has started.
        for (int tab = 0; tab < kEngines; ++tab) {
            form_->SSTab1->setCurrentIndex(tab);
            QTest::qWait(20);
        }
        form_->SSTab1->setCurrentIndex(0);
        for (auto* button : {form_->chameleonButton12, form_->chameleonButton13, form_->chameleonButton14}) click(button);
        QTest::qWait(200);
        QVERIFY(!platform::WebEnginePane::engineStarted());
        QCOMPARE(webEngineProcessCount(), 0);
        for (int engine = 0; engine < kEngines; ++engine) QVERIFY(!static_cast<platform::LazyWebPane*>(pane(engine))->inner());
    }
    void searchAllSendsEveryPaneToItsAddress() {
        QSignalSpy addressChanges(form_->Text4, &QLineEdit::textChanged);
        form_->Text2->setText("orvik searcher");
        click(form_->chameleonButton11);
        const QStringList addresses = searchAddresses("orvik+searcher");
        QVERIFY(waitForLocations(addresses));
        QVERIFY(webEngineProcessCount() > 0);
        // Each pane asked the server for exactly its engine's result page, and the address box followed
        // every pane's navigation, hidden tabs' too, and holds the last one.
        QTRY_COMPARE_WITH_TIMEOUT(server_.requests.size(), kEngines, kLoadTimeout);
        for (const QString& address : addresses) QVERIFY(server_.requests.contains(address.mid(address.indexOf('/', 7))));
        QStringList shown;
        for (const QList<QVariant>& change : addressChanges) shown << change.at(0).toString();
        QCOMPARE(form_->Text4->text(), shown.last());
        QVERIFY(std::is_permutation(shown.begin(), shown.end(), addresses.begin(), addresses.end()));
    }
    void backAndForwardMoveThroughRealHistory() {
        // Home pages first: every pane reads its home address with "/" once loaded...
        click(form_->chameleonButton15);
        const QStringList homes(kEngines, server_.url("/")); // every engine at the server
        QVERIFY(waitForLocations(homes));
        // ...so Back leaves every pane where it is, though each has an earlier page.
        click(form_->chameleonButton13);
        QTest::qWait(500);
        QVERIFY(waitForLocations(homes));

        // Once the panes are elsewhere, each goes back one page, and forward again.
        form_->Text2->setText("two words");
        click(form_->chameleonButton11);
        const QStringList results = searchAddresses("two+words");
        QVERIFY(waitForLocations(results));
        click(form_->chameleonButton13);
        QVERIFY(waitForLocations(homes));
        click(form_->chameleonButton14);
        QVERIFY(waitForLocations(results));
        // At the end of every history, Forward leaves each pane where it is.
        click(form_->chameleonButton14);
        QTest::qWait(300);
        QVERIFY(waitForLocations(results));
    }
    void chooserAndAddressBoxLoadTheChosenPane() {
        form_->Combo2->setCurrentIndex(websearch::Msn);
        emit form_->Combo2->activated(websearch::Msn);
        QTRY_COMPARE_WITH_TIMEOUT(pane(websearch::Msn)->LocationURL(), websearch::homeAddress(websearch::Msn) + "/", kLoadTimeout);

        // Typed without a scheme, the text is a web address; the inner frame's navigation shows in the
        // address box too (its request may reach the server a moment later); the location stays the page's.
        form_->SSTab1->setCurrentIndex(0);
        server_.requests.clear();
        enterAddress(server_.host() + "/frames");
        QTRY_COMPARE_WITH_TIMEOUT(form_->Text4->text(), server_.url("/inner"), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(server_.requests, (QStringList{"/frames", "/inner"}), kLoadTimeout);
        QCOMPARE(pane(websearch::Msn)->LocationURL(), server_.url("/frames"));
    }
    void localPagesCannotReadOtherLocalFiles() {
        QTemporaryDir dir;
        testsupport::writeBytes(dir.filePath("secret.txt"), "the secret");
        testsupport::writeBytes(dir.filePath("page.html"), "<html><head><title>start</title><script>var x = new XMLHttpRequest();"
                                "try { x.open('GET', 'secret.txt', false); x.send(); document.title = 'read:' + x.responseText; }"
                                "catch (e) { document.title = 'refused'; }</script></head><body>local page</body></html>");
        enterAddress(QString());                // harmless: the pane goes on to the next address
        enterAddress(dir.filePath("page.html")); // a plain path, into the chosen engine's pane
        auto* view = static_cast<platform::WebEnginePane*>(static_cast<platform::LazyWebPane*>(pane(websearch::Msn))->inner())->view();
        QTRY_COMPARE_WITH_TIMEOUT(view->title(), "refused", kLoadTimeout);
        QCOMPARE(pane(websearch::Msn)->LocationURL(), QUrl::fromLocalFile(dir.filePath("page.html")).toString());
    }
    void progressDisplayMovesWhileAPageLoads() {
        // A big page in the visible pane: the label and the bar follow its progress.
        form_->Combo2->setCurrentIndex(websearch::Google);
        form_->SSTab1->setCurrentIndex(websearch::Google);
        QList<int> percents, totals, widths;
        QStringList texts;
        // Connected after the window's own handler, so it sees what the handler showed.
        connect(pane(websearch::Google), &platform::WebPane::ProgressChange, this, [&](int progress, int max) {
            percents << progress, totals << max, texts << form_->Label8->text(), widths << form_->PB1->shpValue()->width();
        });
        enterAddress(server_.url("/big"));
        QTRY_VERIFY_WITH_TIMEOUT(percents.contains(-1), kLoadTimeout);
        disconnect(pane(websearch::Google), nullptr, this, nullptr);
        // Percentages of 100 that never go down, from the start's 0 to 100, then -1 once complete.
        QCOMPARE(totals, QList<int>(totals.size(), 100));
        QCOMPARE(QList<int>({percents.first(), percents.at(percents.size() - 2), percents.last()}), QList<int>({0, 100, -1}));
        QVERIFY(std::is_sorted(percents.begin(), percents.end() - 1));
        QCOMPARE(texts.first(), "Download Progress  100 %  Completed");
        QCOMPARE(texts.last(), " Download Progress   100   %   Completed");
        QCOMPARE(widths.last(), form_->PB1->clientRect().width());
        texts.removeDuplicates();
        QVERIFY2(texts.size() >= 3, qPrintable(texts.join('|'))); // it moved in steps
    }
private:
    platform::WebPane* pane(int engine) const { return form_->enginePane(engine); }
    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void enterAddress(const QString& text) {
        form_->Text4->setFocus();
        form_->Text4->setText(text);
        QTest::keyClick(form_->Text4, Qt::Key_Return);
    }
    // Waits until every pane's location is the one given.
    bool waitForLocations(const QStringList& locations);

    LocalHttpServer server_;
    Form1* form_ = nullptr;
};

bool Form1WebTest::waitForLocations(const QStringList& locations) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kLoadTimeout) {
        bool all = true;
        for (int engine = 0; engine < kEngines; ++engine) all = all && pane(engine)->LocationURL() == locations[engine];
        if (all) return true;
        QTest::qWait(20);
    }
    for (int engine = 0; engine < kEngines; ++engine) qWarning() << engine << pane(engine)->LocationURL() << "expected" << locations[engine];
    return false;
}

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    Form1WebTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_web.moc"
