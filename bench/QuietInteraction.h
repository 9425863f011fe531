#pragma once

#include "support/ScriptedInteraction.h"

namespace vx::bench {

// Answers every question No and records nothing, so that a long run neither grows nor pays for
// strings the scripted double would keep.
class QuietInteraction : public vx::test::ScriptedInteraction {
public:
    vx::Answer ShowMessage(const vx::Message&) override { return vx::Answer::No; }
    void KindChanged(int, vx::ItemKind) override {}
    void ItemChanged(int, vx::ItemKind, int) override {}
    void UndoAvailabilityChanged(int, bool) override {}
};

}  // namespace vx::bench
