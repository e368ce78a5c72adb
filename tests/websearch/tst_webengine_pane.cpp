// The web pane on the real web engine, against a local HTTP server: lazy start, the
// navigation and progress events, the location, history, stop, and the shielding of
// local files.
#include "LocalHttpServer.h"
#include "WebEngineTestSupport.h"

#include "platform/AppSetup.h"
#include "platform/WebEnginePane.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QtTest>

#include <memory>

namespace {

constexpr int kLoadTimeout = 30000;

} // namespace

class WebEnginePaneTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void unusedPanesStartNoEngine();
    void navigateLoadsAndReportsEveryStep();
    void bareHostReadsBackWithASlash();
    void framesAreReportedToo();
    void typedTextWithoutSchemeIsAWebAddress();
    void historyBackAndForward();
    void stopEndsALoad();
    void localFilesCannotReadOtherLocalFiles();

private:
    // A shown pane with spies on its events.
    struct Probe {
        std::unique_ptr<platform::WebEnginePane> pane;
        std::unique_ptr<QSignalSpy> navigations;
        std::unique_ptr<QSignalSpy> progress;
    };
    Probe makePane();
    // Waits for the pane's next load to finish (a ProgressChange of -1).
    bool waitFinished(Probe& probe);
    QString url(const QString& target) const { return QStringLiteral("http://") + server_.host() + target; }

    LocalHttpServer server_;
};

void WebEnginePaneTest::initTestCase() {
    QVERIFY(server_.start());
}

WebEnginePaneTest::Probe WebEnginePaneTest::makePane() {
    Probe probe;
    probe.pane = std::make_unique<platform::WebEnginePane>();
    probe.pane->resize(640, 400);
    probe.pane->show();
    probe.navigations = std::make_unique<QSignalSpy>(probe.pane.get(), &platform::WebPane::BeforeNavigate2);
    probe.progress = std::make_unique<QSignalSpy>(probe.pane.get(), &platform::WebPane::ProgressChange);
    return probe;
}

bool WebEnginePaneTest::waitFinished(Probe& probe) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < kLoadTimeout) {
        for (const QList<QVariant>& event : *probe.progress)
            if (event.at(0).toInt() == -1) return true;
        QTest::qWait(20);
    }
    return false;
}

void WebEnginePaneTest::unusedPanesStartNoEngine() {
    // Made, shown, resized, hidden, asked for history and stopped: still no engine.
    Probe probe = makePane();
    QVERIFY(QTest::qWaitForWindowExposed(probe.pane.get()));
    probe.pane->resize(300, 200);
    probe.pane->Stop();
    QVERIFY(!probe.pane->GoBack());
    QVERIFY(!probe.pane->GoForward());
    QCOMPARE(probe.pane->LocationURL(), QString());
    probe.pane->hide();
    QTest::qWait(200);
    QVERIFY(probe.pane->view() == nullptr);
    QVERIFY(!platform::WebEnginePane::engineStarted());
    QCOMPARE(webEngineProcessCount(), 0);
    QCOMPARE(probe.progress->count(), 0);
}

void WebEnginePaneTest::navigateLoadsAndReportsEveryStep() {
    Probe probe = makePane();
    const QString address = url(QStringLiteral("/first?a=1&b=x+y&c="));
    probe.pane->Navigate(address);
    QVERIFY(probe.pane->view() != nullptr);
    QVERIFY(platform::WebEnginePane::engineStarted());
    QVERIFY(waitFinished(probe));
    QVERIFY(webEngineProcessCount() > 0);
    QCOMPARE(server_.requests().last(), QStringLiteral("/first?a=1&b=x+y&c="));
    QCOMPARE(probe.navigations->count(), 1);
    QCOMPARE(probe.navigations->first().at(0).toString(), address);
    QCOMPARE(probe.pane->LocationURL(), address);
    // Percentages of 100 that never go down, then -1 once the page is complete.
    QVERIFY(probe.progress->count() >= 2);
    int last = 0;
    for (qsizetype i = 0; i < probe.progress->count() - 1; ++i) {
        const int percent = probe.progress->at(i).at(0).toInt();
        QCOMPARE(probe.progress->at(i).at(1).toInt(), 100);
        QVERIFY2(percent >= last && percent <= 100, qPrintable(QString::number(percent)));
        last = percent;
    }
    QCOMPARE(last, 100);
    QCOMPARE(probe.progress->last().at(0).toInt(), -1);
    QCOMPARE(probe.progress->last().at(1).toInt(), 100);
}

void WebEnginePaneTest::bareHostReadsBackWithASlash() {
    Probe probe = makePane();
    probe.pane->Navigate(QStringLiteral("http://") + server_.host());
    QVERIFY(waitFinished(probe));
    QCOMPARE(server_.requests().last(), QStringLiteral("/"));
    QCOMPARE(probe.pane->LocationURL(), QStringLiteral("http://") + server_.host() + QStringLiteral("/"));
}

void WebEnginePaneTest::framesAreReportedToo() {
    Probe probe = makePane();
    probe.pane->Navigate(url(QStringLiteral("/frames")));
    QVERIFY(waitFinished(probe));
    QTRY_VERIFY_WITH_TIMEOUT(server_.requests().contains(QStringLiteral("/inner")), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(probe.navigations->count(), 2, kLoadTimeout);
    QCOMPARE(probe.navigations->at(0).at(0).toString(), url(QStringLiteral("/frames")));
    QCOMPARE(probe.navigations->at(1).at(0).toString(), url(QStringLiteral("/inner")));
    // The pane's location is its page's, not the frame's.
    QCOMPARE(probe.pane->LocationURL(), url(QStringLiteral("/frames")));
}

void WebEnginePaneTest::typedTextWithoutSchemeIsAWebAddress() {
    Probe probe = makePane();
    probe.pane->Navigate(server_.host() + QStringLiteral("/typed"));
    QVERIFY(waitFinished(probe));
    QCOMPARE(server_.requests().last(), QStringLiteral("/typed"));
    QCOMPARE(probe.navigations->first().at(0).toString(), url(QStringLiteral("/typed")));
    // An empty address (Enter in an empty address box) is harmless; the pane goes on.
    probe.pane->Navigate(QString());
    QTest::qWait(200);
    probe.progress->clear();
    probe.pane->Navigate(url(QStringLiteral("/after")));
    QVERIFY(waitFinished(probe));
    QCOMPARE(probe.pane->LocationURL(), url(QStringLiteral("/after")));
}

void WebEnginePaneTest::historyBackAndForward() {
    Probe probe = makePane();
    probe.pane->Navigate(url(QStringLiteral("/a")));
    QVERIFY(waitFinished(probe));
    QVERIFY(!probe.pane->GoBack());
    probe.progress->clear();
    probe.pane->Navigate(url(QStringLiteral("/b")));
    QVERIFY(waitFinished(probe));
    QVERIFY(!probe.pane->GoForward());

    probe.progress->clear();
    probe.navigations->clear();
    QVERIFY(probe.pane->GoBack());
    QVERIFY(waitFinished(probe));
    QCOMPARE(probe.pane->LocationURL(), url(QStringLiteral("/a")));
    QVERIFY(!probe.pane->GoBack());

    probe.progress->clear();
    QVERIFY(probe.pane->GoForward());
    QVERIFY(waitFinished(probe));
    QCOMPARE(probe.pane->LocationURL(), url(QStringLiteral("/b")));
    QVERIFY(!probe.pane->GoForward());
}

void WebEnginePaneTest::stopEndsALoad() {
    Probe probe = makePane();
    QSignalSpy requested(&server_, &LocalHttpServer::requested);
    probe.pane->Navigate(url(QStringLiteral("/slow")));
    QTRY_VERIFY_WITH_TIMEOUT(requested.count() > 0, kLoadTimeout);
    QTest::qWait(200);
    for (const QList<QVariant>& event : *probe.progress)
        QVERIFY(event.at(0).toInt() != -1);
    probe.pane->Stop();
    QVERIFY(waitFinished(probe));
    server_.release();
    // Stop on an idle pane is harmless.
    probe.pane->Stop();
}

void WebEnginePaneTest::localFilesCannotReadOtherLocalFiles() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("the secret");
    secret.close();
    QFile page(dir.filePath(QStringLiteral("page.html")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><head><title>start</title><script>"
               "var x = new XMLHttpRequest();"
               "try { x.open('GET', 'secret.txt', false); x.send();"
               "      document.title = 'read:' + x.responseText; }"
               "catch (e) { document.title = 'refused'; }"
               "</script></head><body>local page</body></html>");
    page.close();

    Probe probe = makePane();
    probe.pane->Navigate(dir.filePath(QStringLiteral("page.html"))); // a plain path
    QVERIFY(waitFinished(probe));
    QCOMPARE(probe.pane->LocationURL(),
             QUrl::fromLocalFile(dir.filePath(QStringLiteral("page.html"))).toString());
    QTRY_COMPARE_WITH_TIMEOUT(probe.pane->view()->title(), QStringLiteral("refused"), 5000);
}

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    WebEnginePaneTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webengine_pane.moc"
