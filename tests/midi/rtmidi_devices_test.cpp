// The RtMidi device layer where nothing works: a named interface this build lacks, JACK with no
// server, sends with no port, link speeds out of range. Each failure returns false with a reason
// and prints nothing on the terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "RtMidiDevices.h"

namespace {

// Sets (or with nullptr unsets) an environment variable while alive.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Whatever reaches std::cerr or std::cout while alive.
class TerminalCapture {
public:
    TerminalCapture() : err_(std::cerr.rdbuf(text_.rdbuf())), out_(std::cout.rdbuf(text_.rdbuf())) {}
    ~TerminalCapture() { std::cerr.rdbuf(err_), std::cout.rdbuf(out_); }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* err_;
    std::streambuf* out_;
};

TEST(RtMidiDevices, AnInterfaceThisBuildLacksIsRefusedByName) {
    const ScopedVariable api("VX_MIDI_API", "nosuch");
    vxm::RtMidiDevices devices("vxtest");
    std::vector<std::string> names{"stale"};
    std::string error;
    EXPECT_FALSE(devices.OutputNames(names, error));
    EXPECT_TRUE(names.empty());
    EXPECT_EQ(error, "VX_MIDI_API names no MIDI interface of this build: nosuch.");
    error.clear();
    EXPECT_FALSE(devices.OpenInput(0, error));
    EXPECT_EQ(error, "VX_MIDI_API names no MIDI interface of this build: nosuch.");
    EXPECT_EQ(devices.ApiName(), "none");
    EXPECT_EQ(devices.InterfaceName(), "");
    EXPECT_FALSE(devices.PassesPieces());
}

TEST(RtMidiDevices, JackWithoutAServerFailsWithItsReasonsKeptForTheLog) {
    const ScopedVariable api("VX_MIDI_API", "jack");
    const ScopedVariable server("JACK_DEFAULT_SERVER", "vxtest-no-such-server");
    const ScopedVariable noStart("JACK_NO_START_SERVER", "1");
    vxm::RtMidiDevices devices("vxtest");
    devices.TakeLibraryMessages();
    std::vector<std::string> names;
    std::string error;
    TerminalCapture terminal;
    const bool listed = devices.OutputNames(names, error);
    const bool opened = devices.OpenOutput(0, error);
    const std::string printed = terminal.Text();
    if (listed) GTEST_SKIP() << "a JACK server answered under a name nobody uses";
    EXPECT_FALSE(opened);
    EXPECT_EQ(error, "JACK: MidiOutJack::initialize: JACK server not running?");
    EXPECT_EQ(printed, "");
    const std::vector<std::string> kept = devices.TakeLibraryMessages();
    EXPECT_NE(std::find(kept.begin(), kept.end(), "RtMidi: MidiOutJack::initialize: JACK server not running?"),
              kept.end());
    EXPECT_TRUE(devices.TakeLibraryMessages().empty()) << "taken messages are handed out once";
    EXPECT_EQ(devices.InterfaceName(), "");
}

TEST(RtMidiDevices, WithoutAVariableEveryInterfaceIsTriedAndEachReasonNamed) {
    const ScopedVariable api("VX_MIDI_API", nullptr);
    const ScopedVariable server("JACK_DEFAULT_SERVER", "vxtest-no-such-server");
    const ScopedVariable noStart("JACK_NO_START_SERVER", "1");
    vxm::RtMidiDevices devices("vxtest");
    std::vector<std::string> names;
    std::string error;
    if (devices.OutputNames(names, error)) GTEST_SKIP() << "this machine has a working MIDI interface";
    const auto alsa = error.find("ALSA: "), jack = error.find("\nJACK: MidiOutJack::initialize");
    EXPECT_EQ(alsa, 0u) << error;
    EXPECT_NE(jack, std::string::npos) << error;
}

TEST(RtMidiDevices, SendingWithNoOpenOutputFails) {
    vxm::RtMidiDevices devices("vxtest");
    std::string error;
    int calls = 0;
    const vx::SendResult result = devices.Send(
        {0xF0, 0x42, 0xF7}, [&](std::size_t, std::size_t) { return ++calls, true; }, error);
    EXPECT_EQ(result, vx::SendResult::Failed);
    EXPECT_EQ(error, "No MIDI output is open.");
    EXPECT_EQ(calls, 0);
    vx::Bytes message;
    EXPECT_FALSE(devices.NextSysEx(message));
    devices.Close();  // closing what was never opened is harmless
}

TEST(RtMidiDevices, LinkSpeedIsACableUnlessAFasterOneIsNamed) {
    const std::vector<std::pair<const char*, int>> cases = {
        {nullptr, 31250}, {"", 31250},          {"abc", 31250},           {"31249", 31250},
        {"31250", 31250}, {"2500000", 2500000}, {"100000000", 100000000}, {"100000001", 31250},
    };
    for (const auto& [value, baud] : cases) {
        const ScopedVariable link("VX_MIDI_BAUD", value);
        vxm::RtMidiDevices devices("vxtest");
        EXPECT_EQ(devices.LinkBaud(), baud) << (value ? value : "(unset)");
    }
}

}  // namespace
