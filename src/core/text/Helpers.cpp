#include "core/text/Helpers.h"

#include "core/catalogue/Catalogue.h"

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

std::string NoteLabel(int key) {
    if (key < 0 || key > 127) return {};
    std::string note(NoteName[static_cast<std::size_t>(key % 12)]);
    if (note.back() == ' ') note.pop_back();
    return note + std::to_string(key / 12 - 1);
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

}  // namespace vx
