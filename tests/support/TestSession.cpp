#include "support/TestSession.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "core/catalogue/PresetNames.h"
#include "core/storage/TemplateSet.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace vx::test {

namespace {

// A scripted interaction records the session's changes among its events.
std::unique_ptr<Session> Started(CatalogueState catalogue, PresetTables presets, Options& options, Interaction& ui) {
    auto session = std::make_unique<Session>(std::move(catalogue), std::move(presets), options, ui);
    if (auto* scripted = dynamic_cast<ScriptedInteraction*>(&ui)) scripted->Follow(session->Changes());
    return session;
}

}  // namespace

std::unique_ptr<Session> StartTestSession(Interaction& ui, Options& options, const std::string& programDirectory) {
    std::error_code ignored;
    for (const char* name : {"X50EMPTY.SET", "X50PRSTS.TXT"})
        fs::copy(ProgramDir() + "/" + name, programDirectory + "/" + name,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, ignored);
    auto catalogue = InitCatalogue(programDirectory, nullptr, ui);
    PresetTables presets;
    if (!catalogue || !ReadPresetNames(programDirectory + "/X50PRSTS.TXT", presets)) return nullptr;
    options.PathNam = programDirectory;
    return Started(std::move(*catalogue), std::move(presets), options, ui);
}

std::string ReadFileText(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteFileText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}


std::unique_ptr<Session> MakeSession(Interaction& ui, Options& options) {
    auto catalogue = InitCatalogue(ProgramDir(), nullptr, ui);
    PresetTables presets;
    const bool presetsRead = ReadPresetNames(ProgramDir() + "/X50PRSTS.TXT", presets);
    EXPECT_TRUE(catalogue && presetsRead);
    if (!catalogue || !presetsRead) return nullptr;
    return Started(std::move(*catalogue), std::move(presets), options, ui);
}

}  // namespace vx::test
