// The platform layer's own logic: file names as text and back, dialog filters, and the
// volumes the drive list offers.
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/PathCodec.h"

#include <QTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void fileNamesRoundTrip_data();
    void fileNamesRoundTrip();
    void filtersBecomeQtFilters();
    void drivesAreRealVolumes();
};

void TestPlatform::fileNamesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("/home/a b.txt") << QStringLiteral("/home/a b.txt");
    QTest::newRow("utf-8") << QByteArray("/m\xc3\xbcsic/\xe2\x82\xac/\xf0\x9f\x98\x80")
                           << QString::fromUtf8("/m\xc3\xbcsic/\xe2\x82\xac/\xf0\x9f\x98\x80");
    QTest::newRow("latin-1 byte") << QByteArray("caf\xe9.txt")
                                  << QStringLiteral("caf") + QChar(0xDCE9) + ".txt";
    QTest::newRow("overlong slash") << QByteArray("a\xc0\xaf")
                                    << QStringLiteral("a") + QChar(0xDCC0) + QChar(0xDCAF);
    QTest::newRow("encoded surrogate")
        << QByteArray("\xed\xb2\x80") << QString() + QChar(0xDCED) + QChar(0xDCB2) + QChar(0xDC80);
    QTest::newRow("cut short at the end")
        << QByteArray("x\xe2\x82") << QStringLiteral("x") + QChar(0xDCE2) + QChar(0xDC82);
    QTest::newRow("beyond unicode") << QByteArray("\xf4\x90\x80\x80")
                                    << QString() + QChar(0xDCF4) + QChar(0xDC90) + QChar(0xDC80) +
                                           QChar(0xDC80);
}

void TestPlatform::fileNamesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(platform::decodePath(bytes), text);
    QCOMPARE(platform::encodePath(text), bytes);
    QVERIFY(!platform::decodePath(bytes).contains(QChar(0xFFFD)));
}

void TestPlatform::filtersBecomeQtFilters() {
    QCOMPARE(platform::toQtFilter(QStringLiteral("File List (*.f4u)|*.f4u|All Files|*.*")),
             QStringLiteral("File List (*.f4u) (*.f4u);;All Files (*.*)"));
    QCOMPARE(platform::toQtFilter(QStringLiteral("Pictures|*.jpg;*.gif")),
             QStringLiteral("Pictures (*.jpg *.gif)"));
    QCOMPARE(platform::toQtFilter(QString()), QString());
}

void TestPlatform::drivesAreRealVolumes() {
    platform::MountedVolumes drives;
    const QList<platform::Volume> volumes = drives.volumes();
    QVERIFY(!volumes.isEmpty());
    bool hasRoot = false;
    for (const platform::Volume& v : volumes) {
        QVERIFY2(!v.rootPath.startsWith(QLatin1String("/proc")) &&
                     !v.rootPath.startsWith(QLatin1String("/sys")),
                 qPrintable(v.rootPath));
        QVERIFY(platform::driveEntryText(v).startsWith(v.rootPath));
        hasRoot = hasRoot || v.rootPath == QLatin1String("/");
    }
    QVERIFY(hasRoot);
    const int start = drives.startIndex(volumes);
    QVERIFY(start >= 0 && start < volumes.size());
    QVERIFY(QDir::homePath().startsWith(volumes[start].rootPath));
    QCOMPARE(platform::driveEntryText({QStringLiteral("/mnt/usb"), QStringLiteral("STICK")}),
             QStringLiteral("/mnt/usb  [STICK]"));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
