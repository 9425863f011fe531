#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>
#include <vector>

#include "core/changes/ChangeFeed.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"
#include "support/ScriptedInteraction.h"

namespace vx {
namespace {

using B = std::vector<std::uint8_t>;

TEST(Helpers, PathsAcceptBothSeparators) {
    std::string names, parents;
    for (const char* path : {"C:\\SETS\\LIVE.SET", "C:\\SETS\\LIVE.SET\\LIVE", "C:LIVE", "/home/u/sets/live.set",
                             "/home/u/sets/LIVE.SET/LIVE", "sets/Demo.Set", "LIVE", ""})
        names += SetNameFromPath(path) + "|";
    EXPECT_EQ(names, "LIVE|LIVE|LIVE|live|LIVE|Demo|LIVE||");
    for (const char* path :
         {"C:\\SETS\\LIVE.SET\\LIVE", "/home/u/sets/LIVE.SET/LIVE", "C:\\SETS/LIVE.SET\\LIVE", "/LIVE", "LIVE"})
        parents += ParentDirOf(path) + "|";
    EXPECT_EQ(parents, "C:\\SETS\\LIVE.SET|/home/u/sets/LIVE.SET|C:\\SETS/LIVE.SET|||");
}

TEST(Helpers, NoteLabelsTextsAndWords) {
    const std::pair<int, const char*> notes[] = {{0, "C-1"},  {11, "B-1"}, {12, "C0"}, {60, "C4"},
                                                 {70, "A#4"}, {127, "G9"}, {-1, ""},   {128, ""}};
    for (const auto& [key, label] : notes) EXPECT_EQ(NoteLabel(key), label) << key;
    EXPECT_EQ(HexDump(B{0x0A, 0x00, 0xFF}) + ToUpper("/tmp/live.set/Live.arr"), "0A 00 FF /TMP/LIVE.SET/LIVE.ARR");
    EXPECT_EQ(TrimBlanks("  Piano  1   ") + "|" + TrimBlanks("                "), "Piano  1|");
}

TEST(Helpers, UpperCasingChangesAsciiLettersOnlyWhateverTheLocale) {
    // Under a single-byte locale the C library would upper-case bytes of UTF-8 letters too.
    for (const char* locale : {"C", "de_DE.ISO-8859-1", "en_US.ISO-8859-1", "C.UTF-8"}) {
        if (!std::setlocale(LC_CTYPE, locale)) continue;
        EXPECT_EQ(ToUpper("\xC3\xBC"
                          "ber.set \xE2\x82\xAC \xE9t\xE9"),
                  "\xC3\xBC"
                  "BER.SET \xE2\x82\xAC \xE9T\xE9")
            << locale;
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(KindErrors, TextsAndMessageBoxes) {
    EXPECT_EQ(
        EditErrorText(ItemKind::KbdSet, "") + "|" + EditErrorText(ItemKind::Song, "y"),
        "Error editing KBD Set data.\n\nDon't save this Set to disk!|Error editing Song data.\ny\nDon't save this "
        "Set to disk!");
    test::ScriptedInteraction ui;
    ShowLoadError(ui, ItemKind::ArrangementGlobal, "x");
    ShowSaveError(ui, ItemKind::Global, "");
    ShowError(ui, "plain");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Error getting Arrangement Global data.\nx",
                                                    "Error saving Global data.\n", "plain"}));
    for (const Message& m : ui.messages)
        EXPECT_TRUE(m.title == "Error" && m.icon == MessageIcon::Critical && m.buttons == MessageButtons::OK) << m.text;
}

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
