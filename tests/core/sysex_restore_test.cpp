// Restoring a dump message into a set: every kind comes back as it was sent, a bad message
// changes nothing and says what is wrong, and Undo takes a restore back.
#include <gtest/gtest.h>

#include <functional>

#include "SimulatedInstrument.h"
#include "core/catalogue/Catalogue.h"
#include "core/check/SetCheck.h"
#include "core/format/ItemFile.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/DumpParser.h"
#include "core/midi/SysExRestore.h"
#include "core/sequences/SequenceFiles.h"
#include "core/text/Helpers.h"
#include "support/EditFixture.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {


constexpr int kLive = 1;
constexpr int kGigs = 2;

Bytes Dump(const SetData& data, ItemKind kind, int styleSlot = 0) {
    Bytes message;
    std::string error;
    EXPECT_TRUE(BuildDumpMessage(data, kind, styleSlot, SysExHeader{}, message, error)) << error;
    return message;
}

template <typename Entries>
void ExpectSameEntries(const Entries& restored, const Entries& sent) {
    for (std::size_t s = 0; s < sent.size(); ++s) {
        EXPECT_EQ(restored[s].record.bytes, sent[s].record.bytes) << s;
        EXPECT_EQ(restored[s].lengths, sent[s].lengths) << s;
        EXPECT_EQ(restored[s].events, sent[s].events) << s;
    }
}

class SysExRestore : public test::EditFixture {
protected:
    std::optional<ItemKind> Restore(int set, const Bytes& message) {
        return RestoreDump(*session, *scheme, set, message, "/backup/dump.syx");
    }
};

// A backup of every kind and every style block, restored into another set, gives the same
// records (backing sequences and songs keep the receiving set's place in the event memory, so
// their records, sections and events are compared). The demo set comes back with nothing for
// the check to find.
TEST_F(SysExRestore, ABackupOfEveryKindRestoredIntoAnotherSetGivesIdenticalRecords) {
    SetData random = test::RandomSet(3);
    // The pattern counts enter the song dump's 14-bit count: small ones, so that it fits.
    for (std::size_t p = 0; p < random.sng.values.size(); p += 2) random.sng.values[p + 1] = 0;
    const int demo = session->OpenOrNewSet(false, test::SourceDir() + "/examples/DEMO.SET");
    ASSERT_NE(demo, 0);
    for (const SetData* source : {&random, &Data(demo)}) {
        std::vector<Bytes> backup;
        for (int k = 0; k < kSetKindCount; ++k)
            if (KindFromIndex(k) != ItemKind::Style) backup.push_back(Dump(*source, KindFromIndex(k)));
        for (int block = 0; block < source->sty.blockCount; ++block)
            backup.push_back(Dump(*source, ItemKind::Style, 4 * block + 3));
        for (const Bytes& message : backup) ASSERT_TRUE(Restore(kGigs, message)) << ui.Last().text;

        for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Program, ItemKind::KbdSet, ItemKind::ArrangementGlobal,
                              ItemKind::Global})
            EXPECT_EQ(Dump(Data(kGigs), kind), Dump(*source, kind)) << KindName(kind);
        for (int block = 0; block < source->sty.blockCount; ++block)
            EXPECT_EQ(Dump(Data(kGigs), ItemKind::Style, 4 * block), Dump(*source, ItemKind::Style, 4 * block));
        ExpectSameEntries(Data(kGigs).bsq.entries, source->bsq.entries);
        ExpectSameEntries(Data(kGigs).sng.entries, source->sng.entries);
        // The song dump carries the table of 100 values and the pattern map. The demo set's songs
        // start where the receiving set's do, so its song dump comes back byte for byte.
        EXPECT_EQ(Data(kGigs).sng.values, source->sng.values);
        if (source == &Data(demo)) {
            EXPECT_EQ(Dump(Data(kGigs), ItemKind::Song), Dump(*source, ItemKind::Song));
        }
        EXPECT_EQ(session->Slot(kGigs).dirty,
                  (std::array<bool, kSetKindCount>{true, true, true, true, true, true, true, true}));
    }
    EXPECT_EQ(CheckReportText("GIGS", CheckSet(Data(kGigs), session->Slot(kGigs).dirty)),
              "No findings: GIGS is consistent.\n");
    EXPECT_TRUE(ui.messages.empty());
}

// A restore changes only what its dump holds: a style dump its block, a song dump the songs with
// the table of 100 values and the pattern map, a backing sequence dump the backing sequences and
// the songs' place. Undo gives every file back byte for byte.
TEST_F(SysExRestore, UndoOfARestorePutsEveryFileBackByteForByte) {
    SetData source = test::RandomSet(11);
    for (std::size_t p = 0; p < source.sng.values.size(); p += 2) source.sng.values[p + 1] = 0;
    test::FillStyleBlock(source, 1);
    const SetData receiving = test::RandomSet(12);
    Data(kLive).bsq = receiving.bsq;
    Data(kLive).sng = receiving.sng;
    for (ItemKind kind : {ItemKind::Style, ItemKind::Song, ItemKind::BackingSequence}) {
        SCOPED_TRACE(KindName(kind));
        std::vector<Bytes> before;
        for (int k = 0; k < kSetKindCount; ++k) before.push_back(SerializeKind(Data(kLive), KindFromIndex(k)));
        const SetStyles styles = Data(kLive).sty;
        ASSERT_EQ(Restore(kLive, Dump(source, kind, 6)), kind) << ui.Last().text;
        EXPECT_EQ(ui.events.back(), "Undo 1 on");
        EXPECT_NE(SerializeKind(Data(kLive), kind), before[static_cast<std::size_t>(KindIndex(kind))]);
        for (std::size_t slot = 0; slot < kUserStyles; ++slot) {
            const StyleSlot& expected =
                kind == ItemKind::Style && slot / 4 == 1 ? source.sty.slots[slot] : styles.slots[slot];
            EXPECT_EQ(std::tie(Data(kLive).sty.slots[slot].record.bytes, Data(kLive).sty.slots[slot].size,
                               Data(kLive).sty.slots[slot].events),
                      std::tie(expected.record.bytes, expected.size, expected.events))
                << slot;
        }
        if (kind == ItemKind::Song) {
            EXPECT_EQ(Data(kLive).sng.values, source.sng.values);
        }
        ASSERT_TRUE(Do(EditCommand::Undo, kind, kLive, 0).done);
        for (int k = 0; k < kSetKindCount; ++k)
            EXPECT_EQ(SerializeKind(Data(kLive), KindFromIndex(k)), before[static_cast<std::size_t>(k)]) << k;
    }
}

// Changes the body of a backing sequence or song dump as a broken sender would.
// The packed data start at byte 7 (6 in a style dump).
void SpoilBody(Bytes& message, const std::function<void(Bytes& body)>& spoil, std::size_t start = 7) {
    Bytes body;
    ASSERT_TRUE(UnpackSevenBit(message.data() + start, message.size() - start - 1, body));
    spoil(body);
    message.resize(start);
    AppendPacked(message, body);
    message.push_back(0xF7);
}

// A 16-bit value of the song file at its file offset, inside a dump body.
void PutSongWord(Bytes& body, std::size_t fileOffset, int value) {
    body[fileOffset - 96] = static_cast<std::uint8_t>(value & 0xFF);
    body[fileOffset - 95] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// Each fault of a message, the reason shown (tests/data/midi/restore_faults.txt), and the set
// as it was: nothing changed, nothing announced, nothing dirty. Valid dumps the set cannot take
// and a file that cannot be read are refused the same way.
TEST_F(SysExRestore, AnyFaultInTheMessageIsNamedAndTheSetStaysAsItWas) {
    using enum ItemKind;
    const auto style = [](const std::function<void(Bytes&)>& spoil) {
        return [spoil](Bytes& m) { SpoilBody(m, spoil, 6); };
    };
    const auto song = [](std::size_t fileOffset, int value) {
        return [=](Bytes& m) { SpoilBody(m, [&](Bytes& body) { PutSongWord(body, fileOffset, value); }); };
    };
    const std::vector<std::tuple<const char*, ItemKind, std::function<void(Bytes&)>>> cases = {
        {"nothing", Global, [](Bytes& m) { m.clear(); }},
        {"no start byte", Global, [](Bytes& m) { m[0] = 0xF1; }},
        {"cut short", Global, [](Bytes& m) { m.pop_back(); }},
        {"another maker", Global, [](Bytes& m) { m[1] = 0x43; }},
        {"a mode request", Global, [](Bytes& m) { m = ModeRequest(SysExHeader{}); }},
        {"a status byte inside", Global, [](Bytes& m) { m[40] = 0xF7; }},
        {"a group missing", Global, [](Bytes& m) { m.erase(m.begin() + 5, m.begin() + 13); }},
        {"a lone last byte", ArrangementGlobal, [](Bytes& m) { m.insert(m.end() - 1, 2, 0x00); }},
        {"bits for bytes a group lacks", ArrangementGlobal, [](Bytes& m) { m[m.size() - 8] = 0x7F; }},
        {"a block the set cannot have", Style, [](Bytes& m) { m[5] = 12; }},
        // The second entry's offset, byte 6 of the body: group 0, byte 7 of the message.
        {"a style table that skips", Style, [](Bytes& m) { m[6 + 1 + 6] ^= 0x01; }},
        {"a style shorter than its record", Style, style([](Bytes& body) { body[4] = 69; })},
        {"a style block one byte short", Style, style([](Bytes& body) { body.pop_back(); })},
        {"a count that disagrees", BackingSequence, [](Bytes& m) { m[5] ^= 0x01; }},
        {"bytes after the last events", BackingSequence,
         [](Bytes& m) {
             m.insert(m.end() - 1, {0x00, 0x01, 0x02});
         }},
        {"a count byte too high", Song, [](Bytes& m) { m[6] = 0x01; }},
        {"a first pattern offset past the end offset", Song, song(3816, 5)},
        {"a negative end offset", Song, song(4016, -1)},
        {"too few arrangements", Arrangement, [](Bytes& m) { m.erase(m.end() - 9, m.end() - 1); }},
    };
    std::string log;
    const auto refused = [&](const std::string& what, const std::function<bool()>& restore) {
        std::vector<Bytes> before;
        for (int k = 0; k < kSetKindCount; ++k) before.push_back(SerializeKind(Data(kLive), KindFromIndex(k)));
        ui.messages.clear();
        ui.events.clear();
        EXPECT_FALSE(restore()) << what;
        for (const Message& m : ui.messages)
            log += what + " (" + m.title + ", icon " + std::to_string(static_cast<int>(m.icon)) + "): " + m.text + "\n";
        EXPECT_EQ(ui.events, std::vector<std::string>{}) << what;
        for (int k = 0; k < kSetKindCount; ++k) EXPECT_EQ(SerializeKind(Data(kLive), KindFromIndex(k)), before[k]);
        EXPECT_EQ(session->Slot(kLive).dirty, (std::array<bool, kSetKindCount>{})) << what;
    };
    for (const auto& [what, kind, spoil] : cases) {
        Bytes message = Dump(test::EmptySet(), kind);
        spoil(message);
        refused(what, [&] { return Restore(kLive, message).has_value(); });
    }

    SetData source = test::EmptySet();
    source.bsq.entries[0].record.SetName("LONG");
    source.bsq.entries[0].lengths[0] = 400;
    source.bsq.entries[0].total = 400;
    source.bsq.entries[0].events.assign(400 * 16, 0x11);
    for (int b = 0; b < kSequenceCount; ++b)
        for (int k = 0; k < 17; ++k) source.bsq.offsets[b][k] = b == 0 && k == 0 ? 0 : 400;
    source.bsq.endOffset = 400;
    // The receiving set's songs leave 100 units free.
    Data(kLive).sng.entries[0].total = 16284;
    Data(kLive).sng.endOffset = Data(kLive).sng.offsets[0][0] + 16284;
    Data(kLive).sng.patternOffsets.fill(Data(kLive).sng.endOffset);
    Data(kLive).sty.blockCount = 2;
    refused("too long for the memory", [&] { return Restore(kLive, Dump(source, BackingSequence)).has_value(); });
    refused("a block past the set's", [&] { return Restore(kLive, Dump(source, Style, 9)).has_value(); });
    refused("no file", [&] { return RestoreSysExFile(*session, *scheme, kLive, "/nonexistent/none.syx").has_value(); });
    EXPECT_EQ(log, test::Golden("midi/restore_faults.txt", log));
}

// The empty slots of a style dump arrive unused and blank-named, whatever their record bytes hold.
TEST_F(SysExRestore, EmptySlotsOfAStyleDumpArriveUnusedAndBlank) {
    test::FillStyleBlock(Data(kLive), 0);
    Bytes message = Dump(test::EmptySet(), ItemKind::Style, 0);
    SpoilBody(
        message, [](Bytes& body) { std::copy_n("GHOST", 5, body.begin() + 32 + 70); }, 6);
    ASSERT_EQ(Restore(kLive, message), ItemKind::Style);
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const StyleSlot& style = Data(kLive).sty.slots[slot];
        EXPECT_EQ(std::tuple(style.used, style.size, style.record.Name()), std::tuple(0, 0, kBlankName)) << slot;
    }
}

// A save after a song edit stores the songs' new end as the end offset and leaves the pattern
// table behind it. The dump of such a file says where song 9 ends by its end offset alone:
// every pattern offset past it goes out as the end offset, so that no reader takes song 9 to
// run on to the stale first pattern offset, past the events the dump holds.
TEST_F(SysExRestore, ASongFileSavedAfterASongEditDumpsAMapThatAgreesWithItsEvents) {
    // SAVED.SNG: songs from unit 8192, only song 9 holding events (2 units), the 100 values 3 in
    // all, the pattern offsets stale at 8200 and up, the end offset 8194. SAVED.SYX: its dump.
    const std::string data = test::SourceDir() + "/tests/data/midi/";
    SetData source = test::EmptySet();
    ASSERT_TRUE(LoadSng(ItemFile("SAVED.SNG", test::ReadFileBytes(data + "SAVED.SNG")), source.sng));
    const Bytes message = Dump(source, ItemKind::Song);
    EXPECT_EQ(message, test::ReadFileBytes(data + "SAVED.SYX"));

    // The instrument takes it, and a restore gives the same dump back.
    vxi::InstrumentOptions receiving;
    receiving.mode = 4;
    vxi::SimulatedInstrument instrument(receiving);
    EXPECT_EQ(instrument.Receive(message).size(), 1u) << instrument.Journal().back();
    Data(kLive).sng.offsets = source.sng.offsets;  // the same place in the event memory
    ASSERT_EQ(Restore(kLive, message), ItemKind::Song) << ui.Last().text;
    EXPECT_EQ(Dump(Data(kLive), ItemKind::Song), message);
    EXPECT_EQ(TrimBlanks(Data(kLive).sng.entries[9].record.Name()), "LAST SONG");
}

}  // namespace
}  // namespace vx
