#include "search/EntryFeed.h"

#include "search/ResultList.h"

namespace search {

void EntryFeed::add(char kind, std::string_view bytes) {
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [&] { return stopped_ || waiting_.size() < kMaxWaitingBytes; });
    if (stopped_) return;
    (waiting_ += kind).append(bytes) += '\0';
}

void EntryFeed::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        waiting_.clear();
    }
    taken_.notify_all();
}

bool EntryFeed::takeInto(ResultList& list, int budgetUs) {
    if (takenTo_ >= taking_.size()) {
        taking_.clear();
        takenTo_ = 0;
        {
            std::lock_guard lock(mutex_);
            taking_.swap(waiting_);
        }
        taken_.notify_all();
    }
    QElapsedTimer clock;
    clock.start();
    for (int n = 0; takenTo_ < taking_.size(); ++n) {
        if ((n & 63) == 63 && clock.nsecsElapsed() >= qint64(budgetUs) * 1000) break;
        const size_t end = taking_.find('\0', takenTo_ + 1);
        const std::string_view bytes(taking_.data() + takenTo_ + 1, end - takenTo_ - 1);
        switch (taking_[takenTo_]) {
        case kFolder:
            list.setFolder(bytes);
            break;
        case kName:
            list.appendName(bytes);
            break;
        default:
            list.appendBytes(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
        }
        takenTo_ = end + 1;
    }
    list.flush();
    if (takenTo_ < taking_.size()) return true;
    std::lock_guard lock(mutex_);
    return !waiting_.empty();
}

} // namespace search
