#pragma once

#include <QObject>

#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace platform {

// Where work done off the window's thread hands its results back: the thread of a receiving
// object, for as long as that object lives. An answer that comes after the receiver is gone
// reaches no one.
class ResultPost {
public:
    // The post of receiver, made with it the first time (a child of it, gone with it).
    static std::shared_ptr<ResultPost> of(QObject* receiver);

    // Runs deliver on the receiver's thread, from its event loop, unless the receiver is gone.
    template <typename Deliver> void post(Deliver deliver) {
        std::lock_guard lock(mutex_);
        if (receiver_)
            QMetaObject::invokeMethod(
                receiver_, [call = std::make_shared<Deliver>(std::move(deliver))] { (*call)(); },
                Qt::QueuedConnection);
    }

private:
    friend class ResultPostKeeper;
    std::mutex mutex_;
    QObject* receiver_ = nullptr;
};

// Runs work() on a thread of its own and done(result) on receiver's thread once it returns, if
// receiver still lives then. The thread is never waited for: a file system that hangs holds that
// thread alone, never the window. work runs with nothing of the window's; what it needs goes in
// by value.
template <typename Work, typename Done> void runInBackground(QObject* receiver, Work work, Done done) {
    std::thread([post = ResultPost::of(receiver), work = std::move(work), done = std::move(done)]() mutable {
        auto result = work();
        post->post(
            [done = std::move(done), result = std::move(result)]() mutable { done(std::move(result)); });
    }).detach();
}

} // namespace platform
