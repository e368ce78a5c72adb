// list-bench [ENTRIES]: adds ENTRIES (default 1,000,000) paths of about 80 bytes to the
// result list of the main window, headless, the way the local search does: folder by
// folder, the window given its turn at the walk's yields and the views told of the new
// entries at most every refresh interval, as the search tells them. Prints last:
//   entries=N add_s=S worst_gap_ms=G bytes_per_entry=B scroll_ms=M
// add_s: from the first entry to the list laid out with all of them; worst_gap_ms: the
// longest time the event loop went without a turn meanwhile; bytes_per_entry: resident
// memory growth divided by the entries; scroll_ms: the longest repaint after jumping to
// the end and to the middle of the list.
#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/WebPane.h"
#include "search/FolderWalk.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class NoVolumes : public platform::DriveList {
public:
    QList<platform::Volume> volumes() const override {
        return {{QStringLiteral("/"), QStringLiteral("root")}};
    }
    int startIndex(const QList<platform::Volume>&) const override { return 0; }
};

// Folders of about 55 bytes with 1 to 40 files each, names of about 25 bytes.
const char* const kParts[] = {"archive", "projects", "photos", "holiday", "documents", "music",
                              "backup",  "reports",  "2019",   "2023",    "source",    "drafts"};

std::string folderName(unsigned n) {
    std::string f = "/home/user";
    while (f.size() < 50) {
        f += '/';
        f += kParts[n % 12];
        n = n / 12 + n * 7 + 3;
    }
    return f;
}

} // namespace

int main(int argc, char* argv[]) {
    const int total = argc > 1 ? std::atoi(argv[1]) : 1000000;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::prepareApplication();
    QApplication app(argc, argv);

    platform::Services services;
    services.drives = std::make_shared<NoVolumes>();
    services.clock = std::make_shared<platform::SystemClock>();
    services.messageBoxes = std::make_shared<platform::QtMessageBoxes>();
    services.fileDialogs = std::make_shared<platform::QtFileDialogs>();
    services.webPanes = std::make_shared<platform::BlankWebPaneFactory>();
    Form1 form(services);
    form.show();
    form.List1->show(); // the list is on the screen while it grows, as after a first search
    QApplication::processEvents();
    search::ResultList* list = form.List1->entries();

    bench::EventLoopGaps gaps;

    const long rssBefore = bench::statusKb("VmRSS");
    const int sliceMs = search::FolderWalk::kDefaultYieldIntervalMs;
    const int refreshMs = search::ResultList::kViewRefreshMs;
    size_t bytes = 0;
    QElapsedTimer t, slice, sinceRefresh;
    t.start();
    slice.start();
    sinceRefresh.start();
    gaps.start();
    unsigned folder = 0;
    for (int added = 0; added < total; ++folder) {
        const std::string path = folderName(folder);
        list->setFolder(path);
        const int files = 1 + int((folder * 2654435761u) >> 27); // 1 to 32
        for (int i = 0; i < files && added < total; ++i, ++added) {
            char name[64];
            const int len = std::snprintf(name, sizeof name, "picture-%07u-%02d-final.jpg", folder, i);
            list->appendName(std::string_view(name, size_t(len)));
            bytes += path.size() + 1 + size_t(len);
            // The walk's yield after every file it lists, passed on once a slice is over.
            if (slice.elapsed() >= sliceMs) {
                if (sinceRefresh.elapsed() >= refreshMs) {
                    list->flush();
                    sinceRefresh.start();
                }
                QApplication::processEvents();
                slice.start();
            }
        }
    }
    list->flush();
    QApplication::processEvents();
    const double addS = t.nsecsElapsed() / 1e9;
    const double worstGapMs = gaps.stop();
    const long rssAfter = bench::statusKb("VmRSS");
    const int entries = list->count();

    // Jumps, each timed until the list has painted what it then shows.
    QScrollBar* bar = form.List1->verticalScrollBar();
    double scrollMs = 0;
    for (int round = 0; round < 3; ++round) {
        for (const int target : {bar->maximum(), bar->maximum() / 2, 0, bar->maximum() / 2 + 7}) {
            QElapsedTimer s;
            s.start();
            bar->setValue(target);
            form.List1->viewport()->repaint();
            QApplication::processEvents();
            scrollMs = std::max(scrollMs, s.nsecsElapsed() / 1e6);
        }
    }
    const QString middle = form.List1->indexAt(QPoint(2, 2)).data().toString();

    // Type to find: the slowest of several key presses, each timed until the list has
    // painted the entry it moved to; those that match nothing look at every entry.
    double findKeyMs = 0;
    form.List1->setListIndex(entries / 2);
    for (const char* keys : {"q", "p", "z", "pi", "x", "picture-0999"}) {
        QElapsedTimer pause; // each a new prefix
        pause.start();
        while (pause.elapsed() < QGuiApplication::styleHints()->keyboardInputInterval() + 20)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        for (const char* k = keys; *k; ++k) {
            QElapsedTimer s;
            s.start();
            QKeyEvent press(QEvent::KeyPress, QChar(*k).toUpper().unicode(), Qt::NoModifier,
                            QString(QChar(*k)));
            QApplication::sendEvent(form.List1, &press);
            form.List1->viewport()->repaint();
            QApplication::processEvents();
            findKeyMs = std::max(findKeyMs, s.nsecsElapsed() / 1e6);
        }
    }

    std::printf("average_entry_bytes=%.0f shown_at_top=%s\n", double(bytes) / entries, qPrintable(middle));
    std::printf(
        "entries=%d add_s=%.3f worst_gap_ms=%.1f bytes_per_entry=%.0f scroll_ms=%.1f find_key_ms=%.1f\n",
        entries, addS, worstGapMs, (rssAfter - rssBefore) * 1024.0 / entries, scrollMs, findKeyMs);
    return entries == total ? 0 : 1;
}
