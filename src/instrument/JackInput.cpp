#include "JackInput.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <cstdint>
#include <cstring>

namespace vxi {

namespace {

// Room for several of the largest dumps before the instrument takes them.
constexpr std::size_t kRingBytes = 4 * 1024 * 1024;

// Each piece goes through the ring as: arrival in steady-clock nanoseconds, byte count, bytes.
struct PieceHead {
    std::int64_t arrived;
    std::uint32_t size;
};

std::atomic<bool> overflowed{false};

}  // namespace

JackInput::~JackInput() { Close(); }

bool JackInput::Open(const std::string& clientName, std::string& error) {
    jack_status_t status{};
    client_ = jack_client_open(clientName.c_str(), JackNoStartServer, &status);
    if (!client_) {
        error = "No JACK server to connect to.";
        return false;
    }
    ring_ = jack_ringbuffer_create(kRingBytes);
    port_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (!ring_ || !port_ || jack_set_process_callback(client_, &JackInput::Process, this) != 0 ||
        jack_activate(client_) != 0) {
        error = "The JACK input port could not be made.";
        Close();
        return false;
    }
    return true;
}

int JackInput::Process(unsigned int frames, void* self) {
    auto* input = static_cast<JackInput*>(self);
    void* buffer = jack_port_get_buffer(input->port_, frames);
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const PieceHead base{std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(), 0};
    const std::uint32_t count = jack_midi_get_event_count(buffer);
    for (std::uint32_t i = 0; i < count; ++i) {
        jack_midi_event_t event;
        if (jack_midi_event_get(&event, buffer, i) != 0) continue;
        PieceHead head = base;
        head.size = static_cast<std::uint32_t>(event.size);
        if (jack_ringbuffer_write_space(input->ring_) < sizeof head + event.size) {
            overflowed = true;
            continue;
        }
        jack_ringbuffer_write(input->ring_, reinterpret_cast<const char*>(&head), sizeof head);
        jack_ringbuffer_write(input->ring_, reinterpret_cast<const char*>(event.buffer), event.size);
    }
    return 0;
}

bool JackInput::Next(vx::Bytes& message, std::chrono::steady_clock::time_point& started) {
    if (ring_) {
        vx::Bytes piece;
        PieceHead head{};
        // The writer puts head and bytes in before the reader can see the head whole.
        while (jack_ringbuffer_read_space(ring_) >= sizeof head) {
            jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&head), sizeof head);
            if (jack_ringbuffer_read_space(ring_) < sizeof head + head.size) break;
            jack_ringbuffer_read_advance(ring_, sizeof head);
            piece.resize(head.size);
            jack_ringbuffer_read(ring_, reinterpret_cast<char*>(piece.data()), head.size);
            assembler_.Feed(piece, std::chrono::steady_clock::time_point(std::chrono::nanoseconds(head.arrived)));
        }
    }
    return assembler_.Next(message, &started);
}

bool JackInput::Overflowed() const { return overflowed; }

void JackInput::Close() {
    if (client_) {
        jack_deactivate(client_);
        jack_client_close(client_);
        client_ = nullptr;
        port_ = nullptr;
    }
    if (ring_) {
        jack_ringbuffer_free(ring_);
        ring_ = nullptr;
    }
}

}  // namespace vxi
