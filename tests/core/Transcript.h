#pragma once

// Commands written down as a user lives them: a line for each command and its outcome, then
// everything shown with it (messages with their icon, buttons, default answer and title;
// choosers with their caption and start; file dialogs; progress windows; notices and change
// events). A test compares its transcript with tests/data/<folder>/<suite>.<test>.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "support/EditFixture.h"
#include "support/Golden.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx::test {

inline std::string OneLine(const std::string& text) { return Shorten(text, "\n", "\\n"); }

// What was shown since the last call, which it forgets; the programs' directory shows as
// <programs>, the given one as <dir>.
inline std::string Seen(ScriptedInteraction& ui, const std::string& directory = "") {
    std::string log;
    for (const Message& m : ui.messages)
        log += "  message " + std::to_string(static_cast<int>(m.icon)) + "/" +
               std::to_string(static_cast<int>(m.buttons)) + "/" + std::to_string(static_cast<int>(m.defaultButton)) +
               (m.title.empty() ? "" : " [" + m.title + "]") + ": " + OneLine(m.text) + "\n";
    for (const auto& p : ui.picks)
        log += "  pick " + p.what + " from " + std::to_string(p.start) + (p.caption.empty() ? "" : ", " + p.caption) +
               (p.entries.empty() ? ""
                                  : ", " + std::to_string(p.entries.size()) + " entries " + p.entries.front() + ".." +
                                        p.entries.back()) +
               "\n";
    for (const FileRequest& f : ui.fileRequests)
        log += "  file dialog '" + f.title + "' in '" + f.initialDirectory + "' for '" + f.initialName + "', " +
               f.filter + ", " + f.defaultExtension + (f.mustExist ? ", must exist" : "") + "\n";
    for (const std::string& p : ui.progressTitles) log += "  progress " + p + "\n";
    for (const std::string& e : ui.events) log += "  " + e + "\n";
    ui.fileRequests.clear();
    ui.picks.clear();
    ui.messages.clear();
    ui.progressTitles.clear();
    ui.events.clear();
    return Shorten(Shorten(log, directory, "<dir>"), ProgramDir(), "<programs>");
}

// Compares a test's transcript with its file.
inline void ExpectTranscript(const std::string& folder, const std::string& log) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string file = folder + "/" + info->test_suite_name() + "." + info->name() + ".txt";
    EXPECT_EQ(log, Golden(file, log));
}

class EditTranscript : public EditFixture {
protected:
    void SetUp() override {
        EditFixture::SetUp();
        ui.events.clear();
        ui.progressTitles.clear();
    }
    void TearDown() override {
        if (!log.empty()) ExpectTranscript("edit", log);
    }

    void Seen() { log += test::Seen(ui); }
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
