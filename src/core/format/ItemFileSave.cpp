#include "core/format/ItemFileSave.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#endif

#include "core/catalogue/Catalogue.h"
#include "core/format/PathLookup.h"
#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

SaveStep g_fault = SaveStep::None;
int g_killAfterRenames = -1;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

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
    const std::string name = "." + destination.filename().string() + "." + std::to_string(CurrentProcessId()) + "." +
                             std::to_string(counter++) + ".tmp";
    return destination.parent_path() / name;
}

bool Fault(SaveStep step) { return g_fault == step; }

// The reason of the last failed call, or of an injected fault.
std::string Reason(bool injected, int error) { return SystemErrorText(injected ? EIO : error); }

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

int CurrentProcessId() {
#if defined(_WIN32)
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

bool ProcessIsRunning(int process) {
#if defined(_WIN32)
    return process == CurrentProcessId();
#else
    if (process <= 0) return false;
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
#endif
}

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

void SetSaveFaultForTesting(SaveStep step) { g_fault = step; }
bool SaveFaultInjected(SaveStep step) { return g_fault == step; }
void SetSaveKillAfterRenamesForTesting(int renames) { g_killAfterRenames = renames; }
bool SaveKilledForTesting(int renamesDone) { return g_killAfterRenames >= 0 && renamesDone >= g_killAfterRenames; }

bool IsOurTemporaryName(const std::string& fileName) {
    // ".NAME.EXT" then ".<process>.<counter>.tmp"
    constexpr std::string_view kSuffix = ".tmp";
    if (fileName.size() < 2 || fileName[0] != '.' || !fileName.ends_with(kSuffix)) return false;
    std::string_view rest(fileName);
    rest.remove_suffix(kSuffix.size());
    const std::size_t counterDot = rest.rfind('.');
    if (counterDot == std::string_view::npos || !IsDigits(rest.substr(counterDot + 1))) return false;
    rest = rest.substr(0, counterDot);
    const std::size_t processDot = rest.rfind('.');
    if (processDot == std::string_view::npos || !IsDigits(rest.substr(processDot + 1))) return false;
    const std::string item = ToUpper(rest.substr(1, processDot - 1));
    // The temporary file a save journal is first written to.
    if (item.ends_with(".JOURNAL")) return true;
    for (int k = 0; k < kSetKindCount; ++k) {
        const std::string_view extension = KindExtension(KindFromIndex(k));
        if (item.size() > extension.size() && item.ends_with(extension)) return true;
    }
    return false;
}

std::optional<std::string> WriteTemporaryBeside(const std::string& path, const Bytes& content, std::string& error) {
    const fs::path destination(path);
    const fs::path temporary = TemporaryPathFor(destination);

    // "x": never take over a file that happens to exist under that name.
    errno = 0;
    FilePtr file(Fault(SaveStep::CreateTemporary) ? nullptr : std::fopen(temporary.string().c_str(), "wbx"));
    if (!file) {
        error = "Can't create the temporary file for " + path + ": " + Reason(Fault(SaveStep::CreateTemporary), errno);
        return std::nullopt;
    }
    auto fail = [&](const std::string& what, int code) {
        file.reset();
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = what + " the temporary file for " + path + ": " + SystemErrorText(code);
        return std::nullopt;
    };

    errno = 0;
    const bool written =
        content.empty() || std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
    if (Fault(SaveStep::Write) || !written) return fail("Error writing", Fault(SaveStep::Write) ? ENOSPC : errno);
    // A full disk often shows only when the buffered bytes are handed over or synchronised.
    errno = 0;
    if (Fault(SaveStep::Flush) || std::fflush(file.get()) != 0 || !SyncToDisk(file.get()))
        return fail("Error flushing", Fault(SaveStep::Flush) ? ENOSPC : errno);
    errno = 0;
    if (std::fclose(file.release()) != 0) return fail("Error writing", errno);
    return temporary.string();
}

bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error) {
    // A device, a FIFO or a directory is never renamed over (as root, /dev/null could be).
    std::error_code ec;
    const fs::file_status entry = fs::symlink_status(path, ec);
    if (!ec && fs::exists(entry) && !fs::is_regular_file(entry) && !fs::is_symlink(entry)) {
        error = "Can't replace " + path + ": " +
                (fs::is_directory(entry) ? SystemErrorText(EISDIR) : std::string("it is not a plain file"));
        return false;
    }
    // The new file keeps the permissions of the one it replaces.
    ec.clear();
    const fs::file_status old = fs::status(path, ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(temporary, old.permissions(), ec);

    ec.clear();
    if (!Fault(SaveStep::Rename)) fs::rename(temporary, path, ec);
    if (Fault(SaveStep::Rename) || ec) {
        error = "Can't replace " + path + ": " + (ec ? ec.message() : SystemErrorText(EIO));
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const Bytes& content, std::string& error) {
    const auto temporary = WriteTemporaryBeside(path, content, error);
    if (!temporary) return false;
    if (ReplaceWithTemporary(*temporary, path, error)) return true;
    std::error_code ignored;
    fs::remove(*temporary, ignored);
    return false;
}

ItemFileTarget ItemFileDestination(const std::string& setDirectory, const std::string& setName, ItemKind kind) {
    ItemFileTarget target;
    // A new file gets the upper-case name; an existing one keeps its own spelling.
    target.file = ResolveForWrite(setDirectory + "/" + ToUpper(setName + std::string(KindExtension(kind))));
    target.path = target.file;
    std::error_code ec;
    if (!fs::is_symlink(target.file, ec)) return target;

    const fs::path resolved = fs::canonical(target.file, ec);
    if (!ec) {
        target.path = resolved.string();
        std::error_code same;
        const bool inSet =
            fs::is_regular_file(resolved, same) && fs::equivalent(resolved.parent_path(), setDirectory, same) && !same;
        target.link = inSet ? LinkPlace::Inside : LinkPlace::Outside;
        return target;
    }
    // A link to a file that does not exist (or a loop of links): where it points, for the question.
    target.link = LinkPlace::Dangling;
    const fs::path pointed = fs::read_symlink(target.file, ec);
    if (!ec)
        target.path = (pointed.is_absolute() ? pointed : fs::path(target.file).parent_path() / pointed)
                          .lexically_normal()
                          .string();
    return target;
}

namespace {

// The question before a save writes through a link that leaves the set or leads nowhere.
Message LinkQuestion(const ItemFileTarget& target) {
    const std::string name = fs::path(target.file).filename().string();
    const std::string where =
        target.link == LinkPlace::Dangling ? ", which does not exist." : ", which is not a file of the set directory.";
    std::string text = name + " is a link to " + target.path + where +
                       "\nReplace the link by a file of the set? (Cancel saves nothing.)";
    Message question{std::move(text), "Save a Set", MessageIcon::Exclamation, MessageButtons::OKCancel, Answer::Cancel};
    question.question = QuestionId::LinkWrite;
    return question;
}

}  // namespace

std::optional<StagedFile> StageItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind,
                                        const Bytes& content, Interaction& ui) {
    const ItemFileTarget target = ItemFileDestination(setDirectory, setName, kind);
    StagedFile staged{kind, target.path, {}};
    if (target.link == LinkPlace::Outside || target.link == LinkPlace::Dangling) {
        switch (ui.AskAboutLink(LinkQuestion(target))) {
            case LinkWrite::Cancel:
                return std::nullopt;
            case LinkWrite::ReplaceLink:
                staged.destination = target.file;
                staged.replacesLink = true;
                break;
            case LinkWrite::WriteThrough:
                staged.outsideSet = true;
                break;
        }
    }

    std::error_code ec;
    const fs::file_status status = fs::symlink_status(staged.destination, ec);
    // Permission bits, not access(): a program running as root may write anything.
    if (!ec && fs::is_regular_file(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
        ShowSaveError(ui, kind, "Destination file is Read-Only!");
        return std::nullopt;
    }

    std::string error;
    auto temporary = WriteTemporaryBeside(staged.destination, content, error);
    if (!temporary) {
        ShowSaveError(ui, kind, error);
        return std::nullopt;
    }
    staged.temporary = std::move(*temporary);
    return staged;
}

void DiscardStagedFile(const StagedFile& staged) {
    std::error_code ignored;
    fs::remove(staged.temporary, ignored);
}

bool SaveItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind, const Bytes& content,
                  Interaction& ui) {
    const auto staged = StageItemFile(setDirectory, setName, kind, content, ui);
    if (!staged) return false;
    std::string error;
    if (ReplaceWithTemporary(staged->temporary, staged->destination, error)) return true;
    DiscardStagedFile(*staged);
    ShowSaveError(ui, kind, error);
    return false;
}

}  // namespace vx
