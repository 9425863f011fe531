#include "SimulatedInstrument.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/arrangements/ArrangementFile.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/ItemKind.h"
#include "core/format/ItemFileSave.h"
#include "core/globals/GlobalFiles.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/DumpParser.h"
#include "core/programs/ProgramFile.h"
#include "core/sequences/SequenceFiles.h"
#include "core/styles/StyleFile.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vxi {

namespace {

using vx::Bytes;
using vx::ItemKind;

constexpr std::uint8_t kAck = 0x23;
constexpr std::uint8_t kModeRequest = 0x12;
constexpr std::uint8_t kModeChange = 0x4E;
constexpr std::uint8_t kModeReply = 0x42;
constexpr std::chrono::milliseconds kSlowStore{3000};

const std::vector<std::pair<std::string, Fault>>& FaultTable() {
    static const std::vector<std::pair<std::string, Fault>> table = {{"none", Fault::None},
                                                                     {"no-reply", Fault::NoReply},
                                                                     {"short-identity", Fault::ShortIdentity},
                                                                     {"other-maker", Fault::OtherMaker},
                                                                     {"other-family", Fault::OtherFamily},
                                                                     {"wrong-ack", Fault::WrongAck},
                                                                     {"slow", Fault::Slow}};
    return table;
}

std::optional<ItemKind> KindOfCode(int code) {
    for (int k = 0; k < vx::kSetKindCount; ++k)
        if (vx::KindDumpCode(vx::KindFromIndex(k)) == code) return vx::KindFromIndex(k);
    return std::nullopt;
}

std::size_t ExtraBytes(ItemKind kind) {
    if (kind == ItemKind::Style) return 1;
    if (kind == ItemKind::BackingSequence || kind == ItemKind::Song) return 2;
    return 0;
}

}  // namespace

std::optional<Fault> FaultFromName(const std::string& name) {
    for (const auto& [text, fault] : FaultTable())
        if (text == name) return fault;
    return std::nullopt;
}

std::vector<std::string> FaultNames() {
    std::vector<std::string> names;
    for (const auto& entry : FaultTable()) names.push_back(entry.first);
    return names;
}

std::size_t FixedBodySize(int functionCode) {
    const auto kind = KindOfCode(functionCode);
    if (!kind) return 0;
    switch (*kind) {
        case ItemKind::Arrangement:
            return vx::kArrRecordsSize;
        case ItemKind::Program:
            return vx::kUserPrograms * vx::ProgramRecord::kSize + vx::kUserDrumKits * vx::kDrumKitDataSize;
        case ItemKind::KbdSet:
            return vx::kArkRecordsSize;
        case ItemKind::ArrangementGlobal:
            return vx::ArgRecord::kSize;
        case ItemKind::Global:
            return vx::GblRecord::kSize;
        default:
            return 0;
    }
}

SimulatedInstrument::SimulatedInstrument(InstrumentOptions options)
    : options_(std::move(options)), mode_(options_.mode) {}

Bytes SimulatedInstrument::Header(std::uint8_t function) const {
    return {0xF0, vx::kMakerId, static_cast<std::uint8_t>(0x30 + options_.deviceId), vx::kFamilyId, function};
}

std::vector<Reply> SimulatedInstrument::Receive(const Bytes& message) {
    if (message.size() < 5 || message.front() != 0xF0 || message.back() != 0xF7) {
        journal_.push_back("ignored: not a system exclusive message");
        return {};
    }
    const auto device = static_cast<std::uint8_t>(options_.deviceId);
    if (message.size() == 6 && message[1] == 0x7E && (message[2] == 0x7F || message[2] == device) &&
        message[3] == 0x06 && message[4] == 0x01) {
        Bytes reply = {0xF0, 0x7E, device, 0x06, 0x02, vx::kMakerId, vx::kFamilyId, 0x00,
                       0x00, 0x00, 0x01,   0x00, 0x00, 0x00,         0xF7};
        if (options_.fault == Fault::OtherMaker) reply[5] = 0x43;
        if (options_.fault == Fault::OtherFamily) reply[6] = 0x4A;
        if (options_.fault == Fault::ShortIdentity) reply.erase(reply.begin() + 13);
        journal_.push_back("identity request answered");
        return {{reply, {}}};
    }
    const Bytes mine = Header(0);
    if (!std::equal(mine.begin(), mine.begin() + 4, message.begin())) {
        journal_.push_back("ignored: not for this instrument (" +
                           vx::HexDump(Bytes(message.begin(), message.begin() + 4)) + ")");
        return {};
    }
    if (message.size() == 6 && message[4] == kModeRequest) {
        Bytes reply = Header(kModeReply);
        reply.insert(reply.end(), {static_cast<std::uint8_t>(mode_), 0x00, 0xF7});
        journal_.push_back("mode request answered: " + std::to_string(mode_));
        return {{reply, {}}};
    }
    if (message.size() == 7 && message[4] == kModeChange) {
        mode_ = message[5];
        ++modeChanges_;
        journal_.push_back("mode changed to " + std::to_string(mode_));
        return {};
    }
    return ReceiveDump(message);
}

std::vector<Reply> SimulatedInstrument::ReceiveDump(const Bytes& message) {
    const int code = message[4];
    const auto kind = KindOfCode(code);
    if (!kind) {
        journal_.push_back("ignored: unknown function " + vx::HexDump({message[4]}));
        return {};
    }
    const std::string name(vx::KindName(*kind));
    if (mode_ != vx::kDumpMode) {
        journal_.push_back("ignored: " + name + " dump outside the receiving mode");
        return {};
    }
    const std::size_t extraCount = ExtraBytes(*kind);
    if (message.size() < 6 + extraCount) {
        journal_.push_back("rejected: " + name + " dump too short");
        return {};
    }
    ReceivedDump dump;
    dump.functionCode = code;
    dump.extra.assign(message.begin() + 5, message.begin() + 5 + static_cast<std::ptrdiff_t>(extraCount));
    const std::size_t packedStart = 5 + extraCount;
    // The instrument takes a dump apart as the editor's restore does: framing, packing, and the
    // kind's layout, offsets and announced count included.
    vx::ParsedDump parsed;
    std::string fault;
    if (!vx::ParseDumpMessage(message, parsed, fault) ||
        !vx::UnpackSevenBit(message.data() + packedStart, message.size() - packedStart - 1, dump.body)) {
        journal_.push_back("rejected: " + name + " dump of " + std::to_string(message.size()) +
                           " bytes is malformed: " + fault);
        return {};
    }
    dump.savedAs = Save(message, code);
    journal_.push_back("received " + name + " dump: " + std::to_string(message.size()) + " bytes, body " +
                       std::to_string(dump.body.size()) + (dump.savedAs.empty() ? "" : ", saved as " + dump.savedAs));
    dumps_.push_back(std::move(dump));

    if (options_.fault == Fault::NoReply) return {};
    Bytes ack = Header(kAck);
    ack.push_back(0xF7);
    if (options_.fault == Fault::WrongAck) ack[4] = kAck + 1;
    return {{ack, options_.fault == Fault::Slow ? kSlowStore : std::chrono::milliseconds{0}}};
}

// Files are numbered after the highest number the directory holds, so the newest sorts last.
std::string SimulatedInstrument::Save(const Bytes& message, int functionCode) {
    if (options_.saveDirectory.empty()) return {};
    std::error_code error;
    fs::create_directories(options_.saveDirectory, error);
    int highest = 0;
    for (const auto& entry : fs::directory_iterator(options_.saveDirectory, error)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 6 && std::all_of(file.begin(), file.begin() + 6, [](char c) { return c >= '0' && c <= '9'; }))
            highest = std::max(highest, std::stoi(file.substr(0, 6)));
    }
    char name[32];
    const auto kind = KindOfCode(functionCode);
    std::snprintf(name, sizeof name, "%06d%s.SYX", highest + 1,
                  kind ? std::string(vx::KindExtension(*kind)).replace(0, 1, "-").c_str() : "-DMP");
    const std::string path = (fs::path(options_.saveDirectory) / name).string();
    std::string reason;
    return vx::WriteFileAtomically(path, message, reason) ? std::string(name) : std::string();
}

}  // namespace vxi
