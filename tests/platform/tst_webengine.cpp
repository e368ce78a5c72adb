// The real web engine, every engine pointed at a local HTTP server: the lazy start, the file viewer on
// real files (shown, and shut off from other files and the network), the engines' navigations, history,
// progress and the shielding of local files.
#include "platform/AppSetup.h"
#include "platform/FileViewerPane.h"
#include "platform/LazyWebPane.h"
#include "platform/WebEnginePane.h"
#include "support/HungVolume.h"
#include "support/LocalHttpServer.h"
#include "support/Window.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"
#include "widgets/progressbar/ProgressBar.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>
#include <QtWidgets>

#include <unistd.h>

using namespace testsupport;

namespace {
constexpr int kLoadTimeout = 30000;
constexpr int kEngines = websearch::kEngineCount;

QStringList searchAddresses(const QString& query) {
    QStringList addresses;
    for (int engine = 0; engine < kEngines; ++engine)
        addresses << websearch::searchAddress(engine, query);
    return addresses;
}
void clickOption(QRadioButton* option) { // on its round button, not its caption
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
}
QString plainText(QWebEnginePage* page) {
    QString text = "<no answer>";
    bool done = false;
    page->toPlainText([&](const QString& t) { text = t, done = true; });
    for (int i = 0; i < 500 && !done; ++i)
        QTest::qWait(10); // (QTest::qWaitFor sleeps between looks: the engine would wait)
    return text;
}
} // namespace

class TestWebEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(server_.start());
        websearch::pointAllHostsAt(server_.host());
        writeBytes(dir_.filePath("notes.txt"), "plain words in a text file\n");
        writeBytes(dir_.filePath("page.html"),
                   "<html><head><title>a page</title></head><body>hello</body></html>");
        writeBytes(dir_.filePath("caf\xc3\xa9 \xe2\x82\xac.txt"), "a name outside ASCII\n");
        writeBytes(dir_.filePath("large.txt"), QByteArray(200 << 20, 'x'));
        writeBytes(dir_.filePath("secret.txt"), "the secret");
        writeBytes(dir_.filePath("data.odt"), "PK\x03\x04 not a page");
        writeBytes(dir_.filePath("reach.html"), // every way a page could reach another file or the server
                   QString(readBytes(QFINDTESTDATA("data/reach.html")))
                       .arg(server_.url("/picture.png"), server_.url("/fetched"))
                       .toUtf8());
        w_ = std::make_unique<Window>(dir_.path(), platform::desktopServices().webPanes); // the real panes
        form_ = w_->form.get();
        QCOMPARE(w_->search("*.*").size(), 7);
        clickOption(form_->Option3);
    }

    void cleanupTestCase() {
        w_.reset();
        websearch::restoreDefaultHosts();
    }

    void theViewerShowsTextPagesAndNamesOutsideAscii() {
        form_->Option2->click();
        show("notes.txt");
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("plain words in a text file"), kLoadTimeout);
        select("page.html");
        emit form_->List1->DblClick();
        QTRY_COMPARE_WITH_TIMEOUT(page()->title(), "a page", kLoadTimeout);
        QVERIFY(plainText(page()).contains("hello"));
        show("large.txt"), QTest::qWait(400),
            show("caf\u00e9 \u20ac.txt"); // a large file still loading gives way at once
        QElapsedTimer shown;
        for (shown.start();
             !plainText(page()).contains("a name outside ASCII") && shown.elapsed() < kLoadTimeout;)
            QTest::qWait(10);
        QVERIFY2(shown.elapsed() < 700, qPrintable(QString::number(shown.elapsed()) + " ms"));
        QCOMPARE(w_->fake.messageBoxes->shown.size(), 0);
    }

    void aViewedPageReachesNoOtherFileAndNoServer() {
        show("reach.html"); // as shipped, a viewed page runs no script at all
        QTRY_VERIFY_WITH_TIMEOUT(!plainText(page()).isEmpty() || page()->title() == "untouched",
                                 kLoadTimeout);
        QTest::qWait(2500);
        QCOMPARE(page()->title(), "untouched");
        // With scripts let in, every way out is still closed: the other file and the server give
        // nothing, and the frame never left its empty start page.
        page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
        show("reach.html");
        QTRY_VERIFY_WITH_TIMEOUT(page()->title().startsWith("done"), kLoadTimeout);
        QCOMPARE(page()->title(), "done fetch:refused frame:0 net:refused xhr:refused");
        page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        QCOMPARE(server_.requests, QStringList());
    }

    void aTypeTheViewerCannotShowIsNotSaved() {
        const QString downloads = platform::WebEnginePane::sharedProfile()->downloadPath();
        const QStringList before = QDir(downloads).entryList(QDir::Files | QDir::Hidden);
        show("data.odt");
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("This file cannot be shown here:"), kLoadTimeout);
        QVERIFY(plainText(page()).contains(dir_.filePath("data.odt")));
        QTest::qWait(500);
        QCOMPARE(QDir(downloads).entryList(QDir::Files | QDir::Hidden), before);
        form_->WB1->Navigate("C:\\Docs\\notes.txt"); // names no file here: not loaded either
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("not the path of a file"), kLoadTimeout);
        QCOMPARE(server_.requests, QStringList());
        clickOption(form_->Option3);
    }

    void searchAllSendsEveryPaneToItsAddress() {
        form_->SSTab1->setCurrentIndex(websearch::Google);
        QSignalSpy addressChanges(form_->Text4, &QLineEdit::textChanged);
        form_->Text2->setText("orvik searcher"), click(form_->chameleonButton11);
        const QStringList addresses = searchAddresses("orvik+searcher");
        QVERIFY(waitForLocations(addresses));
        // Each pane asked for its engine's result page; the address box followed every pane, hidden too.
        QTRY_COMPARE_WITH_TIMEOUT(server_.requests.size(), kEngines, kLoadTimeout);
        for (const QString& address : addresses)
            QVERIFY(server_.requests.contains(address.mid(address.indexOf('/', 7))));
        QStringList shown;
        for (const QList<QVariant>& change : addressChanges)
            shown << change.at(0).toString();
        QCOMPARE(form_->Text4->text(), shown.last());
        QVERIFY(std::is_permutation(shown.begin(), shown.end(), addresses.begin(), addresses.end()));
        // The visible pane's progress reached 100, then complete, which leaves the display as it was.
        QTRY_COMPARE_WITH_TIMEOUT(form_->Label8->text(), " Download Progress   100   %   Completed",
                                  kLoadTimeout);
        QCOMPARE(form_->PB1->shpValue()->width(), form_->PB1->clientRect().width());
    }

    void backAndForwardMoveThroughRealHistory() {
        // At their home pages (read with "/"), Back leaves every pane where it is, though each has an
        // earlier page; elsewhere, each goes back one page, and forward again.
        click(form_->chameleonButton15);
        const QStringList homes(kEngines, server_.url("/"));
        QVERIFY(waitForLocations(homes));
        click(form_->chameleonButton13);
        QTest::qWait(500);
        QVERIFY(waitForLocations(homes));
        form_->Text2->setText("two words"), click(form_->chameleonButton11);
        const QStringList results = searchAddresses("two+words");
        QVERIFY(waitForLocations(results));
        click(form_->chameleonButton13);
        QVERIFY(waitForLocations(homes));
        click(form_->chameleonButton14);
        QVERIFY(waitForLocations(results));
    }

    void theAddressBoxLoadsTheChosenPaneAndShieldsLocalFiles() {
        // Without a scheme the text is a web address; the inner frame's navigation shows in the address
        // box too (its request may come a moment later); the location stays the page's.
        form_->Combo2->setCurrentIndex(websearch::Msn), form_->SSTab1->setCurrentIndex(0);
        server_.requests.clear();
        enterAddress(server_.host() + "/frames");
        QTRY_COMPARE_WITH_TIMEOUT(form_->Text4->text(), server_.url("/inner"), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(server_.requests, (QStringList{"/frames", "/inner"}), kLoadTimeout);
        QCOMPARE(pane(websearch::Msn)->LocationURL(), server_.url("/frames"));
        // A plain path (after an empty one, which is harmless): the page cannot read the file beside it.
        const QString page = QFINDTESTDATA("data/read-secret.html");
        QFile::copy(page, dir_.filePath("read-secret.html"));
        enterAddress(QString()), enterAddress(dir_.filePath("read-secret.html"));
        auto* lazy = static_cast<platform::LazyWebPane*>(pane(websearch::Msn));
        QTRY_COMPARE_WITH_TIMEOUT(static_cast<platform::WebEnginePane*>(lazy->inner())->view()->title(),
                                  "refused", kLoadTimeout);
        QCOMPARE(lazy->LocationURL(), QUrl::fromLocalFile(dir_.filePath("read-secret.html")).toString());
    }

    // Last, as it closes the window: Show of a file on a volume that never answers returns at once.
    void showingAFileWhoseVolumeHangsWaitsForNothing() {
        HungVolume volume;
        if (!volume.mounted())
            QSKIP("a hung volume cannot be made here: it needs /dev/fuse, fuse3 and python3-fusepy");
        form_->Option2->click();
        w_->open(volume.path("stuck.txt").toUtf8() + "\r\n");
        w_->select(volume.path("stuck.txt"));
        QElapsedTimer clock;
        clock.start();
        click(form_->chameleonButton2);
        QVERIFY(clock.elapsed() < 1000 && form_->WB1->isVisible());
        QTest::qWait(300);
        clock.restart();
        w_.reset();
        QVERIFY(clock.elapsed() < 1000);
    }

private:
    platform::WebPane* pane(int engine) const { return form_->enginePane(engine); }
    QWebEnginePage* page() const {
        auto* inner =
            static_cast<platform::FileViewerPane*>(static_cast<platform::LazyWebPane*>(form_->WB1)->inner());
        return inner && inner->view() ? inner->view()->page() : nullptr;
    }

    void select(const QString& name) { w_->select(dir_.filePath(name)); }
    void show(const QString& name) { // selects the entry and clicks Show
        select(name);
        click(form_->chameleonButton2);
        QCOMPARE(form_->Label1->text(), dir_.filePath(name));
    }

    void enterAddress(const QString& text) {
        form_->Text4->setFocus();
        form_->Text4->setText(text);
        QTest::keyClick(form_->Text4, Qt::Key_Return);
    }

    // Waits until every pane's location is the one given (QTest::qWaitFor would sleep between its looks,
    // which starves the engine); says which differ when they do not.
    bool waitForLocations(const QStringList& locations) {
        QStringList differing;
        QElapsedTimer timer;
        for (timer.start(); timer.elapsed() < kLoadTimeout; QTest::qWait(20)) {
            differing.clear();
            for (int engine = 0; engine < kEngines; ++engine)
                if (pane(engine)->LocationURL() != locations[engine])
                    differing << pane(engine)->LocationURL() + " not " + locations[engine];
            if (differing.isEmpty()) return true;
        }
        return qWarning() << differing, false;
    }
    LocalHttpServer server_;
    QTemporaryDir dir_;
    std::unique_ptr<Window> w_;
    Form1* form_ = nullptr;
};

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    TestWebEngine test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webengine.moc"
