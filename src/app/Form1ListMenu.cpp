// The result list's menu on an entry (right click, the Menu key or Shift+F10), beyond
// the buttons: Open with the desktop's application, Open Containing Folder, Copy Path, then
// the buttons' own Show, Copy, Delete and File Info. Dragging an entry out hands over the
// same forms as Copy Path (the result list gives them to the drag).
#include "app/Form1.h"

#include "filelist/BlockedTypes.h"
#include "filelist/FileActions.h"
#include "platform/Background.h"
#include "platform/DesktopFiles.h"
#include "platform/MessageBoxes.h"
#include "search/ResultListView.h"

#include <QKeyEvent>
#include <QMenu>

void Form1::connectListMenu() {
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QWidget::customContextMenuRequested, this, &Form1::List1_ContextMenu);
    List1->installEventFilter(this);
    listMenu_ = new QMenu(this);
    listMenu_->setObjectName(QStringLiteral("List1Menu"));
    const std::pair<QString, void (Form1::*)()> items[] = {
        {QStringLiteral("&Open"), &Form1::List1Menu_Open},
        {QStringLiteral("Open Containing &Folder"), &Form1::List1Menu_OpenFolder},
        {QStringLiteral("Copy &Path"), &Form1::List1Menu_CopyPath},
        {QString(), nullptr},
        {QStringLiteral("&Show"), &Form1::chameleonButton2_Click},
        {QStringLiteral("&Copy"), &Form1::chameleonButton10_Click},
        {QStringLiteral("&Delete"), &Form1::chameleonButton9_Click},
        {QStringLiteral("File &Info"), &Form1::chameleonButton17_Click},
    };
    for (const auto& [text, handler] : items) {
        if (!handler) {
            listMenu_->addSeparator();
            continue;
        }
        // Run from the event loop once the menu has closed, as a button's click would.
        connect(listMenu_->addAction(text), &QAction::triggered, this, handler, Qt::QueuedConnection);
    }
}

bool Form1::List1_KeyPress(QKeyEvent* key) {
    const bool menuKey =
        key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    if (!menuKey) return false;
    const QRect row = List1->visualRect(List1->model()->index(List1->ListIndex(), 0));
    List1_ContextMenu(row.isValid() ? row.center() : QPoint(0, 0));
    return true;
}

void Form1::List1_ContextMenu(const QPoint& at) {
    if (List1->ListIndex() < 0) return; // the menu acts on the selected entry
    listMenu_->popup(List1->viewport()->mapToGlobal(at));
}

void Form1::List1Menu_Open() {
    const QString entry = List1->List(List1->ListIndex());
    if (openingWithDesktop_ || !filelist::MayOpenWithDesktop(*services_.messageBoxes, this, entry)) return;
    openingWithDesktop_ = true; // the file is looked at off the window's thread; Open waits for it
    platform::runInBackground(
        this, [entry] { return filelist::OpenRefusal(entry); },
        [this, entry](const QString& refusal) {
            openingWithDesktop_ = false;
            if (refusal.isEmpty()) {
                services_.desktopFiles->open(entry);
                return;
            }
            platform::MessageBoxRequest box;
            box.title = QString::fromLatin1(filelist::kShowTitle);
            box.text = refusal;
            services_.messageBoxes->show(this, box);
        });
}

void Form1::List1Menu_OpenFolder() {
    services_.desktopFiles->showInFolder(List1->List(List1->ListIndex()));
}

void Form1::List1Menu_CopyPath() {
    services_.desktopFiles->copyPath(List1->List(List1->ListIndex()));
}
