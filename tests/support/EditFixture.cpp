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
    return Shown(
        scheme->Apply({.command = command, .kind = kind, .set = set, .slot = slot, .bank = bank, .confirmed = true}));
}

EditResult EditFixture::DropOn(ItemKind kind, int sourceSet, int sourceSlot, int set, int slot) {
    return Shown(scheme->Apply({.command = EditCommand::Drop,
                                .kind = kind,
                                .set = set,
                                .slot = slot,
                                .sourceKind = kind,
                                .sourceSet = sourceSet,
                                .sourceSlot = sourceSlot}));
}

EditResult EditFixture::Shown(EditResult result) {
    ShowNotice(ui, result);
    return result;
}

}  // namespace vx::test
