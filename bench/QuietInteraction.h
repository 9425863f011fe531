#pragma once

#include "support/ScriptedInteraction.h"

namespace vx::bench {

// Answers every question No. Nothing follows the session's changes, so that a long run neither
// grows nor pays for strings the scripted double would keep.
class QuietInteraction : public vx::test::ScriptedInteraction {
public:
    vx::Answer ShowMessage(const vx::Message&) override { return vx::Answer::No; }
};

}  // namespace vx::bench
