#include "format/SaveJournal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#if !defined(_WIN32)
#include <fcntl.h>
#include <unistd.h>
#endif

#include "document/Helpers.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr std::string_view kJournalHeader = "VXSAVE 1";
constexpr std::string_view kJournalEnd = "END";
constexpr std::string_view kJournalSuffix = ".journal";

// Makes the names a directory holds durable, so a rename is not lost with the power.
void SyncDirectory(const fs::path& directory) {
#if !defined(_WIN32)
    const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)directory;
#endif
}

struct JournalEntry {
    std::string temporary;
    std::string destination;
};

// The entries of a journal, and whether it was written to its end (only then did renames begin).
bool ReadJournal(const fs::path& path, std::vector<JournalEntry>& entries) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHeader) return false;
    while (std::getline(in, line)) {
        if (line == kJournalEnd) return true;
        JournalEntry entry;
        entry.temporary = line;
        if (!std::getline(in, entry.destination) || entry.temporary.empty() || entry.destination.empty()) return false;
        entries.push_back(std::move(entry));
    }
    return false;
}

bool WriteJournal(const fs::path& path, const std::vector<StagedFile>& staged, std::string& error) {
    std::string text(kJournalHeader);
    text += '\n';
    for (const StagedFile& file : staged) {
        const std::string temporary = fs::absolute(file.temporary).string();
        const std::string destination = fs::absolute(file.destination).string();
        // One path per line: a name holding a line break cannot be recorded.
        if (temporary.find('\n') != std::string::npos || destination.find('\n') != std::string::npos) {
            error = "Can't record " + ToUpper(destination) + " in the save journal";
            return false;
        }
        text += temporary + '\n' + destination + '\n';
    }
    text += std::string(kJournalEnd) + '\n';
    std::string reason;
    const auto temporary = SaveFaultInjected(SaveStep::Journal)
                               ? std::nullopt
                               : WriteTemporaryBeside(path.string(), Bytes(text.begin(), text.end()), reason);
    std::error_code ec;
    if (temporary) fs::rename(*temporary, path, ec);
    if (!temporary || ec) {
        if (temporary) fs::remove(*temporary, ec);
        error = "Can't write the save journal " + ToUpper(path.string()) + ": " +
                (reason.empty() ? SystemErrorText(ec ? ec.value() : EIO) : reason);
        return false;
    }
    return true;
}

// The process number in ".NAME.<process>.journal" or ".NAME.EXT.<process>.<counter>.tmp"; 0 when none.
int ProcessInName(const std::string& name, bool journal) {
    std::string_view rest(name);
    rest.remove_suffix(journal ? kJournalSuffix.size() : std::string_view(".tmp").size());
    if (!journal) rest = rest.substr(0, rest.rfind('.'));
    const std::size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos) return 0;
    int process = 0;
    for (char c : rest.substr(dot + 1)) {
        if (c < '0' || c > '9' || process > 99999999) return 0;
        process = process * 10 + (c - '0');
    }
    return process;
}

// Another running program may be in the middle of the save these files belong to.
bool InUseElsewhere(int process) { return process != CurrentProcessId() && ProcessIsRunning(process); }

bool IsJournalOf(const std::string& fileName, const std::string& setName) {
    const std::string prefix = "." + ToUpper(setName) + ".";
    return fileName.size() > prefix.size() + kJournalSuffix.size() && ToUpper(fileName).starts_with(prefix) &&
           fileName.ends_with(kJournalSuffix) && ProcessInName(fileName, true) != 0;
}

}  // namespace

std::string JournalFileName(const std::string& setName) {
    return "." + ToUpper(setName) + "." + std::to_string(CurrentProcessId()) + std::string(kJournalSuffix);
}

CommitResult CommitStagedFiles(const std::string& directory, const std::string& setName,
                               const std::vector<StagedFile>& staged, std::string& error, ItemKind& failedKind) {
    if (staged.empty()) return CommitResult::Committed;
    failedKind = staged.front().kind;
    const fs::path journal = fs::path(directory) / JournalFileName(setName);
    if (!WriteJournal(journal, staged, error)) {
        for (const StagedFile& file : staged) DiscardStagedFile(file);
        return CommitResult::NothingDone;
    }
    SyncDirectory(directory);

    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (SaveKilledForTesting(static_cast<int>(i))) return CommitResult::Interrupted;
        if (ReplaceWithTemporary(staged[i].temporary, staged[i].destination, error)) continue;
        failedKind = staged[i].kind;
        if (i > 0) return CommitResult::Interrupted;
        // Nothing was replaced yet: the save is undone as if it never began.
        for (const StagedFile& file : staged) DiscardStagedFile(file);
        std::error_code ignored;
        fs::remove(journal, ignored);
        return CommitResult::NothingDone;
    }
    for (const StagedFile& file : staged) SyncDirectory(fs::path(file.destination).parent_path());
    std::error_code ignored;
    fs::remove(journal, ignored);
    return CommitResult::Committed;
}

void RecoverSetDirectory(const std::string& directory, const std::string& setName) {
    std::error_code ec;
    std::vector<fs::path> journals, temporaries;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsJournalOf(name, setName) && !InUseElsewhere(ProcessInName(name, true)))
            journals.push_back(it->path());
        else if (IsOurTemporaryName(name) && !InUseElsewhere(ProcessInName(name, false)))
            temporaries.push_back(it->path());
    }

    for (const fs::path& journal : journals) {
        std::vector<JournalEntry> entries;
        // A journal written to its end means the renames had begun: each temporary file still
        // there replaces its destination. An unfinished journal means none had: they all go.
        const bool complete = ReadJournal(journal, entries);
        bool finished = true;
        for (const JournalEntry& entry : entries) {
            std::error_code step;
            if (!fs::exists(entry.temporary, step)) continue;
            std::string ignored;
            if (!complete)
                fs::remove(entry.temporary, step);
            else if (!ReplaceWithTemporary(entry.temporary, entry.destination, ignored))
                finished = false;  // kept, with its journal, for the next attempt
        }
        SyncDirectory(directory);
        std::error_code ignored;
        if (finished) fs::remove(journal, ignored);
    }
    // The temporary files a kept journal still needs are not stale.
    std::vector<std::string> needed;
    for (const fs::path& journal : journals) {
        std::vector<JournalEntry> entries;
        std::error_code ignored;
        if (fs::exists(journal, ignored) && ReadJournal(journal, entries))
            for (const JournalEntry& entry : entries) needed.push_back(fs::path(entry.temporary).filename().string());
    }
    std::erase_if(temporaries, [&](const fs::path& path) {
        return std::find(needed.begin(), needed.end(), path.filename().string()) != needed.end();
    });
    for (const fs::path& temporary : temporaries) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
}

}  // namespace vx
