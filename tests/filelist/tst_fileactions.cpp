// Deleting the selected file: the checks before the question, the question, and what
// is removed from the disk (exactly the named file, by its real bytes) or not.
#include "filelist/FileActions.h"
#include "platform/PathCodec.h"
#include "support/FakeServices.h"
#include "support/TreeBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using filelist::DeleteOutcome;
using platform::MessageBoxRequest;
using testsupport::ScriptedMessageBoxes;

namespace {

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

void makeFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "data", 4), 4);
    ::close(fd);
}

} // namespace

class TestFileActions : public QObject {
    Q_OBJECT
private slots:
    void nothingIsAskedWithoutAUsableSelection_data();
    void nothingIsAskedWithoutAUsableSelection();
    void theQuestionDecides();
    void removesExactlyTheNamedFile_data();
    void removesExactlyTheNamedFile();
    void aFileThatCannotBeRemovedIsReportedAndKept_data();
    void aFileThatCannotBeRemovedIsReportedAndKept();
};

void TestFileActions::nothingIsAskedWithoutAUsableSelection_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("message"); // empty: no message at all
    QTest::addColumn<QString>("title");
    QTest::newRow("empty selection") << QString() << "3" << QString() << QString();
    QTest::newRow("no entry chosen since the list was filled") << "a.txt"
                                                               << "0"
                                                               << "  Please select file from the file list!"
                                                               << " File Selection Error ";
    QTest::newRow("a DLL") << "a.dll"
                           << "1"
                           << "  Due to security reasons , DLL file cannot be deleted !"
                           << " Orvik Searcher Message ";
    QTest::newRow("an EXE in capitals") << "SETUP.EXE"
                                        << "2"
                                        << "  Due to security reasons , an EXE file cannot be deleted !"
                                        << " Orvik Searcher Message ";
}

void TestFileActions::nothingIsAskedWithoutAUsableSelection() {
    QFETCH(QString, name);
    QFETCH(QString, position);
    QFETCH(QString, message);
    QFETCH(QString, title);
    testsupport::TreeBuilder tree;
    QString entry;
    if (!name.isEmpty()) {
        tree.file(name.toUtf8());
        entry = tree.root() + QLatin1Char('/') + name;
    }
    ScriptedMessageBoxes boxes;
    QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, position), DeleteOutcome::NotAsked);
    if (message.isEmpty()) {
        QVERIFY(boxes.shown.isEmpty());
    } else {
        QCOMPARE(boxes.shown.size(), 1); // the refusal, and no question
        QCOMPARE(boxes.shown[0].text, message);
        QCOMPARE(boxes.shown[0].title, title);
        QCOMPARE(boxes.shown[0].buttons, MessageBoxRequest::Buttons::Ok);
        QCOMPARE(boxes.shown[0].icon, MessageBoxRequest::Icon::None);
        QVERIFY(QFile::exists(entry));
    }
}

void TestFileActions::theQuestionDecides() {
    testsupport::TreeBuilder tree;
    tree.file("notes.txt");
    const QString entry = tree.root() + QStringLiteral("/notes.txt");
    ScriptedMessageBoxes boxes;
    boxes.answers = {MessageBoxRequest::Answer::No};
    QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, QStringLiteral("1")), DeleteOutcome::Kept);
    QCOMPARE(boxes.shown.size(), 1);
    const MessageBoxRequest& question = boxes.shown[0];
    QCOMPARE(question.text, QStringLiteral(" Are you sure, you want to delete this file?"));
    QCOMPARE(question.title, QStringLiteral("Delete Selected File !"));
    QCOMPARE(question.buttons, MessageBoxRequest::Buttons::YesNo);
    QCOMPARE(question.icon, MessageBoxRequest::Icon::Question);
    QCOMPARE(question.defaultButton, MessageBoxRequest::Answer::No);
    QVERIFY(QFile::exists(entry));

    boxes.shown.clear();
    QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, QStringLiteral("1")),
             DeleteOutcome::Deleted);
    QVERIFY(!QFile::exists(entry));
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[1].text, QStringLiteral("Your selected file has been deleted forever!"));
    QCOMPARE(boxes.shown[1].title, QStringLiteral("File Delete Message"));
    QCOMPARE(boxes.shown[1].icon, MessageBoxRequest::Icon::Information);
    QCOMPARE(boxes.shown[1].buttons, MessageBoxRequest::Buttons::Ok);
}

void TestFileActions::removesExactlyTheNamedFile_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("report.pdf");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9 \xff.txt");
    QTest::newRow("wildcard characters taken literally") << QByteArray("*.txt");
    QTest::newRow("blanks and a leading dash") << QByteArray("-r  old .txt");
}

void TestFileActions::removesExactlyTheNamedFile() {
    QFETCH(QByteArray, name);
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    makeFile(folder + name);
    makeFile(folder + "neighbour.txt");
    makeFile(folder + "caf.txt");
    ScriptedMessageBoxes boxes;
    const QString entry = platform::decodePath(folder + name);
    QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, QStringLiteral("2")),
             DeleteOutcome::Deleted);
    QVERIFY(!exists(folder + name));
    QVERIFY(exists(folder + "neighbour.txt"));
    QVERIFY(exists(folder + "caf.txt"));
}

void TestFileActions::aFileThatCannotBeRemovedIsReportedAndKept_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("a folder") << "folder";
}

void TestFileActions::aFileThatCannotBeRemovedIsReportedAndKept() {
    QFETCH(QString, what);
    QTemporaryDir dir;
    const QString entry = dir.path() + QStringLiteral("/gone.txt");
    if (what == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("gone.txt/inside")));
    }
    ScriptedMessageBoxes boxes;
    QCOMPARE(filelist::DeleteSelectedFile(boxes, nullptr, entry, QStringLiteral("1")), DeleteOutcome::Failed);
    QCOMPARE(boxes.shown.size(), 2);
    QCOMPARE(boxes.shown[1].title, QStringLiteral("File Delete Message"));
    QVERIFY(boxes.shown[1].text.startsWith(QStringLiteral("The selected file could not be deleted")));
    QCOMPARE(boxes.shown[1].icon, MessageBoxRequest::Icon::Warning);
    if (what == QLatin1String("folder")) QVERIFY(QFile::exists(entry + QStringLiteral("/inside")));
}

QTEST_MAIN(TestFileActions)
#include "tst_fileactions.moc"
