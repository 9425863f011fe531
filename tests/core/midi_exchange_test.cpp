#include <gtest/gtest.h>

#include "core/midi/MidiDump.h"
#include "core/midi/MidiLink.h"
#include "core/text/Helpers.h"
#include "support/MidiLoopback.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

using vxi::Fault;

const std::string kPrompt =
    "On Vemo-x50:\n\n1. Press 'MENU'\n2. Select 'Filter, MIDI'\n3. Select 'page' menu\n4. Select 'Receive Dumped Data'";

vxi::InstrumentOptions Instrument(int deviceId, int mode, Fault fault) {
    vxi::InstrumentOptions options;
    options.deviceId = deviceId;
    options.mode = mode;
    options.fault = fault;
    return options;
}

// An instrument on loopback ports, the editor's side of the link, and what the user saw.
struct Bench {
    explicit Bench(vxi::InstrumentOptions options) : instrument(options), ports(instrument, clock) {}

    std::string LogText() const {
        const Bytes bytes = test::ReadFileBytes(logDir.Path() / "VXEDITR.LOG");
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempDirectory logDir;
    vxi::SimulatedInstrument instrument;
    test::FakeClock clock;
    test::LoopbackPorts ports;
    test::ScriptedInteraction ui;
    MidiLink link{ports, ui, clock, logDir.Str()};
};

TEST(MidiSetup, ListsPortsAndPreselectsTheLastOneNamedLikeTheInstrument) {
    Bench bench({});
    bench.ports.outputs = {"Vemo-x50 A", "Synth", "vemo-X50 B", "Through"};
    MidiPortLists lists;
    bench.link.ready = true;
    ASSERT_TRUE(bench.link.ListPorts(lists));
    EXPECT_FALSE(bench.link.ready);
    EXPECT_EQ(lists.preferredOutput, 2);
    EXPECT_EQ(lists.preferredInput, 0);

    EXPECT_EQ(lists.interfaceName, "Loopback");
    EXPECT_EQ(bench.LogText(), "");

    // Without a port the user learns what to do, and the log holds what the libraries said.
    bench.ports.inputs.clear();
    bench.ports.libraryMessages = {"ALSA lib seq_hw.c:466:(snd_seq_hw_open) open /dev/snd/seq failed: No such file"};
    EXPECT_FALSE(bench.link.ListPorts(lists));
    EXPECT_EQ(bench.ui.Last().text,
              "No MIDI driver is present\n\nLoad the ALSA sequencer (modprobe snd-seq) or start "
              "a JACK server, then open MIDI Setup again. What the MIDI interfaces reported is "
              "in " +
                  (bench.logDir.Path() / "VXEDITR.LOG").string() + ".");
    EXPECT_EQ(bench.ui.Last().icon, MessageIcon::Exclamation);
    EXPECT_EQ(bench.LogText(),
              "Vemo-x50 File Editor v.1.0.6\r\nMIDI Setup: No MIDI driver is present (interface: Loopback)\r\n"
              "ALSA lib seq_hw.c:466:(snd_seq_hw_open) open /dev/snd/seq failed: No such file\r\n");

    // Where no log can be written, the advice names none.
    MidiLink unlogged(bench.ports, bench.ui, bench.clock, (bench.logDir.Path() / "missing").string());
    EXPECT_FALSE(unlogged.ListPorts(lists));
    EXPECT_EQ(bench.ui.Last().text,
              "No MIDI driver is present\n\nLoad the ALSA sequencer (modprobe snd-seq) or start "
              "a JACK server, then open MIDI Setup again.");
}

TEST(MidiSetup, DetectionTakesTheDeviceIdAndReportsEachWrongAnswer) {
    struct Case {
        Fault fault;
        std::string message;
    };
    const Bytes inquiry = {0xF0, 0x7E, 0x05, 0x06, 0x02, 0x42, 0x49, 0, 0, 0, 0x01, 0, 0, 0, 0xF7};
    for (const Case& c :
         {Case{Fault::None, ""}, Case{Fault::ShortIdentity, "Receive Time-Out error"},
          Case{Fault::OtherMaker, "No Vemo instrument found"}, Case{Fault::OtherFamily, "Vemo-x not found"}}) {
        Bench bench(Instrument(5, 1, c.fault));
        const bool found = bench.link.Detect(1, 0);
        EXPECT_EQ(found, c.fault == Fault::None);
        EXPECT_EQ(bench.link.ready, found);
        EXPECT_EQ(bench.ports.sent.front(), (Bytes{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}));
        if (found) {
            EXPECT_TRUE(bench.ui.messages.empty());
            EXPECT_EQ(bench.link.header.Whole(), (Bytes{0xF0, 0x42, 0x35, 0x49, 0x23, 0xF7}));
            EXPECT_EQ(bench.link.inquiryReply, inquiry);
            // The test note on the instrument's channel, then its release.
            ASSERT_EQ(bench.ports.sent.size(), 3u);
            EXPECT_EQ(bench.ports.sent[1], (Bytes{0x95, 60, 80}));
            EXPECT_EQ(bench.ports.sent[2], (Bytes{0x85, 60, 64}));
            EXPECT_EQ(bench.LogText(), "");
            // A second detection on the same instrument keeps the same header.
            ASSERT_TRUE(bench.link.Detect(1, 0));
            EXPECT_EQ(bench.link.header.bytes[2], 0x35);
            continue;
        }
        ASSERT_EQ(bench.ui.Texts(), std::vector<std::string>{c.message});
        Bytes logged = inquiry;
        if (c.fault == Fault::ShortIdentity) logged.erase(logged.begin() + 13), logged.push_back(0);
        if (c.fault == Fault::OtherMaker) logged[5] = 0x43;
        if (c.fault == Fault::OtherFamily) logged[6] = 0x4A;
        EXPECT_EQ(bench.LogText(), "Vemo-x50 File Editor v.1.0.6\r\n(InqRep= " + HexDump(logged) + ")\r\n");
    }
}

TEST(MidiSetup, DeviceIdAboveFifteenCannotPutAStatusByteIntoRequests) {
    Bench bench(Instrument(0x7F, 1, Fault::None));
    ASSERT_TRUE(bench.link.Detect(1, 0));
    EXPECT_EQ(bench.link.channel, 15);
    EXPECT_EQ(bench.link.header.Whole(), (Bytes{0xF0, 0x42, 0x3F, 0x49, 0x23, 0xF7}));
}

TEST(MidiSetup, ReplyWaitSleepsBetweenPollsAndKeepsItsLengthOnTheMonotonicClock) {
    Bench bench(Instrument(0, 1, Fault::ShortIdentity));
    bench.link.Detect(0, 0);
    // 15 bytes: 15 / 3000 + 1 seconds from the moment the 6-byte request is across a MIDI cable
    // (1.92 ms), polled every millisecond, never in a busy loop.
    EXPECT_GE(bench.clock.Seconds(), 1.00692);
    EXPECT_LT(bench.clock.Seconds(), 1.00792);
    EXPECT_EQ(bench.clock.sleeps, 1007);
}

TEST(MidiSetup, DeviceErrorsShowTheDriversText) {
    Bench bench({});
    bench.ports.outputOpenError = "port vanished";
    EXPECT_FALSE(bench.link.Detect(0, 0));
    ASSERT_EQ(bench.ui.messages.size(), 1u);
    EXPECT_EQ(bench.ui.Last().text, "MIDI Output error: \nport vanished");
    EXPECT_EQ(bench.ui.Last().icon, MessageIcon::Critical);
    EXPECT_TRUE(bench.ports.sent.empty());
}

TEST(DumpMidi, PromptNamesTheStepsAndTheTimeOfLongTransfers) {
    EXPECT_EQ(DumpPrompt(482), kPrompt);
    EXPECT_EQ(DumpPrompt(7894), kPrompt);  // 3.0 s
    EXPECT_EQ(DumpPrompt(7895), kPrompt + "\n\nTransmission time = 4 s");
    EXPECT_EQ(DumpPrompt(299633), kPrompt + "\n\nTransmission time = 114 s");
}

TEST(DumpMidi, EachAnswerOfTheInstrumentGivesItsMessageAndTheDumpArrivesWhole) {
    struct Case {
        Fault fault;
        int mode;
        std::vector<std::string> after;  // messages after the prompt
        DumpOutcome outcome;
    };
    const std::string noReply = "No reply from Vemo-x\nCheck its menu and retry";
    const std::vector<Case> cases = {
        {Fault::None, 1, {}, DumpOutcome::Sent},
        {Fault::None, 4, {}, DumpOutcome::Sent},
        {Fault::WrongAck, 4, {"No ACK from Vemo-x"}, DumpOutcome::Failed},
        {Fault::NoReply, 4, {"Receive Time-Out error", noReply}, DumpOutcome::Failed},
        {Fault::Slow, 4, {"Receive Time-Out error", noReply}, DumpOutcome::Failed},
    };
    SetData set = test::RandomSet(3);
    Bytes expected;
    std::string error;
    SysExHeader header;
    header.bytes[2] = 0x33;
    ASSERT_TRUE(BuildDumpMessage(set, ItemKind::Global, 0, header, expected, error));
    for (const Case& c : cases) {
        Bench bench(Instrument(3, c.mode, c.fault));
        bench.link.header = header;
        bench.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
        EXPECT_EQ(SendKindToInstrument(bench.link, set, ItemKind::Global, 0), c.outcome);

        std::vector<std::string> texts = {kPrompt};
        texts.insert(texts.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(bench.ui.Texts(), texts);
        EXPECT_EQ(bench.ui.messages[0].buttons, MessageButtons::OKCancel);
        // Only an instrument outside the receiving mode is switched.
        EXPECT_EQ(bench.instrument.ModeChanges(), c.mode == 4 ? 0 : 1);
        EXPECT_EQ(bench.ports.sent[0], (Bytes{0xF0, 0x42, 0x33, 0x49, 0x12, 0xF7}));
        if (c.mode != 4) {
            EXPECT_EQ(bench.ports.sent[1], (Bytes{0xF0, 0x42, 0x33, 0x49, 0x4E, 0x04, 0xF7}));
        }
        ASSERT_EQ(bench.instrument.Dumps().size(), 1u);
        EXPECT_EQ(bench.ports.sent[c.mode == 4 ? 1 : 2], expected);
        // A wrong acknowledgement is logged and followed by a lone end of exclusive.
        EXPECT_EQ(bench.ports.sent.back() == Bytes{0xF7}, c.fault == Fault::WrongAck);
        if (c.fault == Fault::WrongAck) {
            EXPECT_EQ(bench.LogText(), "Vemo-x50 File Editor v.1.0.6\r\n(InqRep= " + HexDump(Bytes(15, 0)) +
                                           ")\r\nDumpMidi => devRep= F0 42 33 49 24 F7 \r\n");
        }
    }
}

// The program dump (34,786 bytes) takes 11.13 s on a cable; the driver returns at once. The
// acknowledgement wait counts from the moment the last byte can be across.
TEST(DumpMidi, AcknowledgementWaitStartsWhenTheWholeDumpCanHaveCrossedTheCable) {
    struct Case {
        Fault fault;
        DumpOutcome outcome;
        double endsAt;  // seconds on the fake clock
    };
    SetData set = test::RandomSet(6);
    const double cable = 34786 * 10 / 31250.0 + 0.002;  // behind the mode request and its reply
    for (const Case& c :
         {Case{Fault::None, DumpOutcome::Sent, cable}, Case{Fault::NoReply, DumpOutcome::Failed, cable + 1.003}}) {
        Bench bench(Instrument(0, 4, c.fault));
        bench.ports.cable = true;
        bench.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
        EXPECT_EQ(SendKindToInstrument(bench.link, set, ItemKind::Program, 0), c.outcome);
        ASSERT_EQ(bench.ports.sent[1].size(), 34786u);
        EXPECT_NEAR(bench.clock.Seconds(), c.endsAt, 0.0011);
    }
}

TEST(DumpMidi, CancelSendsNothingOrEndsTheCutMessage) {
    SetData set = test::RandomSet(4);
    Bench declined(Instrument(0, 4, Fault::None));
    declined.ui.AnswerTo(QuestionId::SendDump, Answer::Cancel);
    EXPECT_EQ(SendKindToInstrument(declined.link, set, ItemKind::Arrangement, 0), DumpOutcome::Declined);
    EXPECT_EQ(declined.ports.sent.size(), 1u);  // the mode request only

    Bench cancelled(Instrument(0, 4, Fault::None));
    cancelled.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
    cancelled.ports.cancelAfterPieces = 3;
    EXPECT_EQ(SendKindToInstrument(cancelled.link, set, ItemKind::Arrangement, 0), DumpOutcome::Cancelled);
    EXPECT_EQ(cancelled.ui.Texts(), std::vector<std::string>{kPrompt + "\n\nTransmission time = 10 s"});
    EXPECT_EQ(cancelled.ui.progressTitles, std::vector<std::string>{"Send to Vemo-x50 | Sending Arrangement data..."});
    ASSERT_EQ(cancelled.ports.sent.size(), 3u);
    EXPECT_EQ(cancelled.ports.sent[1].size(), 3072u);
    EXPECT_EQ(cancelled.ports.sent[2], Bytes{0xF7});
    EXPECT_TRUE(cancelled.instrument.Dumps().empty());
    EXPECT_EQ(cancelled.instrument.Journal().back(),
              "rejected: Arrangement dump of 3073 bytes is malformed: The Arrangement dump's packed data are cut short "
              "or carry bits for bytes they lack.");
}

TEST(DumpMidi, ModeExchangeFailuresAreLogged) {
    Bench bench(Instrument(0, 1, Fault::None));
    bench.ports.inputs = {"Vemo-x50 Simulator:out"};
    bench.link.header.bytes[2] = 0x31;  // the instrument listens on device 0: nothing answers
    EXPECT_EQ(GetVxMode(bench.link), 0);
    EXPECT_EQ(bench.ui.Texts(), std::vector<std::string>{"Receive Time-Out error"});
    EXPECT_EQ(bench.LogText(), "Vemo-x50 File Editor v.1.0.6\r\n(InqRep= " + HexDump(Bytes(15, 0)) +
                                   ")\r\nGetVxMode:\r\n  Request= F0 42 31 49 12 F7 \r\n"
                                   "  devRep = 00 00 00 00 00 00 00 00 \r\n");
}

}  // namespace
}  // namespace vx
