#include <gtest/gtest.h>

#include <functional>

#include "SimulatedInstrument.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/ItemKind.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/SysExAssembler.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                 bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// Seven-bit packing and the framing of dump messages, as hex lines in tests/data/midi/messages.txt.
TEST(DumpMessage, PackingAndFramingOfTheDumps) {
    std::string out;
    const Bytes bodies[] = {
        {}, {0x80}, {0x01, 0xFF, 0x7F}, {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86}, {0, 0, 0, 0, 0, 0, 0xC0, 0xFF}};
    for (const Bytes& body : bodies) {
        const Bytes packed = PackSevenBit(body);
        Bytes back;
        const bool unpacked = UnpackSevenBit(packed.data(), packed.size(), back);
        out += "pack [" + HexDump(body) + "]: [" + HexDump(packed) + "] size " +
               std::to_string(PackedSize(body.size())) + (unpacked && back == body ? ", unpacks\n" : ", lost\n");
    }
    out +=
        "packed sizes of 416 and 48: " + std::to_string(PackedSize(416)) + " " + std::to_string(PackedSize(48)) + "\n";
    for (const Bytes& packed : {Bytes{0x00, 0x80}, Bytes{0x02, 0x11}, Bytes{0x7F, 1, 2, 3, 4, 5, 6, 7},
                                Bytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x00}}) {
        Bytes body;
        out += "unpack [" + HexDump(packed) +
               "]: " + (UnpackSevenBit(packed.data(), packed.size(), body) ? "[" + HexDump(body) + "]\n" : "refused\n");
    }

    SetData set = test::EmptySet();
    for (std::size_t i = 0; i < GblRecord::kSize; ++i) set.gbl.record.bytes[i] = static_cast<std::uint8_t>(i * 7);
    SysExHeader header;
    header.bytes[2] = 0x35;
    for (const ItemKind kind : {ItemKind::Global, ItemKind::ArrangementGlobal}) {
        Bytes message, body;
        std::string error;
        ASSERT_TRUE(BuildDumpMessage(set, kind, 0, header, message, error));
        ASSERT_TRUE(UnpackSevenBit(message.data() + 5, message.size() - 6, body));
        out += std::string(KindName(kind)) + ": " + std::to_string(message.size()) + " bytes [" +
               HexDump(Slice(message, 0, 5)) + " .. " + HexDump(Slice(message, message.size() - 1, 1)) + "], body " +
               std::to_string(body.size()) + " [" + HexDump(Slice(body, 0, 8)) + " ..]\n";
    }

    // A style block: its number, the offset table and every slot, an empty one as a blank record.
    const std::uint16_t sizes[] = {100, 200, 300};
    for (int i = 0; i < 3; ++i) {
        auto& slot = set.sty.slots[13 + static_cast<std::size_t>(i)];
        slot.used = 1;
        slot.size = sizes[i];
        slot.record.SetName("Style " + std::to_string(i));
        slot.events.assign(sizes[i] - StyleRecord::kSize, static_cast<std::uint8_t>(0xA0 + i));
    }
    const auto style = [&](int slot) {
        DumpContent content;
        std::string error;
        EXPECT_TRUE(BuildDumpContent(set, ItemKind::Style, slot, content, error));
        out += "style block of slot " + std::to_string(slot) + ": [" + HexDump(content.extra) + "], body " +
               std::to_string(content.body.size()) + ", table [" + HexDump(Slice(content.body, 0, 32)) + "]\n";
        for (std::size_t at = 32; at < content.body.size(); at += 70)
            out += "  " + std::to_string(at) + ": [" +
                   HexDump(Slice(content.body, at, std::min<std::size_t>(70, content.body.size() - at))) + "]\n";
    };
    style(13);
    // Any style of the block gives the same message.
    Bytes fromSlot12, fromSlot15;
    std::string error;
    ASSERT_TRUE(BuildDumpMessage(set, ItemKind::Style, 12, SysExHeader{}, fromSlot12, error));
    ASSERT_TRUE(BuildDumpMessage(set, ItemKind::Style, 15, SysExHeader{}, fromSlot15, error));
    EXPECT_EQ(fromSlot12, fromSlot15);
    out += "style message head: [" + HexDump(Slice(fromSlot12, 0, 6)) + "]\n";
    // A blank style (size 1176, no events held) is sent with its full size, zeros for the events.
    auto& blank = set.sty.slots[12];
    blank.used = 1;
    blank.size = kEmptyStyleSize;
    blank.events.clear();
    style(12);

    // Sequences announce their memory count in two seven-bit bytes.
    set = test::EmptySet();
    for (int b = 0; b < kSequenceCount; ++b) {
        set.bsq.entries[b].total = 30 + b;  // 345 units in all
        set.bsq.entries[b].lengths[0] = 30 + b;
        set.bsq.entries[b].events.assign(static_cast<std::size_t>(30 + b) * 16, static_cast<std::uint8_t>(b));
    }
    RebuildOffsets(set.bsq);
    DumpContent content;
    const auto sequences = [&](ItemKind kind, const std::string& what) {
        out += std::string(KindName(kind)) + what + ": ";
        out += BuildDumpContent(set, kind, 0, content, error)
                   ? "[" + HexDump(content.extra) + "], body " + std::to_string(content.body.size()) + " ending " +
                         std::to_string(content.body.back()) + "\n"
                   : error + "\n";
    };
    sequences(ItemKind::BackingSequence, " of 345 units");
    // Songs add the hundred pattern counts; a total the two bytes cannot carry is refused
    // instead of putting a status byte into the message.
    set.sng.entries[0].total = 2;
    set.sng.values[0] = 5;
    set.sng.values[2] = 1;
    set.sng.values[3] = 1;  // 257
    sequences(ItemKind::Song, " of 2 + 5 + 257 units");
    set.sng.values[4] = 0xF7;
    set.sng.values[5] = 0x3E;  // + 16119: 16383, the most the two bytes carry
    sequences(ItemKind::Song, " of 16383 units");
    set.sng.values[4] = 0xF8;
    sequences(ItemKind::Song, " of 16384 units");
    EXPECT_EQ(out, test::Golden("midi/messages.txt", out));
}

TEST(SysExAssembler, RebuildsSplitMessagesAndIgnoresEverythingElse) {
    SysExAssembler assembler;
    const Bytes a = {0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7};
    assembler.Feed(Bytes{0x90, 0x3C, 0x50});        // a note is not system exclusive
    assembler.Feed(Bytes{0xF0, 0x42, 0xF8, 0x30});  // clock inside a message is dropped
    assembler.Feed(Bytes{0x49});
    assembler.Feed(Bytes{0x23, 0xF7, 0xF0, 0x01});
    assembler.Feed(Bytes{0x02, 0x80, 0x3C});  // a status byte ends the unfinished message
    assembler.Feed(Bytes{0xF0, 0x7E, 0xF7});
    Bytes message;
    ASSERT_TRUE(assembler.Next(message));
    EXPECT_EQ(message, a);
    ASSERT_TRUE(assembler.Next(message));
    EXPECT_EQ(message, (Bytes{0xF0, 0x7E, 0xF7}));
    EXPECT_FALSE(assembler.Next(message));

    // A message keeps the time of the piece that held its first byte.
    const auto at = [](int ms) { return SysExAssembler::TimePoint(std::chrono::milliseconds(ms)); };
    assembler.Feed(Bytes{0x01, 0xF0, 0x42}, at(5));
    assembler.Feed(Bytes{0x30, 0xF7, 0xF0}, at(9));
    assembler.Feed(Bytes{0xF7}, at(12));
    SysExAssembler::TimePoint started;
    ASSERT_TRUE(assembler.Next(message, &started));
    EXPECT_EQ(message, (Bytes{0xF0, 0x42, 0x30, 0xF7}));
    EXPECT_EQ(started, at(5));
    ASSERT_TRUE(assembler.Next(message, &started));
    EXPECT_EQ(started, at(9));

    EXPECT_EQ(SplitIntoPieces(2500, 1024),
              (std::vector<std::pair<std::size_t, std::size_t>>{{0, 1024}, {1024, 1024}, {2048, 452}}));
}

// The message of a kind with its count bytes and body changed as a broken sender would.
Bytes Respoiled(const Bytes& message, const std::function<void(Bytes& extra, Bytes& body)>& spoil) {
    Bytes extra(message.begin() + 5, message.begin() + 7), body;
    EXPECT_TRUE(UnpackSevenBit(message.data() + 7, message.size() - 8, body));
    spoil(extra, body);
    Bytes out(message.begin(), message.begin() + 7);
    out[5] = extra[0];
    out[6] = extra[1];
    AppendPacked(out, body);
    out.push_back(0xF7);
    return out;
}

// The simulated instrument answers a dump and saves it numbered after the highest file there;
// it refuses a cut message, another device's and one with a status byte inside, and checks songs
// as strictly as backing sequences: a count off by one, a body 16 bytes short and an offset that
// reaches past the events are refused, each with its reason. Its answers and the last line of
// its journal for each message are tests/data/midi/instrument_refusals.txt.
TEST(SimulatedInstrument, ChecksFramingAndBodiesAndNumbersSavedDumps) {
    std::string journal;
    const auto receive = [&](vxi::SimulatedInstrument& instrument, const Bytes& message) {
        for (const vxi::Reply& reply : instrument.Receive(message)) journal += "answer " + HexDump(reply.bytes) + "\n";
        journal += instrument.Journal().back() + "\n";
    };
    test::TempDirectory dir;
    test::WriteFileBytes(dir.Path() / "000009-GBL.SYX", {0xF0, 0xF7});
    vxi::InstrumentOptions options;
    options.deviceId = 2;
    options.mode = 4;
    options.saveDirectory = dir.Str();
    vxi::SimulatedInstrument saving(options);
    SysExHeader header;
    header.bytes[2] = 0x32;
    Bytes message;
    std::string error;
    ASSERT_TRUE(BuildDumpMessage(test::EmptySet(), ItemKind::ArrangementGlobal, 0, header, message, error));
    receive(saving, message);
    EXPECT_EQ(test::ReadFileBytes(dir.Path() / "000010-ARG.SYX"), message);
    Bytes cut(message.begin(), message.begin() + 30), otherDevice = message, badByte = message;
    cut.push_back(0xF7);
    otherDevice[2] = 0x30;
    badByte[20] = 0x90;
    for (const Bytes& bad : {cut, otherDevice, badByte}) receive(saving, bad);
    EXPECT_EQ(saving.Dumps().size(), 1u);

    SetData set = test::RandomSet(7);
    for (std::size_t p = 0; p < set.sng.values.size(); p += 2) {  // a count that fits in two 7-bit bytes
        set.sng.values[p] &= 0x03;
        set.sng.values[p + 1] = 0;
    }
    // Body offset of the value that closes the last events.
    for (const auto& [kind, lastOffsetAt] :
         {std::pair(ItemKind::BackingSequence, 2640), std::pair(ItemKind::Song, 3720)}) {
        Bytes good;
        ASSERT_TRUE(BuildDumpMessage(set, kind, 0, SysExHeader{}, good, error)) << error;
        for (const Bytes& m : {good, Respoiled(good, [](Bytes&extra, Bytes&) { extra[0] ^= 0x01; }),
                               Respoiled(good, [](Bytes&, Bytes&body) { body.resize(body.size() - 16); }),
                               Respoiled(good, [&](Bytes&, Bytes&body) { body[lastOffsetAt] += 1; })}) {
            vxi::InstrumentOptions receiving;
            receiving.mode = 4;
            vxi::SimulatedInstrument instrument(receiving);
            receive(instrument, m);
        }
    }
    EXPECT_EQ(journal, test::Golden("midi/instrument_refusals.txt", journal));
}

}  // namespace
}  // namespace vx
