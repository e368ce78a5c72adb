// The file viewer on the real web engine, against real files: what it shows, and that a viewed file
// reaches neither other local files nor the network.
#include "../websearch/LocalHttpServer.h"

#include "platform/AppSetup.h"
#include "platform/FileViewerPane.h"
#include "platform/WebEnginePane.h"
#include "support/Window.h"

#include <QApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtTest>

namespace {
constexpr int kLoadTimeout = 30000;
using testsupport::writeBytes;
QString plainText(QWebEnginePage* page) {
    QString text = "<no answer>";
    bool done = false;
    page->toPlainText([&](const QString& t) { text = t, done = true; });
    (void)QTest::qWaitFor([&] { return done; }, 5000);
    return text;
}
} // namespace

class Form1ViewerTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(server_.start());
        QVERIFY(dir_.isValid());
        writeBytes(dir_.filePath("notes.txt"), "plain words in a text file\n");
        writeBytes(dir_.filePath("page.html"), "<html><head><title>a page</title></head><body>hello</body></html>");
        writeBytes(dir_.filePath("caf\xc3\xa9 \xe2\x82\xac.txt"), "a name outside ASCII\n");
        writeBytes(dir_.filePath("secret.txt"), "the secret");
        writeBytes(dir_.filePath("data.odt"), QByteArray("PK\x03\x04 not a page", 18));
        // Every way a page could reach another file or the server; the title says what it got.
        writeBytes(dir_.filePath("reach.html"), QStringLiteral(
            "<html><head><title>untouched</title></head><body><iframe id=f src='file:///etc/passwd'></iframe><img src='%1'>"
            "<script>var got = []; function note(s) { got.push(s); }"
            "try { var x = new XMLHttpRequest(); x.open('GET', 'secret.txt', false); x.send();"
            "      note('xhr:' + x.responseText); } catch (e) { note('xhr:refused'); }"
            "var pending = 2; function step() { if (--pending == 0) finish(); }"
            "fetch('file:///etc/passwd').then(r => r.text()).then(t => note('fetch:' + t), () => note('fetch:refused')).then(step);"
            "fetch('%2').then(r => r.text()).then(t => note('net:' + t), () => note('net:refused')).then(step);"
            "function finish() { setTimeout(function() {"
            "  var d = null; try { d = document.getElementById('f').contentDocument; } catch (e) {}"
            "  note(d ? 'frame:' + d.documentElement.innerText.length : 'frame:other');"
            "  document.title = 'done ' + got.sort().join(' '); }, 1500); }</script></body></html>")
            .arg(server_.url("/picture.png"), server_.url("/fetched")).toUtf8());

        fake_.volumes->list = {{dir_.path(), QStringLiteral("test")}};
        fake_.webPanes = std::make_shared<platform::WebEnginePaneFactory>();
        form_ = new Form1(fake_.services());
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_));
        form_->Combo1->setEditText(QStringLiteral("*.*"));
        form_->StartSearch();
        QTRY_COMPARE(form_->List1->ListCount(), 6);
    }
    void cleanupTestCase() { delete form_; }

    void showsTextPagesAndNamesOutsideAscii() {
        show("notes.txt");
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("plain words in a text file"), kLoadTimeout);
        QVERIFY(form_->WB1->isVisible() && form_->List1->isHidden());

        select("page.html");
        emit form_->List1->DblClick();
        QTRY_COMPARE_WITH_TIMEOUT(page()->title(), QStringLiteral("a page"), kLoadTimeout);
        QVERIFY(plainText(page()).contains("hello"));

        show("caf\u00e9 \u20ac.txt");
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("a name outside ASCII"), kLoadTimeout);
        QCOMPARE(fake_.messageBoxes->shown.size(), 0);
    }

    void aViewedPageReachesNoOtherFileAndNoServer() {
        // As shipped, a viewed page runs no script at all.
        show("reach.html");
        QTRY_VERIFY_WITH_TIMEOUT(!plainText(page()).isEmpty() || page()->title() == "untouched", kLoadTimeout);
        QTest::qWait(2500);
        QCOMPARE(page()->title(), QStringLiteral("untouched"));

        // With scripts let in, every way out is still closed: the other file and the server give
        // nothing, and the frame never left its empty start page.
        page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
        show("reach.html");
        QTRY_VERIFY_WITH_TIMEOUT(page()->title().startsWith("done"), kLoadTimeout);
        QCOMPARE(page()->title(), QStringLiteral("done fetch:refused frame:0 net:refused xhr:refused"));
        page()->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        QCOMPARE(server_.requests, QStringList());
    }

    void aTypeTheEngineCannotShowIsNotSaved() {
        const QString downloads = platform::WebEnginePane::sharedProfile()->downloadPath();
        const QStringList before = QDir(downloads).entryList(QDir::Files | QDir::Hidden);
        show("data.odt");
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("This file cannot be shown here:"), kLoadTimeout);
        QVERIFY(plainText(page()).contains(dir_.filePath("data.odt")));
        QTest::qWait(500);
        QCOMPARE(QDir(downloads).entryList(QDir::Files | QDir::Hidden), before);

        // Text that names no file of this computer is not loaded either.
        form_->WB1->Navigate(QStringLiteral("C:\\Docs\\notes.txt"));
        QTRY_VERIFY_WITH_TIMEOUT(plainText(page()).contains("not the path of a file"), kLoadTimeout);
        QCOMPARE(server_.requests, QStringList());
    }

private:
    QWebEnginePage* page() const {
        auto* pane = static_cast<platform::FileViewerPane*>(form_->WB1);
        return pane->view() ? pane->view()->page() : nullptr;
    }
    void select(const QString& name) {
        for (int i = 0; i < form_->List1->ListCount(); ++i)
            if (form_->List1->List(i) == dir_.filePath(name)) {
                form_->List1->setListIndex(i);
                return;
            }
        QFAIL(qPrintable("not listed: " + name));
    }
    // Selects the entry and clicks Show.
    void show(const QString& name) {
        select(name);
        QTest::mouseClick(form_->chameleonButton2, Qt::LeftButton);
        QCOMPARE(form_->Label1->text(), dir_.filePath(name));
    }

    LocalHttpServer server_;
    QTemporaryDir dir_;
    testsupport::FakeServices fake_;
    Form1* form_ = nullptr;
};

int main(int argc, char* argv[]) {
    platform::prepareApplication();
    QApplication app(argc, argv);
    Form1ViewerTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_viewer.moc"
