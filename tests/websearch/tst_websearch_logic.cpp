// Query preparation, the six result addresses, the engine hosts and the download
// progress texts.
#include "websearch/DownloadProgress.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"

#include <QtTest>

using namespace websearch;

class WebSearchLogicTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Every engine on hosts of its own, home and search apart, so that a builder that
        // takes the wrong host shows.
        for (int i = 0; i < kEngineCount; ++i)
            setHosts(i, QStringLiteral("home%1.test").arg(i), QStringLiteral("search%1.test").arg(i));
    }
    void cleanupTestCase() { restoreDefaultHosts(); }

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
};

QTEST_GUILESS_MAIN(WebSearchLogicTest)
#include "tst_websearch_logic.moc"
