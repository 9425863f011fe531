#include "core/arrangements/ArrangementFields.h"

#include <charconv>

#include "core/catalogue/Catalogue.h"
#include "core/text/Helpers.h"

namespace vx {

std::vector<std::string> SplitKeyNames() {
    std::vector<std::string> names;
    names.reserve(kSplitKeyCount);
    for (int octave = 2; octave <= 6; ++octave)
        for (std::string_view note : NoteName) names.push_back(std::string(note) + std::to_string(octave));
    names.push_back(std::string(NoteName[0]) + "7");
    return names;
}

int TypedNumber(std::string_view text, int minimum, int maximum, int fallback) {
    const std::string trimmed = TrimBlanks(text);
    int value = 0;
    const char* first = trimmed.data();
    const char* last = trimmed.data() + trimmed.size();
    if (first != last && *first == '+') ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return fallback;
    return value >= minimum && value <= maximum ? value : fallback;
}

}  // namespace vx
