#include "core/catalogue/PresetNames.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

namespace vx {

namespace {

// A names file is a few tens of kilobytes; anything far larger is not one.
constexpr std::uintmax_t kMaxNamesFileBytes = 4u * 1024u * 1024u;
constexpr std::string_view kMarker = "vemo-x50";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool ContainsMarker(std::string_view line) {
    if (line.size() < kMarker.size()) return false;
    for (std::size_t at = 0; at + kMarker.size() <= line.size(); ++at) {
        bool match = true;
        for (std::size_t i = 0; i < kMarker.size() && match; ++i)
            match = std::tolower(static_cast<unsigned char>(line[at + i])) == kMarker[i];
        if (match) return true;
    }
    return false;
}

// Splits the lines after the marker into fields: a field ends at a comma or the line end; a
// quoted field may hold commas; blanks around unquoted fields are dropped.
class FieldReader {
public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    // Finds the marker line and positions the reader after it.
    bool SkipPastMarker() {
        while (pos_ < text_.size()) {
            std::string_view line = NextLine();
            if (ContainsMarker(line)) return true;
        }
        return false;
    }

    std::optional<std::string> Next() {
        if (fieldIndex_ >= lineFields_.size()) {
            if (pos_ >= text_.size()) return std::nullopt;
            SplitLine(NextLine());
            fieldIndex_ = 0;
        }
        return lineFields_[fieldIndex_++];
    }

    // The number (from 1) of the line the last field came from.
    int Line() const { return lineNumber_; }

    // A comment runs to the end of its line, commas and all.
    void SkipRestOfLine() { fieldIndex_ = lineFields_.size(); }

private:
    std::string_view NextLine() {
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end < text_.size() ? end + 1 : end;
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    void SplitLine(std::string_view line) {
        lineFields_.clear();
        std::size_t at = 0;
        while (true) {
            while (at < line.size() && IsBlank(line[at])) ++at;
            std::string field;
            if (at < line.size() && line[at] == '"') {
                std::size_t close = line.find('"', at + 1);
                if (close == std::string_view::npos) close = line.size();
                field = std::string(line.substr(at + 1, close - at - 1));
                at = close < line.size() ? close + 1 : close;
                // Whatever stands between the closing quote and the comma is not part of the field.
                std::size_t comma = line.find(',', at);
                at = comma == std::string_view::npos ? line.size() : comma;
            } else {
                std::size_t comma = line.find(',', at);
                if (comma == std::string_view::npos) comma = line.size();
                field = std::string(Trim(line.substr(at, comma - at)));
                at = comma;
            }
            lineFields_.push_back(std::move(field));
            if (at >= line.size()) break;
            ++at;  // past the comma
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::vector<std::string> lineFields_;
    std::size_t fieldIndex_ = 0;
    int lineNumber_ = 0;
};

bool ReadName(FieldReader& reader, std::string& out) {
    while (auto field = reader.Next()) {
        if (field->empty()) continue;
        if (field->front() == '/') {
            reader.SkipRestOfLine();
            continue;
        }
        out = field->substr(0, 16);
        out.resize(16, ' ');
        return true;
    }
    return false;
}

enum class Field { Read, Bad, End };

Field ReadInteger(FieldReader& reader, int low, int high, int& out) {
    auto field = reader.Next();
    if (!field) return Field::End;
    std::string_view text = Trim(*field);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return Field::Bad;
    if (value < low || value > high) return Field::Bad;
    out = value;
    return Field::Read;
}

// One entry: a name, a category (a byte) and for arrangements a style number (a 16-bit value,
// 65535 or -1 meaning none). An entry whose numbers are not there is malformed: its line is
// noted, the rest of the line of the bad field is skipped and the entry stays blank, so a name
// that was split by a line break costs that one entry and never the ones after it. False when
// the text ends before the entry does.
template <typename Item>
bool ReadEntry(FieldReader& reader, Item& item, std::vector<int>& skippedLines) {
    constexpr bool kHasStyle = std::is_same_v<Item, PresetArrangement>;
    Item read;
    if (!ReadName(reader, read.name)) return false;
    const int line = reader.Line();
    Field field = ReadInteger(reader, 0, 255, read.category);
    if constexpr (kHasStyle)
        if (field == Field::Read) field = ReadInteger(reader, -32768, 65535, read.style);
    if (field == Field::End) return false;
    if (field == Field::Bad) {
        reader.SkipRestOfLine();
        skippedLines.push_back(line);
        read = Item{};
    }
    item = std::move(read);
    return true;
}

template <typename Item>
bool ReadItems(FieldReader& reader, std::span<Item> items, std::vector<int>& skippedLines) {
    for (Item& item : items)
        if (!ReadEntry(reader, item, skippedLines)) return false;
    return true;
}

}  // namespace

bool ParsePresetNames(std::string_view text, PresetTables& out, std::vector<int>* skippedLines) {
    FieldReader reader(text);
    if (!reader.SkipPastMarker()) return false;

    PresetTables tables;
    std::vector<int> skipped;
    if (!ReadItems<PresetArrangement>(reader, tables.arrangements, skipped) ||
        !ReadItems<PresetItem>(reader, tables.styles, skipped) ||
        !ReadItems<PresetItem>(reader, tables.programsAB, skipped) ||
        !ReadItems<PresetItem>(reader, tables.programsCD, skipped) ||
        !ReadItems<PresetItem>(reader, tables.programsE, skipped) ||
        !ReadItems<PresetItem>(reader, tables.drumKitsR, skipped))
        return false;
    out = std::move(tables);
    if (skippedLines != nullptr) *skippedLines = std::move(skipped);
    return true;
}

bool ReadPresetNames(const std::string& path, PresetTables& out, std::vector<int>* skippedLines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxNamesFileBytes) return false;
    in.seekg(0, std::ios::beg);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !in.read(text.data(), size)) return false;
    return ParsePresetNames(text, out, skippedLines);
}

std::string SkippedNamesLinesText(const std::string& path, const std::vector<int>& lines) {
    if (lines.empty()) return {};
    constexpr std::size_t kListed = 5;
    std::string list;
    for (std::size_t i = 0; i < lines.size() && i < kListed; ++i) {
        if (i > 0) list += i + 1 == lines.size() ? " and " : ", ";
        list += std::to_string(lines[i]);
    }
    if (lines.size() > kListed) list += " and " + std::to_string(lines.size() - kListed) + " more";
    if (lines.size() == 1)
        return "Line " + list + " of the Preset names file " + path +
               " is malformed.\nIt was skipped: its entry is left blank.";
    return "Lines " + list + " of the Preset names file " + path +
           " are malformed.\nThey were skipped: their entries are left blank.";
}

std::string PresetNamesErrorText() { return "Error getting Preset names from file X50PRSTS.TXT\nEnding program!"; }

}  // namespace vx
