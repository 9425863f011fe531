#include "support/EditFixture.h"

#include "support/TestSession.h"

namespace vx::test {

void EditFixture::SetUp() {
    session = MakeSession(ui, options);
    ASSERT_TRUE(session);
    scheme = std::make_unique<EditScheme>(*session);
    for (const char* name : {"LIVE", "GIGS"}) {
        const int set = session->OpenOrNewSet(true, "");
        session->Slot(set).name = name;
        session->Slot(set).dirty.fill(false);
    }
}

EditResult EditFixture::Do(EditCommand command, ItemKind kind, int set, int slot, int bank) {
    Edit edit;
    edit.command = command;
    edit.kind = kind;
    edit.set = set;
    edit.slot = slot;
    edit.bank = bank;
    edit.confirmed = true;
    return Shown(scheme->Apply(edit));
}

EditResult EditFixture::DropOn(ItemKind kind, int sourceSet, int sourceSlot, int set, int slot) {
    Edit edit;
    edit.command = EditCommand::Drop;
    edit.kind = edit.sourceKind = kind;
    edit.set = set;
    edit.slot = slot;
    edit.sourceSet = sourceSet;
    edit.sourceSlot = sourceSlot;
    return Shown(scheme->Apply(edit));
}

EditResult EditFixture::Shown(EditResult result) {
    ShowNotice(ui, result);
    return result;
}

}  // namespace vx::test
