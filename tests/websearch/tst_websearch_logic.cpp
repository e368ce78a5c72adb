// The engine table, query preparation, the six result addresses and the download
// progress texts.
#include "websearch/DownloadProgress.h"
#include "websearch/Engines.h"
#include "websearch/SearchAddress.h"

#include <QtTest>

using namespace websearch;

class WebSearchLogicTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanupTestCase() { restoreDefaultHosts(); }

    void engineTableInIndexOrder();
    void homeAddressIsSchemeAndHostOnly();
    void prepareQueryReplacesEveryBlankOneForOne_data();
    void prepareQueryReplacesEveryBlankOneForOne();
    void buildersUseTheirHostPathAndTexts_data();
    void buildersUseTheirHostPathAndTexts();
    void buildersTakeTheQueryAsItStands();
    void searchAllOrder();
    void hostsCanBePointedAtOneServerAndBack();
    void progressTexts_data();
    void progressTexts();
    void progressOfZeroReadsCompleted();
};

void WebSearchLogicTest::init() {
    // Every engine on hosts of its own, home and search apart, so that a builder that
    // takes the wrong host shows.
    for (int i = 0; i < kEngineCount; ++i)
        setHosts(i, QStringLiteral("home%1.test").arg(i), QStringLiteral("search%1.test").arg(i));
}

void WebSearchLogicTest::engineTableInIndexOrder() {
    restoreDefaultHosts();
    // Google, Altavista and Ask Jeeves search on their home host; the others do not.
    for (int i : {Google, Altavista, AskJeeves})
        QCOMPARE(engine(i).searchHost, engine(i).homeHost);
    for (int i : {Yahoo, Msn, Lycos})
        QVERIFY(engine(i).searchHost != engine(i).homeHost);
    QVERIFY(isEngineIndex(0) && isEngineIndex(5));
    QVERIFY(!isEngineIndex(-1) && !isEngineIndex(6));
}

void WebSearchLogicTest::homeAddressIsSchemeAndHostOnly() {
    QCOMPARE(homeAddress(Google), QStringLiteral("http://home0.test"));
    QCOMPARE(homeAddress(Lycos), QStringLiteral("http://home5.test"));
    restoreDefaultHosts();
    QCOMPARE(homeAddress(Google), QStringLiteral("http://www.google.com"));
}

void WebSearchLogicTest::prepareQueryReplacesEveryBlankOneForOne_data() {
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<QString>("query");
    QTest::newRow("two words") << "orvik searcher"
                               << "orvik+searcher";
    QTest::newRow("two blanks between") << "orvik  searcher"
                                        << "orvik++searcher";
    QTest::newRow("blank on each side") << " word "
                                        << "+word+";
    QTest::newRow("no blank") << "word"
                              << "word";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only blanks") << "   "
                                 << "+++";
    QTest::newRow("tab stays") << "a\tb c"
                               << "a\tb+c";
    QTest::newRow("nothing escaped") << "a+b & c#d%e"
                                     << "a+b+&+c#d%e";
    QTest::newRow("non-ASCII as typed") << QString::fromUtf8("Åsa bjørn") << QString::fromUtf8("Åsa+bjørn");
    QTest::newRow("no-break space stays") << QString::fromUtf8("a\u00A0b") << QString::fromUtf8("a\u00A0b");
}

void WebSearchLogicTest::prepareQueryReplacesEveryBlankOneForOne() {
    QFETCH(QString, phrase);
    QFETCH(QString, query);
    QCOMPARE(prepareQuery(phrase), query);
}

void WebSearchLogicTest::buildersUseTheirHostPathAndTexts_data() {
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("address");
    QTest::newRow("Google") << int(Google)
                            << "http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q=orvik+searcher";
    QTest::newRow("Yahoo") << int(Yahoo)
                           << "http://search1.test/search?p=orvik+searcher&sm=Yahoo%21+Search&fr=FP-tab-web-t"
                              "&toggle=1&cop=&ei=UTF-8";
    QTest::newRow("MSN")
        << int(Msn) << "http://search2.test/results.asp?q=orvik+searcher&FORM=MSN6B&RS=CHECKED&v=1&cp=1252";
    QTest::newRow("Altavista") << int(Altavista)
                               << "http://home3.test/sites/search/web?q=orvik+searcher&avkw=tgz&kl=XX";
    QTest::newRow("Ask Jeeves")
        << int(AskJeeves) << "http://home4.test/main/askjeeves.asp?ask=orvik+searcher&o=0&qsrc=0&meta=1";
    QTest::newRow("Lycos") << int(Lycos)
                           << "http://search5.test/default.asp?loc=searchbox&tab=&query=orvik+searcher";
}

void WebSearchLogicTest::buildersUseTheirHostPathAndTexts() {
    QFETCH(int, engine);
    QFETCH(QString, address);
    using Builder = QString (*)(const QString&);
    const Builder builders[] = {googleSearchAddress,    yahooSearchAddress,     msnSearchAddress,
                                altavistaSearchAddress, askJeevesSearchAddress, lycosSearchAddress};
    QCOMPARE(builders[engine](QStringLiteral("orvik+searcher")), address);
    QCOMPARE(searchAddress(engine, QStringLiteral("orvik+searcher")), address);
}

void WebSearchLogicTest::buildersTakeTheQueryAsItStands() {
    // Empty query: the parameter stays, empty.
    QCOMPARE(googleSearchAddress(QString()),
             QStringLiteral("http://home0.test/search?hl=en&lr=&ie=UTF-8&oe=UTF-8&q="));
    QCOMPARE(lycosSearchAddress(QString()),
             QStringLiteral("http://search5.test/default.asp?loc=searchbox&tab=&query="));
    // An ampersand goes in unescaped, and so does everything else.
    QCOMPARE(msnSearchAddress(QStringLiteral("cats&dogs")),
             QStringLiteral("http://search2.test/results.asp?q=cats&dogs&FORM=MSN6B&RS=CHECKED&v=1&cp=1252"));
    QCOMPARE(askJeevesSearchAddress(QString::fromUtf8("ø#%\t")),
             QString::fromUtf8("http://home4.test/main/askjeeves.asp?ask=ø#%\t&o=0&qsrc=0&meta=1"));
    QCOMPARE(searchAddress(6, QStringLiteral("x")), QString());
    QCOMPARE(searchAddress(-1, QStringLiteral("x")), QString());
}

void WebSearchLogicTest::searchAllOrder() {
    QCOMPARE(kSearchAllOrder,
             (std::array<int, kEngineCount>{Msn, Google, Yahoo, Lycos, AskJeeves, Altavista}));
}

void WebSearchLogicTest::hostsCanBePointedAtOneServerAndBack() {
    pointAllHostsAt(QStringLiteral("127.0.0.1:8123"));
    QCOMPARE(homeAddress(Yahoo), QStringLiteral("http://127.0.0.1:8123"));
    QCOMPARE(yahooSearchAddress(QStringLiteral("q")).left(36),
             QStringLiteral("http://127.0.0.1:8123/search?p=q&sm="));
    restoreDefaultHosts();
    QCOMPARE(homeAddress(Yahoo), QStringLiteral("http://www.yahoo.com"));
    QCOMPARE(yahooSearchAddress(QStringLiteral("q")).left(33),
             QStringLiteral("http://search.yahoo.com/search?p="));
}

void WebSearchLogicTest::progressTexts_data() {
    QTest::addColumn<int>("engine");
    QTest::addColumn<int>("progress");
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("max");
    QTest::addColumn<QString>("text");
    QTest::newRow("25 of 100") << 0 << 25 << 25.0f << 100.0f << " Download Progress   25   %   Completed";
    QTest::newRow("2500 of 10000") << 0 << 2500 << 2500.0f << 10000.0f
                                   << " Download Progress   25   %   Completed";
    QTest::newRow("Altavista one blank fewer")
        << 3 << 2500 << 2500.0f << 10000.0f << " Download Progress  25   %   Completed";
    QTest::newRow("1 of 3") << 1 << 1 << 1.0f << 3.0f << " Download Progress   33   %   Completed";
    QTest::newRow("2 of 3") << 2 << 2 << 2.0f << 3.0f << " Download Progress   67   %   Completed";
    QTest::newRow("1 of 300") << 4 << 1 << 1.0f << 300.0f << " Download Progress   0   %   Completed";
    QTest::newRow("all") << 5 << 100 << 100.0f << 100.0f << " Download Progress   100   %   Completed";
    QTest::newRow("above the total") << 0 << 150 << 150.0f << 100.0f
                                     << " Download Progress   150   %   Completed";
    // 0.145 is stored a little below, so it rounds down; 0.29 a little below, still 29.
    QTest::newRow("just below a half")
        << 0 << 145 << 145.0f << 1000.0f << " Download Progress   14   %   Completed";
    QTest::newRow("29 of 100") << 0 << 29 << 29.0f << 100.0f << " Download Progress   29   %   Completed";
    // Exact halves go to the even hundredth.
    QTest::newRow("1 of 8") << 0 << 1 << 1.0f << 8.0f << " Download Progress   12   %   Completed";
    QTest::newRow("3 of 8") << 0 << 3 << 3.0f << 8.0f << " Download Progress   38   %   Completed";
    // Measured against the bar's kept maximum when the event's total was 0.
    QTest::newRow("against the kept maximum")
        << 0 << 1200 << 1200.0f << 4575.0f << " Download Progress   26   %   Completed";
}

void WebSearchLogicTest::progressTexts() {
    QFETCH(int, engine);
    QFETCH(int, progress);
    QFETCH(float, value);
    QFETCH(float, max);
    QFETCH(QString, text);
    QCOMPARE(downloadProgressText(engine, progress, value, max), text);
}

void WebSearchLogicTest::progressOfZeroReadsCompleted() {
    for (int engine = 0; engine < kEngineCount; ++engine)
        QCOMPARE(downloadProgressText(engine, 0, 0.0f, 100.0f),
                 QStringLiteral("Download Progress  100 %  Completed"));
    QCOMPARE(downloadProgressPrefix(Altavista), QStringLiteral(" Download Progress  "));
    QCOMPARE(downloadProgressPrefix(Lycos), QStringLiteral(" Download Progress   "));
}

QTEST_GUILESS_MAIN(WebSearchLogicTest)
#include "tst_websearch_logic.moc"
