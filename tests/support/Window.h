#pragma once

// The main window with scripted services, shown, as every window test drives it: clicks on its
// buttons, the list's entries, documents opened and saved through its dialogs, what its labels say.
#include "app/Form1.h"
#include "search/ResultListView.h"
#include "support/FakeServices.h"
#include "support/FileBytes.h"
#include "widgets/button/chameleonButton.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

// A viewer or engine pane that records where it was sent, and every call made of any pane in one
// log ("WB4 Navigate <address>", "WB2 Stop", ...); the location is set by the test.
class RecordingPane : public platform::WebPane {
public:
    RecordingPane(std::shared_ptr<QStringList> log, QWidget* parent)
        : WebPane(parent), log_(std::move(log)) {}
    QStringList navigated;
    QString location;
    void Navigate(const QString& address) override { navigated << address, record("Navigate " + address); }
    void Stop() override { record("Stop"); }
    bool GoBack() override { return record("GoBack"); }
    bool GoForward() override { return record("GoForward"); }
    QString LocationURL() const override { return record("LocationURL"), location; }

private:
    bool record(const QString& what) const { return log_->append(objectName() + ' ' + what), false; }
    std::shared_ptr<QStringList> log_;
};
struct RecordingPanes : platform::WebPaneFactory {
    std::shared_ptr<QStringList> log = std::make_shared<QStringList>();
    platform::WebPane* create(QWidget* parent) override { return new RecordingPane(log, parent); }
};

inline void click(QWidget* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

// The shown top-level window of type W (a dialog the main window opened), if any.
template <typename W> W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
}

struct Window {
    QTemporaryDir dir; // for the documents a test opens and saves
    FakeServices fake;
    std::shared_ptr<RecordingPanes> panes = std::make_shared<RecordingPanes>();
    std::unique_ptr<Form1> form;

    // Recording panes (what viewer() and pane() return), unless others are given.
    explicit Window(const QString& root = QString(),
                    std::shared_ptr<platform::WebPaneFactory> realPanes = nullptr)
        : fake(root) {
        fake.webPanes = realPanes ? realPanes : panes;
        form = std::make_unique<Form1>(fake.services());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QVERIFY(QTest::qWaitFor([this] { return form->laterControlsBuilt(); })); // after the first paint
    }
    Form1* operator->() const { return form.get(); }
    RecordingPane* viewer() const { return static_cast<RecordingPane*>(form->WB1); }
    RecordingPane* pane(int engine) const { return static_cast<RecordingPane*>(form->enginePane(engine)); }
    QStringList takeLog() { return std::exchange(*panes->log, {}); }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < form->List1->ListCount(); ++i)
            out << form->List1->List(i);
        return out;
    }

    // A file-type search as a user runs it: type the pattern, click Search, wait for its end.
    QStringList search(const QString& pattern, int timeoutMs = 10000) {
        form->Option2->click();
        form->Combo1->setEditText(pattern);
        click(form->chameleonButton1);
        if (!QTest::qWaitFor([this] { return !form->isSearching(); }, timeoutMs))
            return {"<still searching>"};
        return entries();
    }

    // Until what the last click started off the window's thread is over.
    void settle() {
        QVERIFY(QTest::qWaitFor([this] { return !form->fileActionRunning(); }));
    }

    // Open and Save, their dialogs answering with the given name.
    void openFile(const QString& name) {
        fake.fileDialogs->openAnswers = {name};
        click(form->chameleonButton6);
        settle();
    }

    void saveAs(const QString& name) {
        fake.fileDialogs->saveAnswers = {name};
        click(form->chameleonButton7);
        settle();
    }

    // Writes the document and opens it through the Open button.
    void open(const QByteArray& document, const QString& name = "list.f4u") {
        writeBytes(path(name), document);
        openFile(path(name));
    }

    void loadEntries(int count) { // "/files/f1.txt" ... "/files/f<count>.txt"
        QByteArray document;
        for (int i = 1; i <= count; ++i)
            document += "/files/f" + QByteArray::number(i) + ".txt\r\n";
        open(document);
    }

    void clickRow(int row, bool twice = false) {
        const QPoint at = form->List1->visualRect(form->List1->model()->index(row, 0)).center();
        QTest::mouseClick(form->List1->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(form->List1->viewport(), Qt::LeftButton, {}, at);
    }

    void select(const QString& entry) { form->List1->setListIndex(int(entries().indexOf(entry))); }
    // Status line, count and position as the user reads them, and which of list and viewer shows.
    QString labels() const {
        return form->Label1->text() + '|' + form->Label3->text() + '|' + form->Label7->text() +
               (form->List1->isVisible() ? " list" : "") + (form->WB1->isVisible() ? " viewer" : "");
    }

    // Clicks each step's button and compares what the labels then say, and the boxes shown meanwhile;
    // returns the steps that differ, as "step N: labels | boxes".
    struct Step {
        QWidget* button;
        QString labels;
        QStringList boxes = {};
    };
    QString steps(const QList<Step>& steps) {
        QStringList out;
        for (int i = 0; i < steps.size(); ++i) {
            click(steps[i].button);
            settle();
            if (const QStringList boxes = takeBoxes(); labels() != steps[i].labels || boxes != steps[i].boxes)
                out << QStringLiteral("step %1: %2 | %3").arg(i + 1).arg(labels(), boxes.join(" / "));
        }
        return out.join('\n');
    }
    QStringList takeBoxes() { return fake.messageBoxes->take(); }
};

} // namespace testsupport
