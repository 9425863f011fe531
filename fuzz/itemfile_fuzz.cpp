// Puts any bytes on disk as the item file whose header byte they carry, then goes the way a
// set does: the header checks of the open, the kind's load, and the real save (temporary
// file, journal, rename). Whatever loads must be on disk as it came after the save.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzRoundTrip.h"
#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/format/SaveJournal.h"
#include "core/storage/SetData.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

namespace fs = std::filesystem;

// The set kind a file claims by its byte 6; arrangements for a file too short to say.
vx::ItemKind ClaimedKind(const std::uint8_t* data, std::size_t size) {
    for (int k = 0; size > 6 && k < vx::kSetKindCount; ++k)
        if (vx::KindHeaderByte(vx::KindFromIndex(k)) == data[6]) return vx::KindFromIndex(k);
    return vx::ItemKind::Arrangement;
}

// In memory where the system offers it: the save flushes every file to the disk.
fs::path ScratchRoot() {
    std::error_code ec;
    return fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
}

const fs::path& ScratchDirectory() {
    static const fs::path directory = ScratchRoot() / ("vxfuzz-" + std::to_string(::getpid()));
    return directory;
}

void RemoveScratch() {
    std::error_code ignored;
    fs::remove_all(ScratchDirectory(), ignored);
}

const fs::path& SetDirectory() {
    static const fs::path directory = ScratchDirectory() / "F.SET";
    static const bool made = (fs::create_directories(directory) || fs::is_directory(directory)) &&
                             std::atexit(RemoveScratch) == 0;
    if (!made) vx::fuzz::Finding("cannot make the set directory");
    return directory;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemKind kind = ClaimedKind(data, size);
    const fs::path& directory = SetDirectory();
    for (const std::string& name : vx::test::Listing(directory)) fs::remove(directory / name);
    const fs::path file = directory / ("F" + std::string(vx::KindExtension(kind)));
    const vx::Bytes input(data, data + size);
    vx::test::WriteFileBytes(file, input);

    vx::test::ScriptedInteraction ui;
    vx::SetData loaded;
    {
        auto opened = vx::OpenItemFile((directory / "F").string(), kind);
        if (!opened) {
            if (opened.Error().Text().empty()) vx::fuzz::Finding("a refusal without a reason");
            return 0;
        }
        if (const auto status = vx::LoadKind(*opened, kind, loaded); !status) {
            if (status.Error().kind != kind || status.Error().what.empty()) vx::fuzz::Finding("a refusal without a reason");
            return 0;
        }
    }
    auto staged = vx::StageItemFile(directory.string(), "F", kind, vx::SerializeKind(loaded, kind), ui);
    if (!staged) vx::fuzz::Finding("the save could not write its temporary file");
    std::string error;
    vx::ItemKind failed = kind;
    if (vx::CommitStagedFiles(directory.string(), "F", {*staged}, error, failed) != vx::CommitResult::Committed)
        vx::fuzz::Finding("the save could not replace the file");
    if (vx::test::ReadFileBytes(file) != vx::fuzz::ExpectedSave(kind, input))
        vx::fuzz::Finding("the saved file differs");
    // Nothing of the save stays behind beside the file.
    if (vx::test::Listing(directory) != std::vector<std::string>{file.filename().string()})
        vx::fuzz::Finding("the save left files behind");
    return 0;
}
