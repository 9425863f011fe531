// vx50-instrument: a simulated Vemo-x50 on a pair of virtual MIDI ports, for trying the editor
// and the command-line tool without an instrument.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "RtMidiDevices.h"
#include "SimulatedInstrument.h"
#ifdef VX_HAVE_JACK
#include "JackInput.h"
#endif

namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

struct Pending {
    std::chrono::steady_clock::time_point due;
    vx::Bytes bytes;
};

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"A simulated Vemo-x50 on a pair of virtual MIDI ports (NAME:in and NAME:out)."};
    std::string name = "Vemo-x50 Simulator";
    std::string faultName = "none";
    vxi::InstrumentOptions options;
    int baud = 0;
    app.add_option("--name", name, "name of the ports' client")->capture_default_str();
    app.add_option("--device-id", options.deviceId, "device ID, 0-15")->check(CLI::Range(0, 15))->capture_default_str();
    app.add_option("--mode", options.mode, "mode at power-on, 0-127")->check(CLI::Range(0, 127))->capture_default_str();
    app.add_option("--save-dir", options.saveDirectory, "directory that receives each dump as a .SYX file");
    app.add_option("--fault", faultName, "misbehaviour to show")
        ->check(CLI::IsMember(vxi::FaultNames()))
        ->capture_default_str();
    app.add_option("--baud", baud,
                   "answers no earlier than a cable of this speed (31250 for MIDI) can have carried a "
                   "message after its first byte; 0: at once")
        ->check(CLI::Range(0, 10000000))
        ->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    options.fault = *vxi::FaultFromName(faultName);

    vxm::RtMidiDevices ports(name);
    std::string error;
    // RtMidi passes a message on only when it is complete; on JACK the input is read directly,
    // so that a cable's time counts from the first byte. Elsewhere it counts from the whole
    // message, which answers later than a real cable would, never earlier.
#ifdef VX_HAVE_JACK
    vxi::JackInput jackInput;
    const bool ownInput = baud > 0 && ports.ApiName() == "jack";
#else
    const bool ownInput = false;
#endif
    if (!ports.OpenVirtual(name, error, !ownInput)) {
        std::cerr << "Can't open the MIDI ports: " << error << '\n';
        return EXIT_FAILURE;
    }
#ifdef VX_HAVE_JACK
    if (ownInput && !jackInput.Open(name, error)) {
        std::cerr << "Can't open the MIDI ports: " << error << '\n';
        return EXIT_FAILURE;
    }
#endif
    auto nextMessage = [&](vx::Bytes& message, std::chrono::steady_clock::time_point& started) {
#ifdef VX_HAVE_JACK
        if (ownInput) return jackInput.Next(message, started);
#endif
        return ports.NextSysEx(message, started);
    };
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::cout << "ready: " << name << " on " << ports.ApiName() << ", device ID " << options.deviceId << ", fault "
              << faultName << (baud > 0 ? ", " + std::to_string(baud) + " baud" : std::string()) << std::endl;

    vxi::SimulatedInstrument instrument(options);
    std::vector<Pending> pending;
    std::size_t journalShown = 0;
    [[maybe_unused]] bool overflowShown = false;
    while (!stopRequested) {
        vx::Bytes message;
        std::chrono::steady_clock::time_point started;
        while (nextMessage(message, started)) {
            // The last byte is in only once the cable has carried the whole message.
            const auto received = baud > 0 ? started + vx::CableTime(message.size(), baud) : started;
            for (auto& reply : instrument.Receive(message))
                pending.push_back(
                    {std::max(std::chrono::steady_clock::now(), received) + reply.delay, std::move(reply.bytes)});
        }
        for (; journalShown < instrument.Journal().size(); ++journalShown)
            std::cout << instrument.Journal()[journalShown] << std::endl;
#ifdef VX_HAVE_JACK
        if (ownInput && jackInput.Overflowed() && !overflowShown) {
            overflowShown = true;
            std::cout << "input overflowed: pieces of a message were lost" << std::endl;
        }
#endif
        const auto now = std::chrono::steady_clock::now();
        for (auto it = pending.begin(); it != pending.end();) {
            if (it->due > now) {
                ++it;
                continue;
            }
            if (ports.Send(it->bytes, {}, error) != vx::SendResult::Sent)
                std::cerr << "Can't answer: " << error << '\n';
            it = pending.erase(it);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ports.Close();
    return EXIT_SUCCESS;
}
