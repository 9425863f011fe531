#include "TemplateSet.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "PresetCatalogue.h"
#include "core/catalogue/Catalogue.h"

namespace vxmk {

const std::array<std::string_view, 11> kTemplateTracks = {
    "Standard Kit", "Percussion Kit", "Acoustic Bass", "Clean Guitar", "Warm Strings",  "Brass Section",
    "Grand Piano",  "Warm Strings",   "Warm Strings",  "Choir Aahs",   "Acoustic Bass",
};

namespace {

constexpr int kBlankCategory = 15;
constexpr std::size_t kLengthField = 24;  // DataLength in the .ARR and .ARK headers

// KBD set tracks play what the arrangement's keyboard tracks play (MainKBD to K.Bass).
constexpr int kFirstKeyboardTrack = 6;

int SwitchFunction(std::string_view name) {
    const auto found = std::find(vx::SwitchFunctionName.begin(), vx::SwitchFunctionName.end(), name);
    if (found == vx::SwitchFunctionName.end()) throw std::logic_error("unknown switch function " + std::string(name));
    return static_cast<int>(found - vx::SwitchFunctionName.begin());
}

void PutWord(std::uint8_t* at, int value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

vx::ArrangementRecord TemplateArrangement() {
    vx::ArrangementRecord arr;
    arr.SetName(vx::kBlankName);
    arr.SetCategory(kBlankCategory);
    arr.SetStyle(0);
    arr.SetByte(kArrTempo, static_cast<std::uint8_t>(kTemplateTempo - 30));
    arr.SetSplit(kTemplateSplit);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t)
        arr.SetTrackProgram(t, RequirePresetProgram(kTemplateTracks[static_cast<std::size_t>(t)]));
    return arr;
}

vx::KbdSetRecord TemplateKbdSet() {
    vx::KbdSetRecord kbd;
    kbd.SetSplit(kTemplateSplit);
    for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t)
        kbd.SetTrackProgram(t,
                            RequirePresetProgram(kTemplateTracks[static_cast<std::size_t>(kFirstKeyboardTrack + t)]));
    return kbd;
}

}  // namespace

void PutItemHeader(std::uint8_t* header, vx::ItemKind kind) {
    const std::string_view magic = "VEMOX";
    std::copy(magic.begin(), magic.end(), header);
    header[5] = 0;
    header[6] = static_cast<std::uint8_t>(vx::KindHeaderByte(kind));
    header[7] = 0;
}

int RequirePresetProgram(std::string_view name) {
    const int number = PresetProgram(name);
    if (number < 0) throw std::logic_error("unknown preset program " + std::string(name));
    return number;
}

vx::StyleRecord TemplateStyleRecord() {
    vx::StyleRecord style;
    style.SetName(vx::kBlankName);
    style.SetCategory(kBlankCategory);
    for (int t = 0; t < vx::StyleRecord::kTrackCount; ++t)
        style.SetTrackProgram(t, RequirePresetProgram(kTemplateTracks[static_cast<std::size_t>(t)]));
    return style;
}

vx::SetData BuildTemplateSet() {
    vx::SetData set;

    PutItemHeader(set.arr.header.data(), vx::ItemKind::Arrangement);
    PutWord(&set.arr.header[kLengthField], vx::kArrRecordsSize);
    set.arr.dataLength = vx::kArrRecordsSize;
    set.arr.arr.fill(TemplateArrangement());

    PutItemHeader(set.sty.header.data(), vx::ItemKind::Style);
    set.sty.blockCount = vx::kStyleBlocks;
    for (int s = 0; s < vx::kUserStyles; ++s) {
        auto& slot = set.sty.slots[static_cast<std::size_t>(s)];
        slot.slotByte = static_cast<std::uint8_t>(s);
        slot.record.SetName(vx::kBlankName);
    }
    set.sty.gap.assign(vx::kStyDataStart - (22 + 4 * vx::kUserStyles), 0);

    PutItemHeader(set.prg.header.data(), vx::ItemKind::Program);
    for (auto& program : set.prg.records) {
        program.SetName(vx::kBlankName);
        program.SetCategory(kBlankCategory);
    }

    PutItemHeader(set.bsq.header.data(), vx::ItemKind::BackingSequence);
    for (auto& entry : set.bsq.entries) entry.record.SetName(vx::kBlankName);
    for (auto& row : set.bsq.offsets) row.fill(kSequenceMemoryStart);
    set.bsq.endOffset = kSequenceMemoryStart;

    PutItemHeader(set.sng.header.data(), vx::ItemKind::Song);
    for (auto& entry : set.sng.entries) entry.record.SetName(vx::kBlankName);
    for (auto& row : set.sng.offsets) row.fill(kSequenceMemoryStart);
    set.sng.patternOffsets.fill(kSequenceMemoryStart);
    set.sng.endOffset = kSequenceMemoryStart;

    PutItemHeader(set.ark.header.data(), vx::ItemKind::KbdSet);
    PutWord(&set.ark.header[kLengthField], vx::kArkRecordsSize);
    set.ark.dataLength = vx::kArkRecordsSize;
    set.ark.records.fill(TemplateKbdSet());

    // Arrangement global: the sixteen channel functions on MIDI channels 1 to 16, normal
    // chord recognition.
    PutItemHeader(set.arg.header.data(), vx::ItemKind::ArrangementGlobal);
    for (int channel = 0; channel < 16; ++channel)
        set.arg.record.SetByte(static_cast<std::size_t>(channel), static_cast<std::uint8_t>(channel));
    set.arg.record.SetByte(36, 1);

    // Global: expression and damper on the two assignable pedals, the pedal switches on
    // variations, fills and start/stop, middle curves.
    PutItemHeader(set.gbl.header.data(), vx::ItemKind::Global);
    auto& gbl = set.gbl.record;
    gbl.SetByte(3, static_cast<std::uint8_t>(SwitchFunction("KBD Expression")));
    gbl.SetByte(4, static_cast<std::uint8_t>(SwitchFunction("Damper")));
    const std::array<std::string_view, 5> pedalSwitches = {"Variation 1", "Variation 2", "FILL 1", "FILL 2",
                                                           "START/STOP"};
    for (std::size_t i = 0; i < pedalSwitches.size(); ++i)
        gbl.SetByte(10 + i, static_cast<std::uint8_t>(SwitchFunction(pedalSwitches[i])));
    gbl.SetByte(15, static_cast<std::uint8_t>(SwitchFunction("TAP TEMPO")));
    gbl.SetByte(16, static_cast<std::uint8_t>(SwitchFunction("ENSEMBLE")));
    gbl.SetByte(17, 4);  // velocity curve "5" of 1-9
    gbl.SetByte(18, 3);  // aftertouch curve "4" of 1-8

    return set;
}

}  // namespace vxmk
