#include "core/details/ItemDetails.h"

#include "core/arrangements/ArrangementFields.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/editing/Callers.h"
#include "core/editing/EditScheme.h"
#include "core/kinds/EditableKind.h"
#include "core/selection/BankView.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/NameCharacters.h"

namespace vx {

namespace {

DetailField Field(std::string label, std::string value) { return {std::move(label), std::move(value), {}, false}; }
DetailField List(std::string label, std::vector<std::string> lines) {
    return {std::move(label), {}, std::move(lines), true};
}

// As the dialog's list shows it: a stored category beyond the list shows the list's first entry.
std::string Category(const std::array<std::string_view, 16>& names, int category) {
    return std::string(names[category >= 0 && category < 16 ? static_cast<std::size_t>(category) : 0]);
}

// As the dialog's option buttons show it: a stored value beyond them checks none.
template <std::size_t N>
std::string OptionText(const std::array<std::string_view, N>& names, int value) {
    return value >= 0 && value < static_cast<int>(N) ? std::string(names[static_cast<std::size_t>(value)])
                                                     : std::string("(none)");
}

template <typename Record, std::size_t N>
std::vector<std::string> TrackLines(const SetData& data, const PresetTables& presets, const Record& record,
                                    const std::array<std::string_view, N>& names, int count) {
    std::vector<std::string> lines;
    for (int t = 0; t < count; ++t)
        lines.push_back(ProgramTrackLine(data, presets, names[static_cast<std::size_t>(t)], record.TrackProgram(t)));
    return lines;
}

const ArrangementRecord* UserArr(const SetData& data, int number) {
    const int index = ArrUserIndexOf(number);
    return index >= 0 ? &data.arr.arr[static_cast<std::size_t>(index)] : nullptr;
}

const StyleRecord* UserSty(const SetData& data, int number) {
    const int index = StyUserIndexOf(number);
    return index >= 0 ? &data.sty.slots[static_cast<std::size_t>(index)].record : nullptr;
}

template <typename Record>
void AddChain(std::vector<DetailField>& fields, const Record& record, std::string_view chainLabel) {
    fields.push_back(Field(std::string(chainLabel), record.Chain() ? "on" : "off"));
    fields.push_back(Field("AutoStart", record.AutoStart() ? "on" : "off"));
    fields.push_back(Field("Next", std::to_string(record.Next())));
}

std::string Switch(bool on) { return on ? "on" : "off"; }

}  // namespace

std::string ArrReference(const SetData& data, const PresetTables& presets, int number, std::string_view separator) {
    return ArrLabel(number) + std::string(separator) + ArrNameOf(data.arr, presets, number);
}

std::string StyReference(const SetData& data, const PresetTables& presets, int number, std::string_view separator) {
    return StyLabel(number) + std::string(separator) + StyNameOf(data.sty, presets, number);
}

std::string ProgramTrackLine(const SetData& data, const PresetTables& presets, std::string_view track, int number) {
    return std::string(track) + ": " + ProgramLabel(number) + " " + ProgramNameOf(data.prg, presets, number);
}

std::vector<std::string> ArrTrackLines(const SetData& data, const PresetTables& presets, int number) {
    const ArrangementRecord* record = UserArr(data, number);
    if (!record) return {};
    return TrackLines(data, presets, *record, StyleTrackName, ArrangementRecord::kTrackCount);
}

std::vector<std::string> StyTrackLines(const SetData& data, const PresetTables& presets, int number) {
    const StyleRecord* record = UserSty(data, number);
    if (!record) return {};
    return TrackLines(data, presets, *record, StyleTrackName, StyleRecord::kTrackCount);
}

std::vector<std::string> BsqTrackLines(const SetData& data, const PresetTables& presets, int position) {
    return TrackLines(data, presets, data.bsq.entries[static_cast<std::size_t>(position)].record, BsqTrackName,
                      BsqRecord::kTrackCount);
}

std::vector<std::string> SngTrackLines(const SetData& data, const PresetTables& presets, int position) {
    return TrackLines(data, presets, data.sng.entries[static_cast<std::size_t>(position)].record, SongTrackName,
                      SongRecord::kTrackCount);
}

std::string ChannelLine(int function, int value) {
    const std::string name(ChannelRoleName[static_cast<std::size_t>(function)]);
    if (value == ArgRecord::kChannelOff && function >= ArgRecord::kFirstMayBeOff) return name + ": OFF";
    return name + ": " + std::to_string(value + 1);
}

std::vector<std::string> ProgramCallerLines(const SetData& data, int number) {
    std::vector<std::string> lines;
    for (const CallerEntry& caller : FindProgramCallers(data, number))
        lines.push_back(caller.reference + ": " + caller.track);
    return lines;
}

std::vector<DetailField> ArrDetails(const SetData& data, const PresetTables& presets, int number) {
    const ArrangementRecord* record = UserArr(data, number);
    if (!record) return {};
    const auto& r = *record;
    std::vector<DetailField> fields = {
        Field("Arrangement", ArrLabel(number)),
        Field("Name", r.Name()),
        Field("Category", Category(ArrCategoryName, r.Category())),
        Field("Style", StyReference(data, presets, r.Style(), ": ")),
        List("Programs", ArrTrackLines(data, presets, number)),
        List("Called by", ArrCalledBy(data, number)),
        Field("Ensemble", ListText(kEnsembleName, r.Ensemble())),
        Field("Start with", ListText(kVarStartName, r.VarStart())),
        Field("Then", ListText(kVarThenName, r.VarThen())),
        Field("Tempo", std::to_string(r.Tempo())),
        Field("Chord Scan", std::string(ChordScanName[static_cast<std::size_t>(r.ChordScan())])),
        Field("Full Keyboard", Switch(r.FullKbd())),
        Field("Transpose", std::to_string(r.Transpose())),
        Field("Split",
              SplitKeyNames()[static_cast<std::size_t>(ListIndex(r.Split() - kFirstSplitKey, kSplitKeyCount))]),
    };
    for (int i = 0; i < ArrangementRecord::kDrumMaps; ++i)
        fields.push_back(Field("Drum Map " + std::to_string(i + 1), ListText(kDrumMapName, r.DrumMap(i))));
    fields.push_back(Field("Kick", ListText(kKickSnareName, r.Kick())));
    fields.push_back(Field("Snare", ListText(kKickSnareName, r.Snare())));
    for (int i = 0; i < ArrangementRecord::kFillVars; ++i)
        fields.push_back(Field("Fill Variation " + std::to_string(i + 1), ListText(kFillVarName, r.FillVar(i))));
    return fields;
}

std::vector<DetailField> StyDetails(const SetData& data, const PresetTables& presets, int number) {
    const StyleRecord* record = UserSty(data, number);
    if (!record) return {};
    const int slot = StyUserIndexOf(number);
    return {
        Field("Style", StyLabel(number)),
        Field("Name", record->Name()),
        Field("Category", Category(StyCategoryName, record->Category())),
        List("Programs", StyTrackLines(data, presets, number)),
        List("Called by", StyleCalledBy(data, number)),
        Field("Events used", std::to_string(StyleEventsUsed(data.sty, slot))),
        Field("Events free in block", std::to_string(BlockEventsFree(data.sty, slot))),
    };
}

std::vector<DetailField> PrgDetails(const SetData& data, const PresetTables& presets, int number) {
    if (ProgramLabel(number).empty()) return {};
    return {
        Field("Program", ProgramLabel(number)),
        Field("Name", ProgramNameOf(data.prg, presets, number)),
        Field("Category", Category(PrgCategoryName, ProgramCategoryOf(data.prg, presets, number))),
        List("Called by", ProgramCallerLines(data, number)),
    };
}

std::vector<DetailField> BsqDetails(const SetData& data, const PresetTables& presets, int position) {
    if (position < 0 || position >= kSequenceCount) return {};
    const BsqRecord& r = data.bsq.entries[static_cast<std::size_t>(position)].record;
    std::vector<DetailField> fields = {
        Field("Backing Sequence", std::to_string(position)),
        Field("Name", r.Name()),
        Field("Arrangement called", ArrReference(data, presets, r.Arrangement(), " ")),
        Field("Style called", StyReference(data, presets, r.Style(), " ")),
        List("Programs", BsqTrackLines(data, presets, position)),
    };
    AddChain(fields, r, "Chain to next BSeq");
    return fields;
}

std::vector<DetailField> SngDetails(const SetData& data, const PresetTables& presets, int position) {
    if (position < 0 || position >= kSequenceCount) return {};
    const SongRecord& r = data.sng.entries[static_cast<std::size_t>(position)].record;
    std::vector<DetailField> fields = {
        Field("Song", std::to_string(position)),
        Field("Name", r.Name()),
        List("Programs", SngTrackLines(data, presets, position)),
    };
    AddChain(fields, r, "Chain to next Song");
    return fields;
}

std::vector<DetailField> KbdDetails(const SetData& data, const PresetTables& presets, int number) {
    if (number < 0 || number >= kKbdSetCount) return {};
    const KbdSetRecord& record = data.ark.records[static_cast<std::size_t>(number)];
    std::vector<std::string> tracks;
    for (int t = 0; t < KbdSetRecord::kTrackCount; ++t)
        tracks.push_back(
            ProgramTrackLine(data, presets, kKbdGridHeader[static_cast<std::size_t>(t) + 2], record.TrackProgram(t)));
    return {Field("KBD Set", KbdLabel(number)), Field("Split Key", NoteLabel(record.Split())),
            List("Programs", tracks)};
}

std::vector<DetailField> ArgDetails(const SetData& data) {
    const ArgRecord& r = data.arg.record;
    std::vector<std::string> channels;
    for (int i = 0; i < ArgRecord::kChannels; ++i) channels.push_back(ChannelLine(i, r.Channel(i)));
    std::vector<DetailField> fields = {List("MIDI Channels", channels)};
    for (int i = 0; i < kArgSwitchCount; ++i) {
        const auto which = static_cast<ArgSwitch>(i);
        std::string label(kArgSwitchFields[static_cast<std::size_t>(i)].label);
        if (which == ArgSwitch::SyncStart || which == ArgSwitch::SyncStop) label = "Synchro " + label;
        if (which == ArgSwitch::ChordSoundSync) label = "Chord Sound " + label;
        fields.push_back(Field(label, Switch(r.Switch(which))));
    }
    fields.push_back(Field("Harmony Type", std::string(kHarmonyTypeName[static_cast<std::size_t>(r.HarmonyType())])));
    fields.push_back(Field("Velocity Control", OptionText(kVelocityControlName, r.VelocityControl())));
    fields.push_back(Field("Chord Recognition", OptionText(kChordRecognitionName, r.ChordRecognition())));
    const int common = CommonSplitKey(data);
    fields.push_back(
        Field("Set All Split Keys",
              common < 0 ? "(differ)" : SplitKeyNames()[static_cast<std::size_t>(common - kFirstSplitKey)]));
    return fields;
}

std::vector<DetailField> GblDetails(const SetData& data) {
    const GblRecord& r = data.gbl.record;
    std::vector<DetailField> fields = {
        Field("Velocity Curve", std::to_string(ListIndex(r.VelocityCurve(), kVelocityCurves) + 1)),
        Field("Aftertouch Curve", std::to_string(ListIndex(r.AftertouchCurve(), kAftertouchCurves) + 1)),
        Field("Damper Sw Polarity", ListText(kDamperPolarityName, r.DamperPolarity())),
    };
    // In the dialog's order: the pedals first, then the QP4 switches, then switches 1 and 2.
    for (int pedal : {5, 6, 0, 1, 2, 3, 4, 7, 8}) {
        const PedalField& field = kPedalFields[static_cast<std::size_t>(pedal)];
        const int function = ListIndex(r.PedalFunction(pedal), static_cast<std::size_t>(field.choices));
        fields.push_back(
            Field(std::string(field.label), std::string(SwitchFunctionName[static_cast<std::size_t>(function)])));
    }
    return fields;
}

std::string EditedName(std::string_view typed) {
    const std::size_t first = typed.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(typed.substr(first, kNameLength));
}

bool RenameItem(EditScheme& scheme, Session& session, int set, ItemKind kind, int number, std::string_view name) {
    const EditableKind* d = EditableKindOf(kind);
    // A typed name holds what the instrument shows: a line break would also break the names file.
    if (d == nullptr || !session.Sets().IsOpen(set) || !NameCharacterProblem(name).empty()) return false;
    const int slot = d->SlotOfNumber(number);
    // A slot without style data has nowhere to keep a name: the file writes no record for it.
    if (!d->ValidSlot(slot) || (kind == ItemKind::Style && !StyleHasData(session.Data(set), number))) return false;
    EditItem item = d->Read(session.Data(set), slot);
    const std::string stored = EditedName(name);
    const bool named = std::visit(
        [&stored](auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, ArrangementRecord>) {
                value.SetName(stored);
                return true;
            } else if constexpr (std::is_same_v<T, KbdSetRecord>) {
                return false;
            } else {
                value.record.SetName(stored);
                return true;
            }
        },
        item);
    if (!named || !scheme.WriteItem(set, kind, slot, item).done) return false;
    scheme.WarnDuplicateNames(set, kind);
    return true;
}

bool StyleHasData(const SetData& data, int number) {
    const int index = StyUserIndexOf(number);
    return index >= 0 && data.sty.slots[static_cast<std::size_t>(index)].used != 0;
}

int CommonSplitKey(const SetData& data) {
    const int key = data.arr.arr[0].Split();
    if (key < kFirstSplitKey || key > kLastCommonSplitKey) return -1;
    for (const ArrangementRecord& record : data.arr.arr)
        if (record.Split() != key) return -1;
    return key;
}

}  // namespace vx
