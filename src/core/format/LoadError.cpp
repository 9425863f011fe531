#include "core/format/LoadError.h"

namespace vx {

std::string LoadError::Text() const {
    if (WholeFile()) return what;
    return file + " at byte " + std::to_string(offset) + ": " + what;
}

std::string LoadError::Detail() const { return WholeFile() ? std::string() : Text(); }

}  // namespace vx
