// search-bench TREE: runs the main window's local search headless on TREE and compares
// it with GNU find on the same tree. Prints, last, one line:
//   entries=N find_entries=N search_s=S find_s=S ratio=R worst_gap_ms=G bytes_per_entry=B
// search_s and find_s are medians of three warm runs of a '*.txt' search; worst_gap_ms is
// the longest time the window's event loop went without a turn during those searches;
// bytes_per_entry is the peak memory growth of a '*' search divided by its entries.
#include "app/Form1.h"
#include "platform/AppSetup.h"
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/WebPane.h"
#include "search/ResultListView.h"
#include "search/VolumeMemory.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class TreeVolume : public platform::DriveList {
public:
    explicit TreeVolume(QString root) : root_(std::move(root)) {}
    QList<platform::Volume> volumes() const override { return {{root_, QStringLiteral("bench")}}; }
    int startIndex(const QList<platform::Volume>&) const override { return 0; }

private:
    QString root_;
};

void resetPeakMemory() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct FindRun {
    double seconds;
    int entries;
};

FindRun runFind(const QString& tree) {
    QProcess find;
    QElapsedTimer t;
    t.start();
    find.start(QStringLiteral("find"), {tree, QStringLiteral("-iname"), QStringLiteral("*.txt")});
    find.waitForFinished(-1);
    const double s = t.nsecsElapsed() / 1e9;
    return {s, int(find.readAllStandardOutput().count('\n'))};
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: search-bench TREE\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::prepareApplication();
    QApplication app(argc, argv);
    const QString tree = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    // The walk itself is measured: every search walks (index-bench measures the answers from memory).
    search::VolumeMemory::shared().setEnabled(false);
    if (!QFileInfo(tree).isDir()) {
        std::fprintf(stderr, "search-bench: %s is not a folder\n", argv[1]);
        return 2;
    }

    platform::Services services;
    services.drives = std::make_shared<TreeVolume>(tree);
    services.clock = std::make_shared<platform::SystemClock>();
    services.messageBoxes = std::make_shared<platform::QtMessageBoxes>();
    services.fileDialogs = std::make_shared<platform::QtFileDialogs>();
    services.webPanes = std::make_shared<platform::BlankWebPaneFactory>();
    Form1 form(services);
    form.show();
    QApplication::processEvents();

    bench::EventLoopGaps gaps;
    const auto search = [&form] { // the search runs on a thread of its own; the window goes on meanwhile
        form.chameleonButton1_Click();
        while (form.isSearching()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };

    runFind(tree); // warms the cache for both

    // Memory: a search that lists every file.
    form.Option2->setChecked(true);
    form.Combo1->setEditText(QStringLiteral("*"));
    const long rssBefore = bench::statusKb("VmRSS");
    resetPeakMemory();
    search();
    QApplication::processEvents(); // the list lays out and paints its entries
    const long peak = bench::statusKb("VmHWM");
    const int allEntries = form.List1->ListCount();
    const double bytesPerEntry = allEntries > 0 ? (peak - rssBefore) * 1024.0 / allEntries : 0;
    // The same search again with the list on the screen, for the window's pauses while
    // a long list grows.
    gaps.start();
    search();
    QApplication::processEvents();
    const double allWorstGapMs = gaps.stop();
    form.chameleonButton8_Click(); // Clear

    // Time: '*.txt' searches against find.
    form.Combo1->setEditText(QStringLiteral("*.txt"));
    search(); // once untimed, so that every timed run starts with the list shown
    std::vector<double> searchTimes, findTimes;
    int entries = 0, findEntries = 0;
    double worstGapMs = 0;
    for (int run = 0; run < 3; ++run) {
        gaps.start();
        QElapsedTimer t;
        t.start();
        search();
        QApplication::processEvents(); // what the search left to lay out belongs to it
        searchTimes.push_back(t.nsecsElapsed() / 1e9);
        worstGapMs = std::max(worstGapMs, gaps.stop());
        entries = form.List1->ListCount();
        const FindRun f = runFind(tree);
        findTimes.push_back(f.seconds);
        findEntries = f.entries;
    }
    const double searchS = median(searchTimes), findS = median(findTimes);
    std::printf("all_entries=%d peak_growth_kb=%ld all_worst_gap_ms=%.1f\n", allEntries, peak - rssBefore,
                allWorstGapMs);
    std::printf("entries=%d find_entries=%d search_s=%.3f find_s=%.3f ratio=%.2f worst_gap_ms=%.1f "
                "bytes_per_entry=%.0f\n",
                entries, findEntries, searchS, findS, searchS / findS, worstGapMs, bytesPerEntry);
    return entries == findEntries ? 0 : 1;
}
