// The Copy File window: its inventory, Browse and its filters, Paste with the real copy
// (scripted questions), and what assistive technology reads.
#include "copydialog/Form3.h"
#include "copydialog/modCopy.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using platform::MessageBoxRequest;
using testsupport::FakeServices;
using testsupport::readBytes;
using testsupport::writeBytes;

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

class TestForm3 : public QObject {
    Q_OBJECT
private slots:
    void opensCentredWithItsInventory();
    void browseFilterFollowsTheFileType_data();
    void browseFilterFollowsTheFileType();
    void browseTakesTheSaveDialogsName();
    void pasteCopiesAndSaysSo();
    void pasteOntoAnExistingFileAsksFirst();
    void aFailedPasteShowsTheErrorNumber();
    void everyControlIsAccessible();
};

void TestForm3::opensCentredWithItsInventory() {
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

void TestForm3::browseFilterFollowsTheFileType_data() {
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

void TestForm3::browseFilterFollowsTheFileType() {
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

void TestForm3::browseTakesTheSaveDialogsName() {
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

void TestForm3::pasteCopiesAndSaysSo() {
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

void TestForm3::pasteOntoAnExistingFileAsksFirst() {
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

void TestForm3::aFailedPasteShowsTheErrorNumber() {
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

void TestForm3::everyControlIsAccessible() {
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

QTEST_MAIN(TestForm3)
#include "tst_form3.moc"
