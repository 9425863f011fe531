#include "document/Helpers.h"

#include "catalogue/Catalogue.h"

namespace vx {

namespace {

std::size_t LastSeparator(std::string_view path) { return path.find_last_of("\\/"); }

// ASCII letters only: the locale's upper-casing would change bytes of UTF-8 names, and the
// set could then not be found under its own name.
char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string SetNameFromPath(std::string_view path) {
    std::string_view name = path;
    if (name.size() >= 4 && ToUpper(name.substr(name.size() - 4)) == ".SET") name.remove_suffix(4);
    const std::size_t separator = LastSeparator(name);
    if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
    if (name.size() >= 2 && name[1] == ':') name.remove_prefix(2);
    return std::string(name);
}

std::string ParentDirOf(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

std::string ItemLabel(int kind, int bank, int index) {
    if (index < 0) return std::string(BankLetter(kind, bank));
    return std::string(BankLetter(kind, bank)) + std::to_string(index / 8 + 1) + std::to_string(index % 8 + 1);
}

std::string NoteLabel(int key) {
    if (key < 0 || key > 127) return {};
    std::string note(NoteName[static_cast<std::size_t>(key % 12)]);
    if (note.back() == ' ') note.pop_back();
    return note + std::to_string(key / 12 - 1);
}

int GetBits(std::uint8_t value, int start, int count) {
    if (start < 0 || start > 7 || count <= 0) return 0;
    const int mask = count >= 8 ? 0xFF : (1 << count) - 1;
    return (value >> start) & mask;
}

std::uint8_t SetBits(std::uint8_t value, int start, int count, int bits) {
    if (start < 0 || start > 7 || count <= 0) return value;
    const int mask = ((count >= 8 ? 0xFF : (1 << count) - 1) << start) & 0xFF;
    return static_cast<std::uint8_t>((value & ~mask) | ((bits << start) & mask));
}

int GetWord(const std::vector<std::uint8_t>& buffer, std::size_t offset) {
    if (offset >= buffer.size() || buffer.size() - offset < 2) return 0;
    return buffer[offset] | ((buffer[offset + 1] & 0x7F) << 8);
}

void PutWord(std::vector<std::uint8_t>& buffer, std::size_t offset, int value) {
    if (offset >= buffer.size() || buffer.size() - offset < 2) return;
    const auto word = static_cast<std::uint16_t>(value);
    buffer[offset] = static_cast<std::uint8_t>(word & 0xFF);
    buffer[offset + 1] = static_cast<std::uint8_t>(word >> 8);
}

bool BytesEqual(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    // A shorter a cannot agree with b at indexes it does not have.
    for (std::size_t i = 1; i < b.size(); ++i)
        if (i >= a.size() || a[i] != b[i]) return false;
    return true;
}

std::string HexDump(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
        text += ' ';
    }
    return text;
}

std::string ToUpper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = UpperChar(c);
    return upper;
}

std::string TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (UpperChar(text[i]) != UpperChar(prefix[i])) return false;
    return true;
}

}  // namespace vx
