#pragma once

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "SimulatedInstrument.h"
#include "core/midi/MidiBackend.h"

namespace vx::test {

// A clock that moves only when the code under test sleeps.
class FakeClock : public MidiClock {
public:
    std::chrono::steady_clock::time_point now{};
    int sleeps = 0;
    std::chrono::steady_clock::time_point Now() override { return now; }
    void Sleep(std::chrono::microseconds duration) override {
        ++sleeps;
        now += duration;
    }
    double Seconds() const { return std::chrono::duration<double>(now.time_since_epoch()).count(); }
};

// Ports wired straight to a simulated instrument: what is sent reaches it whole, and its
// answers arrive when the fake clock reaches their time.
class LoopbackPorts : public MidiBackend {
public:
    LoopbackPorts(vxi::SimulatedInstrument& instrument, FakeClock& clock) : instrument_(instrument), clock_(clock) {}

    std::vector<std::string> outputs{"Midi Through", "Vemo-x50 Simulator:in"};
    std::vector<std::string> inputs{"Vemo-x50 Simulator:out", "Midi Through"};
    std::string outputOpenError;
    std::size_t piece = 1024;    // progress is reported per piece of this size
    int cancelAfterPieces = -1;  // the progress callback is ignored; sending stops here instead
    std::vector<Bytes> sent;     // every message, in order
    std::string interfaceName = "Loopback";
    std::vector<std::string> libraryMessages;  // handed out once, as a library would report them
    // A MIDI cable in between: a message reaches the instrument its cable time after the send,
    // which returns at once, as a driver that queues the message does.
    bool cable = false;

    bool OutputNames(std::vector<std::string>& names, std::string&) override {
        names = outputs;
        return true;
    }
    bool InputNames(std::vector<std::string>& names, std::string&) override {
        names = inputs;
        return true;
    }
    bool OpenOutput(int, std::string& error) override {
        error = outputOpenError;
        return error.empty();
    }
    bool OpenInput(int, std::string&) override { return true; }
    void Close() override { pending_.clear(); }

    SendResult Send(const Bytes& message, const SendProgress& progress, std::string&) override {
        std::size_t done = 0;
        int pieces = 0;
        while (done < message.size()) {
            done = std::min(message.size(), done + piece);
            ++pieces;
            const bool goOn = !progress || progress(done, message.size());
            if (done < message.size() && (!goOn || pieces == cancelAfterPieces)) {
                sent.emplace_back(message.begin(), message.begin() + static_cast<std::ptrdiff_t>(done));
                cut_ = sent.back();
                return SendResult::Cancelled;
            }
        }
        sent.push_back(message);
        Deliver(message);
        return SendResult::Sent;
    }
    bool NextSysEx(Bytes& message) override {
        for (auto it = pending_.begin(); it != pending_.end(); ++it) {
            if (it->first <= clock_.now) {
                message = std::move(it->second);
                pending_.erase(it);
                return true;
            }
        }
        return false;
    }
    std::string InterfaceName() override { return interfaceName; }
    std::vector<std::string> TakeLibraryMessages() override { return std::exchange(libraryMessages, {}); }
    void ResetInput() override {
        std::erase_if(pending_, [this](const auto& entry) { return entry.first <= clock_.now; });
    }

private:
    // A cancelled message was cut; the lone 0xF7 that follows ends it for the instrument.
    void Deliver(const Bytes& message) {
        Bytes whole = message;
        if (message == Bytes{0xF7} && !cut_.empty()) {
            whole = cut_;
            whole.push_back(0xF7);
            cut_.clear();
        }
        if (whole.front() != 0xF0) return;
        const auto arrived = clock_.now + (cable ? CableTime(whole.size()) : std::chrono::microseconds{0});
        for (auto& reply : instrument_.Receive(whole)) pending_.emplace_back(arrived + reply.delay, reply.bytes);
    }

    vxi::SimulatedInstrument& instrument_;
    FakeClock& clock_;
    std::deque<std::pair<std::chrono::steady_clock::time_point, Bytes>> pending_;
    Bytes cut_;
};

}  // namespace vx::test
