// The wildcard matcher on its own: what counts as one character for '?', and patterns
// built to make a backtracking matcher go wrong.
#include "search/WildcardPattern.h"

#include <QTest>

class TestWildcardPattern : public QObject {
    Q_OBJECT
private slots:
    void matchesCharactersNotCodeUnits_data();
    void matchesCharactersNotCodeUnits();
    void manyStarsAgainstLongNames();
};

void TestWildcardPattern::matchesCharactersNotCodeUnits_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("matches");
    const QByteArray grin("\xf0\x9f\x98\x80"); // U+1F600, outside the 16-bit range
    QTest::newRow("? is a character beyond 16 bits") << "?.png" << grin + ".png" << true;
    QTest::newRow("?? is not one such character") << "??.png" << grin + ".png" << false;
    QTest::newRow("that character in the pattern") << QString::fromUtf8(grin + "*") << grin + "x" << true;
    QTest::newRow("? is a stray byte") << "caf?.txt" << QByteArray("caf\xe9.txt") << true;
    QTest::newRow("? is a two-byte letter") << "caf?.txt" << QByteArray("caf\xc3\xa9.txt") << true;
    QTest::newRow("folding beyond 16 bits") // DESERET CAPITAL LONG I and its small letter
        << QString::fromUtf8("\xf0\x90\x90\x80.txt") << QByteArray("\xf0\x90\x90\xa8.TXT") << true;
    QTest::newRow("ascii pattern, name with a stray byte") << "*.TXT" << QByteArray("\xff.txt") << true;
}

void TestWildcardPattern::matchesCharactersNotCodeUnits() {
    QFETCH(QString, pattern);
    QFETCH(QByteArray, name);
    QFETCH(bool, matches);
    QCOMPARE(search::WildcardPattern(pattern).matches(name.toStdString()), matches);
}

void TestWildcardPattern::manyStarsAgainstLongNames() {
    // Each of these makes a matcher that tries every way to split the name run for ever.
    const std::string as(250, 'a');
    QVERIFY(!search::WildcardPattern(QString(40, QLatin1Char('*')).replace(0, 1, "*a") + "b").matches(as));
    QString stars;
    for (int i = 0; i < 100; ++i)
        stars += QStringLiteral("*?");
    QVERIFY(search::WildcardPattern(stars).matches(std::string(100, 'x')));
    QVERIFY(!search::WildcardPattern(stars).matches(std::string(99, 'x')));
    QString segments;
    for (int i = 0; i < 30; ++i)
        segments += QStringLiteral("*aaaa");
    QVERIFY(search::WildcardPattern(segments + "*").matches(as));
    QVERIFY(!search::WildcardPattern(segments + "*b").matches(as));
    QVERIFY(search::WildcardPattern(segments + "*b").matches(as + "b"));
}

QTEST_GUILESS_MAIN(TestWildcardPattern)
#include "tst_wildcardpattern.moc"
