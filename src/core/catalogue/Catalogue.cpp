#include "core/catalogue/Catalogue.h"

namespace vx {

namespace {

struct KindRow {
    std::string_view name;
    std::string_view extension;
    int headerByte;
    int dumpCode;
};

// Note that the header byte is not the kind number: a program file carries 0, a song file 1.
constexpr std::array<KindRow, kKindCount> kKinds = {{
    {"Arrangement", ".ARR", 3, 100},
    {"Style", ".STY", 4, 101},
    {"Program", ".PRG", 0, 76},
    {"Backing Sequence", ".BSQ", 5, 102},
    {"Song", ".SNG", 1, 72},
    {"KBD Set", ".ARK", 8, 105},
    {"Arrangement Global", ".ARG", 7, 104},
    {"Global", ".GBL", 6, 81},
    {"XStyle Arrangement", ".XAF", 0, -1},
    {"XStyle Style", ".XSF", 0, -1},
    {"XStyle Program", ".XPF", 0, -1},
    {"XStyle DrumKit", ".XDK", 0, -1},
}};

const KindRow* Row(ItemKind kind) {
    const int index = KindIndex(kind);
    return index >= 0 && index < kKindCount ? &kKinds[static_cast<std::size_t>(index)] : nullptr;
}

struct BankRow {
    std::string_view letter;
    int last;
    int base;
};

constexpr BankRow kNoBank = {" ", 0, 0};

constexpr std::array<std::array<BankRow, kBankCount>, 3> kBanks = {{
    {{{"A", 63, 0}, {"B", 63, 64}, {"C", 63, 256}, {"D", 63, 320}, kNoBank, kNoBank, kNoBank, kNoBank}},
    {{{"A", 63, 0}, {"B", 63, 64}, {"C", 47, 256}, kNoBank, kNoBank, kNoBank, kNoBank, kNoBank}},
    {{{"A", 63, 0},
      {"B", 63, 64},
      {"C", 63, 256},
      {"D", 63, 320},
      {"E", 63, 512},
      {"F", 63, 768},
      {"G", 63, 832},
      {"R", 39, 1024}}},
}};

const BankRow& Bank(int kind, int bank) {
    if (kind < 0 || kind >= static_cast<int>(kBanks.size()) || bank < 0 || bank >= kBankCount) return kNoBank;
    return kBanks[static_cast<std::size_t>(kind)][static_cast<std::size_t>(bank)];
}

}  // namespace

std::string_view KindName(ItemKind kind) {
    const KindRow* row = Row(kind);
    return row ? row->name : std::string_view{};
}

std::string_view KindExtension(ItemKind kind) {
    const KindRow* row = Row(kind);
    return row ? row->extension : std::string_view{};
}

int KindHeaderByte(ItemKind kind) {
    const KindRow* row = Row(kind);
    return row ? row->headerByte : 0;
}

int KindDumpCode(ItemKind kind) {
    const KindRow* row = Row(kind);
    return row ? row->dumpCode : -1;
}

// Arrangements and styles share one list but keep two tables; constexpr so both are ready
// before any other unit's start-up code reads them.
constexpr std::array<std::string_view, 16> kArrStyCategories = {
    "8 Beat", "16 Beat", "BallRoom", "Dance", "Latin",  "Country", "Trad",   "Jazz",
    "R & B",  "Funk",    "Rock",     "World", "User 1", "User 2",  "User 3", "User 4",
};

const std::array<std::string_view, 16> ArrCategoryName = kArrStyCategories;
const std::array<std::string_view, 16> StyCategoryName = kArrStyCategories;

const std::array<std::string_view, 16> PrgCategoryName = {
    "Keyboard", "Organ", "Guitar",    "Bass",        "Strings", "Air/Vocal", "Brass",      "Reed",
    "Pipe",     "Synth", "Synth Pad", "Bell/Mallet", "Plucked", "S.E.",      "Drum/Perc.", "User",
};

std::string_view BankLetter(int kind, int bank) { return Bank(kind, bank).letter; }
int BankLastIndex(int kind, int bank) { return Bank(kind, bank).last; }
int BankBase(int kind, int bank) { return Bank(kind, bank).base; }

int BankCount(int kind) {
    switch (kind) {
        case 0:
            return 4;
        case 1:
            return 3;
        case 2:
            return 8;
        default:
            return 0;
    }
}

const std::array<std::string_view, 5> PresetBankRange = {"R11-R18", "R21-R28", "R31-R38", "R41-R48", "R51-R58"};

// Fixed widths: the trailing blanks line columns up in lists and reports.
const std::array<std::string_view, 11> StyleTrackName = {
    "DRUMS  ", "PERC   ", "BASS   ", "ACC1   ", "ACC2   ", "ACC3   ",
    "MainKBD", "SubKBD ", "LowKBD ", "Harmony", "K.Bass ",
};

const std::array<std::string_view, 8> BsqTrackName = {
    "MainKBD ", "SubKBD  ", "LowerKBD", "Extra 4 ", "Extra 5 ", "Extra 6 ", "Extra 7 ", "Extra 8 ",
};

const std::array<std::string_view, 16> SongTrackName = {
    "Trk  1", "Trk  2", "Trk  3", "Trk  4", "Trk  5", "Trk  6", "Trk  7", "Trk  8",
    "Trk  9", "Trk 10", "Trk 11", "Trk 12", "Trk 13", "Trk 14", "Trk 15", "Trk 16",
};

const std::array<std::string_view, 5> KbdTrackName = {"MainKBD", "SubKBD ", "LowKBD ", "Harmony", "K.Bass "};

const std::array<std::string_view, 12> NoteName = {"C ", "C#", "D ", "D#", "E ", "F ",
                                                   "F#", "G ", "G#", "A ", "A#", "B "};

const std::array<std::string_view, 5> ChordScanName = {"Off", "Lower (Easy)", "Lower (Normal)", "Upper", "Full"};

const std::array<std::string_view, 16> ChannelRoleName = {
    "Main  ", "Sub   ", "Lower ", "Drums ", "Perc  ", "Bass  ", "ACC1  ", "ACC2  ",
    "ACC3  ", "Harmo ", "K.Bass", "Chord ", "Chord2", "Chord3", "ArrChg", "KBDChg",
};

// The row number is the value stored in the global record.
const std::array<std::string_view, 65> SwitchFunctionName = {
    "OFF",
    "DRUMS PLAY/MUTE",
    "PERC PLAY/MUTE",
    "BASS PLAY/MUTE",
    "ACC1 PLAY/MUTE",
    "ACC2 PLAY/MUTE",
    "ACC3 PLAY/MUTE",
    "LOWER KBD PLAY/MUTE",
    "SUB KBD PLAY/MUTE",
    "MAIN KBD PLAY/MUTE",
    "CHORD MEMORY",
    "CHORD SOUND",
    "BASS INVERSION",
    "ENSEMBLE",
    "TEMPO LOCK",
    "KBD LOCK",
    "FULL KBD PLAY",
    "Variation 1",
    "Variation 2",
    "Variation 3",
    "Variation 4",
    "FILL 1",
    "FILL 2",
    "INTRO/ENDING 1",
    "INTRO/ENDING 2",
    "Intro 1",
    "Intro 2",
    "Break",
    "START/STOP",
    "REC/WRITE",
    "FADE IN/OUT",
    "SYNCHRO START",
    "SYNCHRO STOP",
    "RIT.",
    "ACCEL.",
    "TRANSPOSE(b)",
    "TRANSPOSE(#)",
    "OCTAVE DOWN",
    "OCTAVE UP",
    "RESET",
    "TAP TEMPO",
    "Arrange/Style Up",
    "Arrange/Style Down",
    "Program UP",
    "Program DOWN",
    "KBD Set Up",
    "KBD Set Down",
    "Variation Up",
    "Variation Down",
    "Scale Change",
    "FX1 On/Off",
    "FX2 On/Off",
    "Damper",
    "Chord Latch",
    "Chord Latch+Damper",
    "Master Volume",
    "KBD Expression",
    "VDF Cutoff",
    "Joystick +X",
    "Joystick -X",
    "Joystick +Y",
    "Joystick -Y",
    "Effect Control 1",
    "Effect Control 2",
    "Data Entry",
};

}  // namespace vx
