#include "SetInfo.h"

#include <nlohmann/json.hpp>

#include <sstream>
#include <utility>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/NameText.h"

namespace vxcli {

namespace {

using Field = std::pair<std::string, std::string>;  // key, value (numbers kept as text)

struct Item {
    std::string label;
    std::string name;
    std::vector<Field> fields;
};

struct Section {
    std::string key;    // JSON key
    std::string title;  // text heading
    std::vector<Item> items;
};

struct Block {
    int number = 0;
    std::string slots;
    int used = 0;
    int free = 0;
};

struct SetInfo {
    std::string name;
    std::vector<Section> sections;
    std::vector<Field> counters;
    std::vector<Block> blocks;
};

std::string TrimRight(const std::string& text) { return text.substr(0, text.find_last_not_of(' ') + 1); }

SetInfo Collect(const vx::Session& session, int set) {
    const vx::SetData& data = session.Data(set);
    const vx::PresetTables& presets = session.Presets();
    SetInfo info;
    info.name = session.Slot(set).name;

    Section arrangements{"arrangements", "Arrangements", {}};
    for (int slot = 0; slot < vx::kUserArrangements; ++slot) {
        const auto& record = data.arr.arr[static_cast<std::size_t>(slot)];
        if (record.IsEmpty()) continue;
        const int number = vx::ArrNumberOfUserIndex(slot);
        arrangements.items.push_back(
            {vx::ArrLabel(number), TrimRight(record.Name()), {{"style", vx::StyLabel(record.Style())}}});
    }
    Section styles{"styles", "Styles", {}};
    for (int slot = 0; slot < vx::kUserStyles; ++slot) {
        const auto& style = data.sty.slots[static_cast<std::size_t>(slot)];
        if (style.IsEmpty()) continue;
        styles.items.push_back({vx::StyLabel(vx::StyNumberOfUserIndex(slot)),
                                TrimRight(style.record.Name()),
                                {{"events", std::to_string(vx::StyleEventsUsed(data.sty, slot))}}});
    }
    Section programs{"programs", "Programs", {}};
    for (int index = 0; index < vx::kUserPrograms; ++index) {
        const auto& record = data.prg.records[static_cast<std::size_t>(index)];
        if (record.IsEmpty()) continue;
        const int category = record.Category();
        programs.items.push_back(
            {vx::ProgramLabelOfUserIndex(index),
             TrimRight(record.Name()),
             {{"category",
               category < 16 ? std::string(vx::PrgCategoryName[static_cast<std::size_t>(category)]) : std::string()}}});
    }
    Section sequences{"backingSequences", "Backing Sequences", {}};
    Section songs{"songs", "Songs", {}};
    for (int n = 0; n < vx::kSequenceCount; ++n) {
        const auto& bsq = data.bsq.entries[static_cast<std::size_t>(n)];
        if (!bsq.IsEmpty())
            sequences.items.push_back({"BSeq " + std::to_string(n),
                                       TrimRight(bsq.record.Name()),
                                       {{"events", std::to_string(bsq.total * 4)}}});
        const auto& song = data.sng.entries[static_cast<std::size_t>(n)];
        if (!song.IsEmpty())
            songs.items.push_back({"Song " + std::to_string(n),
                                   TrimRight(song.record.Name()),
                                   {{"events", std::to_string(song.total * 4)}}});
    }
    Section kbdSets{"kbdSets", "KBD Sets", {}};
    for (int n = 0; n < vx::kKbdSetCount; ++n) {
        const auto& record = data.ark.records[static_cast<std::size_t>(n)];
        const int main = record.TrackProgram(0);
        kbdSets.items.push_back({vx::KbdLabel(n),
                                 TrimRight(vx::ProgramNameOf(data.prg, presets, main)),
                                 {{"split", vx::NoteLabel(record.Split())}, {"main", vx::ProgramLabel(main)}}});
    }
    info.sections = {arrangements, styles, programs, sequences, songs, kbdSets};

    const vx::EventCounters counters = vx::CountEvents(data.bsq, data.sng);
    info.counters = {{"BackSeqs", std::to_string(counters.backSeqs * 4)},
                     {"Songs", std::to_string(counters.songs * 4)},
                     {"Patterns", std::to_string(counters.patterns * 4)},
                     {"Total", std::to_string(counters.Total() * 4)},
                     {"Free", std::to_string(counters.Free() * 4)}};

    for (int block = 0; block < vx::kStyleBlocks; ++block) {
        const int first = block * vx::kStylesPerBlock;
        int used = 0;
        for (int slot = first; slot < first + vx::kStylesPerBlock; ++slot) used += vx::StyleEventsUsed(data.sty, slot);
        info.blocks.push_back({block + 1,
                               vx::StyLabel(vx::StyNumberOfUserIndex(first)) + "-" +
                                   vx::StyLabel(vx::StyNumberOfUserIndex(first + vx::kStylesPerBlock - 1)),
                               used, vx::BlockEventsFree(data.sty, first)});
    }
    return info;
}

std::string CounterKey(const std::string& label) {
    std::string key = label;
    key[0] = static_cast<char>(key[0] - 'A' + 'a');
    return key;
}

}  // namespace

std::string SetInfoText(const vx::Session& session, int set) {
    const SetInfo info = Collect(session, set);
    std::ostringstream out;
    out << "Set " << info.name << '\n';
    for (const Section& section : info.sections) {
        out << '\n' << section.title << " (" << section.items.size() << ")\n";
        for (const Item& item : section.items) {
            out << "  " << item.label << "  " << vx::NameTextToUtf8(item.name);
            for (const auto& [key, value] : item.fields)
                if (!value.empty()) out << "  " << key << " " << vx::NameTextToUtf8(value);
            out << '\n';
        }
    }
    out << "\nEvent memory\n";
    for (const auto& [label, value] : info.counters) out << "  " << label << ": " << value << '\n';
    out << "\nStyle blocks\n";
    for (const Block& block : info.blocks)
        out << "  Block " << block.number << " (" << block.slots << ")  used " << block.used << "  free " << block.free
            << '\n';
    return out.str();
}

std::string SetInfoJson(const vx::Session& session, int set) {
    const SetInfo info = Collect(session, set);
    nlohmann::ordered_json json;
    json["set"] = info.name;  // the directory's name, as the file system gives it
    for (const Section& section : info.sections) {
        auto items = nlohmann::ordered_json::array();
        for (const Item& item : section.items) {
            nlohmann::ordered_json entry;
            entry["label"] = vx::NameTextToUtf8(item.label);
            entry["name"] = vx::NameTextToUtf8(item.name);
            for (const auto& [key, value] : item.fields) entry[key] = vx::NameTextToUtf8(value);
            items.push_back(std::move(entry));
        }
        json[section.key] = std::move(items);
    }
    nlohmann::ordered_json counters;
    for (const auto& [label, value] : info.counters) counters[CounterKey(label)] = std::stoi(value);
    json["eventMemory"] = std::move(counters);
    auto blocks = nlohmann::ordered_json::array();
    for (const Block& block : info.blocks)
        blocks.push_back({{"block", block.number}, {"slots", block.slots}, {"used", block.used}, {"free", block.free}});
    json["styleBlocks"] = std::move(blocks);
    // Other bytes than plain ASCII are written as escapes, so the output is plain ASCII.
    return json.dump(2, ' ', true, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace vxcli
