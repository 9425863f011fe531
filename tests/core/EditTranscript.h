#pragma once

// Edit commands written down as a user lives them: a line for each command and its outcome,
// then everything shown with it (messages with their icon, buttons and default answer; choosers
// with their caption and start; notices and change events). A test ends by comparing its
// transcript with tests/data/edit/<test>.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "support/EditFixture.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"

namespace vx::test {

class EditTranscript : public EditFixture {
protected:
    void SetUp() override {
        EditFixture::SetUp();
        ui.events.clear();
    }
    void TearDown() override {
        if (log.empty()) return;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string file = "edit/" + std::string(info->test_suite_name()) + "." + info->name() + ".txt";
        EXPECT_EQ(log, Golden(file, log));
    }

    static std::string OneLine(std::string text) {
        for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.replace(at, 1, "\\n");
        return text;
    }
    // Takes down what was shown since the last line.
    void Seen() {
        for (const Message& m : ui.messages) {
            log += "  message " + std::to_string(static_cast<int>(m.icon)) + "/" +
                   std::to_string(static_cast<int>(m.buttons)) + "/" + std::to_string(static_cast<int>(m.defaultButton)) +
                   (m.title.empty() ? "" : " [" + m.title + "]") + ": " + OneLine(m.text) + "\n";
        }
        for (const auto& p : ui.picks)
            log += "  pick " + p.what + " from " + std::to_string(p.start) + (p.caption.empty() ? "" : ", " + p.caption) +
                   (p.entries.empty() ? "" : ", " + std::to_string(p.entries.size()) + " entries " + p.entries.front() +
                                                 ".." + p.entries.back()) +
                   "\n";
        for (const std::string& e : ui.events) log += "  " + e + "\n";
        ui.messages.clear();
        ui.picks.clear();
        ui.events.clear();
    }
    // A command's line: what it was, and done or the reason it was refused.
    bool Note(const std::string& what, const EditResult& result) {
        log += what + ": " + (result.done ? std::string("done") : OneLine(result.reason)) + "\n";
        Seen();
        return result.done;
    }
    // A state worth a line of its own.
    template <typename T>
    void Show(const std::string& what, const std::vector<T>& values) {
        log += what + ":";
        for (const T& v : values) {
            if constexpr (std::is_same_v<T, std::string>)
                log += " [" + v + "]";
            else
                log += " " + std::to_string(v);
        }
        log += "\n";
    }

    // What the kind's clipboard holds and its Undo record.
    void ShowHeld(ItemKind kind) {
        const Clipboard& held = scheme->ClipboardOf(kind);
        std::string name;
        if (held.item && EditableKindOf(kind)->ValidSlot(held.slot)) {
            SetData scratch = EmptySet();
            EditableKindOf(kind)->Write(scratch, held.slot, *held.item);
            name = SlotName(*EditableKindOf(kind), scratch, held.slot);
        }
        const UndoRecord& undo = scheme->UndoOf(kind);
        log += "  held " + std::string(KindName(kind)) + ": set " + std::to_string(held.set) + " slot " +
               std::to_string(held.slot) + " [" + name + "], undo " + std::to_string(undo.op) + " in set " +
               std::to_string(undo.set) + "\n";
    }
    void ShowDirty(int set) {
        log += "  dirty " + std::to_string(set) + ":";
        for (const bool dirty : session->Slot(set).dirty) log += dirty ? " 1" : " 0";
        log += "\n";
    }

    std::string log;
};

}  // namespace vx::test
