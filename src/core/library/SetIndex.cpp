#include "core/library/SetIndex.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <set>
#include <system_error>
#include <type_traits>
#include <variant>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/format/PathLookup.h"
#include "core/kinds/EditableKind.h"
#include "core/storage/SetData.h"
#include "core/text/Helpers.h"
#include "core/text/NameText.h"

namespace vx::library {

namespace fs = std::filesystem;

namespace {

constexpr ItemKind kIndexedKinds[] = {ItemKind::Arrangement,     ItemKind::Style, ItemKind::Program,
                                      ItemKind::BackingSequence, ItemKind::Song,  ItemKind::KbdSet};

// FNV-1a, 64 bits: enough to tell items apart; nothing here needs to withstand an attacker.
class Fnv64 {
public:
    void Add(const std::uint8_t* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001b3ULL;
        }
    }
    template <typename Container>
    void AddAll(const Container& bytes) {
        Add(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    void AddNumber(std::uint32_t value) {
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                       static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        Add(bytes, sizeof bytes);
    }
    std::string Hex() const {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string text(16, '0');
        for (int i = 0; i < 16; ++i) text[static_cast<std::size_t>(i)] = kDigits[(hash_ >> (60 - 4 * i)) & 0xF];
        return text;
    }

private:
    std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

std::string CategoryText(ItemKind kind, int category) {
    if (category < 0 || category >= kCategoryCount) return {};
    const auto index = static_cast<std::size_t>(category);
    switch (kind) {
        case ItemKind::Arrangement:
            return std::string(ArrCategoryName[index]);
        case ItemKind::Style:
            return std::string(StyCategoryName[index]);
        case ItemKind::Program:
            return std::string(PrgCategoryName[index]);
        default:
            return {};
    }
}

// The record bytes, the category and whatever data belongs to the item beyond its record.
struct ItemParts {
    std::vector<std::uint8_t> record;
    int category = -1;
    std::vector<const std::vector<std::uint8_t>*> attached;
    const std::uint8_t* drumKit = nullptr;
    std::vector<int> lengths;
};

ItemParts PartsOf(const EditItem& item) {
    ItemParts parts;
    std::visit(
        [&](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            auto take = [&](const auto& record) { parts.record.assign(record.bytes.begin(), record.bytes.end()); };
            if constexpr (std::is_same_v<T, ArrangementRecord>) {
                take(value);
                parts.category = value.Category();
            } else if constexpr (std::is_same_v<T, StyleSlot>) {
                take(value.record);
                parts.category = value.record.Category();
                parts.attached.push_back(&value.events);
            } else if constexpr (std::is_same_v<T, ProgramItem>) {
                take(value.record);
                parts.category = value.record.Category();
                if (value.drumKit) parts.drumKit = value.drumKit->data();
            } else if constexpr (std::is_same_v<T, KbdSetRecord>) {
                take(value);
            } else {
                take(value.record);
                parts.lengths.assign(value.lengths.begin(), value.lengths.end());
                parts.attached.push_back(&value.events);
            }
        },
        item);
    return parts;
}

// Which user slot each number of a called kind names (-1: a preset or no item).
struct CalledSlots {
    const EditableKind* kind = nullptr;
    std::vector<int> slotOfNumber;
};

CalledSlots SlotsCalled(const EditableKind& kind) {
    CalledSlots slots{&kind, {}};
    const CalledKind* called = kind.Called();
    if (called == nullptr) return slots;
    slots.slotOfNumber.assign(static_cast<std::size_t>(std::max(called->NumberLimit(), 0)), -1);
    for (int slot = 0; slot < kind.SlotCount(); ++slot) {
        const int number = called->NumberOf(slot);
        if (number >= 0 && number < called->NumberLimit()) slots.slotOfNumber[static_cast<std::size_t>(number)] = slot;
    }
    return slots;
}

const EditableKind& KindOf(ItemKind kind) { return *EditableKindOf(kind); }

std::int64_t Seconds(fs::file_time_type time) {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(time).time_since_epoch())
        .count();
}

fs::path BasePathOf(const fs::path& setDirectory) {
    return setDirectory / ToUpper(SetNameFromPath(setDirectory.string()));
}

}  // namespace

std::string FoldKey(const std::string& utf8) {
    std::string key = utf8;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const auto byte = static_cast<unsigned char>(key[i]);
        if (byte >= 'A' && byte <= 'Z') {
            key[i] = static_cast<char>(byte + 32);
        } else if (byte == 0xC3 && i + 1 < key.size()) {
            // Latin-1 capitals U+00C0 to U+00DE, but the multiplication sign, are C3 80 to C3 9E.
            const auto next = static_cast<unsigned char>(key[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) key[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
    return key;
}

std::string StampSetFiles(const fs::path& setDirectory, std::int64_t& newest) {
    newest = 0;
    const std::string base = BasePathOf(setDirectory).string();
    std::string stamps;
    for (int k = 0; k < kSetKindCount; ++k) {
        const std::string file = ItemFileName(base, KindFromIndex(k));
        std::error_code error;
        const auto status = fs::status(file, error);
        if (error || !fs::is_regular_file(status)) {
            stamps += "-;";
            continue;
        }
        const auto size = fs::file_size(file, error);
        const auto time = fs::last_write_time(file, error);
        if (error) {
            stamps += "-;";
            continue;
        }
        newest = std::max(newest, Seconds(time));
        stamps += std::to_string(size) + ":" + std::to_string(time.time_since_epoch().count()) + ";";
    }
    return stamps;
}

std::vector<IndexedItem> IndexItems(const SetData& data) {
    const CalledSlots calledSlots[] = {SlotsCalled(Arrangements()), SlotsCalled(Styles()), SlotsCalled(Programs())};
    std::vector<IndexedItem> items;
    for (const ItemKind kindId : kIndexedKinds) {
        const EditableKind& kind = KindOf(kindId);
        for (int slot = 0; slot < kind.SlotCount(); ++slot) {
            if (kind.IsEmptyAt(data, slot)) continue;
            IndexedItem item;
            item.kind = kindId;
            item.slot = slot;
            item.label = kind.Label(slot);
            item.name = NameTextToUtf8(TrimBlanks(kind.NameAt(data, slot)));
            // The parts point into the item, which lives until its hash is taken.
            const EditItem whole = kind.Read(data, slot);
            ItemParts parts = PartsOf(whole);
            item.category = CategoryText(kindId, parts.category);

            // The calls count by the name of the item called, so the same item hashes alike in a
            // set that keeps what it calls in other slots; the numbers in the record are blanked.
            std::vector<CallSite> sites;
            CallFilter filter;
            filter.callers = MaskOf(kindId);
            filter.slot = slot;
            ForEachCall(
                data, [&](const CallSite& site) { sites.push_back(site); }, filter);
            Fnv64 hash;
            hash.AddNumber(static_cast<std::uint32_t>(KindIndex(kindId)));
            std::vector<std::string> callNames;
            std::vector<std::uint8_t> calls;
            for (const CallSite& site : sites) {
                SetCallIn(parts.record.data(), kindId, site.called, site.track, 0);
                calls.push_back(static_cast<std::uint8_t>(KindIndex(site.called)));
                const CalledSlots* called = nullptr;
                for (const CalledSlots& candidate : calledSlots)
                    if (candidate.kind->Kind() == site.called) called = &candidate;
                const int calledSlot = called != nullptr && site.number >= 0 &&
                                               static_cast<std::size_t>(site.number) < called->slotOfNumber.size()
                                           ? called->slotOfNumber[static_cast<std::size_t>(site.number)]
                                           : -1;
                if (calledSlot < 0) {
                    // A preset or no item: the number is the same on every instrument.
                    calls.push_back('P');
                    const std::string number = std::to_string(site.number);
                    calls.insert(calls.end(), number.begin(), number.end());
                } else if (called->kind->IsEmptyAt(data, calledSlot)) {
                    calls.push_back('E');
                } else {
                    const std::string_view name = called->kind->NameAt(data, calledSlot);
                    calls.push_back('N');
                    calls.insert(calls.end(), name.begin(), name.end());
                    callNames.push_back(NameTextToUtf8(TrimBlanks(name)));
                }
                calls.push_back(0);
            }
            hash.AddAll(parts.record);
            if (parts.drumKit != nullptr) hash.Add(parts.drumKit, kDrumKitDataSize);
            for (const int length : parts.lengths) hash.AddNumber(static_cast<std::uint32_t>(length));
            for (const auto* attached : parts.attached) {
                hash.AddNumber(static_cast<std::uint32_t>(attached->size()));
                hash.AddAll(*attached);
            }
            hash.AddAll(calls);
            item.hash = hash.Hex();

            std::sort(callNames.begin(), callNames.end());
            callNames.erase(std::unique(callNames.begin(), callNames.end()), callNames.end());
            callNames.erase(std::remove(callNames.begin(), callNames.end(), std::string()), callNames.end());
            item.calls = std::move(callNames);
            items.push_back(std::move(item));
        }
    }
    return items;
}

IndexedSet ReadSetForIndex(const fs::path& setDirectory) {
    const std::string base = BasePathOf(setDirectory).string();
    IndexedSet result;
    for (int attempt = 0; attempt < 3; ++attempt) {
        result = IndexedSet{};
        result.stamps = StampSetFiles(setDirectory, result.setTime);
        auto data = std::make_unique<SetData>();
        for (int k = 0; k < kSetKindCount && !result.failure; ++k) {
            const ItemKind kind = KindFromIndex(k);
            Loaded<ItemFile> file = OpenItemFile(base, kind);
            if (!file) {
                result.failure = file.Error().Text();
            } else if (auto loaded = LoadKind(*file, kind, *data); !loaded) {
                result.failure = "Error getting " + std::string(KindName(kind)) + " data. " + loaded.Error().Text();
            }
        }
        std::int64_t newest = 0;
        if (StampSetFiles(setDirectory, newest) != result.stamps) {
            result.failure = "The set changed while it was read.";
            continue;
        }
        if (!result.failure) result.items = IndexItems(*data);
        return result;
    }
    return result;
}

std::vector<fs::path> FindSetDirectories(const std::vector<fs::path>& folders) {
    std::vector<fs::path> sets;
    std::set<fs::path> visited;
    std::vector<fs::path> pending(folders.rbegin(), folders.rend());
    while (!pending.empty()) {
        const fs::path directory = pending.back();
        pending.pop_back();
        std::error_code error;
        const fs::path real = fs::canonical(directory, error);
        if (error || !visited.insert(real).second) continue;
        if (IsSetDirectoryName(directory.string())) {
            sets.push_back(directory);
            continue;
        }
        std::vector<fs::path> children;
        fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, error);
        for (; !error && it != fs::directory_iterator(); it.increment(error)) {
            std::error_code typeError;
            if (it->is_directory(typeError)) children.push_back(it->path());
        }
        std::sort(children.begin(), children.end());
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    std::sort(sets.begin(), sets.end());
    return sets;
}

}  // namespace vx::library
