#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"
#include "support/ScriptedInteraction.h"

namespace vx::test {

// Sets LIVE (1) and GIGS (2) as new sets make them, an edit scheme over them, and the commands
// as the menus and drag and drop give them.
class EditFixture : public ::testing::Test {
protected:
    void SetUp() override;

    SetData& Data(int set) { return session->Data(set); }
    // Erase Bank is given confirmed.
    EditResult Do(EditCommand command, ItemKind kind, int set, int slot, int bank = -1);
    EditResult DropOn(ItemKind kind, int sourceSet, int sourceSlot, int set, int slot);
    // Shows the result's warning as the set window does.
    EditResult Shown(EditResult result);

    ScriptedInteraction ui;
    Options options;
    std::unique_ptr<Session> session;
    std::unique_ptr<EditScheme> scheme;
};

}  // namespace vx::test
