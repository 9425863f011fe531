#include "RtMidiDevices.h"

#include <RtMidi.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#ifdef VX_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif
#ifdef VX_HAVE_JACK
#include <jack/jack.h>
#endif

namespace vxm {

namespace {

// JACK passes each piece on as its own event, so a long message goes out in pieces, each handed
// over when the cable would have carried the bytes before it. RtMidi's JACK output buffer
// (16 KB a cycle) never holds more than a few pieces.
constexpr std::size_t kPiece = 256;
// However fast the link, JACK gets no more than 1 KB every 4 ms: a cycle of up to 60 ms then
// never holds more than RtMidi's buffer.
constexpr std::chrono::nanoseconds kJackTimePerByte{3907};
// Lets the last pieces leave before a port closes.
constexpr std::chrono::milliseconds kJackDrain{60};
// Progress steps while an interface that takes a message whole carries it.
constexpr std::chrono::milliseconds kProgressStep{50};
constexpr unsigned int kInputQueue = 8192;

// What the libraries report, collected from any thread instead of printed.
std::mutex libraryMutex;
std::vector<std::string> libraryMessages;

std::string WithoutOuterNewlines(std::string text) {
    const auto first = text.find_first_not_of('\n');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of('\n') - first + 1);
}

void KeepLibraryMessage(const std::string& source, const std::string& text) {
    const std::string trimmed = WithoutOuterNewlines(text);
    if (trimmed.empty()) return;
    std::lock_guard<std::mutex> lock(libraryMutex);
    libraryMessages.push_back(source + trimmed);
}

#ifdef VX_HAVE_ALSA
void AlsaMessage(const char* file, int line, const char* function, int error, const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::string message = std::string(file) + ":" + std::to_string(line) + ":(" + function + ") " + text;
    if (error) message += ": " + std::string(snd_strerror(error));
    KeepLibraryMessage("ALSA lib ", message);
}
#endif
#ifdef VX_HAVE_JACK
void JackMessage(const char* text) { KeepLibraryMessage("JACK: ", text); }
#endif

void CatchLibraryMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef VX_HAVE_ALSA
        snd_lib_error_set_handler(&AlsaMessage);
#endif
#ifdef VX_HAVE_JACK
        jack_set_error_function(&JackMessage);
        jack_set_info_function(&JackMessage);
#endif
    });
}

// RtMidi writes to std::cerr what goes wrong while a port object is made, before an error
// callback can be set; that text is taken instead, and its presence means the interface failed.
class CerrCapture {
public:
    CerrCapture() : saved_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CerrCapture() { std::cerr.rdbuf(saved_); }
    std::string Text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* saved_;
};

void RecordError(RtMidiError::Type type, const std::string& text, void* self) {
    KeepLibraryMessage("RtMidi: ", text);
    if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
    static_cast<RtMidiDevices*>(self)->lastError = text;
}

// Makes a port object of one interface; false with what went wrong.
template <typename Port, typename... Args>
bool MakePort(std::unique_ptr<Port>& port, RtMidi::Api api, std::string& error, Args&&... args) {
    CatchLibraryMessages();
    CerrCapture capture;
    try {
        port = std::make_unique<Port>(api, std::forward<Args>(args)...);
    } catch (const RtMidiError& e) {
        error = e.getMessage();
    }
    const std::string said = WithoutOuterNewlines(capture.Text());
    KeepLibraryMessage("RtMidi: ", said);
    if (port && said.empty()) return true;
    port.reset();
    if (error.empty()) error = said;
    return false;
}

std::string DisplayName(int api) {
    switch (api) {
        case RtMidi::LINUX_ALSA:
            return "ALSA";
        case RtMidi::UNIX_JACK:
            return "JACK";
        default:
            return RtMidi::getApiDisplayName(static_cast<RtMidi::Api>(api));
    }
}

template <typename Port>
bool ListNames(RtMidiDevices& self, RtMidi::Api api, const std::string& client, std::vector<std::string>& names,
               std::string& error) {
    names.clear();
    std::unique_ptr<Port> port;
    if (!MakePort(port, api, error, client)) return false;
    self.lastError.clear();
    port->setErrorCallback(&RecordError, &self);
    const unsigned int count = port->getPortCount();
    for (unsigned int i = 0; i < count; ++i) names.push_back(port->getPortName(i));
    if (!self.lastError.empty()) {
        error = self.lastError;
        return false;
    }
    return true;
}

}  // namespace

RtMidiDevices::RtMidiDevices(std::string clientName) : clientName_(std::move(clientName)) {}

RtMidiDevices::~RtMidiDevices() { Close(); }

bool RtMidiDevices::ChooseApi(std::string& error) {
    if (api_ >= 0) return true;
    std::vector<RtMidi::Api> candidates;
    const char* named = std::getenv("VX_MIDI_API");
    if (named && *named) {
        const RtMidi::Api api = RtMidi::getCompiledApiByName(named);
        if (api == RtMidi::UNSPECIFIED) {
            error = std::string("VX_MIDI_API names no MIDI interface of this build: ") + named + ".";
            return false;
        }
        candidates.push_back(api);
    } else {
        std::vector<RtMidi::Api> compiled;
        RtMidi::getCompiledApi(compiled);
        for (const RtMidi::Api api : compiled)
            if (api != RtMidi::RTMIDI_DUMMY) candidates.push_back(api);
    }
    std::string reasons;
    for (const RtMidi::Api api : candidates) {
        std::unique_ptr<RtMidiOut> probe;
        std::string why;
        if (MakePort(probe, api, why, clientName_)) {
            api_ = api;
            return true;
        }
        reasons += (reasons.empty() ? "" : "\n") + DisplayName(api) + ": " + why;
    }
    error = candidates.empty() ? "This build has no MIDI interface." : reasons;
    return false;
}

std::string RtMidiDevices::InterfaceName() { return api_ >= 0 ? DisplayName(api_) : std::string(); }

std::string RtMidiDevices::ApiName() {
    std::string ignored;
    return ChooseApi(ignored) ? RtMidi::getApiName(static_cast<RtMidi::Api>(api_)) : std::string("none");
}

bool RtMidiDevices::PassesPieces() {
    std::string ignored;
    return ChooseApi(ignored) && api_ == RtMidi::UNIX_JACK;
}

int RtMidiDevices::LinkBaud() {
    const char* named = std::getenv("VX_MIDI_BAUD");
    const long baud = named ? std::strtol(named, nullptr, 10) : 0;
    return baud >= vx::kMidiBaud && baud <= 100000000 ? static_cast<int>(baud) : vx::kMidiBaud;
}

std::vector<std::string> RtMidiDevices::TakeLibraryMessages() {
    std::lock_guard<std::mutex> lock(libraryMutex);
    return std::exchange(libraryMessages, {});
}

bool RtMidiDevices::OutputNames(std::vector<std::string>& names, std::string& error) {
    names.clear();
    return ChooseApi(error) && ListNames<RtMidiOut>(*this, static_cast<RtMidi::Api>(api_), clientName_, names, error);
}

bool RtMidiDevices::InputNames(std::vector<std::string>& names, std::string& error) {
    names.clear();
    return ChooseApi(error) && ListNames<RtMidiIn>(*this, static_cast<RtMidi::Api>(api_), clientName_, names, error);
}

bool RtMidiDevices::MakeOutput(std::string& error) {
    if (!ChooseApi(error) || !MakePort(out_, static_cast<RtMidi::Api>(api_), error, clientName_)) return false;
    lastError.clear();
    out_->setErrorCallback(&RecordError, this);
    return true;
}

bool RtMidiDevices::MakeInput(std::string& error) {
    if (!ChooseApi(error) || !MakePort(in_, static_cast<RtMidi::Api>(api_), error, clientName_, kInputQueue))
        return false;
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
    if (!MakeOutput(error) || !OpenPort(out_, index, "output", "out", lastError, error)) return false;
    // A new JACK connection joins the server's graph only at a later cycle: what is written before
    // that is dropped, so a short message sent at once could be lost.
    if (out_->getCurrentApi() == RtMidi::UNIX_JACK) std::this_thread::sleep_for(kJackDrain);
    return true;
}

bool RtMidiDevices::OpenInput(int index, std::string& error) {
    return MakeInput(error) && OpenPort(in_, index, "input", "in", lastError, error);
}

bool RtMidiDevices::OpenVirtual(const std::string& name, std::string& error, bool withInput) {
    clientName_ = name;
    if (!MakeOutput(error) || (withInput && !MakeInput(error))) return false;
    out_->openVirtualPort("out");
    if (withInput) in_->openVirtualPort("in");
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
    const auto start = std::chrono::steady_clock::now();
    const int baud = LinkBaud();
    const bool inPieces = out_->getCurrentApi() == RtMidi::UNIX_JACK && message.size() > kPiece;
    // A long message handed over whole is still on its way: the progress follows the cable,
    // and a Cancel ends the wait (the bytes already handed over still arrive).
    const bool followCable = !inPieces && progress && message.size() > kPiece;
    for (const auto& [at, size] : vx::SplitIntoPieces(message.size(), inPieces ? kPiece : message.size())) {
        std::this_thread::sleep_until(start +
                                      std::max<std::chrono::nanoseconds>(
                                          vx::CableTime(at, baud), kJackTimePerByte * static_cast<std::int64_t>(at)));
        lastError.clear();
        out_->sendMessage(message.data() + at, size);
        sentSomething_ = true;
        if (!lastError.empty()) {
            error = lastError;
            return vx::SendResult::Failed;
        }
        if (progress && !followCable && !progress(at + size, message.size()) && at + size < message.size())
            return vx::SendResult::Cancelled;
    }
    if (followCable) {
        const auto end = start + vx::CableTime(message.size(), baud);
        for (auto now = std::chrono::steady_clock::now(); now < end; now = std::chrono::steady_clock::now()) {
            const double share = std::chrono::duration<double>(now - start) / (end - start);
            const auto carried = static_cast<std::size_t>(static_cast<double>(message.size()) * share);
            if (!progress(carried, message.size())) return vx::SendResult::Cancelled;
            std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kProgressStep, end - now));
        }
        progress(message.size(), message.size());
    }
    return vx::SendResult::Sent;
}

void RtMidiDevices::DrainInput() {
    if (!in_) return;
    std::vector<unsigned char> piece;
    const auto now = std::chrono::steady_clock::now();
    for (;;) {
        in_->getMessage(&piece);
        if (piece.empty()) break;
        assembler_.Feed(piece.data(), piece.size(), now);
    }
}

bool RtMidiDevices::NextSysEx(vx::Bytes& message) {
    DrainInput();
    return assembler_.Next(message);
}

bool RtMidiDevices::NextSysEx(vx::Bytes& message, std::chrono::steady_clock::time_point& started) {
    DrainInput();
    return assembler_.Next(message, &started);
}

void RtMidiDevices::ResetInput() {
    DrainInput();
    assembler_.Reset();
}

}  // namespace vxm
