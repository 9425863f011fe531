#include "RtMidiDevices.h"

#include <RtMidi.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace vxm {

namespace {

// RtMidi's JACK output goes through a 16 KB ring buffer that its process callback empties once
// per cycle into a port buffer of about 32 KB; a larger message crashes the sender. Long
// messages therefore go out in pieces, paced so that even a 60 ms cycle never holds more than
// the ring buffer: 1 KB every 4 ms is about 250 KB/s, eighty times a MIDI cable.
constexpr std::size_t kJackPiece = 1024;
constexpr std::chrono::microseconds kJackPieceInterval{4000};
// Lets the last pieces leave before a port closes.
constexpr std::chrono::milliseconds kJackDrain{60};
constexpr unsigned int kInputQueue = 8192;

void RecordError(RtMidiError::Type type, const std::string& text, void* self) {
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
    static_cast<RtMidiDevices*>(self)->lastError = text;
}

RtMidi::Api ChosenApi() {
    const char* name = std::getenv("VX_MIDI_API");
    return name && *name ? RtMidi::getCompiledApiByName(name) : RtMidi::UNSPECIFIED;
}

template <typename Port>
bool ListNames(RtMidiDevices& self, RtMidi::Api api, const std::string& client, std::vector<std::string>& names,
               std::string& error) {
    names.clear();
    try {
        Port port(api, client);
        self.lastError.clear();
        port.setErrorCallback(&RecordError, &self);
        const unsigned int count = port.getPortCount();
        for (unsigned int i = 0; i < count; ++i) names.push_back(port.getPortName(i));
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return false;
    }
    if (!self.lastError.empty()) {
        error = self.lastError;
        return false;
    }
    return true;
}

}  // namespace

RtMidiDevices::RtMidiDevices(std::string clientName) : clientName_(std::move(clientName)), api_(ChosenApi()) {}

RtMidiDevices::~RtMidiDevices() { Close(); }

std::string RtMidiDevices::ApiName() const {
    if (out_) return RtMidi::getApiName(out_->getCurrentApi());
    if (in_) return RtMidi::getApiName(in_->getCurrentApi());
    return api_ == RtMidi::UNSPECIFIED ? "default" : RtMidi::getApiName(static_cast<RtMidi::Api>(api_));
}

bool RtMidiDevices::OutputNames(std::vector<std::string>& names, std::string& error) {
    return ListNames<RtMidiOut>(*this, static_cast<RtMidi::Api>(api_), clientName_, names, error);
}

bool RtMidiDevices::InputNames(std::vector<std::string>& names, std::string& error) {
    return ListNames<RtMidiIn>(*this, static_cast<RtMidi::Api>(api_), clientName_, names, error);
}

bool RtMidiDevices::MakeOutput(std::string& error) {
    try {
        out_ = std::make_unique<RtMidiOut>(static_cast<RtMidi::Api>(api_), clientName_);
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return false;
    }
    lastError.clear();
    out_->setErrorCallback(&RecordError, this);
    return true;
}

bool RtMidiDevices::MakeInput(std::string& error) {
    try {
        in_ = std::make_unique<RtMidiIn>(static_cast<RtMidi::Api>(api_), clientName_, kInputQueue);
    } catch (const RtMidiError& e) {
        error = e.getMessage();
        return false;
    }
    lastError.clear();
    in_->setErrorCallback(&RecordError, this);
    in_->ignoreTypes(false, true, true);
    assembler_.Reset();
    return true;
}

namespace {

// Opens port index of a freshly made client; on failure the client is dropped again.
template <typename Port>
bool OpenPort(std::unique_ptr<Port>& port, int index, const std::string& side, const char* ownName,
              const std::string& lastError, std::string& error) {
    if (index < 0 || static_cast<unsigned int>(index) >= port->getPortCount()) {
        error = "The MIDI " + side + " " + std::to_string(index) + " is no longer there.";
        port.reset();
        return false;
    }
    port->openPort(static_cast<unsigned int>(index), ownName);
    if (lastError.empty() && port->isPortOpen()) return true;
    error = lastError.empty() ? "The MIDI " + side + " could not be opened." : lastError;
    port.reset();
    return false;
}

}  // namespace

bool RtMidiDevices::OpenOutput(int index, std::string& error) {
    return MakeOutput(error) && OpenPort(out_, index, "output", "out", lastError, error);
}

bool RtMidiDevices::OpenInput(int index, std::string& error) {
    return MakeInput(error) && OpenPort(in_, index, "input", "in", lastError, error);
}

bool RtMidiDevices::OpenVirtual(const std::string& name, std::string& error) {
    clientName_ = name;
    if (!MakeOutput(error) || !MakeInput(error)) return false;
    out_->openVirtualPort("out");
    in_->openVirtualPort("in");
    if (!lastError.empty()) {
        error = lastError;
        return false;
    }
    return true;
}

void RtMidiDevices::Close() {
    if (out_ && sentSomething_ && out_->getCurrentApi() == RtMidi::UNIX_JACK) std::this_thread::sleep_for(kJackDrain);
    sentSomething_ = false;
    if (out_) out_->closePort();
    if (in_) in_->closePort();
    out_.reset();
    in_.reset();
    assembler_.Reset();
}

vx::SendResult RtMidiDevices::Send(const vx::Bytes& message, const vx::SendProgress& progress, std::string& error) {
    if (!out_) {
        error = "No MIDI output is open.";
        return vx::SendResult::Failed;
    }
    const bool paced = out_->getCurrentApi() == RtMidi::UNIX_JACK && message.size() > kJackPiece;
    const auto pieces = vx::SplitIntoPieces(message.size(), paced ? kJackPiece : message.size());
    auto nextAt = std::chrono::steady_clock::now();
    for (const auto& [at, size] : pieces) {
        if (paced) {
            std::this_thread::sleep_until(nextAt);
            nextAt += kJackPieceInterval;
        }
        lastError.clear();
        out_->sendMessage(message.data() + at, size);
        sentSomething_ = true;
        if (!lastError.empty()) {
            error = lastError;
            return vx::SendResult::Failed;
        }
        if (progress && !progress(at + size, message.size()) && at + size < message.size())
            return vx::SendResult::Cancelled;
    }
    return vx::SendResult::Sent;
}

void RtMidiDevices::DrainInput() {
    if (!in_) return;
    std::vector<unsigned char> piece;
    for (;;) {
        in_->getMessage(&piece);
        if (piece.empty()) break;
        assembler_.Feed(piece.data(), piece.size());
    }
}

bool RtMidiDevices::NextSysEx(vx::Bytes& message) {
    DrainInput();
    return assembler_.Next(message);
}

void RtMidiDevices::ResetInput() {
    DrainInput();
    assembler_.Reset();
}

}  // namespace vxm
