// The main window as built: its controls, the three modes, activation, the clock,
// and accessibility.
#include "app/Form1.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/TreeBuilder.h"
#include "widgets/button/chameleonButton.h"

#include <QAccessible>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

using testsupport::FakeServices;

namespace {

const char* const kFileButtons[] = {"chameleonButton1",  "chameleonButton2",  "chameleonButton3",
                                    "chameleonButton4",  "chameleonButton5",  "chameleonButton6",
                                    "chameleonButton7",  "chameleonButton8",  "chameleonButton9",
                                    "chameleonButton10", "chameleonButton17", "chameleonButton18"};
const char* const kInternetButtons[] = {"chameleonButton11", "chameleonButton12", "chameleonButton13",
                                        "chameleonButton14", "chameleonButton15", "chameleonButton16"};

QWidget* child(QWidget& form, const char* name) {
    QWidget* w = form.findChild<QWidget*>(QLatin1String(name));
    if (!w) qFatal("no control named %s", name);
    return w;
}

int px(int twips) {
    return (twips + 7) / 15;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    void startsInFileTypeModeWithTheDesignLayout();
    void controlsHaveTheirCaptionsItemsAndTips();
    void modeSwitchesShowAndHideTheirControls_data();
    void modeSwitchesShowAndHideTheirControls();
    void modeSwitchesKeepTheResultsAndResize();
    void showingAgainRunsActivationButFocusDoesNot();
    void clockShowsDateAndLongTime();
    void everyControlIsAccessible();
};

void TestForm1::startsInFileTypeModeWithTheDesignLayout() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    QCOMPARE(form.windowTitle(), QStringLiteral("ORVIK  SEARCHER   V 1.00"));
    // Before the first activation the engine tabs and the address box have their design
    // visibility; the activation hides them.
    QVERIFY(!form.SSTab1->isHidden() && !form.Text4->isHidden());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.Option2->isChecked());
    QCOMPARE(form.Combo1->currentText(), QStringLiteral("*.TXT"));
    QVERIFY(form.Text1->isHidden() && form.Combo1->isVisible() && form.List1->isHidden());
    QVERIFY(form.SSTab1->isHidden() && form.Text4->isHidden() && form.Label8->isHidden() &&
            child(form, "PB1")->isHidden());
    QVERIFY(form.Label1->text().isEmpty() && form.Label3->text().isEmpty() && form.Label7->text().isEmpty());
    for (const char* name : kInternetButtons)
        QVERIFY2(child(form, name)->isHidden(), name);
    // The width is the design's; the height is the file modes' 9900 twips.
    QCOMPARE(form.width(), 752);
    QCOMPARE(form.frameGeometry().height(), px(9900));
}

void TestForm1::controlsHaveTheirCaptionsItemsAndTips() {
    FakeServices fake(QDir::tempPath());
    fake.volumes->list.prepend({QStringLiteral("/"), QString()});
    fake.volumes->start = 1;
    Form1 form(fake.services());

    QCOMPARE(form.Combo1->count(), 27);
    QCOMPARE(form.Combo1->itemText(0), QStringLiteral("*.TXT"));
    QCOMPARE(form.Combo1->itemText(14), QStringLiteral("*.PDF"));
    QCOMPARE(form.Combo1->itemText(26), QStringLiteral("*.RM"));
    const QStringList engines = {"Google", "Yahoo", "Msn", "Altavista", "Ask Jeeves", "Lycos"};
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(form.Combo2->itemText(i), engines[i]);
        QCOMPARE(form.SSTab1->tabText(i), engines[i].toUpper());
    }
    QCOMPARE(form.Combo2->currentIndex(), -1);
    QCOMPARE(form.Combo2->currentText(), QStringLiteral("Select Search Engine"));
    QCOMPARE(form.Text1->toolTip(),
             QStringLiteral("Enter File Name alongwith it's extention. i.e : \" filename.ext \""));
    QCOMPARE(form.Drive1->count(), 2);
    QCOMPARE(form.Drive1->currentIndex(), 1); // the volume the drive list starts on
    QCOMPARE(form.Label2->text(), QStringLiteral("Files Found :"));
    QCOMPARE(form.Label6->text(), QStringLiteral("Current File :"));

    const struct {
        const char* name;
        const char* caption;
        const char* tooltip;
    } buttons[] = {
        {"chameleonButton1", "Search", "Start Searching Process"},
        {"chameleonButton7", "Save ", "Save Displayed File List"},
        {"chameleonButton10", "Copy ", "Copy Selected File To Destination"},
        {"chameleonButton12", "Stop ", "Stop Loading All Web Pages !"},
        {"chameleonButton18", "About", "About The Software /  Author"},
        {"chameleonButton13", "Back", "Back To Previous Page"},
    };
    for (const auto& b : buttons) {
        auto* button = qobject_cast<chameleonButton*>(child(form, b.name));
        QCOMPARE(button->Caption(), QString::fromLatin1(b.caption));
        QCOMPARE(button->toolTip(), QString::fromLatin1(b.tooltip));
    }
}

void TestForm1::modeSwitchesShowAndHideTheirControls_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");
    const QStringList labels = {"Label1", "Label2", "Label3", "Label6", "Label7"};
    QStringList fileButtons, internetButtons;
    for (const char* b : kFileButtons)
        fileButtons << QLatin1String(b);
    for (const char* b : kInternetButtons)
        internetButtons << QLatin1String(b);
    QTest::newRow("file name") << "Option1" << fileButtons + labels + QStringList{"Text1", "Drive1"}
                               << internetButtons + QStringList{"Combo1", "Text2", "Combo2", "Text4",
                                                                "SSTab1", "PB1",   "Label8"};
    QTest::newRow("file type") << "Option2" << fileButtons + labels + QStringList{"Combo1", "Drive1"}
                               << internetButtons + QStringList{"Text1",  "Text2", "Combo2", "Text4",
                                                                "SSTab1", "PB1",   "Label8"};
    QTest::newRow("internet") << "Option3"
                              << internetButtons + QStringList{"Text2", "Combo2", "Text4", "SSTab1"}
                              << fileButtons + labels + QStringList{"Text1", "Combo1", "Drive1", "PB1"};
}

void TestForm1::modeSwitchesShowAndHideTheirControls() {
    QFETCH(QString, option);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Start from another mode so that the switch under test really runs.
    (option == QLatin1String("Option3") ? form.Option1 : form.Option3)->click();
    form.findChild<QRadioButton*>(option)->click();
    for (const QString& name : shown)
        QVERIFY2(child(form, name.toLatin1().constData())->isVisible(),
                 qPrintable(name + " should be shown"));
    for (const QString& name : hidden)
        QVERIFY2(child(form, name.toLatin1().constData())->isHidden(),
                 qPrintable(name + " should be hidden"));
    QVERIFY(form.Text3->isHidden());
    QVERIFY(form.Label4->isVisible() && form.Label5->isVisible()); // the clock stays in every mode
}

void TestForm1::modeSwitchesKeepTheResultsAndResize() {
    testsupport::TreeBuilder tree;
    tree.file("one.txt");
    tree.file("two.txt");
    FakeServices fake(tree.root());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option1->click();
    form.Text1->setText(QStringLiteral("*.txt"));
    form.StartSearch();
    form.List1->setListIndex(1);
    const QString status = form.Label1->text();

    form.Option3->click(); // the internet mode's taller window, its tabs over the frame
    QCOMPARE(form.frameGeometry().height(), px(10600));
    QCOMPARE(form.enginePane(3)->height(), px(6650));
    QVERIFY(form.SSTab1->geometry().intersects(form.Frame1->geometry()));

    form.Option1->click();
    QCOMPARE(form.frameGeometry().height(), px(9900));
    QCOMPARE(form.List1->height(), px(6200));
    QVERIFY(form.List1->isVisible());
    QCOMPARE(form.List1->ListCount(), 2);
    QCOMPARE(form.List1->ListIndex(), 1);
    QCOMPARE(form.Label1->text(), status);
    QCOMPARE(form.Text1->text(), QStringLiteral("*.txt"));
}

void TestForm1::showingAgainRunsActivationButFocusDoesNot() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option3->click();

    // Focus coming back from elsewhere is not an activation.
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &deactivate);
    QApplication::sendEvent(&form, &activate);
    form.activateWindow();
    QApplication::processEvents();
    QVERIFY(form.Option3->isChecked());
    QVERIFY(form.SSTab1->isVisible());

    // Hidden (as a dialog does) and shown again: back to file-type mode.
    form.Option1->click();
    form.hide();
    form.show();
    QVERIFY(form.Option2->isChecked());
    QVERIFY(form.Combo1->isVisible());
    QVERIFY(form.Text1->isHidden());
    for (const char* name : kInternetButtons)
        QVERIFY2(child(form, name)->isHidden(), name);
}

void TestForm1::clockShowsDateAndLongTime() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    QTRY_COMPARE(form.Label5->text(), QStringLiteral("Friday , 04 December , 2026 "));
    QCOMPARE(form.Label4->text(), QStringLiteral("9:05:07 AM"));

    fake.clock->time = QDateTime(QDate(2027, 1, 31), QTime(23, 59, 58));
    QTRY_COMPARE(form.Label4->text(), QStringLiteral("11:59:58 PM"));
    QCOMPARE(form.Label5->text(), QStringLiteral("Sunday , 31 January , 2027 "));
}

void TestForm1::everyControlIsAccessible() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option3->click(); // show the internet controls too
    QCOMPARE(QAccessible::queryAccessibleInterface(form.Option3)->text(QAccessible::Name),
             QStringLiteral("Search By Topic On Internet"));
    QCOMPARE(QAccessible::queryAccessibleInterface(form.chameleonButton11)->text(QAccessible::Name),
             QStringLiteral("Search All"));
    // Every control of the window has a name for assistive technology.
    static const QRegularExpression control(
        QStringLiteral("^(Option|Text|Combo|Drive|Label|Frame|List|WB|SSTab|PB|chameleonButton)\\d+$"));
    int checked = 0;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const QString n = w->objectName();
        if (!control.match(n).hasMatch()) continue;
        ++checked;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(iface, qPrintable(n));
        // A label still without a value says at least what it will show.
        const QString said = iface->text(QAccessible::Name) + iface->text(QAccessible::Description);
        QVERIFY2(!said.isEmpty(), qPrintable(n));
        if (!w->toolTip().isEmpty()) QCOMPARE(iface->text(QAccessible::Description), w->toolTip());
    }
    QCOMPARE(checked, 47); // 3 options, 4 text boxes, 2 combo boxes and the drive list, 8 labels,
                           // the frame, the list, 7 panes, the tabs, the bar and 18 buttons
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
