// The main window's Delete, Copy, File Info and About buttons, driven through the
// real window with scripted message boxes, file dialogs and desktop.
#include "about/Form2.h"
#include "app/Form1.h"
#include "support/FakeServices.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>

using testsupport::FakeServices;

namespace {

void click(chameleonButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

// The window is back in file-type mode, as every activation leaves it.
void verifyFileTypeMode(Form1& form) {
    QVERIFY(form.isVisible());
    QVERIFY(form.Option2->isChecked());
    QVERIFY(form.Combo1->isVisible());
    QVERIFY(form.Text1->isHidden());
}

} // namespace

class TestForm1FileActions : public QObject {
    Q_OBJECT
private slots:
    void aboutHidesTheWindowUntilItsCloseBringsItBack();
};

void TestForm1FileActions::aboutHidesTheWindowUntilItsCloseBringsItBack() {
    FakeServices fake(QDir::tempPath());
    Form1 form(fake.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Option1->click(); // file-name mode

    click(form.chameleonButton18);
    QPointer<Form2> about = openWindow<Form2>();
    QVERIFY(about);
    QVERIFY(form.isHidden());
    QVERIFY(!about->isModal());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(fake.messageBoxes->shown.isEmpty());

    click(about->Command3);
    verifyFileTypeMode(form);
    QTRY_VERIFY(about.isNull());

    // Each click opens a fresh window.
    click(form.chameleonButton18);
    QVERIFY(openWindow<Form2>());
    click(openWindow<Form2>()->Command3);
    QVERIFY(form.isVisible());
}

QTEST_MAIN(TestForm1FileActions)
#include "tst_form1_fileactions.moc"
