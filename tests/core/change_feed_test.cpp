#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/changes/ChangeFeed.h"

namespace vx {
namespace {

// Listeners hear a change in the order they subscribed; one may end a subscription, its own
// or a later one's, while it hears it, and a subscription may outlive its feed.
TEST(ChangeFeed, ListenersHearInOrderAndMayLeaveWhileTheyHear) {
    std::vector<std::string> heard;
    std::optional<ChangeFeed::Subscription> second;
    ChangeFeed::Subscription outlives;
    {
        ChangeFeed feed;
        ChangeFeed::Subscription first = feed.Subscribe([&](const SetChange& change) {
            heard.push_back("first " + std::to_string(change.set));
            if (change.set == 2) second.reset();
        });
        second =
            feed.Subscribe([&](const SetChange& change) { heard.push_back("second " + std::to_string(change.set)); });
        outlives = feed.Subscribe([&](const SetChange& change) {
            heard.push_back("third " + std::to_string(change.item));
            if (change.set == 3) first = {};
        });
        feed.Publish(SetChange::Item(1, ItemKind::Song, 5));
        feed.Publish(SetChange::Item(2, ItemKind::Song, 6));
        feed.Publish(SetChange::Kind(3, ItemKind::Song));
        feed.Publish(SetChange::Kind(4, ItemKind::Song));
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"first 1", "second 1", "third 5", "first 2", "third 6", "first 3",
                                               "third -1", "third -1"}));
    EXPECT_TRUE(SetChange::Kinds(1, AllSetKinds()).Names(ItemKind::Global));
    EXPECT_FALSE(SetChange::Kind(1, ItemKind::Song).Names(ItemKind::BackingSequence));
}

}  // namespace
}  // namespace vx
