#include "core/presets/PresetData.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/catalogue/Catalogue.h"
#include "core/format/OutputFile.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/SetData.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr int kBankSlots = 64;
constexpr int kArrangementUserBanks[] = {2, 3};  // C, D
// A preset data file holds the instrument's memory image; anything far larger is not one.
constexpr std::uintmax_t kMaxPrdBytes = 64u * 1024u * 1024u;

template <typename Record>
void AppendRecords(Bytes& out, const Record* first, int count) {
    for (int i = 0; i < count; ++i) first[i].AppendTo(out);
}

}  // namespace

bool IsExportableBank(BankedKind kind, int bank) {
    switch (kind) {
        case BankedKind::Arrangement:
            return std::find(std::begin(kArrangementUserBanks), std::end(kArrangementUserBanks), bank) !=
                   std::end(kArrangementUserBanks);
        case BankedKind::Program:
            return bank == 5 || bank == 6 || bank == kUserDrumBank;
        case BankedKind::Style:
            return false;
    }
    return false;
}

std::vector<std::string> PresetDestinations(BankedKind kind, int sourceBank) {
    std::vector<std::string> names;
    if (!IsExportableBank(kind, sourceBank)) return names;
    if (kind == BankedKind::Program && sourceBank == kUserDrumBank) {
        for (int d = 0; d < kPresetDrumRanges; ++d) names.emplace_back(PresetBankRange[static_cast<std::size_t>(d)]);
        return names;
    }
    const int count = kind == BankedKind::Arrangement ? kPresetArrangementBanks : kPresetProgramBanks;
    for (int d = 0; d < count; ++d) names.emplace_back(BankLetter(static_cast<int>(kind), d));
    return names;
}

std::vector<PrdRange> ExportRanges(const SetData& data, BankedKind kind, int sourceBank, int destination) {
    const auto d = static_cast<std::size_t>(destination);
    if (!IsExportableBank(kind, sourceBank) || destination < 0 ||
        destination >= static_cast<int>(PresetDestinations(kind, sourceBank).size()))
        return {};
    std::vector<PrdRange> ranges;
    if (kind == BankedKind::Arrangement) {
        PrdRange range{d * kPrdArrangementBank, {}};
        const int first = ArrUserIndexInBank(sourceBank, 0);
        AppendRecords(range.bytes, &data.arr.arr[static_cast<std::size_t>(first)], kBankSlots);
        ranges.push_back(std::move(range));
    } else if (sourceBank == kUserDrumBank) {
        PrdRange records{kPrdDrumRecordStart + d * kPrdDrumRecordRange, {}};
        AppendRecords(records.bytes, &data.prg.records[kUserPrograms - kUserDrumKits], kUserDrumKits);
        PrdRange kits{kPrdDrumDataStart + d * kPrdDrumDataRange, {}};
        for (const DrumKitData& kit : data.prg.drumKits) AppendBytes(kits.bytes, kit.data(), kit.size());
        // In file order: the drum kit data lie before the records.
        ranges.push_back(std::move(kits));
        ranges.push_back(std::move(records));
    } else {
        PrdRange range{kPrdProgramStart + d * kPrdProgramBank, {}};
        const int first = UserIndexInBank(sourceBank, 0);
        AppendRecords(range.bytes, &data.prg.records[static_cast<std::size_t>(first)], kBankSlots);
        ranges.push_back(std::move(range));
    }
    return ranges;
}

std::optional<StagedWrite> StagePresetData(const std::string& path, const std::vector<PrdRange>& ranges,
                                           std::string& error) {
    // A link is written through: the file it names gets the new content and the link stays.
    const std::string destination = FollowLinks(path);
    Bytes image;
    std::optional<Bytes> previous;
    std::error_code ec;
    const fs::file_status status = fs::status(destination, ec);
    if (!ec && fs::exists(status)) {
        if (!fs::is_regular_file(status)) {
            error = "This is not a file.";
            return std::nullopt;
        }
        if ((status.permissions() & fs::perms::owner_write) == fs::perms::none) {
            error = "Destination file is Read-Only!";
            return std::nullopt;
        }
        const std::uintmax_t size = fs::file_size(destination, ec);
        if (ec || size > kMaxPrdBytes) {
            error = ec ? "Can't read the file." : "This is not a Preset Data file.";
            return std::nullopt;
        }
        image.resize(static_cast<std::size_t>(size));
        std::ifstream in(destination, std::ios::binary);
        if (!in || (size > 0 && !in.read(reinterpret_cast<char*>(image.data()), static_cast<std::streamsize>(size)))) {
            error = "Can't read the file.";
            return std::nullopt;
        }
        previous = image;
    }
    for (const PrdRange& range : ranges) {
        const std::size_t end = range.offset + range.bytes.size();
        if (image.size() < end) image.resize(end, 0);
        std::copy(range.bytes.begin(), range.bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(range.offset));
    }
    return StageWrite(destination, image, std::move(previous), error);
}

bool WritePresetData(const std::string& path, const std::vector<PrdRange>& ranges, std::string& error) {
    const auto staged = StagePresetData(path, ranges, error);
    return staged && CommitStagedWrites({*staged}, error);
}

}  // namespace vx
