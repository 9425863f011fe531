#include "core/changes/ChangeFeed.h"

#include <utility>
#include <vector>

namespace vx {

struct ChangeFeed::Subscription::Listeners {
    std::map<int, Listener> byId;
    int nextId = 0;
};

ChangeFeed::Subscription::Subscription(Subscription&& other) noexcept
    : listeners_(std::move(other.listeners_)), id_(std::exchange(other.id_, -1)) {}

ChangeFeed::Subscription& ChangeFeed::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        End();
        listeners_ = std::move(other.listeners_);
        id_ = std::exchange(other.id_, -1);
    }
    return *this;
}

ChangeFeed::Subscription::~Subscription() { End(); }

void ChangeFeed::Subscription::End() {
    if (const auto listeners = listeners_.lock()) listeners->byId.erase(id_);
    listeners_.reset();
    id_ = -1;
}

ChangeFeed::ChangeFeed() : listeners_(std::make_shared<Subscription::Listeners>()) {}

ChangeFeed::Subscription ChangeFeed::Subscribe(Listener listener) {
    const int id = listeners_->nextId++;
    listeners_->byId.emplace(id, std::move(listener));
    return Subscription(listeners_, id);
}

void ChangeFeed::Publish(const SetChange& change) const {
    // A listener may subscribe or end subscriptions (its own too) while it hears a change: those
    // that subscribed before it was published hear it, unless they ended first.
    std::vector<int> ids;
    for (const auto& entry : listeners_->byId) ids.push_back(entry.first);
    for (const int id : ids) {
        const auto found = listeners_->byId.find(id);
        if (found == listeners_->byId.end()) continue;
        const Listener listener = found->second;
        listener(change);
    }
}

}  // namespace vx
