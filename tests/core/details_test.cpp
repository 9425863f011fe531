// Record fields the parameter dialogs edit, the caller lists they show and the texts of
// vx50 show, on records written byte by byte.
#include <gtest/gtest.h>

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

TEST(DetailFieldsTest, ArrangementBytesReadAndWriteAsTheDialogShowsThem) {
    ArrangementRecord r;
    r.bytes.fill(0xA5);
    r.SetByte(21, 0);
    r.SetByte(25, 0xF4);
    EXPECT_EQ(r.Tempo(), 30);
    EXPECT_EQ(r.Transpose(), -12);
    r.SetTempo(120);
    r.SetTranspose(-5);
    r.SetFullKbd(true);
    r.SetDrumMap(3, 7);
    r.SetFillVar(1, 12);
    ArrangementRecord expected;
    expected.bytes.fill(0xA5);
    expected.SetByte(21, 90);
    expected.SetByte(25, 251);
    expected.SetByte(22, 1);
    expected.SetByte(32, 7);
    expected.SetByte(38, 12);
    EXPECT_EQ(r.bytes, expected.bytes);

    // Chord scan: the mode in bits 0-1; bit 5 set by Lower (Easy), cleared by Lower (Normal),
    // kept by the others; the other bits never touched.
    struct Case {
        std::uint8_t before;
        int index;
        std::uint8_t after;
    };
    const Case cases[] = {
        {0xC4, 0, 0xC4}, {0xC4, 1, 0xE5}, {0xC4, 2, 0xC5}, {0xC4, 3, 0xC6}, {0xC4, 4, 0xC7},
        {0xE7, 0, 0xE4}, {0xE4, 1, 0xE5}, {0xE4, 2, 0xC5}, {0xE4, 3, 0xE6}, {0xE4, 4, 0xE7},
    };
    for (const Case& c : cases) {
        r.SetByte(28, c.before);
        r.SetChordScan(c.index);
        EXPECT_EQ(r.Byte(28), c.after) << int(c.before) << " index " << c.index;
        EXPECT_EQ(r.ChordScan(), c.index);
    }
}

TEST(DetailFieldsTest, ChainFlagsKeepTheirOtherBits) {
    BsqRecord bsq;
    bsq.SetByte(79, 12);
    bsq.SetByte(80, 0xF0);
    EXPECT_EQ(bsq.Next(), 0);
    bsq.SetChain(true);
    EXPECT_EQ(bsq.Byte(80), 0xF2);
    bsq.SetAutoStart(true);
    bsq.SetChain(false);
    EXPECT_EQ(bsq.Byte(80), 0xF1);
    EXPECT_TRUE(bsq.AutoStart());
    SongRecord song;
    song.SetNext(9);
    song.SetChain(true);
    EXPECT_EQ(song.Byte(52), 9);
    EXPECT_EQ(song.Byte(53), 0x02);
    EXPECT_EQ(song.Next(), 9);
}

TEST(DetailFieldsTest, GlobalSwitchesAndPedalsLieWhereTheRecordKeepsThem) {
    const std::pair<ArgSwitch, std::pair<int, std::uint8_t>> switches[] = {
        {ArgSwitch::ChordMemory, {16, 0x01}},    {ArgSwitch::SoundMemory, {17, 0x01}},
        {ArgSwitch::BassInversion, {18, 0x01}},  {ArgSwitch::TempoLock, {20, 0x01}},
        {ArgSwitch::KeyboardLock, {21, 0x01}},   {ArgSwitch::Ensemble, {22, 0x01}},
        {ArgSwitch::SyncStart, {24, 0x01}},      {ArgSwitch::SyncStop, {24, 0x02}},
        {ArgSwitch::DynamicBacking, {25, 0x01}}, {ArgSwitch::SplitPointLock, {27, 0x01}},
        {ArgSwitch::ChordSoundSync, {32, 0x01}},
    };
    for (const auto& [which, where] : switches) {
        ArgRecord arg;
        arg.bytes.fill(0x5A);
        arg.SetSwitch(which, true);
        ArgRecord expected;
        expected.bytes.fill(0x5A);
        expected.SetByte(static_cast<std::size_t>(where.first), 0x5A | where.second);
        EXPECT_EQ(arg.bytes, expected.bytes) << where.first;
        arg.SetSwitch(which, false);
        EXPECT_EQ(arg.Byte(static_cast<std::size_t>(where.first)), 0x5A & ~where.second);
    }
    ArgRecord arg;
    arg.SetByte(17, 0xEF);
    EXPECT_EQ(arg.HarmonyType(), 0);
    arg.SetHarmonyType(1);
    EXPECT_EQ(arg.Byte(17), 0xFF);

    GblRecord gbl;
    for (int pedal = 0; pedal < kPedalCount; ++pedal) gbl.SetPedalFunction(pedal, 0x40 + pedal);
    const int offsets[] = {10, 11, 12, 13, 14, 3, 4, 15, 16};
    for (int pedal = 0; pedal < kPedalCount; ++pedal) EXPECT_EQ(gbl.Byte(offsets[pedal]), 0x40 + pedal);
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

TEST(DetailFieldsTest, CommonSplitKeyOnlyWhenAllShareAnOfferedKey) {
    struct Case {
        int all, first;
        int expected;
    };
    const Case cases[] = {{60, 60, 60}, {36, 36, 36}, {72, 72, 72}, {80, 80, 80},
                          {96, 96, 96}, {97, 97, -1}, {30, 30, -1}, {60, 61, -1}};
    for (const Case& c : cases) {
        SetData data = test::EmptySet();
        for (ArrangementRecord& r : data.arr.arr) r.SetSplit(c.all);
        data.arr.arr[0].SetSplit(c.first);
        EXPECT_EQ(CommonSplitKey(data), c.expected) << c.all << "/" << c.first;
    }
}

// vx50 show prints what the dialogs and grids show, also for bytes beyond their lists.
TEST(DetailFieldsTest, ShownAsTheDialogsShowThem) {
    SetData data = test::EmptySet();
    const PresetTables presets;
    auto field = [](const std::vector<DetailField>& fields, const std::string& label) {
        for (const DetailField& f : fields)
            if (f.label == label) {
                std::string text = f.value;
                for (const std::string& line : f.lines) text += "|" + line;
                return text;
            }
        return std::string("missing");
    };
    data.arr.arr[0].SetCategory(16);
    data.arr.arr[1].SetCategory(3);
    EXPECT_EQ(field(ArrDetails(data, presets, 256), "Category"), std::string(ArrCategoryName[0]));
    EXPECT_EQ(field(ArrDetails(data, presets, 257), "Category"), std::string(ArrCategoryName[3]));
    const std::pair<int, const char*> velocities[] = {{0, "Off"}, {3, "Fill 2"}, {4, "(none)"}, {7, "(none)"}};
    for (const auto& [byte, shown] : velocities) {
        data.arg.record.SetVelocityControl(byte);
        EXPECT_EQ(field(ArgDetails(data), "Velocity Control"), shown) << byte;
    }
    data.arg.record.SetChordRecognition(9);
    EXPECT_EQ(field(ArgDetails(data), "Chord Recognition"), "(none)");

    // A KBD set: its grid row, label by label.
    KbdSetRecord& kbd = data.ark.records[9];
    kbd.SetSplit(62);
    for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, 256 + t);
    const auto fields = KbdDetails(data, presets, 9);
    std::string tracks;
    for (int column = 2; column < 7; ++column)
        tracks += "|" + std::string(kKbdGridHeader[static_cast<std::size_t>(column)]) + ": " +
                  KbdGridText(data, presets, 9, column);
    EXPECT_EQ(field(fields, "KBD Set") + " " + field(fields, "Split Key") + " " + KbdGridText(data, presets, 9, 1),
              "22 D4 D4");
    EXPECT_EQ(field(fields, "Programs"), tracks);
    EXPECT_TRUE(KbdDetails(data, presets, 64).empty());
}

TEST(DetailFieldsTest, CallerLinesOfTheProgramDialog) {
    SetData data = test::EmptySet();
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

    const std::vector<std::string> lines = {"Arr C11: BASS   ", "Sty C12: ACC3   ", "BSeq  4: Extra 8 ",
                                            "Song  0: Trk 16", "KSet 22: K.Bass "};
    EXPECT_EQ(ProgramCallerLines(data, f11), lines);
}

}  // namespace
}  // namespace vx
