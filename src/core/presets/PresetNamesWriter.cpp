#include "core/presets/PresetNamesWriter.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFileSave.h"
#include "core/format/OutputFile.h"
#include "core/format/PathLookup.h"
#include "core/presets/PresetData.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/SetData.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"
#include "core/text/NameCharacters.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr int kBankSlots = 64;
constexpr std::uintmax_t kMaxNamesFileBytes = 4u * 1024u * 1024u;

struct Line {
    std::string_view body;
    std::string_view ending;  // "\r\n", "\n" or nothing for the last line
};

std::vector<Line> SplitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::size_t bodyEnd = end;
        if (bodyEnd > at && text[bodyEnd - 1] == '\r') --bodyEnd;
        lines.push_back({text.substr(at, bodyEnd - at), text.substr(bodyEnd, next - bodyEnd)});
        at = next;
    }
    return lines;
}

bool IsCommentOrEmpty(std::string_view line) {
    const std::string trimmed = TrimBlanks(line);
    return trimmed.empty() || trimmed.front() == '/';
}

// A double quote would end the quoted field early, and a line break or other control character
// would break the line: the reader could not get the name back.
std::string EntryLine(const PresetNameEntry& entry) {
    std::string name = ControlCharactersBlanked(entry.name.substr(0, kNameLength));
    name.resize(kNameLength, ' ');
    for (char& c : name)
        if (c == '"') c = '\'';
    std::string line = "\"" + name + "\"," + std::to_string(entry.category);
    if (entry.style) line += "," + std::to_string(*entry.style);
    return line;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kMaxNamesFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in || (size > 0 && !in.read(text.data(), static_cast<std::streamsize>(size)))) return std::nullopt;
    return text;
}

}  // namespace

std::string PresetSectionTitle(BankedKind kind, int sourceBank, int destination) {
    if (kind == BankedKind::Program && sourceBank == kUserDrumBank)
        return "/ Prg " + std::string(PresetBankRange[static_cast<std::size_t>(destination)]);
    const std::string letter(BankLetter(static_cast<int>(kind), destination));
    return std::string(kind == BankedKind::Arrangement ? "/ Arr " : "/ Prg ") + letter + "11-" + letter + "18";
}

std::vector<PresetNameEntry> UserBankEntries(const SetData& data, BankedKind kind, int firstBank, int lastBank) {
    std::vector<PresetNameEntry> entries;
    if (kind == BankedKind::Program && firstBank == kUserDrumBank) {
        for (int i = kUserPrograms - kUserDrumKits; i < kUserPrograms; ++i) {
            const ProgramRecord& record = data.prg.records[static_cast<std::size_t>(i)];
            entries.push_back({record.Name(), record.Category(), std::nullopt});
        }
        return entries;
    }
    for (int bank = firstBank; bank <= lastBank; ++bank) {
        for (int slot = 0; slot < kBankSlots; ++slot) {
            if (kind == BankedKind::Arrangement) {
                const int index = ArrUserIndexInBank(bank, slot);
                if (index < 0) continue;
                const ArrangementRecord& record = data.arr.arr[static_cast<std::size_t>(index)];
                entries.push_back({record.Name(), record.Category(), record.Style()});
            } else if (kind == BankedKind::Program) {
                const int index = UserIndexInBank(bank, slot);
                if (index < 0) continue;
                const ProgramRecord& record = data.prg.records[static_cast<std::size_t>(index)];
                entries.push_back({record.Name(), record.Category(), std::nullopt});
            }
        }
    }
    return entries;
}

std::optional<std::string> RewritePresetNames(std::string_view text, const std::string& title,
                                              const std::vector<PresetNameEntry>& entries) {
    const std::vector<Line> lines = SplitLines(text);
    std::string out;
    out.reserve(text.size() + entries.size() * 4);
    std::size_t at = 0;
    bool titleFound = false;
    while (at < lines.size() && !titleFound) {
        titleFound = TrimBlanks(lines[at].body) == title;
        out += lines[at].body;
        out += lines[at].ending;
        ++at;
    }
    if (!titleFound) return std::nullopt;
    for (const PresetNameEntry& entry : entries) {
        while (at < lines.size() && IsCommentOrEmpty(lines[at].body)) {
            out += lines[at].body;
            out += lines[at].ending;
            ++at;
        }
        if (at == lines.size()) return std::nullopt;
        out += EntryLine(entry);
        out += lines[at].ending;
        ++at;
    }
    for (; at < lines.size(); ++at) {
        out += lines[at].body;
        out += lines[at].ending;
    }
    return out;
}

namespace {

// The file a rewrite of namesPath (or its copy) goes to; empty with the reason when it may not.
std::string NamesFileTarget(const std::string& namesPath, std::string& error) {
    std::error_code ec;
    if (!fs::is_symlink(namesPath, ec)) return namesPath;
    // A link is written through when it leads to a file in the names file's own directory; a
    // file elsewhere (or none) is not the program's to change.
    const std::string target = FollowLinks(namesPath);
    const fs::path directory = fs::weakly_canonical(fs::path(namesPath).parent_path(), ec);
    const fs::path targetDirectory = fs::weakly_canonical(fs::path(target).parent_path(), ec);
    if (ec || directory != targetDirectory || !fs::is_regular_file(target, ec)) {
        error = "The file is a link to " + target + ", which is not a file beside it.";
        return {};
    }
    return target;
}

}  // namespace

bool SavePresetNames(Interaction& ui, const std::string& namesPath, const std::string& title,
                     const std::vector<PresetNameEntry>& entries, const StagedWrite* alongside) {
    const fs::path names(namesPath);
    const std::string shownName = names.filename().string();
    std::vector<StagedWrite> staged;
    if (alongside != nullptr) staged.push_back(*alongside);
    auto fail = [&](const std::string& reason) {
        DiscardStagedWrites(staged);
        const std::string kept = alongside == nullptr ? "The file was left as it was."
                                                      : "Nothing was written: " + shownName + " and " +
                                                            fs::path(alongside->destination).filename().string() +
                                                            " were left as they were.";
        ShowError(ui, "Error saving Preset names to file " + shownName + "\n" + reason + "\n" + kept);
        return false;
    };
    std::string error;
    const std::string target = NamesFileTarget(namesPath, error);
    if (target.empty()) return fail(error);
    const std::string backup =
        NamesFileTarget(ResolveForWrite(fs::path(names).replace_extension(".BAK").string()), error);
    if (backup.empty()) return fail(error);
    // Permission bits, not access(): a program running as root may write anything.
    std::error_code ec;
    for (const std::string& path : {target, backup}) {
        const fs::file_status status = fs::status(path, ec);
        if (!ec && fs::exists(status) && !fs::is_regular_file(status)) return fail(path + " is not a file.");
        if (!ec && fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
            return fail(path == target ? "Destination file is Read-Only!"
                                       : fs::path(path).filename().string() + " is Read-Only!");
    }

    const auto text = ReadWholeFile(target);
    if (!text) return fail("Can't read the file.");
    const auto rewritten = RewritePresetNames(*text, title, entries);
    if (!rewritten) return fail("The section " + title + " is missing or too short.");

    // The copy of the old file and the new file are both written before either replaces
    // anything, so a full disk leaves no half-written copy behind.
    const Bytes old(text->begin(), text->end());
    std::optional<Bytes> oldBackup;
    if (fs::exists(backup, ec)) {
        if (const auto backupText = ReadWholeFile(backup)) oldBackup = Bytes(backupText->begin(), backupText->end());
    }
    auto backupWrite = StageWrite(backup, old, oldBackup, error);
    if (!backupWrite) return fail(error);
    staged.push_back(std::move(*backupWrite));
    auto namesWrite = StageWrite(target, Bytes(rewritten->begin(), rewritten->end()), old, error);
    if (!namesWrite) return fail(error);
    staged.push_back(std::move(*namesWrite));
    if (!CommitStagedWrites(staged, error)) {
        staged.clear();  // the commit removed its temporary files and put back what it had replaced
        return fail(error);
    }
    return true;
}

}  // namespace vx
