#include "CliContext.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/editing/EditScheme.h"
#include "core/format/PathLookup.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vxcli {

CliContext::CliContext(std::string programDirectory) : programDirectory_(std::move(programDirectory)) {
    options_.PathNam = programDirectory_;
}

CliContext::~CliContext() = default;

vx::Session* CliContext::Session() {
    if (session_) return session_.get();
    auto catalogue = vx::InitCatalogue(programDirectory_, std::getenv("TEMP"), ui);
    if (!catalogue) return nullptr;
    vx::PresetTables presets;
    std::vector<int> skippedLines;
    const std::string namesFile = programDirectory_ + "/" + std::string(vx::kPresetNamesFile);
    if (!vx::ReadPresetNames(namesFile, presets, &skippedLines)) {
        std::cerr << vx::PresetNamesErrorText() << '\n';
        return nullptr;
    }
    if (!skippedLines.empty()) std::cerr << vx::SkippedNamesLinesText(namesFile, skippedLines) << '\n';
    session_ = std::make_unique<vx::Session>(std::move(*catalogue), std::move(presets), options_, ui);
    undoChanges_ = session_->Changes().Subscribe([this](const vx::SetChange& change) {
        if (change.what == vx::SetChange::What::UndoAvailability) undoOffered[change.set] = change.undoAvailable;
    });
    return session_.get();
}

vx::EditScheme& CliContext::Scheme() {
    if (!scheme_) scheme_ = std::make_unique<vx::EditScheme>(*session_);
    return *scheme_;
}

int CliContext::OpenExisting(const std::string& path) {
    vx::Session* session = Session();
    if (session == nullptr) return 0;
    auto found = vx::FindPathIgnoringCase(vx::NormaliseSeparators(path));
    std::error_code error;
    if (!found || !fs::is_directory(*found, error)) {
        std::cerr << "Can't find the set directory " << path << '\n';
        return 0;
    }
    if (const int open = session->Sets().FindByDirectory(*found)) return open;
    return session->OpenOrNewSet(false, *found);
}

int CliContext::SaveInto(int set, const std::string& dest) {
    if (!vx::IsSetDirectoryName(dest)) {
        std::cerr << "The destination must be a directory named NAME.SET\n";
        return kExitUsage;
    }
    std::string directory = vx::NormaliseSeparators(dest);
    while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
    const std::string parent = vx::ParentDirOf(directory);
    const std::string name = vx::SetNameFromPath(directory);
    // The name is trimmed on saving; the set would then not be found under the name given.
    if (vx::TrimBlanks(name) != name) {
        std::cerr << "A set name can't start or end with a blank: \"" << name << "\"\n";
        return kExitUsage;
    }
    const std::string basePath = session_->CheckSaveCandidate(parent.empty() ? "." : parent, name);
    if (basePath.empty()) return kExitFailure;
    return session_->SaveSet(set, basePath, true) ? kExitSuccess : kExitFailure;
}

}  // namespace vxcli
