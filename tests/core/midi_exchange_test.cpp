// The exchanges with the instrument over loopback ports: what each showed the user, sent and
// wrote to the log, as transcripts under tests/data/midi.
#include <gtest/gtest.h>

#include "Transcript.h"
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
    // A line for what was done, then what the user saw, each message sent (a long one by its
    // size and first bytes) and each line the log file gained since the last call.
    std::string Seen(const std::string& what) {
        std::string text = what + "\n" + test::Seen(ui, logDir.Str());
        for (const Bytes& m : ports.sent)
            text += "  sent " +
                    (m.size() <= 16 ? HexDump(m)
                                    : std::to_string(m.size()) + " bytes " + HexDump(Bytes(m.begin(), m.begin() + 8)) +
                                          "... " + HexDump(Bytes(m.end() - 2, m.end()))) +
                    "\n";
        ports.sent.clear();
        const std::string log = LogText();
        for (std::size_t at = logged; at < log.size();) {
            const std::size_t end = log.find("\r\n", at);
            text += "  log " + log.substr(at, end - at) + "\n";
            at = end + 2;
        }
        logged = log.size();
        return text;
    }

    test::TempDirectory logDir;
    vxi::SimulatedInstrument instrument;
    test::FakeClock clock;
    test::LoopbackPorts ports;
    test::ScriptedInteraction ui;
    MidiLink link{ports, ui, clock, logDir.Str()};
    std::size_t logged = 0;
};

// The port lists preselect the last port named like the instrument. Without a port the user
// learns what to do, and the log holds what the libraries said; where no log can be written,
// the advice names none. A driver's error is shown as it gave it.
TEST(MidiSetup, ListsPortsAndPreselectsTheLastOneNamedLikeTheInstrument) {
    Bench bench({});
    bench.ports.outputs = {"Vemo-x50 A", "Synth", "vemo-X50 B", "Through"};
    MidiPortLists lists;
    bench.link.ready = true;
    ASSERT_TRUE(bench.link.ListPorts(lists));
    EXPECT_FALSE(bench.link.ready);
    EXPECT_EQ(std::tuple(lists.preferredOutput, lists.preferredInput, lists.interfaceName),
              std::tuple(2, 0, std::string("Loopback")));
    std::string log = bench.Seen("ports listed");

    bench.ports.inputs.clear();
    bench.ports.libraryMessages = {"ALSA lib seq_hw.c:466:(snd_seq_hw_open) open /dev/snd/seq failed: No such file"};
    EXPECT_FALSE(bench.link.ListPorts(lists));
    log += bench.Seen("no input port");
    MidiLink unlogged(bench.ports, bench.ui, bench.clock, (bench.logDir.Path() / "missing").string());
    EXPECT_FALSE(unlogged.ListPorts(lists));
    log += bench.Seen("no input port, no log");

    Bench failing({});
    failing.ports.outputOpenError = "port vanished";
    EXPECT_FALSE(failing.link.Detect(0, 0));
    log += failing.Seen("output port vanished");
    test::ExpectTranscript("midi", log);
}

// Detection takes the device id from the identity reply and plays a test note on its channel;
// each wrong answer has its message and the reply logged. A device id above 15 cannot put a
// status byte into requests. A reply is awaited 15 / 3000 + 1 seconds from the moment the
// 6-byte request is across a MIDI cable (1.92 ms), polled every millisecond, never in a busy loop.
TEST(MidiSetup, DetectionTakesTheDeviceIdAndReportsEachWrongAnswer) {
    std::string log;
    for (const Fault fault : {Fault::None, Fault::ShortIdentity, Fault::OtherMaker, Fault::OtherFamily}) {
        Bench bench(Instrument(5, 1, fault));
        const bool found = bench.link.Detect(1, 0);
        EXPECT_EQ(bench.link.ready, found);
        log += bench.Seen("detect, fault " + std::to_string(static_cast<int>(fault)) +
                          (found ? ": found" : ": not found"));
        if (!found) continue;
        EXPECT_EQ(bench.link.header.Whole(), (Bytes{0xF0, 0x42, 0x35, 0x49, 0x23, 0xF7}));
        EXPECT_EQ(bench.link.inquiryReply,
                  (Bytes{0xF0, 0x7E, 0x05, 0x06, 0x02, 0x42, 0x49, 0, 0, 0, 0x01, 0, 0, 0, 0xF7}));
        // A second detection on the same instrument keeps the same header.
        ASSERT_TRUE(bench.link.Detect(1, 0));
        EXPECT_EQ(bench.link.header.bytes[2], 0x35);
    }
    test::ExpectTranscript("midi", log);

    Bench high(Instrument(0x7F, 1, Fault::None));
    ASSERT_TRUE(high.link.Detect(1, 0));
    EXPECT_EQ(high.link.channel, 15);
    EXPECT_EQ(high.link.header.Whole(), (Bytes{0xF0, 0x42, 0x3F, 0x49, 0x23, 0xF7}));

    Bench silent(Instrument(0, 1, Fault::ShortIdentity));
    silent.link.Detect(0, 0);
    EXPECT_GE(silent.clock.Seconds(), 1.00692);
    EXPECT_LT(silent.clock.Seconds(), 1.00792);
    EXPECT_EQ(silent.clock.sleeps, 1007);
}

// Each answer of the instrument gives its message, and the dump arrives whole; only an
// instrument outside the receiving mode is switched, and a wrong acknowledgement is logged and
// followed by a lone end of exclusive. Cancel before the dump sends nothing; Cancel during it
// ends the cut message. A failed mode exchange is logged.
TEST(DumpMidi, EachAnswerOfTheInstrumentGivesItsMessageAndTheDumpArrivesWhole) {
    SetData set = test::RandomSet(3);
    Bytes expected;
    std::string error, log;
    SysExHeader header;
    header.bytes[2] = 0x33;
    ASSERT_TRUE(BuildDumpMessage(set, ItemKind::Global, 0, header, expected, error));
    const std::pair<Fault, int> cases[] = {
        {Fault::None, 1}, {Fault::None, 4}, {Fault::WrongAck, 4}, {Fault::NoReply, 4}, {Fault::Slow, 4}};
    for (const auto& [fault, mode] : cases) {
        Bench bench(Instrument(3, mode, fault));
        bench.link.header = header;
        bench.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
        const DumpOutcome outcome = SendKindToInstrument(bench.link, set, ItemKind::Global, 0);
        ASSERT_EQ(bench.instrument.Dumps().size(), 1u);
        EXPECT_EQ(bench.ports.sent[mode == 4 ? 1 : 2], expected);
        EXPECT_EQ(bench.instrument.ModeChanges(), mode == 4 ? 0 : 1);
        log += bench.Seen("send global, fault " + std::to_string(static_cast<int>(fault)) + ", mode " +
                          std::to_string(mode) + ": outcome " + std::to_string(static_cast<int>(outcome)));
    }

    SetData other = test::RandomSet(4);
    Bench declined(Instrument(0, 4, Fault::None));
    declined.ui.AnswerTo(QuestionId::SendDump, Answer::Cancel);
    const DumpOutcome no = SendKindToInstrument(declined.link, other, ItemKind::Arrangement, 0);
    log += declined.Seen("send arrangements, Cancel: outcome " + std::to_string(static_cast<int>(no)));
    Bench cancelled(Instrument(0, 4, Fault::None));
    cancelled.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
    cancelled.ports.cancelAfterPieces = 3;
    const DumpOutcome stopped = SendKindToInstrument(cancelled.link, other, ItemKind::Arrangement, 0);
    EXPECT_TRUE(cancelled.instrument.Dumps().empty());
    log += cancelled.Seen("send arrangements, cancelled after 3 pieces: outcome " +
                          std::to_string(static_cast<int>(stopped))) +
           "  instrument: " + cancelled.instrument.Journal().back() + "\n";

    Bench deaf(Instrument(0, 1, Fault::None));
    deaf.ports.inputs = {"Vemo-x50 Simulator:out"};
    deaf.link.header.bytes[2] = 0x31;  // the instrument listens on device 0: nothing answers
    const int vxMode = GetVxMode(deaf.link);
    log += deaf.Seen("mode of an instrument on another device: " + std::to_string(vxMode));
    // The prompt adds the time of a transfer longer than three seconds.
    for (const int size : {7894, 7895, 299633})
        log += "prompt for " + std::to_string(size) + ": " + test::OneLine(DumpPrompt(size)) + "\n";
    test::ExpectTranscript("midi", log);
}

// The program dump (34,786 bytes) takes 11.13 s on a cable; the driver returns at once. The
// acknowledgement wait counts from the moment the last byte can be across.
TEST(DumpMidi, AcknowledgementWaitStartsWhenTheWholeDumpCanHaveCrossedTheCable) {
    SetData set = test::RandomSet(6);
    const double cable = 34786 * 10 / 31250.0 + 0.002;  // behind the mode request and its reply
    for (const auto& [fault, outcome, endsAt] : {std::tuple(Fault::None, DumpOutcome::Sent, cable),
                                                 std::tuple(Fault::NoReply, DumpOutcome::Failed, cable + 1.003)}) {
        Bench bench(Instrument(0, 4, fault));
        bench.ports.cable = true;
        bench.ui.AnswerTo(QuestionId::SendDump, Answer::OK);
        EXPECT_EQ(SendKindToInstrument(bench.link, set, ItemKind::Program, 0), outcome);
        ASSERT_EQ(bench.ports.sent[1].size(), 34786u);
        EXPECT_NEAR(bench.clock.Seconds(), endsAt, 0.0011);
    }
}

}  // namespace
}  // namespace vx
