#include "support/TestSession.h"

#include <gtest/gtest.h>

#include "catalogue/CatalogueInit.h"
#include "presets/PresetNames.h"
#include "support/TestPaths.h"

namespace vx::test {

std::unique_ptr<Session> MakeSession(Interaction& ui, Options& options) {
    auto catalogue = InitCatalogue(ProgramDir(), nullptr, ui);
    PresetTables presets;
    const bool presetsRead = ReadPresetNames(ProgramDir() + "/X50PRSTS.TXT", presets);
    EXPECT_TRUE(catalogue && presetsRead);
    if (!catalogue || !presetsRead) return nullptr;
    return std::make_unique<Session>(std::move(*catalogue), std::move(presets), options, ui);
}

}  // namespace vx::test
