#pragma once

#include "search/EntryFeed.h"

#include <QObject>

#include <functional>
#include <memory>

class QTimer;

namespace search {

class ResultList;

// Work that fills the result list from a thread of its own (a search, a document read): the thread
// adds what it finds to a feed, and the window's thread takes it into the list at the pace the
// list's views catch up, a few milliseconds of each turn at the most, never waiting on the file
// system. A stopped job is abandoned, not waited for: its thread ends when its work next looks,
// or never if the file system hangs, and no longer touches anything of the window's.
class FeedJob : public QObject {
    Q_OBJECT
public:
    // The longest the window's thread spends adding found entries to the list in one turn.
    static constexpr int kTakeBudgetUs = 2000;

    explicit FeedJob(ResultList* list, QObject* parent = nullptr);
    ~FeedJob() override; // stops the job

    bool running() const { return state_ != nullptr; }
    // Abandons a running job: no more entries, no end. Nothing when none runs.
    void stop();

protected:
    // Runs work on a thread of its own; it adds to feed, and returns whether it ran to its end.
    // The window takes what it found every takeEveryMs (0: at every turn of its event loop).
    void startWork(std::function<bool(EntryFeed& feed)> work, int takeEveryMs);
    // After each time the window took what was found.
    virtual void took() {}
    // The work ran to its end and everything it found is in the list; the job no longer runs.
    virtual void ended() = 0;

private:
    struct State;
    void take();

    ResultList* list_;
    QTimer* timer_;
    std::shared_ptr<State> state_; // while work runs
};

} // namespace search
