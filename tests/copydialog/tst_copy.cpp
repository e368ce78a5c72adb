// Copying the selected file: what the copy writes, asks and leaves behind when declined, cancelled or
// failed; and the Copy File window driven by clicks.
#include "copydialog/Form3.h"
#include "platform/FileCopy.h"
#include "platform/PathCodec.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "widgets/button/chameleonButton.h"

#include <QtTest>
#include <QtWidgets>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;
using platform::copyFile;

namespace {
QStringList namesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}
struct Folders {
    QTemporaryDir dir;
    QString from = dir.path() + "/from", to = dir.path() + "/to";
    Folders() { QDir().mkpath(from), QDir().mkpath(to); }
};
void click(chameleonButton* b) {
    if (!b->window()->isVisible()) b->window()->show(), (void)QTest::qWaitForWindowExposed(b->window());
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}
} // namespace

class TestCopy : public QObject {
    Q_OBJECT
private slots:
    void copiesContentModeTimeAndRawNames() {
        Folders f;
        QByteArray content(3 * 1024 * 1024 + 17, Qt::Uninitialized);
        for (qsizetype i = 0; i < content.size(); ++i)
            content[i] = char(i * 7 + (i >> 12));
        const QString big = f.from + "/big.bin";
        writeBytes(big, content);
        QCOMPARE(::chmod(QFile::encodeName(big), 0640), 0);
        struct timespec times[2] = {{1000000000, 0}, {1200000000, 5}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(big), times, 0), 0);
        ScriptedCopyPrompts prompts;
        QList<qint64> done;
        prompts.onStep = [&](qint64 d, qint64 total) {
            done << d;
            QCOMPARE(total, content.size());
            QVERIFY(!QFile::exists(f.to + "/big.bin")); // nothing carries the target's name yet
        };
        const auto r = copyFile(big, f.to + "/big.bin", &prompts, nullptr);
        QVERIFY(r.error == 0 && !r.aborted && readBytes(f.to + "/big.bin") == content);
        QCOMPARE(done, (QList<qint64>{1 << 20, 2 << 20, 3 << 20, content.size()}));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(f.to + "/big.bin"), &st), 0);
        QVERIFY((st.st_mode & 07777) == 0640 && st.st_mtim.tv_sec == 1200000000 &&
                namesIn(f.to) == QStringList{"big.bin"});

        const QByteArray raw = "/caf\xe9 \xff.txt"; // a name that is not UTF-8, copied into a folder
        writeBytes(QFile::encodeName(f.from) + raw, "bytes");
        QCOMPARE(
            copyFile(platform::decodePath(QFile::encodeName(f.from) + raw), f.to, nullptr, nullptr).error, 0);
        QCOMPARE(readBytes(QFile::encodeName(f.to) + raw), "bytes");
    }

    void replacesOnlyAfterYesAndCancelsCleanly() {
        Folders f;
        const QString source = f.from + "/a.txt", target = f.to + "/a.txt", link = f.to + "/link.txt";
        writeBytes(source, "new content");
        writeBytes(target, "the old one, kept");
        QCOMPARE(::symlink("nowhere", QFile::encodeName(link)), 0);
        ScriptedCopyPrompts prompts;
        for (const QString& to : {target, f.to, link}) { // declined, for a file, its folder, a dangling link
            prompts.replaceAnswers = {false};
            QVERIFY(copyFile(source, to, &prompts, nullptr).aborted);
        }
        QCOMPARE(prompts.replaceAsked, (QStringList{target, target, link}));
        QCOMPARE(readBytes(target) + QFile::symLinkTarget(link), "the old one, kept" + f.to + "/nowhere");
        prompts.replaceAnswers = {true};
        QVERIFY(!copyFile(source, target, &prompts, nullptr).aborted && readBytes(target) == "new content");
        writeBytes(source, "third"); // the plain copy replaces without asking
        QVERIFY(copyFile(source, target, nullptr, nullptr).error == 0 && readBytes(target) == "third");
        QCOMPARE(prompts.replaceAsked.size(), 4);

        // Cancelled mid-copy: nothing new under the target's name; a replaced target stays whole.
        writeBytes(f.from + "/big.bin", QByteArray(3 * 1024 * 1024, 'x'));
        prompts.cancelAfterSteps = 2;
        QVERIFY(copyFile(f.from + "/big.bin", f.to, &prompts, nullptr).aborted);
        QVERIFY(prompts.steps == 2 && !QFile::exists(f.to + "/big.bin"));
        writeBytes(f.to + "/big.bin", "old");
        prompts.steps = 0, prompts.replaceAnswers = {true};
        QVERIFY(copyFile(f.from + "/big.bin", f.to + "/big.bin", &prompts, nullptr).aborted);
        QCOMPARE(readBytes(f.to + "/big.bin"), "old");
        QCOMPARE(namesIn(f.to), (QStringList{"a.txt", "big.bin", "link.txt"}));
    }

    void failuresGiveTheSystemsErrorNumberAndLoseNothing_data() {
        QTest::addColumn<QString>("source"); // in "from"
        QTest::addColumn<QString>("target"); // in "to"; "-" for none
        QTest::addColumn<int>("error");
        QTest::newRow("missing source") << "nothing.txt"
                                        << "x.txt" << ENOENT;
        QTest::newRow("empty target") << "a.txt"
                                      << "-" << ENOENT;
        QTest::newRow("source is a folder") << "sub"
                                            << "x" << EISDIR;
        QTest::newRow("source is a pipe") << "pipe"
                                          << "x" << EINVAL;
        QTest::newRow("file used as a folder") << "a.txt"
                                               << "file.txt/x.txt" << ENOTDIR;
        QTest::newRow("onto itself") << "a.txt"
                                     << "../from/a.txt" << EINVAL;
        QTest::newRow("onto a hard link of itself") << "a.txt"
                                                    << "hard.txt" << EINVAL;
    }

    void failuresGiveTheSystemsErrorNumberAndLoseNothing() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, error);
        Folders f;
        writeBytes(f.from + "/a.txt", "precious");
        writeBytes(f.to + "/file.txt", "f");
        QCOMPARE(::link(QFile::encodeName(f.from + "/a.txt"), QFile::encodeName(f.to + "/hard.txt")), 0);
        QDir(f.from).mkdir("sub");
        QCOMPARE(::mkfifo(QFile::encodeName(f.from + "/pipe"), 0644), 0);
        ScriptedCopyPrompts prompts;
        const QString from = f.from + '/' + source, to = target == "-" ? QString() : f.to + '/' + target;
        const auto r = copyFile(from, to, &prompts, nullptr);
        QCOMPARE(r.error, error);
        QVERIFY(!r.aborted && prompts.errors.size() == 1 && !prompts.errors[0].isEmpty() &&
                prompts.replaceAsked.isEmpty());
        if (error == EINVAL && source == "a.txt")
            QCOMPARE(copyFile(from, to, nullptr, nullptr).error, EINVAL);
        QCOMPARE(namesIn(f.to), (QStringList{"file.txt", "hard.txt"}));
        QCOMPARE(namesIn(f.from), (QStringList{"a.txt", "pipe", "sub"}));
        QCOMPARE(readBytes(f.from + "/a.txt"), "precious");
    }

    void theWindowAsSeenAndHeard() {
        FakeServices fake;
        Form3 dialog(fake.services(), [] { return QStringLiteral("/tmp/a.txt"); });
        QVERIFY(dialog.Label1->text().startsWith("Your selected file has been copied to clipboard."));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList heard; // the window (role 18, a dialog), then its buttons (43): role, name, description
        for (QObject* o : std::initializer_list<QObject*>{&dialog, dialog.chameleonButton2,
                                                          dialog.chameleonButton1, dialog.chameleonButton3}) {
            auto* i = QAccessible::queryAccessibleInterface(o);
            heard << QString::number(i->role()) + ' ' + i->text(QAccessible::Name) + '|' +
                         i->text(QAccessible::Description);
        }
        QCOMPARE(heard, (QStringList{"18 Copy File Dialog Box|", "43 Browse|Browse To Select Directory",
                                     "43 Paste|Save File Into Your Selected Directory",
                                     "43 Close|Exit The Copy File Dialog Box"}));
        auto* status = QAccessible::queryAccessibleInterface(dialog.Text2); // heard as what it says now
        QVERIFY(status->text(QAccessible::Name) == "Status: Ready" && status->state().readOnly);
        dialog.Text1->setText("/nowhere/x/y.txt"), click(dialog.chameleonButton1);
        QTRY_COMPARE(status->text(QAccessible::Name), "Status: File Not Copied to /nowhere/x/y.txt");
    }

    void browseFilterFollowsTheFileType_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("filter");
        // The type is compared without regard to case, by as many characters as it has (no dot needed):
        // "source<tab>filter" a line.
        for (const QByteArray& line : readBytes(QFINDTESTDATA("data/browse-filters.txt")).split('\n'))
            if (const QList<QByteArray> row = line.split('\t'); row.size() == 2)
                QTest::newRow(row[0].constData()) << QString(row[0]) << QString(row[1]);
    }

    void browseFilterFollowsTheFileType() {
        QFETCH(QString, source);
        QFETCH(QString, filter);
        FakeServices fake;
        Form3 dialog(fake.services(), [&] { return source; });
        click(dialog.chameleonButton2);
        QCOMPARE(fake.fileDialogs->titles + fake.fileDialogs->filters, (QStringList{"Save File As", filter}));
    }

    // Paste as a user goes through it: nothing chosen, a new name, then a file that exists, declined.
    void pasteWalkThrough() {
        QTemporaryDir dir;
        const QString source = dir.filePath("a.html"), target = dir.filePath("b.html");
        writeBytes(source, "<p>page</p>");
        FakeServices fake;
        Form3 dialog(fake.services(), [&] { return source; });
        // What the user sees after a click: the target box, the status line, the boxes shown meanwhile.
        const auto after = [&](chameleonButton* b) {
            click(b);
            if (!QTest::qWaitFor([&] { return !dialog.pasting(); })) return QStringList{"<still copying>"};
            return QStringList{dialog.Text1->text(), dialog.Text2->text()} + fake.messageBoxes->take();
        };
        QCOMPARE(after(dialog.chameleonButton1),
                 (QStringList{"", "Status: File Not Copied to ", "ORVIK SEARCHER|2"})); // no target
        QCOMPARE(fake.copyPrompts->errors.size(), 1); // the copy's own explanation came first
        fake.fileDialogs->saveAnswers = {target};
        QCOMPARE(after(dialog.chameleonButton2).value(0), target);
        QCOMPARE(after(dialog.chameleonButton1), (QStringList{target, "Status: File Copied to " + target}));
        QCOMPARE(readBytes(target), "<p>page</p>");

        writeBytes(target, "keep me");
        fake.copyPrompts->replaceAnswers = {false};
        QCOMPARE(after(dialog.chameleonButton1), (QStringList{target, "Status: File Not Copied to " + target,
                                                              "ORVIK SEARCHER|Operation Failed"}));
        QCOMPARE(readBytes(target), "keep me"); // the second, plain copy did not run either

        dialog.Text1->setText("typed"); // Browse cancelled: the name chosen before, offered and kept
        QCOMPARE(after(dialog.chameleonButton2).value(0), target);
        QCOMPARE(fake.fileDialogs->suggestedNames, (QStringList{"", target}));
    }
};

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
