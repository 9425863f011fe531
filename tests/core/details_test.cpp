// Record fields the parameter dialogs edit, the caller lists they show and the texts of
// vx50 show, on records written byte by byte.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/arrangements/ArrangementFields.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/details/ItemAddress.h"
#include "core/details/ItemDetails.h"
#include "core/editing/Callers.h"
#include "core/kinds/EditableKind.h"
#include "core/selection/BankView.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

std::string Hex(int byte) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", byte & 0xFF);
    return text;
}

// The bytes a change made, as " offset:before>after".
template <std::size_t N>
std::string Changed(const std::array<std::uint8_t, N>& before, const std::array<std::uint8_t, N>& after) {
    std::string text;
    for (std::size_t i = 0; i < N; ++i)
        if (before[i] != after[i]) text += " " + std::to_string(i) + ":" + Hex(before[i]) + ">" + Hex(after[i]);
    return text.empty() ? " none" : text;
}

// The record fields the dialogs edit, set on records filled with other bytes, so that a field
// written at the wrong place or over its neighbours' bits shows; tests/data/details/fields.txt.
TEST(DetailFieldsTest, FieldsWriteOnlyTheirBits) {
    std::string out;
    ArrangementRecord r;
    r.bytes.fill(0xA5);
    r.SetByte(21, 0);
    r.SetByte(25, 0xF4);
    out += "arrangement tempo " + std::to_string(r.Tempo()) + ", transpose " + std::to_string(r.Transpose()) + "\n";
    auto before = r.bytes;
    r.SetTempo(120);
    r.SetTranspose(-5);
    r.SetFullKbd(true);
    r.SetDrumMap(3, 7);
    r.SetFillVar(1, 12);
    out += "tempo 120, transpose -5, full keyboard, drum map 3: 7, fill 1: 12:" + Changed(before, r.bytes) + "\n";
    // Chord scan: the mode in bits 0-1 and bit 5; the other bits are never touched.
    for (const int byte : {0xC4, 0xE4, 0xE7}) {
        out += "chord scan on " + Hex(byte) + ":";
        for (int index = 0; index < 5; ++index) {
            r.SetByte(28, static_cast<std::uint8_t>(byte));
            r.SetChordScan(index);
            out += " " + std::to_string(index) + ">" + Hex(r.Byte(28)) + "/" + std::to_string(r.ChordScan());
        }
        out += "\n";
    }
    BsqRecord bsq;
    bsq.SetByte(79, 12);
    bsq.SetByte(80, 0xF0);
    out += "backing sequence next " + std::to_string(bsq.Next());
    bsq.SetChain(true);
    out += ", chain " + Hex(bsq.Byte(80));
    bsq.SetAutoStart(true);
    bsq.SetChain(false);
    out += ", auto start, no chain " + Hex(bsq.Byte(80)) + " " + std::to_string(bsq.AutoStart()) + "\n";
    SongRecord song;
    song.SetNext(9);
    song.SetChain(true);
    out += "song next 9, chain: " + Hex(song.Byte(52)) + " " + Hex(song.Byte(53)) + " " + std::to_string(song.Next()) +
           "\n";
    using enum ArgSwitch;
    for (const ArgSwitch which : {ChordMemory, SoundMemory, BassInversion, TempoLock, KeyboardLock, Ensemble, SyncStart,
                                  SyncStop, DynamicBacking, SplitPointLock, ChordSoundSync}) {
        ArgRecord arg;
        arg.bytes.fill(0x5A);
        const auto filled = arg.bytes;
        arg.SetSwitch(which, true);
        out += "switch " + std::to_string(static_cast<int>(which)) + " on:" + Changed(filled, arg.bytes);
        arg.SetSwitch(which, false);
        out += ", off:" + Changed(filled, arg.bytes) + "\n";
    }
    ArgRecord arg;
    arg.SetByte(17, 0xEF);
    out += "harmony type " + std::to_string(arg.HarmonyType());
    arg.SetHarmonyType(1);
    out += ", 1: " + Hex(arg.Byte(17)) + "\n";
    for (int pedal = 0; pedal < kPedalCount; ++pedal) {
        GblRecord gbl;
        const auto blank = gbl.bytes;
        gbl.SetPedalFunction(pedal, 0x40 + pedal);
        out += "pedal " + std::to_string(pedal) + ":" + Changed(blank, gbl.bytes) + "\n";
    }
    // The split key all arrangements share, if it is one the dialog offers.
    for (const auto& [all, first] :
         {std::pair(60, 60), {36, 36}, {72, 72}, {80, 80}, {96, 96}, {97, 97}, {30, 30}, {60, 61}}) {
        SetData data = test::EmptySet();
        for (ArrangementRecord& a : data.arr.arr) a.SetSplit(all);
        data.arr.arr[0].SetSplit(first);
        out += "common split of " + std::to_string(all) + "/" + std::to_string(first) + ": " +
               std::to_string(CommonSplitKey(data)) + "\n";
    }
    EXPECT_EQ(out, test::Golden("details/fields.txt", out));
}

// What the user types or picks, as the dialogs and vx50 take it: numbers in a range (else the
// field's value), split key names, list entries, names, channel lines, item addresses and the
// labels of sequence slots; the results are in tests/data/details/typed.txt.
TEST(DetailFieldsTest, TypedValuesNamesAndAddresses) {
    std::string out;
    const struct {
        const char* text;
        int minimum, maximum, fallback;
    } numbers[] = {{"250", 40, 240, 120}, {"240", 40, 240, 120}, {" 40 ", 40, 240, 120}, {"39", 40, 240, 120},
                   {"abc", 40, 240, 120}, {"", 40, 240, 120},    {"9x", 40, 240, 120},   {"-5", -11, 11, 0},
                   {"+3", -11, 11, 0},    {"-12", -11, 11, 0}};
    for (const auto& n : numbers)
        out += "number '" + std::string(n.text) + "' in " + std::to_string(n.minimum) + ".." +
               std::to_string(n.maximum) + " else " + std::to_string(n.fallback) + ": " +
               std::to_string(TypedNumber(n.text, n.minimum, n.maximum, n.fallback)) + "\n";
    out += "split keys:";
    for (const std::string& key : SplitKeyNames()) out += " [" + key + "]";
    out += "\nlists: " + ListText(kFillVarName, 13) + ", " + ListText(kVarStartName, 5) + "\n";
    for (const char* name : {"   Piano", " Seventeen letters!", "    "})
        out += "name '" + std::string(name) + "': '" + EditedName(name) + "'\n";
    for (const auto& [channel, value] : {std::pair(0, 255), std::pair(10, 255), std::pair(11, 255), std::pair(15, 15)})
        out += "channel line " + std::to_string(channel) + " " + std::to_string(value) + ": '" +
               ChannelLine(channel, value) + "'\n";
    for (const char* text :
         {"arr:C11", "ARR:d88", "arr:A11", "sty:C68", "prg:F11", "prg:R51", "bsq:3", "sng:9",   "ark:88", "ark:22",
          "arg",     "gbl",     "sty:C71", "arr:C19", "arr:E11", "bsq:10",  "gbl:1", "xyz:C11", "prg:",   "ark:91"}) {
        const auto address = ParseItemAddress(text);
        out += "address " + std::string(text) + ": " +
               (address ? std::string(KindName(address->kind)) + " " + std::to_string(address->number) : "none") + "\n";
    }
    for (const ItemKind kind : {ItemKind::BackingSequence, ItemKind::Song})
        for (const char* label : {"0", "9", "10", "x"})
            out += std::string(KindName(kind)) + " " + label + ": slot " +
                   std::to_string(EditableKindOf(kind)->SlotOfLabel(label)) + "\n";
    EXPECT_EQ(out, test::Golden("details/typed.txt", out));
}

// vx50 show prints what the dialogs and grids show, also for bytes beyond their lists; the
// program dialog lists its callers. tests/data/details/shown.txt.
TEST(DetailFieldsTest, ShownAsTheDialogsShowThem) {
    SetData data = test::EmptySet();
    const PresetTables presets;
    std::string out;
    const auto show = [&](const std::string& what, const std::vector<DetailField>& fields) {
        out += what + ":\n";
        for (const DetailField& f : fields) {
            out += "  " + f.label + ": " + f.value;
            for (const std::string& line : f.lines) out += "|" + line;
            out += "\n";
        }
    };
    data.arr.arr[0].SetCategory(16);
    data.arr.arr[1].SetCategory(3);
    show("arrangement C11, category byte 16", ArrDetails(data, presets, 256));
    show("arrangement C12, category byte 3", ArrDetails(data, presets, 257));
    for (const int byte : {0, 3, 4, 7}) {
        data.arg.record.SetVelocityControl(byte);
        data.arg.record.SetChordRecognition(byte + 6);
        show("arrangement global, velocity control and chord recognition bytes " + std::to_string(byte) + " " +
                 std::to_string(byte + 6),
             ArgDetails(data));
    }
    KbdSetRecord& kbd = data.ark.records[9];
    kbd.SetSplit(62);
    for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, 256 + t);
    show("KBD set 22", KbdDetails(data, presets, 9));
    out += "its grid row:";
    for (int column = 0; column < 7; ++column) out += " [" + KbdGridText(data, presets, 9, column) + "]";
    show("\nKBD set 89", KbdDetails(data, presets, 64));

    const int f11 = 768;
    data.arr.arr[0].SetName("Arr One");
    data.arr.arr[0].SetTrackProgram(2, f11);
    data.arr.arr[0].SetStyle(257);
    data.arr.arr[65].SetTrackProgram(0, f11);  // empty: calls nothing
    data.sty.slots[1].record.SetName("Sty Two");
    data.sty.slots[1].used = 1;
    data.sty.slots[1].record.SetTrackProgram(5, f11);
    data.bsq.entries[4].record.SetName("Bsq Four");
    data.bsq.entries[4].record.SetTrackProgram(7, f11);
    data.bsq.entries[4].record.SetArrangement(256);
    data.bsq.entries[4].record.SetStyle(257);
    data.sng.entries[0].record.SetName("Song Zero");
    data.sng.entries[0].record.SetTrackProgram(15, f11);
    data.ark.records[9].SetTrackProgram(4, f11);
    out += "callers of F11:";
    for (const std::string& line : ProgramCallerLines(data, f11)) out += " [" + line + "]";
    out += "\n";
    EXPECT_EQ(out, test::Golden("details/shown.txt", out));
}

}  // namespace
}  // namespace vx
