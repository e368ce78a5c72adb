#include "platform/Background.h"

namespace platform {

// A child of the receiver that closes its post when the receiver goes.
class ResultPostKeeper : public QObject {
public:
    ResultPostKeeper(QObject* receiver, std::shared_ptr<ResultPost> post)
        : QObject(receiver), post_(std::move(post)) {
        setObjectName(QStringLiteral("resultPost"));
        post_->receiver_ = receiver;
    }
    ~ResultPostKeeper() override {
        std::lock_guard lock(post_->mutex_);
        post_->receiver_ = nullptr;
    }
    std::shared_ptr<ResultPost> post_;
};

std::shared_ptr<ResultPost> ResultPost::of(QObject* receiver) {
    for (QObject* child : receiver->children())
        if (auto* keeper = dynamic_cast<ResultPostKeeper*>(child)) return keeper->post_;
    auto post = std::make_shared<ResultPost>();
    new ResultPostKeeper(receiver, post);
    return post;
}

} // namespace platform
