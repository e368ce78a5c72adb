// Copying the selected file. The program's own copy: what it writes, what it asks, and
// what a declined, cancelled or failed copy leaves behind (nothing under the target's name,
// no leftovers). The Copy File window: its inventory, Browse and its filters, Paste with
// the real copy (scripted questions), and what assistive technology reads.
#include "copydialog/Form3.h"
#include "copydialog/modCopy.h"
#include "platform/FileCopy.h"
#include "platform/PathCodec.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using platform::copyFile;
using platform::CopyResult;
using platform::MessageBoxRequest;
using testsupport::FakeServices;
using testsupport::readBytes;
using testsupport::ScriptedCopyPrompts;
using testsupport::writeBytes;

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

namespace {

// A button takes the mouse only on a window that is on the screen.
void click(chameleonButton* b) {
    if (!b->window()->isVisible()) {
        b->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(b->window()));
    }
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

} // namespace

class TestCopy : public QObject {
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
    void opensCentredWithItsInventory();
    void browseFilterFollowsTheFileType_data();
    void browseFilterFollowsTheFileType();
    void browseTakesTheSaveDialogsName();
    void pasteCopiesAndSaysSo();
    void pasteOntoAnExistingFileAsksFirst();
    void aFailedPasteShowsTheErrorNumber();
    void everyControlIsAccessible();
};

void TestCopy::copiesContentModeAndTime() {
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

void TestCopy::copiesIntoAFolderAndByRealBytes() {
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

void TestCopy::anExistingTargetIsReplacedOnlyAfterYes() {
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

void TestCopy::aCancelledCopyLeavesNothingUnderTheTargetsName() {
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

void TestCopy::copyingAFileOntoItselfLosesNothing() {
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

void TestCopy::failuresAreReportedWithTheSystemsErrorNumber_data() {
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

void TestCopy::failuresAreReportedWithTheSystemsErrorNumber() {
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

void TestCopy::theProgressWindowCancels() {
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

void TestCopy::opensCentredWithItsInventory() {
    FakeServices fake;
    Form3 dialog(fake.services(), [] { return QStringLiteral("/tmp/a.txt"); });
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy File Dialog Box"));
    const QRect screen = dialog.screen()->geometry();
    QCOMPARE(dialog.pos(), QPoint((screen.width() - dialog.frameGeometry().width()) / 2,
                                  (screen.height() - dialog.frameGeometry().height()) / 2));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(
        dialog.Label1->text().startsWith(QStringLiteral("Your selected file has been copied to clipboard.")));
    // The box lies over the label's lower part.
    const QPoint overlap = dialog.Text1->geometry().center();
    QVERIFY(dialog.Label1->geometry().contains(overlap));
    QVERIFY(dialog.childAt(overlap) == dialog.Text1 || dialog.Text1->isAncestorOf(dialog.childAt(overlap)));
    QVERIFY(dialog.Text1->text().isEmpty());
    QCOMPARE(dialog.Text2->text(), QStringLiteral("Status: Ready"));

    // The buttons, as seen and as assistive technology reads them.
    const struct {
        chameleonButton* button;
        const char* caption;
        const char* tooltip;
    } buttons[] = {{dialog.chameleonButton2, "Browse", "Browse To Select Directory"},
                   {dialog.chameleonButton1, "Paste", "Save File Into Your Selected Directory"},
                   {dialog.chameleonButton3, "Close", "Exit The Copy File Dialog Box"}};
    for (const auto& b : buttons) {
        QCOMPARE(b.button->toolTip(), QString::fromLatin1(b.tooltip));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b.button);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), QString::fromLatin1(b.caption));
        QCOMPARE(iface->text(QAccessible::Description), b.button->toolTip());
    }
}

void TestCopy::browseFilterFollowsTheFileType_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("filter");
    // Every rule, pattern for pattern; the type is compared without regard to case, by
    // as many characters as it has, so no dot is needed.
    const char* const rules[][2] = {
        {"/d/a.TxT", "Text File  ( .TXT )|*.TXT"},
        {"/docs/a.HTML", "Web Page  ( .HTML )|*.HTML"},
        {"/docs/a.htm", "Web Page  ( .HTM )|*.HTM"},
        {"/d/a.doc", "Word File  ( .DOC )|*.DOC"},
        {"/d/a.mp3", "MP3 File  ( .MP3 )|*.MP3"},
        {"/d/a.jpg", "IMAGE File  ( .JPG )|*.JPG"},
        {"/d/a.gif", "IMAGE File  ( .GIF )|*.GIF"},
        {"/p/c.JpEg", "IMAGE File  ( .JPEG )|*.JPEG"},
        {"/d/a.avi", "VIDEO File  ( .AVI )|*.AVI"},
        {"/d/a.dat", "VIDEO File  ( .DAT )|*.DAT"},
        {"/d/a.wav", "AUDIO File  ( .WAV )|*.WAV"},
        {"/music/b.wma", "AUDIO File  ( .WMA )|*.WMA"},
        {"/d/a.wmv", "VIDEO File  ( .WMV )|*.WMV"},
        {"/d/a.mpeg", "VIDEO File  ( .MPEG )|*.MPEG"},
        {"/p/d.pdf", "Portable Document Format (.PDF)|*.PDF"},
        {"/d/a.ico", "IMAGE ICON File ( .ICO )|*.ICO"},
        {"/d/a.sk2", "Chem Sketch File ( .SK2 )|*.SK2"},
        {"/d/a.exe", "Executable File  ( .EXE )|*.EXE"},
        {"/d/a.ini", "System File  ( .INI )|*.INI"},
        {"/d/a.dll", "Dynamic Link Library File  ( .DLL )|*.DLL"},
        {"/p/e.OCX", "Support File  ( .ocx )|*.ocx"},
        {"/d/a.xls", "Excel File  (.XLS )|*.XLS"},
        {"/d/a.mdb", "Access Database File  (.MDB )|*.MDB"},
        {"/d/a.ppt", "Power Point Presentation File  (.PPT )|*.PPT"},
        {"/d/a.zip", "Compressed File  (.ZIP )|*.ZIP"},
        {"/d/a.rar", "Compressed File  (.RAR )|*.RAR"},
        {"/p/farm", "Real Media File  (.RM )|*.RM"},
        {"/data/c.xyz", ""},
        {"m", ""},
    };
    for (const auto& r : rules)
        QTest::newRow(r[0]) << QString::fromLatin1(r[0]) << QString::fromLatin1(r[1]);
}

void TestCopy::browseFilterFollowsTheFileType() {
    QFETCH(QString, source);
    QFETCH(QString, filter);
    FakeServices fake;
    Form3 dialog(fake.services(), [&] { return source; });
    click(dialog.chameleonButton2);
    QCOMPARE(fake.fileDialogs->titles, QStringList{QStringLiteral("Save File As")});
    QCOMPARE(fake.fileDialogs->filters, QStringList{filter});
    // No rule: the filter chosen before stays.
    QCOMPARE(modCopy::BrowseFilter(source, QStringLiteral("Old|*.old")),
             filter.isEmpty() ? QStringLiteral("Old|*.old") : filter);
}

void TestCopy::browseTakesTheSaveDialogsName() {
    FakeServices fake;
    Form3 dialog(fake.services(), [] { return QStringLiteral("/tmp/a.txt"); });
    fake.fileDialogs->saveAnswers = {QStringLiteral("/backup/a.txt")};
    click(dialog.chameleonButton2);
    QCOMPARE(dialog.Text1->text(), QStringLiteral("/backup/a.txt"));
    QCOMPARE(fake.fileDialogs->suggestedNames.last(), QString());

    // Cancelled: the dialog still holds the name chosen before, and offered it.
    dialog.Text1->setText(QStringLiteral("typed"));
    click(dialog.chameleonButton2);
    QCOMPARE(fake.fileDialogs->suggestedNames.last(), QStringLiteral("/backup/a.txt"));
    QCOMPARE(dialog.Text1->text(), QStringLiteral("/backup/a.txt"));
}

void TestCopy::pasteCopiesAndSaysSo() {
    QTemporaryDir dir;
    const QString source = dir.path() + QStringLiteral("/a.html");
    const QString target = dir.path() + QStringLiteral("/backup/a.html");
    QDir(dir.path()).mkdir(QStringLiteral("backup"));
    writeBytes(source, "<p>page</p>");
    FakeServices fake;
    Form3 dialog(fake.services(), [&] { return source; });

    // Nothing to copy and nowhere to: nothing happens.
    Form3 empty(fake.services(), [] { return QString(); });
    click(empty.chameleonButton1);
    QCOMPARE(empty.Text2->text(), QStringLiteral("Status: Ready"));
    QVERIFY(fake.messageBoxes->shown.isEmpty());

    fake.fileDialogs->saveAnswers = {target};
    click(dialog.chameleonButton2);
    click(dialog.chameleonButton1);
    QCOMPARE(readBytes(target), QByteArray("<p>page</p>"));
    QCOMPARE(dialog.Text2->text(), QStringLiteral("Status: File Copied to ") + target);
    QVERIFY(fake.messageBoxes->shown.isEmpty());
    QCOMPARE(readBytes(source), QByteArray("<p>page</p>"));
}

void TestCopy::pasteOntoAnExistingFileAsksFirst() {
    QTemporaryDir dir;
    const QString source = dir.path() + QStringLiteral("/a.txt");
    const QString target = dir.path() + QStringLiteral("/b.txt");
    writeBytes(source, "source");
    writeBytes(target, "keep me");
    FakeServices fake;
    Form3 dialog(fake.services(), [&] { return source; });
    dialog.Text1->setText(target);

    fake.copyPrompts->replaceAnswers = {false};
    click(dialog.chameleonButton1);
    QCOMPARE(fake.copyPrompts->replaceAsked, QStringList{target});
    QCOMPARE(readBytes(target), QByteArray("keep me")); // the second, plain copy did not run either
    QCOMPARE(fake.messageBoxes->shown.size(), 1);
    QCOMPARE(fake.messageBoxes->shown[0].text, QStringLiteral("Operation Failed"));
    QCOMPARE(fake.messageBoxes->shown[0].title, QStringLiteral("ORVIK SEARCHER"));
    QCOMPARE(fake.messageBoxes->shown[0].icon, MessageBoxRequest::Icon::None);
    QCOMPARE(dialog.Text2->text(), QStringLiteral("Status: File Not Copied to ") + target);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    fake.copyPrompts->replaceAnswers = {true};
    click(dialog.chameleonButton1);
    QCOMPARE(readBytes(target), QByteArray("source"));
    QCOMPARE(dialog.Text2->text(), QStringLiteral("Status: File Copied to ") + target);
    QCOMPARE(fake.messageBoxes->shown.size(), 1);
}

void TestCopy::aFailedPasteShowsTheErrorNumber() {
    QTemporaryDir dir;
    const QString source = dir.path() + QStringLiteral("/a.txt");
    writeBytes(source, "x");
    FakeServices fake;
    Form3 dialog(fake.services(), [&] { return source; });
    // No Browse yet: the target is empty.
    click(dialog.chameleonButton1);
    QCOMPARE(fake.messageBoxes->shown.size(), 1);
    QCOMPARE(fake.messageBoxes->shown[0].text, QStringLiteral("2"));
    QCOMPARE(fake.copyPrompts->errors.size(), 1); // the copy's own explanation came first
    QCOMPARE(dialog.Text2->text(), QStringLiteral("Status: File Not Copied to "));

    // Onto itself: refused, the file untouched.
    dialog.Text1->setText(source);
    click(dialog.chameleonButton1);
    QCOMPARE(fake.messageBoxes->shown.size(), 2);
    QCOMPARE(fake.messageBoxes->shown[1].text, QStringLiteral("22"));
    QCOMPARE(readBytes(source), QByteArray("x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.txt")});
}

void TestCopy::everyControlIsAccessible() {
    FakeServices fake;
    Form3 dialog(fake.services(), [] { return QStringLiteral("/tmp/a.txt"); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    QCOMPARE(window->role(), QAccessible::Dialog);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Copy File Dialog Box"));

    QAccessibleInterface* label = QAccessible::queryAccessibleInterface(dialog.Label1);
    QCOMPARE(label->text(QAccessible::Name), dialog.Label1->text());
    QAccessibleInterface* target = QAccessible::queryAccessibleInterface(dialog.Text1);
    QCOMPARE(target->role(), QAccessible::EditableText);
    QVERIFY(!target->text(QAccessible::Name).isEmpty());
    QVERIFY(!target->text(QAccessible::Description).isEmpty());

    // The status line is heard as what it says now.
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(dialog.Text2);
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Status: Ready"));
    dialog.Text1->setText(QStringLiteral("/nowhere/x/y.txt"));
    click(dialog.chameleonButton1);
    QCOMPARE(status->text(QAccessible::Name), dialog.Text2->text());
    QVERIFY(status->text(QAccessible::Name).startsWith(QStringLiteral("Status: File Not Copied")));
    QVERIFY(status->state().readOnly);
}

QTEST_MAIN(TestCopy)
#include "tst_copy.moc"
