#include "format/ItemFileSave.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "format/PathLookup.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

SaveStep g_fault = SaveStep::None;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

int ProcessId() {
#if defined(_WIN32)
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(::fileno(file)) == 0;
#endif
}

// A name no other save, in this or another running program, can be using at the same time.
fs::path TemporaryPathFor(const fs::path& destination) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + destination.filename().string() + "." + std::to_string(ProcessId()) + "." +
                             std::to_string(counter++) + ".tmp";
    return destination.parent_path() / name;
}

bool Fault(SaveStep step) { return g_fault == step; }

}  // namespace

void SetSaveFaultForTesting(SaveStep step) { g_fault = step; }

bool WriteFileAtomically(const std::string& path, const Bytes& content, std::string& error) {
    const fs::path destination(path);
    const fs::path temporary = TemporaryPathFor(destination);

    // "x": never take over a file that happens to exist under that name.
    FilePtr file(Fault(SaveStep::CreateTemporary) ? nullptr : std::fopen(temporary.string().c_str(), "wbx"));
    if (!file) {
        error = "Can't create the temporary file";
        return false;
    }
    auto fail = [&](const std::string& reason) {
        file.reset();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = reason;
        return false;
    };

    const bool written =
        content.empty() || std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    if (Fault(SaveStep::Write) || !written) return fail("Error writing the temporary file");
    if (Fault(SaveStep::Flush) || std::fflush(file.get()) != 0 || !SyncToDisk(file.get()))
        return fail("Error flushing the temporary file");
    if (std::fclose(file.release()) != 0) return fail("Error writing the temporary file");

    // The new file keeps the permissions of the one it replaces.
    std::error_code ec;
    const fs::file_status old = fs::status(destination, ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), ec);

    ec.clear();
    if (!Fault(SaveStep::Rename)) fs::rename(temporary, destination, ec);
    if (Fault(SaveStep::Rename) || ec) return fail("Can't replace " + ToUpper(path));
    return true;
}

bool SaveItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind, const Bytes& content,
                  Interaction& ui) {
    // A new file gets the upper-case name; an existing one keeps its own spelling.
    const std::string destination =
        ResolveForWrite(setDirectory + "/" + ToUpper(setName + std::string(KindExtension(kind))));

    std::error_code ec;
    const fs::file_status status = fs::status(destination, ec);
    // Permission bits, not access(): a program running as root may write anything.
    if (!ec && fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        ShowSaveError(ui, kind, "Destination file is Read-Only!");
        return false;
    }

    std::string error;
    if (!WriteFileAtomically(destination, content, error)) {
        ShowSaveError(ui, kind, error);
        return false;
    }
    return true;
}

}  // namespace vx
