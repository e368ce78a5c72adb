// filelist-bench [DIR] [ENTRIES]: saves and opens a file list of ENTRIES paths of about 80
// bytes (default 1,000,000) through the main window's Save and Open buttons, headless, in a
// temporary folder inside DIR (default: the current folder), and copies the saved document
// with cp on the same disk for comparison. Prints, last, one line:
//   entries=N save_s=S load_s=L cp_s=C worst_gap_ms=G
// Each figure is the median of five runs; save_s and load_s run from the click until the
// window has taken the result and handled every event it left behind (the list shown and laid
// out); worst_gap_ms is the longest the window's event loop went without a turn meanwhile.
// filelist-bench --open DOCUMENT: opens an existing document once (on a slow volume, say) and
// prints entries=N load_s=L worst_gap_ms=G.
// The save is atomic and durable: the new document is flushed to the disk before it takes
// the old one's place. cp does neither; the line before the last gives, for comparison,
// cp followed by flushing the copy to the disk (cp_sync_s).
#include "app/Form1.h"
#include "platform/Clock.h"
#include "platform/DriveList.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "platform/WebPane.h"
#include "search/ResultList.h"
#include "search/ResultListView.h"
#include "support/BenchSupport.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include <unistd.h>

namespace {

class NoVolumes : public platform::DriveList {
public:
    QList<platform::Volume> volumes() const override { return {}; }
    int startIndex(const QList<platform::Volume>&) const override { return -1; }
};

// Clicks through the handler and runs the event loop until the window has done what it started.
void clickAndWait(Form1& form, void (Form1::*handler)()) {
    (form.*handler)();
    while (form.fileActionRunning())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QCoreApplication::processEvents();
}

// Answers every dialog with the one name; counts the message boxes.
class Answers : public platform::FileDialogs, public platform::MessageBoxes {
public:
    QString name;
    int boxes = 0;
    QString openFileName(QWidget*, const QString&, const QString&) override { return name; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override { return name; }
    platform::MessageBoxRequest::Answer show(QWidget*, const platform::MessageBoxRequest& r) override {
        ++boxes;
        std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
        return platform::MessageBoxRequest::Answer::Ok;
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename F> double seconds(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool openOnly = argc > 2 && QByteArray(argv[1]) == "--open";
    const QString base = argc > 1 && !openOnly ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    const int entries = argc > 2 && !openOnly ? std::atoi(argv[2]) : 1000000;

    auto answers = std::make_shared<Answers>();
    platform::Services services;
    services.drives = std::make_shared<NoVolumes>();
    services.clock = std::make_shared<platform::SystemClock>();
    services.messageBoxes = answers;
    services.fileDialogs = answers;
    services.webPanes = std::make_shared<platform::BlankWebPaneFactory>();
    Form1 form(services);
    form.show();
    bench::EventLoopGaps gaps;

    if (openOnly) {
        answers->name = QString::fromLocal8Bit(argv[2]);
        while (!form.laterControlsBuilt()) // the window's start done, before the clock runs
            QCoreApplication::processEvents();
        gaps.start();
        const double loadS = seconds([&] { clickAndWait(form, &Form1::chameleonButton6_Click); });
        std::printf("entries=%d load_s=%.3f worst_gap_ms=%.1f\n", form.List1->ListCount(), loadS,
                    gaps.stop());
        return answers->boxes == 0 ? 0 : 1;
    }
    QTemporaryDir dir(base + QStringLiteral("/filelist-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder in %s\n", qPrintable(base));
        return 2;
    }

    // Paths of 80 bytes: 1,000 folders of 1,000 files.
    search::ResultList& list = *form.List1->entries();
    for (int i = 0; i < entries; ++i) {
        if (i % 1000 == 0) {
            char folder[64];
            std::snprintf(folder, sizeof folder, "/home/someone/Documents/projects/archive-%04d/reports",
                          i / 1000);
            list.setFolder(folder);
        }
        char name[64];
        std::snprintf(name, sizeof name, "quarterly-report-%07d.txt", i);
        list.appendName(name);
    }
    list.flush();
    QCoreApplication::processEvents();

    const QString document = dir.filePath(QStringLiteral("list.f4u"));
    const QString copy = dir.filePath(QStringLiteral("copy.f4u"));
    std::vector<double> save, load, cp, cpSync, gap;
    for (int run = 0; run < 5; ++run) {
        answers->name = document;
        gaps.start();
        save.push_back(seconds([&] { clickAndWait(form, &Form1::chameleonButton7_Click); }));
        const double saveGap = gaps.stop();
        cp.push_back(seconds([&] {
            QFile::remove(copy);
            QProcess::execute(QStringLiteral("cp"), {document, copy});
        }));
        cpSync.push_back(cp.back() + seconds([&] {
                             QFile f(copy);
                             if (f.open(QIODevice::ReadWrite)) ::fdatasync(f.handle());
                         }));
        gaps.start();
        load.push_back(seconds([&] { clickAndWait(form, &Form1::chameleonButton6_Click); }));
        const double loadGap = gaps.stop();
        std::fprintf(stderr, "gaps %.1f %.1f\n", saveGap, loadGap);
        gap.push_back(std::max(saveGap, loadGap));
        if (form.List1->ListCount() != entries) {
            std::fprintf(stderr, "loaded %d of %d entries\n", form.List1->ListCount(), entries);
            return 1;
        }
    }
    const qint64 bytes = QFileInfo(document).size();
    std::printf("document_bytes=%lld bytes_per_entry=%.1f cp_sync_s=%.3f\n", bytes, double(bytes) / entries,
                median(cpSync));
    std::printf("entries=%d save_s=%.3f load_s=%.3f cp_s=%.3f worst_gap_ms=%.1f\n", entries, median(save),
                median(load), median(cp), median(gap));
    return answers->boxes == 0 ? 0 : 1;
}
