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

// A session on the template and names file in directory; a scripted interaction records its
// changes among its events.
std::unique_ptr<Session> StartIn(const std::string& directory, Interaction& ui, Options& options) {
    auto catalogue = InitCatalogue(directory, nullptr, ui);
    PresetTables presets;
    if (!catalogue || !ReadPresetNames(directory + "/X50PRSTS.TXT", presets)) return nullptr;
    auto session = std::make_unique<Session>(std::move(*catalogue), std::move(presets), options, ui);
    if (auto* scripted = dynamic_cast<ScriptedInteraction*>(&ui)) scripted->Follow(session->Changes());
    return session;
}

}  // namespace

std::unique_ptr<Session> StartTestSession(Interaction& ui, Options& options, const std::string& programDirectory) {
    std::error_code ignored;
    for (const char* name : {"X50EMPTY.SET", "X50PRSTS.TXT"})
        fs::copy(ProgramDir() + "/" + name, programDirectory + "/" + name,
                 fs::copy_options::recursive | fs::copy_options::skip_existing, ignored);
    options.PathNam = programDirectory;
    return StartIn(programDirectory, ui, options);
}

std::string ReadFileText(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteFileText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::unique_ptr<Session> MakeSession(Interaction& ui, Options& options) {
    auto session = StartIn(ProgramDir(), ui, options);
    EXPECT_TRUE(session) << "the shipped template or preset names can't be read";
    return session;
}

}  // namespace vx::test
