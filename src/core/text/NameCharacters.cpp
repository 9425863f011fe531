#include "core/text/NameCharacters.h"

#include <cstdio>

namespace vx {

namespace {

bool IsControl(unsigned char byte) { return byte < 32 || byte == 127; }

std::string Hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// The length of a well-formed UTF-8 sequence starting at text[0], 0 when there is none.
std::size_t Utf8Length(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (length == 0 || text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
    return length;
}

std::string Describe(std::string_view from) {
    const auto byte = static_cast<unsigned char>(from[0]);
    switch (byte) {
        case '\n':
            return "a line break";
        case '\r':
            return "a carriage return";
        case '\t':
            return "a tab";
        default:
            break;
    }
    if (IsControl(byte)) return "the control character " + Hex(byte);
    if (const std::size_t length = Utf8Length(from))
        return "the character \"" + std::string(from.substr(0, length)) + "\"";
    return "the byte " + Hex(byte);
}

}  // namespace

bool IsNameCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 32 && byte <= 126;
}

std::string NameCharacterProblem(std::string_view typed) {
    for (std::size_t at = 0; at < typed.size(); ++at)
        if (!IsNameCharacter(typed[at]))
            return "A name can't hold " + Describe(typed.substr(at)) + " (only the characters blank to ~)";
    return {};
}

std::string ControlCharactersBlanked(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (IsControl(static_cast<unsigned char>(c))) c = ' ';
    return out;
}

}  // namespace vx
