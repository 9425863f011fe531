#include "core/format/StagedWrites.h"

#include <filesystem>
#include <system_error>

#include "core/format/ItemFileSave.h"

namespace fs = std::filesystem;

namespace vx {

std::optional<StagedWrite> StageWrite(const std::string& destination, const Bytes& content,
                                      std::optional<Bytes> previous, std::string& error) {
    auto temporary = WriteTemporaryBeside(destination, content, error);
    if (!temporary) return std::nullopt;
    return StagedWrite{destination, std::move(*temporary), std::move(previous)};
}

bool CommitStagedWrites(const std::vector<StagedWrite>& writes, std::string& error) {
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (ReplaceWithTemporary(writes[i].temporary, writes[i].destination, error)) continue;
        DiscardStagedWrites(std::vector<StagedWrite>(writes.begin() + static_cast<std::ptrdiff_t>(i), writes.end()));
        for (std::size_t done = i; done-- > 0;) {
            const StagedWrite& write = writes[done];
            std::string ignored;
            std::error_code ec;
            if (write.previous)
                WriteFileAtomically(write.destination, *write.previous, ignored);
            else
                fs::remove(write.destination, ec);
        }
        return false;
    }
    return true;
}

void DiscardStagedWrites(const std::vector<StagedWrite>& writes) {
    for (const StagedWrite& write : writes) {
        std::error_code ignored;
        fs::remove(write.temporary, ignored);
    }
}

}  // namespace vx
