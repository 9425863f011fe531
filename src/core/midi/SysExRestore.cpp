#include "core/midi/SysExRestore.h"

#include <filesystem>
#include <fstream>

#include "core/catalogue/Catalogue.h"
#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/midi/DumpParser.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

void ShowRestoreError(Interaction& ui, const std::string& shownName, const std::string& reason) {
    ui.ShowMessage({"Error getting SysEx data from file " + shownName + "\n" + reason, "Error", MessageIcon::Critical,
                    MessageButtons::OK, Answer::OK});
}

// The file whole, refusing anything larger than a dump before reading it.
bool ReadMessage(const std::string& path, Bytes& message, std::string& reason) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        reason = "The file can't be read.";
        return false;
    }
    if (size > kLargestDumpMessage) {
        reason = "It holds " + std::to_string(size) + " bytes, more than any dump.";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    message.resize(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(message.data()), static_cast<std::streamsize>(size))) {
        reason = "The file can't be read.";
        return false;
    }
    return true;
}

template <typename Items>
std::vector<std::pair<int, EditItem>> Numbered(const Items& items) {
    std::vector<std::pair<int, EditItem>> numbered;
    numbered.reserve(items.size());
    for (std::size_t slot = 0; slot < items.size(); ++slot)
        numbered.emplace_back(static_cast<int>(slot), EditItem(items[slot]));
    return numbered;
}

// The items a dump brings, slot by slot, for the kinds written through the edit scheme.
std::vector<std::pair<int, EditItem>> DumpItems(const ParsedDump& dump, const SetData& current) {
    const SetData& data = dump.data;
    switch (dump.kind) {
        case ItemKind::Arrangement:
            return Numbered(data.arr.arr);
        case ItemKind::Program: {
            std::vector<std::pair<int, EditItem>> items;
            for (int slot = 0; slot < kUserPrograms; ++slot) {
                ProgramItem item{data.prg.records[static_cast<std::size_t>(slot)], nullptr};
                const int kit = slot - (kUserPrograms - kUserDrumKits);
                if (kit >= 0)
                    item.drumKit =
                        std::make_shared<const DrumKitData>(data.prg.drumKits[static_cast<std::size_t>(kit)]);
                items.emplace_back(slot, std::move(item));
            }
            return items;
        }
        case ItemKind::KbdSet:
            return Numbered(data.ark.records);
        case ItemKind::BackingSequence:
            return Numbered(data.bsq.entries);
        case ItemKind::Song:
            return Numbered(data.sng.entries);
        case ItemKind::Style: {
            std::vector<std::pair<int, EditItem>> items;
            for (int i = 0; i < kStylesPerBlock; ++i) {
                const int slot = dump.styleBlock * kStylesPerBlock + i;
                const StyleSlot& incoming = data.sty.slots[static_cast<std::size_t>(slot)];
                // What the dump does not carry (the size bytes of an unused entry) stays as the set has it.
                StyleSlot item = current.sty.slots[static_cast<std::size_t>(slot)];
                item.used = incoming.used;
                item.size = incoming.size;
                item.record = incoming.record;
                item.events = incoming.events;
                items.emplace_back(slot, std::move(item));
            }
            return items;
        }
        default:
            return {};
    }
}

template <typename Entries>
int TotalUnits(const Entries& entries) {
    int units = 0;
    for (const auto& entry : entries) units += entry.total;
    return units;
}

// Why the set can't take the dump although the message is valid; empty when it can.
std::string RefusalOf(const ParsedDump& dump, const SetData& current) {
    if (dump.kind == ItemKind::Style && dump.styleBlock >= current.sty.blockCount)
        return "The set's style file holds " + std::to_string(current.sty.blockCount) +
               " blocks; the dump is of block " + std::to_string(dump.styleBlock + 1) + ".";
    const EditableKind* d = EditableKindOf(dump.kind);
    const EventMemoryKind* events = d != nullptr ? d->EventMemory() : nullptr;
    if (events == nullptr) return {};
    const bool sequences = dump.kind == ItemKind::BackingSequence;
    // A song dump brings its pattern memory along with the songs.
    const int unitsIn =
        sequences ? TotalUnits(dump.data.bsq.entries) : TotalUnits(dump.data.sng.entries) + PatternUnits(dump.data.sng);
    const int unitsOut =
        sequences ? TotalUnits(current.bsq.entries) : TotalUnits(current.sng.entries) + PatternUnits(current.sng);
    auto why = events->RefuseEventMemory(current, unitsIn, unitsOut, "Restored " + std::string(KindName(dump.kind)));
    return why ? *why : std::string();
}

}  // namespace

std::optional<ItemKind> LoadSysExFile(Session& session, EditScheme& scheme, int set) {
    FileRequest request;
    request.title = "Load SysEx File...";
    request.initialDirectory = session.Slot(set).directory;
    request.initialName = "*.SYX";
    request.filter = "SysEx (*.SYX)|*.SYX";
    request.defaultExtension = ".SYX";
    request.mustExist = true;
    const auto chosen = session.Ui().ChooseOpenFile(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    return RestoreSysExFile(session, scheme, set, *chosen);
}

std::optional<ItemKind> RestoreSysExFile(Session& session, EditScheme& scheme, int set, const std::string& path) {
    Bytes message;
    std::string reason;
    {
        BusyPointer busy(session.Ui());
        if (!ReadMessage(path, message, reason)) {
            ShowRestoreError(session.Ui(), path, reason);
            return std::nullopt;
        }
    }
    return RestoreDump(session, scheme, set, message, path);
}

std::optional<ItemKind> RestoreDump(Session& session, EditScheme& scheme, int set, const Bytes& message,
                                    const std::string& shownName) {
    if (!session.Sets().IsOpen(set)) return std::nullopt;
    Interaction& ui = session.Ui();
    ParsedDump dump;
    std::string reason;
    {
        BusyPointer busy(ui);
        if (!ParseDumpMessage(message, dump, reason)) {
            ShowRestoreError(ui, shownName, reason);
            return std::nullopt;
        }
    }
    SetData& current = session.Data(set);
    if (const std::string refusal = RefusalOf(dump, current); !refusal.empty()) {
        ShowRestoreError(ui, shownName, refusal);
        return std::nullopt;
    }
    if (EditableKindOf(dump.kind) != nullptr) {
        // Besides the songs, a song dump carries the table of 100 values and the pattern memory
        // map; both are the set's after the restore, the map moved with the songs' start in this
        // set, and one Undo takes them back with the songs.
        std::optional<SongTables> tables;
        if (dump.kind == ItemKind::Song) tables = TablesOf(dump.data.sng);
        const EditResult written = scheme.WriteItems(set, dump.kind, DumpItems(dump, current), tables);
        if (!written.done) return std::nullopt;
        return dump.kind;
    }
    // The global kinds have no Undo: their record is replaced as a whole, as by Import.
    if (dump.kind == ItemKind::ArrangementGlobal)
        current.arg.record = dump.data.arg.record;
    else
        current.gbl.record = dump.data.gbl.record;
    session.MarkDirty(set, dump.kind);
    session.Changes().Publish(SetChange::Kind(set, dump.kind));
    return dump.kind;
}

}  // namespace vx
