// The main window's viewer buttons and its file list document, driven through the real
// window with scripted message boxes and file dialogs; the viewer pane records where it
// was sent.
#include "app/Form1.h"
#include "platform/PathCodec.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/FileSizeLimit.h"
#include "support/TreeBuilder.h"
#include "widgets/Twips.h"
#include "widgets/button/chameleonButton.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using platform::MessageBoxRequest;
using testsupport::FakeServices;

namespace {

class RecordingPane : public platform::BlankWebPane {
public:
    using BlankWebPane::BlankWebPane;
    QStringList navigated;
    void Navigate(const QString& address) override { navigated << address; }
};

class RecordingPanes : public platform::WebPaneFactory {
public:
    platform::WebPane* create(QWidget* parent) override { return new RecordingPane(parent); }
};

void click(chameleonButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

QByteArray readBytes(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString& name, const QByteArray& bytes) {
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A shown window, with a folder for its documents.
struct Window {
    QTemporaryDir dir;
    FakeServices fake;
    std::unique_ptr<Form1> form;
    explicit Window(const QString& root = QString()) : fake(root) {
        fake.webPanes = std::make_shared<RecordingPanes>();
        form = std::make_unique<Form1>(fake.services());
        form->show();
    }
    RecordingPane* viewer() const { return static_cast<RecordingPane*>(form->WB1); }
    QString path(const QString& name) const { return dir.filePath(name); }
    // Opens the document of these bytes through the Open button.
    void open(const QByteArray& document, const QString& name = QStringLiteral("list.f4u")) {
        writeBytes(path(name), document);
        fake.fileDialogs->openAnswers = {path(name)};
        click(form->chameleonButton6);
    }
    void loadEntries(int count) {
        QByteArray document;
        for (int i = 1; i <= count; ++i)
            document += "/files/f" + QByteArray::number(i) + ".txt\r\n";
        open(document);
    }
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < form->List1->ListCount(); ++i)
            out << form->List1->List(i);
        return out;
    }
    const MessageBoxRequest& lastBox() const { return fake.messageBoxes->shown.last(); }
};

} // namespace

class TestForm1FileList : public QObject {
    Q_OBJECT
private slots:
    void selectionMessages_data();
    void selectionMessages();
    void nextAndPreviousStepAndBackReturnsToTheList();
    void aBlockedFileIsRefusedAndTheSelectionStays();
    void doubleClickShowsTheEntryAndUsesItsOwnTitle();

    void saveWritesTheExactBytesAndOpenReplacesTheList();
    void openReadsDocumentsLeniently_data();
    void openReadsDocumentsLeniently();
    void aNameThatIsNotUtf8GoesAndComesBackAsItsBytes();
    void cancelAndEmptyListChangeNothing();
    void failedSavesAndReadsAreReported();
};

// --- the viewer ----------------------------------------------------------------------

void TestForm1FileList::selectionMessages_data() {
    QTest::addColumn<int>("entries"); // loaded from a document; -1: loaded, then cleared
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("button"); // 2 Show, 3 Next, 4 Previous, 5 Back
    QTest::addColumn<QString>("message");
    const QString select = QStringLiteral("  Please select file from the file list!");
    const QString none = QStringLiteral("  There is no file in the file list!");
    const QString one = QStringLiteral("  There is only one file in the Filelist!");
    QTest::newRow("Show, nothing chosen") << 3 << -1 << 2 << select;
    QTest::newRow("Next, nothing chosen") << 3 << -1 << 3 << select;
    QTest::newRow("Previous, nothing chosen") << 3 << -1 << 4 << select;
    QTest::newRow("Back, nothing chosen")
        << 3 << -1 << 5 << QStringLiteral("  File List is already opened !");
    QTest::newRow("Show after Clear") << -1 << -1 << 2 << none;
    QTest::newRow("Back after Clear") << -1 << -1 << 5 << none;
    QTest::newRow("Next of one") << 1 << 0 << 3 << one;
    QTest::newRow("Previous of one") << 1 << 0 << 4 << one;
    QTest::newRow("Next of the last")
        << 3 << 2 << 3 << QStringLiteral("  This is the last file in the Filelist!");
    QTest::newRow("Previous of the first")
        << 3 << 0 << 4 << QStringLiteral("  This is the first file in the Filelist!");
}

void TestForm1FileList::selectionMessages() {
    QFETCH(int, entries);
    QFETCH(int, selected);
    QFETCH(int, button);
    QFETCH(QString, message);
    Window w;
    Form1& form = *w.form;
    w.loadEntries(entries < 0 ? 3 : entries);
    QCOMPARE(form.Label7->text(), QStringLiteral("0"));
    if (entries < 0) click(form.chameleonButton8);
    form.List1->setListIndex(selected);
    const QString label1 = form.Label1->text();
    const bool listShown = form.List1->isVisible();
    chameleonButton* const buttons[] = {form.chameleonButton2, form.chameleonButton3, form.chameleonButton4,
                                        form.chameleonButton5};
    click(buttons[button - 2]);

    QCOMPARE(w.fake.messageBoxes->shown.size(), 1);
    QCOMPARE(w.lastBox().text, message);
    QCOMPARE(w.lastBox().title, QStringLiteral(" File Selection Error "));
    QCOMPARE(w.lastBox().buttons, MessageBoxRequest::Buttons::Ok);
    QCOMPARE(w.lastBox().icon, MessageBoxRequest::Icon::None);
    // Refused before anything moved.
    QCOMPARE(form.List1->ListIndex(), selected);
    QCOMPARE(form.Label1->text(), label1);
    QCOMPARE(form.List1->isVisible(), listShown);
    QVERIFY(form.WB1->isHidden());
    QVERIFY(w.viewer()->navigated.isEmpty());
}

void TestForm1FileList::nextAndPreviousStepAndBackReturnsToTheList() {
    Window w;
    Form1& form = *w.form;
    w.loadEntries(10);
    form.List1->setListIndex(4);
    QCOMPARE(form.Label7->text(), QStringLiteral("5"));

    click(form.chameleonButton3); // Next
    QCOMPARE(form.List1->ListIndex(), 5);
    QCOMPARE(form.Label7->text(), QStringLiteral("6"));
    QCOMPARE(form.Label3->text(), QStringLiteral("10"));
    QCOMPARE(form.Label1->text(), QStringLiteral("/files/f6.txt"));
    QCOMPARE(form.Label1->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QVERIFY(form.WB1->isVisible() && form.List1->isHidden());

    click(form.chameleonButton4); // Previous
    QCOMPARE(form.List1->ListIndex(), 4);
    QCOMPARE(form.Label7->text(), QStringLiteral("5"));
    click(form.chameleonButton2); // Show: the same entry again
    QCOMPARE(w.viewer()->navigated, (QStringList{"/files/f6.txt", "/files/f5.txt", "/files/f5.txt"}));

    click(form.chameleonButton5); // Back
    QVERIFY(form.List1->isVisible() && form.WB1->isHidden());
    QCOMPARE(form.Label1->text(), QStringLiteral("/files/f5.txt"));
    QCOMPARE(form.List1->height(), twipsToPixels(6200));
    QVERIFY(w.fake.messageBoxes->shown.isEmpty());
}

void TestForm1FileList::aBlockedFileIsRefusedAndTheSelectionStays() {
    Window w;
    Form1& form = *w.form;
    w.open("/d/a.txt\r\n/d/b.exe\r\n/d/c.txt\r\n/d/e.RAR\r\n");
    form.List1->setListIndex(0);
    click(form.chameleonButton3); // Next, onto b.exe
    QCOMPARE(w.lastBox().text, QStringLiteral("  Due to security reasons , an EXE file cannot be opened !"));
    QCOMPARE(w.lastBox().title, QStringLiteral(" Orvik Searcher Message "));
    QCOMPARE(form.List1->ListIndex(), 0);
    QCOMPARE(form.Label7->text(), QStringLiteral("1"));
    QVERIFY(form.Label1->text().isEmpty());
    QVERIFY(form.List1->isHidden() && form.WB1->isHidden()); // Back brings the list back
    click(form.chameleonButton5);
    QVERIFY(form.List1->isVisible());

    // From the file view, a refusal leaves the previous file on show.
    form.List1->setListIndex(2);
    click(form.chameleonButton2);
    click(form.chameleonButton4); // Previous, onto b.exe
    QCOMPARE(w.fake.messageBoxes->shown.size(), 2);
    QCOMPARE(form.List1->ListIndex(), 2);
    QCOMPARE(form.Label1->text(), QStringLiteral("/d/c.txt")); // Previous leaves it until it shows
    QVERIFY(form.WB1->isVisible());
    QCOMPARE(w.viewer()->navigated, QStringList{"/d/c.txt"});
}

void TestForm1FileList::doubleClickShowsTheEntryAndUsesItsOwnTitle() {
    Window w;
    Form1& form = *w.form;
    w.open("/d/setup.ini\r\n/d/notes.txt\r\n");
    QVERIFY(QTest::qWaitForWindowExposed(&*w.form));
    const auto doubleClick = [&](int row) {
        const QPoint at = form.List1->visualRect(form.List1->model()->index(row, 0)).center();
        QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form.List1->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(0);
    QCOMPARE(form.List1->ListIndex(), 0);
    QCOMPARE(w.lastBox().text, QStringLiteral("  Due to security reasons , an INI file cannot be opened !"));
    QCOMPARE(w.lastBox().title, QStringLiteral(" Orvik Searcher Message "));
    QVERIFY(form.List1->isHidden());
    click(form.chameleonButton2);
    QCOMPARE(w.lastBox().title, QStringLiteral(" Orvik File Searcher Message "));
    QCOMPARE(w.fake.messageBoxes->shown.size(), 2);

    click(form.chameleonButton5);
    doubleClick(1);
    QCOMPARE(w.viewer()->navigated, QStringList{"/d/notes.txt"});
    QVERIFY(form.WB1->isVisible() && form.List1->isHidden());
    QCOMPARE(form.Label7->text(), QStringLiteral("2"));
}

// --- the document ----------------------------------------------------------------------

void TestForm1FileList::saveWritesTheExactBytesAndOpenReplacesTheList() {
    testsupport::TreeBuilder tree;
    tree.file("found.txt");
    Window w(tree.root());
    Form1& form = *w.form;
    // Open with a name that is not a document adds that name as an entry.
    for (const char* name : {"C:\\a.txt", "C:\\b c\\d.doc"}) {
        w.fake.fileDialogs->openAnswers = {QString::fromLatin1(name)};
        click(form.chameleonButton6);
    }
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    w.fake.fileDialogs->saveAnswers = {w.path("two.f4u")};
    click(form.chameleonButton7);
    QCOMPARE(readBytes(w.path("two.f4u")), QByteArray("C:\\a.txt\r\nC:\\b c\\d.doc\r\n"));
    QCOMPARE(w.fake.fileDialogs->filters,
             (QStringList{"Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*",
                          "Filelist (*.f4u)|*.f4u|All Files (*.*)|*.*", "File List (*.f4u)|*.f4u"}));

    // After a search, the document replaces the results.
    form.StartSearch();
    QCOMPARE(form.List1->ListCount(), 1);
    form.List1->setListIndex(0);
    click(form.chameleonButton2); // the viewer is on show
    QVERIFY(form.WB1->isVisible());
    QFile::rename(w.path("two.f4u"), w.path("notes.F4U"));
    w.fake.fileDialogs->openAnswers = {w.path("notes.F4U")};
    click(form.chameleonButton6);
    QCOMPARE(w.entries(), (QStringList{"C:\\a.txt", "C:\\b c\\d.doc"}));
    QVERIFY(form.List1->isVisible() && form.WB1->isHidden());
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    QCOMPARE(form.Label7->text(), QStringLiteral("0"));

    // Any other file adds its path and keeps the entries, the selection too.
    form.List1->setListIndex(1);
    w.fake.fileDialogs->openAnswers = {w.path("picture.jpg")};
    click(form.chameleonButton6);
    QCOMPARE(w.entries(), (QStringList{"C:\\a.txt", "C:\\b c\\d.doc", w.path("picture.jpg")}));
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(form.Label7->text(), QStringLiteral("2"));
    QVERIFY(w.fake.messageBoxes->shown.isEmpty());
}

void TestForm1FileList::openReadsDocumentsLeniently_data() {
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("CR LF") << QByteArray("/a.txt\r\n/b c/d.doc\r\n") << QStringList{"/a.txt", "/b c/d.doc"};
    QTest::newRow("lone CR, lone LF") << QByteArray("/a\r/b\nc\r\n") << QStringList{"/a", "/b\nc"};
    QTest::newRow("no final end, blanks") << QByteArray("/a  \r\n\r\n  /b ") << QStringList{"/a", "", "  /b"};
    QTest::newRow("Windows-1252") << QByteArray("C:\\caf\xe9 \x80.txt\r\n")
                                  << QStringList{QStringLiteral("C:\\caf\u00e9 \u20ac.txt")};
}

void TestForm1FileList::openReadsDocumentsLeniently() {
    QFETCH(QByteArray, document);
    QFETCH(QStringList, entries);
    Window w;
    w.open(document);
    QCOMPARE(w.entries(), entries);
    QCOMPARE(w.form->Label3->text(), QString::number(entries.size()));
}

void TestForm1FileList::aNameThatIsNotUtf8GoesAndComesBackAsItsBytes() {
    testsupport::TreeBuilder tree;
    tree.file("caf\xe9.txt");
    Window w(tree.root());
    Form1& form = *w.form;
    form.StartSearch();
    QCOMPARE(form.List1->ListCount(), 1);
    const QString entry = form.List1->List(0);
    w.fake.fileDialogs->saveAnswers = {w.path("odd.f4u")};
    click(form.chameleonButton7);
    QCOMPARE(readBytes(w.path("odd.f4u")), tree.path("caf\xe9.txt") + "\r\n");

    click(form.chameleonButton8); // Clear
    w.fake.fileDialogs->openAnswers = {w.path("odd.f4u")};
    click(form.chameleonButton6);
    QCOMPARE(w.entries(), QStringList{entry});
    form.List1->setListIndex(0);
    click(form.chameleonButton2);
    QCOMPARE(platform::encodePath(w.viewer()->navigated.value(0)), tree.path("caf\xe9.txt"));
    ::unlink(tree.path("caf\xe9.txt").constData()); // QTemporaryDir cannot remove such names
}

void TestForm1FileList::cancelAndEmptyListChangeNothing() {
    Window w;
    Form1& form = *w.form;
    click(form.chameleonButton7); // nothing to save: no dialog
    QCOMPARE(w.lastBox().text,
             QStringLiteral("    Filelist is Empty! Please add files to Filelist and Save again !"));
    QCOMPARE(w.lastBox().title, QStringLiteral(" Save Filelist Error "));
    QCOMPARE(w.lastBox().icon, MessageBoxRequest::Icon::None);
    QVERIFY(w.fake.fileDialogs->filters.isEmpty());

    w.loadEntries(2);
    form.List1->setListIndex(1);
    click(form.chameleonButton2);
    for (const QString& answer : {QString(), QStringLiteral(" ")}) {
        w.fake.fileDialogs->openAnswers = {answer};
        w.fake.fileDialogs->saveAnswers = {answer};
        click(form.chameleonButton6);
        click(form.chameleonButton7);
    }
    QCOMPARE(w.entries(), (QStringList{"/files/f1.txt", "/files/f2.txt"}));
    QCOMPARE(form.Label7->text(), QStringLiteral("2"));
    QVERIFY(form.WB1->isVisible() && form.List1->isHidden());
    QCOMPARE(QDir(w.dir.path()).entryList(QDir::Files), QStringList{"list.f4u"});
    QCOMPARE(w.fake.messageBoxes->shown.size(), 1);
}

void TestForm1FileList::failedSavesAndReadsAreReported() {
    Window w;
    Form1& form = *w.form;
    const QByteArray old("/the/old/list.txt\r\n");
    w.open(old, QStringLiteral("old.f4u"));
    for (int i = 0; i < 200; ++i) {
        w.fake.fileDialogs->openAnswers = {QStringLiteral("/a/rather/long/name/number/%1.txt").arg(i)};
        click(form.chameleonButton6);
    }
    {
        const FileSizeLimit diskFull(1024); // the disk fills up half way through
        w.fake.fileDialogs->saveAnswers = {w.path("old.f4u")};
        click(form.chameleonButton7);
    }
    QCOMPARE(readBytes(w.path("old.f4u")), old);
    QVERIFY(w.lastBox().text.startsWith(QStringLiteral("  The file list was not saved: ")));
    QCOMPARE(w.lastBox().title, QStringLiteral(" Save Filelist Error "));
    w.fake.fileDialogs->saveAnswers = {w.dir.path()}; // a folder as the name
    click(form.chameleonButton7);
    QCOMPARE(w.fake.messageBoxes->shown.size(), 2);
    QVERIFY(QFileInfo(w.dir.path()).isDir());

    // A name holding a CR is saved, and the user hears it will not come back whole.
    w.fake.fileDialogs->openAnswers = {QStringLiteral("/odd\rname")};
    click(form.chameleonButton6);
    w.fake.fileDialogs->saveAnswers = {w.path("cr.f4u")};
    click(form.chameleonButton7);
    QVERIFY(readBytes(w.path("cr.f4u")).endsWith("/odd\rname\r\n"));
    QCOMPARE(w.fake.messageBoxes->shown.size(), 3);
    QVERIFY(w.lastBox().text.contains(QStringLiteral("line break (CR) in the file name: 1.")));

    // A document that cannot be read leaves the emptied list empty, and says so.
    w.fake.fileDialogs->openAnswers = {w.path("missing.f4u")};
    click(form.chameleonButton6);
    QCOMPARE(form.List1->ListCount(), 0);
    QCOMPARE(form.Label3->text(), QStringLiteral("0"));
    QVERIFY(form.List1->isVisible());
    QVERIFY(w.lastBox().text.startsWith(QStringLiteral("  The file list could not be read: ")));
    QCOMPARE(w.fake.messageBoxes->shown.size(), 4);
}

QTEST_MAIN(TestForm1FileList)
#include "tst_form1_filelist.moc"
