// The program's own copy: what it writes, what it asks, and what a declined, cancelled
// or failed copy leaves behind (nothing under the target's name, no leftovers).
#include "platform/FileCopy.h"
#include "platform/PathCodec.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::copyFile;
using platform::CopyResult;
using testsupport::ScriptedCopyPrompts;

namespace {

QByteArray pattern(qsizetype size, char seed) {
    QByteArray b(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        b[i] = char(seed + i * 7 + (i >> 12));
    return b;
}

void writeBytes(const QByteArray& path, const QByteArray& content, mode_t mode = 0644) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, mode);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::fchmod(fd, mode);
    ::close(fd);
}

QByteArray readBytes(const QByteArray& path) {
    QByteArray out;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0) return QByteArray("<missing>");
    char buf[65536];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, n);
    ::close(fd);
    return out;
}

// The names in a folder, hidden ones included.
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

struct Folders {
    QTemporaryDir dir;
    QString from, to;
    QByteArray fromBytes() const { return QFile::encodeName(from); }
    QByteArray toBytes() const { return QFile::encodeName(to); }
    Folders() {
        from = dir.path() + QStringLiteral("/from");
        to = dir.path() + QStringLiteral("/to");
        QDir().mkpath(from);
        QDir().mkpath(to);
    }
};

} // namespace

class TestFileCopy : public QObject {
    Q_OBJECT
private slots:
    void copiesContentModeAndTime();
    void copiesIntoAFolderAndByRealBytes();
    void anExistingTargetIsReplacedOnlyAfterYes();
    void aCancelledCopyLeavesNothingUnderTheTargetsName();
    void copyingAFileOntoItselfLosesNothing();
    void failuresAreReportedWithTheSystemsErrorNumber_data();
    void failuresAreReportedWithTheSystemsErrorNumber();
    void theProgressWindowCancels();
};

void TestFileCopy::copiesContentModeAndTime() {
    Folders f;
    const QByteArray content = pattern(3 * 1024 * 1024 + 17, 'a');
    writeBytes(f.fromBytes() + "/big.bin", content, 0640);
    struct timespec times[2] = {{1000000000, 0}, {1200000000, 5}};
    QCOMPARE(::utimensat(AT_FDCWD, (f.fromBytes() + "/big.bin").constData(), times, 0), 0);

    ScriptedCopyPrompts prompts;
    QList<qint64> done;
    prompts.onStep = [&](qint64 d, qint64 total) {
        done << d;
        QCOMPARE(total, qint64(content.size()));
        // While the copy runs, nothing carries the target's name.
        QVERIFY(!QFile::exists(f.to + QStringLiteral("/big.bin")));
    };
    const CopyResult r =
        copyFile(f.from + QStringLiteral("/big.bin"), f.to + QStringLiteral("/big.bin"), &prompts, nullptr);
    QCOMPARE(r.error, 0);
    QVERIFY(!r.aborted);
    QCOMPARE(readBytes(f.toBytes() + "/big.bin"), content);
    QCOMPARE(done.size(), 4);
    QCOMPARE(done.last(), qint64(content.size()));
    struct stat st {};
    QCOMPARE(::stat((f.toBytes() + "/big.bin").constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    QCOMPARE(st.st_mtim.tv_sec, time_t(1200000000));
    QCOMPARE(namesIn(f.to), QStringList{QStringLiteral("big.bin")});
    QVERIFY(prompts.replaceAsked.isEmpty() && prompts.errors.isEmpty());
}

void TestFileCopy::copiesIntoAFolderAndByRealBytes() {
    Folders f;
    const QByteArray name = "caf\xe9 \xff.txt"; // not UTF-8
    writeBytes(f.fromBytes() + '/' + name, "bytes");
    ScriptedCopyPrompts prompts;
    const QString source = platform::decodePath(f.fromBytes() + '/' + name);
    // A target that is a folder receives the file under its own name.
    QCOMPARE(copyFile(source, f.to, &prompts, nullptr).error, 0);
    QCOMPARE(readBytes(f.toBytes() + '/' + name), QByteArray("bytes"));
    // And under a new name that is not UTF-8 either.
    const QString target = platform::decodePath(f.toBytes() + "/\xfe.bak");
    QCOMPARE(copyFile(source, target, &prompts, nullptr).error, 0);
    QCOMPARE(readBytes(f.toBytes() + "/\xfe.bak"), QByteArray("bytes"));
}

void TestFileCopy::anExistingTargetIsReplacedOnlyAfterYes() {
    Folders f;
    writeBytes(f.fromBytes() + "/a.txt", "new content");
    writeBytes(f.toBytes() + "/a.txt", "the old one, kept", 0600);
    ScriptedCopyPrompts prompts;
    prompts.replaceAnswers = {false};
    const QString source = f.from + QStringLiteral("/a.txt"), target = f.to + QStringLiteral("/a.txt");

    CopyResult r = copyFile(source, target, &prompts, nullptr);
    QVERIFY(r.aborted);
    QCOMPARE(r.error, 0);
    QCOMPARE(prompts.replaceAsked, QStringList{target});
    QCOMPARE(readBytes(f.toBytes() + "/a.txt"), QByteArray("the old one, kept"));
    QCOMPARE(namesIn(f.to), QStringList{QStringLiteral("a.txt")});

    // Asked again when the target is given as its folder.
    prompts.replaceAnswers = {false};
    QVERIFY(copyFile(source, f.to, &prompts, nullptr).aborted);
    QCOMPARE(prompts.replaceAsked.size(), 2);
    QCOMPARE(prompts.replaceAsked[1], target);
    QCOMPARE(readBytes(f.toBytes() + "/a.txt"), QByteArray("the old one, kept"));

    prompts.replaceAnswers = {true};
    r = copyFile(source, target, &prompts, nullptr);
    QVERIFY(!r.aborted);
    QCOMPARE(r.error, 0);
    QCOMPARE(readBytes(f.toBytes() + "/a.txt"), QByteArray("new content"));

    // A link that leads nowhere is something the user may want to keep, too.
    QCOMPARE(::symlink("nowhere", (f.toBytes() + "/link.txt").constData()), 0);
    prompts.replaceAnswers = {false};
    QVERIFY(copyFile(source, f.to + QStringLiteral("/link.txt"), &prompts, nullptr).aborted);
    QCOMPARE(prompts.replaceAsked.last(), f.to + QStringLiteral("/link.txt"));
    char linkTarget[16] = {};
    QCOMPARE(::readlink((f.toBytes() + "/link.txt").constData(), linkTarget, sizeof linkTarget - 1), 7);
    QCOMPARE(QByteArray(linkTarget), QByteArray("nowhere"));
    QVERIFY(::unlink((f.toBytes() + "/link.txt").constData()) == 0);

    // The plain copy replaces without asking.
    writeBytes(f.fromBytes() + "/a.txt", "third");
    QCOMPARE(platform::OwnFileCopier(nullptr).plainCopy(source, target), 0);
    QCOMPARE(readBytes(f.toBytes() + "/a.txt"), QByteArray("third"));
    QCOMPARE(prompts.replaceAsked.size(), 4);
}

void TestFileCopy::aCancelledCopyLeavesNothingUnderTheTargetsName() {
    Folders f;
    writeBytes(f.fromBytes() + "/big.bin", pattern(3 * 1024 * 1024, 'x'));
    ScriptedCopyPrompts prompts;
    prompts.cancelAfterSteps = 2;
    CopyResult r = copyFile(f.from + QStringLiteral("/big.bin"), f.to, &prompts, nullptr);
    QVERIFY(r.aborted);
    QCOMPARE(prompts.steps, 2);
    QVERIFY(namesIn(f.to).isEmpty());

    // Replacing allowed, then cancelled: the old target stays whole.
    writeBytes(f.toBytes() + "/big.bin", "old");
    prompts.steps = 0;
    prompts.replaceAnswers = {true};
    r = copyFile(f.from + QStringLiteral("/big.bin"), f.to + QStringLiteral("/big.bin"), &prompts, nullptr);
    QVERIFY(r.aborted);
    QCOMPARE(readBytes(f.toBytes() + "/big.bin"), QByteArray("old"));
    QCOMPARE(namesIn(f.to), QStringList{QStringLiteral("big.bin")});
}

void TestFileCopy::copyingAFileOntoItselfLosesNothing() {
    Folders f;
    writeBytes(f.fromBytes() + "/same.txt", "precious");
    QCOMPARE(::link((f.fromBytes() + "/same.txt").constData(), (f.toBytes() + "/hard.txt").constData()), 0);
    ScriptedCopyPrompts prompts;
    const QString source = f.from + QStringLiteral("/same.txt");
    for (const QString& target : {source, f.from, f.to + QStringLiteral("/hard.txt")}) {
        const CopyResult r = copyFile(source, target, &prompts, nullptr);
        QCOMPARE(r.error, EINVAL);
        QCOMPARE(platform::OwnFileCopier(nullptr).plainCopy(source, target), EINVAL);
    }
    QVERIFY(prompts.replaceAsked.isEmpty());
    QCOMPARE(prompts.errors.size(), 3);
    QCOMPARE(readBytes(f.fromBytes() + "/same.txt"), QByteArray("precious"));
    QCOMPARE(namesIn(f.from), QStringList{QStringLiteral("same.txt")});
}

void TestFileCopy::failuresAreReportedWithTheSystemsErrorNumber_data() {
    QTest::addColumn<QString>("source"); // relative to the "from" folder
    QTest::addColumn<QString>("target"); // relative to the "to" folder; "-" for an empty target
    QTest::addColumn<int>("error");
    QTest::newRow("missing source") << "nothing.txt"
                                    << "x.txt" << ENOENT;
    QTest::newRow("missing target folder") << "a.txt"
                                           << "no/such/x.txt" << ENOENT;
    QTest::newRow("empty target") << "a.txt"
                                  << "-" << ENOENT;
    QTest::newRow("source is a folder") << "sub"
                                        << "x" << EISDIR;
    QTest::newRow("source is a pipe") << "pipe"
                                      << "x" << EINVAL;
    QTest::newRow("target is a file used as a folder") << "a.txt"
                                                       << "file.txt/x.txt" << ENOTDIR;
}

void TestFileCopy::failuresAreReportedWithTheSystemsErrorNumber() {
    QFETCH(QString, source);
    QFETCH(QString, target);
    QFETCH(int, error);
    Folders f;
    writeBytes(f.fromBytes() + "/a.txt", "a");
    writeBytes(f.toBytes() + "/file.txt", "f");
    QDir(f.from).mkdir(QStringLiteral("sub"));
    QCOMPARE(::mkfifo((f.fromBytes() + "/pipe").constData(), 0644), 0);
    ScriptedCopyPrompts prompts;
    const CopyResult r = copyFile(f.from + QLatin1Char('/') + source,
                                  target == QLatin1String("-") ? QString() : f.to + QLatin1Char('/') + target,
                                  &prompts, nullptr);
    QCOMPARE(r.error, error);
    QVERIFY(!r.aborted);
    QCOMPARE(prompts.errors.size(), 1);
    QVERIFY(!prompts.errors[0].isEmpty());
    QCOMPARE(namesIn(f.to), QStringList{QStringLiteral("file.txt")});
}

void TestFileCopy::theProgressWindowCancels() {
    Folders f;
    writeBytes(f.fromBytes() + "/big.bin", pattern(6 * 1024 * 1024, 'p'));
    QWidget owner;
    owner.show();
    // The window's own Cancel button, pressed as soon as the progress window is up.
    QString shownLabel;
    QTimer presser;
    presser.setInterval(0);
    connect(&presser, &QTimer::timeout, this, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QProgressDialog*>(w);
            if (!dialog || !dialog->isVisible()) continue;
            shownLabel = dialog->labelText();
            if (auto* cancel = dialog->findChild<QPushButton*>()) QTest::mouseClick(cancel, Qt::LeftButton);
        }
    });
    presser.start();
    platform::WindowCopyPrompts prompts(0);
    const CopyResult r =
        copyFile(f.from + QStringLiteral("/big.bin"), f.to + QStringLiteral("/big.bin"), &prompts, &owner);
    presser.stop();
    QVERIFY(r.aborted);
    QVERIFY(shownLabel.contains(QStringLiteral("big.bin")));
    QVERIFY(namesIn(f.to).isEmpty());
    // The progress window goes with its copy.
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QProgressDialog*>(w) || !w->isVisible());
}

QTEST_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
