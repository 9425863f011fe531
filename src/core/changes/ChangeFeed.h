#pragma once

#include <functional>
#include <map>
#include <memory>

#include "core/changes/SetChange.h"

namespace vx {

// Where the core tells whoever shows a set what changed in it. Listeners hear every change in
// the order they subscribed; a subscription ends when its handle goes, before or after the feed.
class ChangeFeed {
public:
    using Listener = std::function<void(const SetChange&)>;

    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept;
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription();

    private:
        friend class ChangeFeed;
        struct Listeners;
        Subscription(std::weak_ptr<Listeners> listeners, int id) : listeners_(std::move(listeners)), id_(id) {}
        void End();

        std::weak_ptr<Listeners> listeners_;
        int id_ = -1;
    };

    ChangeFeed();

    [[nodiscard]] Subscription Subscribe(Listener listener);
    void Publish(const SetChange& change) const;

private:
    std::shared_ptr<Subscription::Listeners> listeners_;
};

}  // namespace vx
