#include "core/format/SaveJournal.h"

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

#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

// Version 2 names files relative to the set directory; other versions are not acted on.
constexpr std::string_view kJournalHeader = "VXSAVE 2";
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
    std::string temporary;  // names relative to the set directory
    std::string destination;
};

// A journal is a few hundred bytes; anything much longer is not one of ours.
constexpr std::uintmax_t kLongestJournal = 64 * 1024;

// The entries of a journal, and whether it was written to its end.
bool ReadJournal(const fs::path& path, std::vector<JournalEntry>& entries) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kLongestJournal) return false;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != kJournalHeader) return false;
    while (std::getline(in, line)) {
        if (line == kJournalEnd) return in.peek() == std::char_traits<char>::eof();
        JournalEntry entry;
        entry.temporary = line;
        if (!std::getline(in, entry.destination)) return false;
        entries.push_back(std::move(entry));
    }
    return false;
}

// A name as a message shows it: control characters become "?".
std::string Shown(const std::string& name) {
    std::string shown = name;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return shown;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Our temporary file for destination: ".<destination>.<process>.<counter>.tmp".
bool IsTemporaryNameFor(const std::string& temporary, const std::string& destination) {
    const std::string prefix = "." + destination + ".";
    constexpr std::string_view kSuffix = ".tmp";
    if (temporary.size() <= prefix.size() + kSuffix.size() || !temporary.starts_with(prefix) ||
        !temporary.ends_with(kSuffix))
        return false;
    const std::string_view numbers =
        std::string_view(temporary).substr(prefix.size(), temporary.size() - prefix.size() - kSuffix.size());
    const std::size_t dot = numbers.find('.');
    return dot != std::string_view::npos && IsDigits(numbers.substr(0, dot)) && IsDigits(numbers.substr(dot + 1));
}

// Why a journal's name cannot be acted on; empty for the name of a plain file directly in
// directory, or of none yet.
std::string NameProblem(const fs::path& directory, const std::string& name) {
    const bool plainName =
        !name.empty() && name != "." && name != ".." && std::none_of(name.begin(), name.end(), [](char c) {
            return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
    if (!plainName) return "it names " + Shown(name) + ", which is not a file of the set directory";
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(directory / name, ec);
    if (status.type() == fs::file_type::not_found) return {};
    if (ec) return "it names " + Shown(name) + ", which can't be examined: " + ec.message();
    if (fs::is_symlink(status)) return "it names " + Shown(name) + ", which is a link";
    if (!fs::is_regular_file(status)) return "it names " + Shown(name) + ", which is not a plain file";
    return {};
}

// Why recovery ignores the journal; empty when it may act on its entries.
std::string JournalProblem(const fs::path& directory, const fs::path& journal, std::vector<JournalEntry>& entries) {
    if (!ReadJournal(journal, entries)) return "it is not a complete save journal";
    for (const JournalEntry& entry : entries) {
        for (const std::string* name : {&entry.temporary, &entry.destination})
            if (std::string problem = NameProblem(directory, *name); !problem.empty()) return problem;
        if (!IsTemporaryNameFor(entry.temporary, entry.destination))
            return "it names " + Shown(entry.temporary) + ", which is not a temporary file of a save of " +
                   Shown(entry.destination);
    }
    return {};
}

bool TemporaryExists(const fs::path& directory, const JournalEntry& entry) {
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(directory / entry.temporary, ec));
}

bool WriteJournal(const fs::path& path, const std::vector<StagedFile>& staged, std::string& error) {
    std::string text(kJournalHeader);
    text += '\n';
    for (const StagedFile& file : staged) {
        if (file.outsideSet) continue;
        const std::string temporary = fs::path(file.temporary).filename().string();
        const std::string destination = fs::path(file.destination).filename().string();
        // One name per line: a name holding a line break cannot be recorded.
        if (temporary.find('\n') != std::string::npos || destination.find('\n') != std::string::npos) {
            error = "Can't record " + file.destination + " in the save journal";
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
        error = "Can't write the save journal " + path.string() + ": " +
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
                               const std::vector<StagedFile>& given, std::string& error, ItemKind& failedKind) {
    if (given.empty()) return CommitResult::Committed;
    // Links replaced by files go first: once renamed, a journal naming them names plain files.
    // Files outside the set go last, after every file the journal protects.
    std::vector<StagedFile> staged = given;
    std::stable_partition(staged.begin(), staged.end(), [](const StagedFile& file) { return file.replacesLink; });
    std::stable_partition(staged.begin(), staged.end(), [](const StagedFile& file) { return !file.outsideSet; });
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

namespace {

// The journals of setName in directory that no other running program is writing.
std::vector<fs::path> JournalsOf(const fs::path& directory, const std::string& setName) {
    std::vector<fs::path> journals;
    std::error_code ec;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsJournalOf(name, setName) && !InUseElsewhere(ProcessInName(name, true))) journals.push_back(it->path());
    }
    std::sort(journals.begin(), journals.end());
    return journals;
}

}  // namespace

JournalScan ScanSetDirectory(const std::string& directory, const std::string& setName) {
    JournalScan scan;
    for (const fs::path& journal : JournalsOf(directory, setName)) {
        std::vector<JournalEntry> entries;
        if (std::string problem = JournalProblem(directory, journal, entries); !problem.empty())
            scan.ignored.push_back({journal.string(), std::move(problem)});
        else if (std::any_of(entries.begin(), entries.end(),
                             [&](const JournalEntry& entry) { return TemporaryExists(directory, entry); }))
            scan.interrupted = true;
    }
    return scan;
}

bool RecoverSetDirectory(const std::string& directory, const std::string& setName,
                         std::vector<IgnoredJournal>& ignored) {
    const fs::path dir(directory);
    const std::vector<fs::path> journals = JournalsOf(dir, setName);
    bool replaced = false;
    // The temporary files a kept journal still needs are not stale.
    std::vector<std::string> needed;
    for (const fs::path& journal : journals) {
        std::vector<JournalEntry> entries;
        if (std::string problem = JournalProblem(dir, journal, entries); !problem.empty()) {
            ignored.push_back({journal.string(), std::move(problem)});
            continue;
        }
        // The journal was written to its end, so the renames had begun: each temporary file
        // still there replaces its destination.
        bool finished = true;
        for (const JournalEntry& entry : entries) {
            if (!TemporaryExists(dir, entry)) continue;
            std::string reason;
            if (ReplaceWithTemporary((dir / entry.temporary).string(), (dir / entry.destination).string(), reason)) {
                replaced = true;
            } else {
                finished = false;  // kept, with its journal, for the next attempt
                needed.push_back(entry.temporary);
            }
        }
        SyncDirectory(dir);
        std::error_code ignoredError;
        if (finished) fs::remove(journal, ignoredError);
    }

    std::error_code ec;
    std::vector<fs::path> temporaries;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (IsOurTemporaryName(name) && !InUseElsewhere(ProcessInName(name, false)) &&
            std::find(needed.begin(), needed.end(), name) == needed.end())
            temporaries.push_back(it->path());
    }
    for (const fs::path& temporary : temporaries) {
        std::error_code ignoredError;
        fs::remove(temporary, ignoredError);
    }
    return replaced;
}

namespace {

void ReportIgnored(const std::vector<IgnoredJournal>& ignored, Interaction& ui, std::vector<std::string>& reported) {
    for (const IgnoredJournal& journal : ignored) {
        if (std::find(reported.begin(), reported.end(), journal.file) != reported.end()) continue;
        reported.push_back(journal.file);
        ui.ShowMessage({"The save journal " + Shown(journal.file) + " was ignored: " + journal.reason + ".", "Warning",
                        MessageIcon::Exclamation, MessageButtons::OK, Answer::OK});
    }
}

bool DirectoryIsWritable(const std::string& directory) {
#if !defined(_WIN32)
    return ::access(directory.c_str(), W_OK) == 0;
#else
    (void)directory;
    return true;
#endif
}

}  // namespace

void OfferToFinishInterruptedSave(const std::string& directory, const std::string& setName, Interaction& ui,
                                  std::vector<std::string>& reported) {
    const JournalScan scan = ScanSetDirectory(directory, setName);
    ReportIgnored(scan.ignored, ui, reported);
    if (!scan.interrupted) return;
    const std::string what =
        setName + " was being saved when the program stopped: some of its files are new, some old.\n";
    if (!DirectoryIsWritable(directory)) {
        ui.ShowMessage({what + directory +
                            " can't be written, so that save can't be finished: the files are read as "
                            "they are.",
                        "Open a Set", MessageIcon::Exclamation, MessageButtons::OK, Answer::OK});
        return;
    }
    const Answer answer =
        ui.ShowMessage({what + "Finish that save now? (No reads the files as they are.)", "Open a Set",
                        MessageIcon::Question, MessageButtons::YesNo, Answer::No, QuestionId::InterruptedSave});
    if (answer != Answer::Yes) return;
    std::vector<IgnoredJournal> ignored;
    RecoverSetDirectory(directory, setName, ignored);
    ReportIgnored(ignored, ui, reported);
}

bool FinishInterruptedSave(const std::string& directory, const std::string& setName, Interaction& ui,
                           std::vector<std::string>& reported) {
    std::vector<IgnoredJournal> ignored;
    const bool replaced = RecoverSetDirectory(directory, setName, ignored);
    ReportIgnored(ignored, ui, reported);
    return replaced;
}

}  // namespace vx
