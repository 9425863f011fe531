#include "support/TestSession.h"

#include "catalogue/CatalogueInit.h"
#include "presets/PresetNames.h"
#include "support/TestPaths.h"

namespace vx::test {

std::unique_ptr<Session> StartTestSession(Interaction& ui, Options& options, const std::string& programDirectory,
                                          const std::string& namesFile) {
    auto catalogue = InitCatalogue(ProgramDir(), nullptr, ui);
    PresetTables presets;
    if (!catalogue || !ReadPresetNames(namesFile.empty() ? ProgramDir() + "/X50PRSTS.TXT" : namesFile, presets))
        return nullptr;
    options.PathNam = programDirectory;
    return std::make_unique<Session>(std::move(*catalogue), std::move(presets), options, ui);
}

std::string ReadFileText(const std::string& path) {
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

void WriteFileText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace vx::test
