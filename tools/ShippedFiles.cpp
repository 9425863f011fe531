#include "ShippedFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "DemoSet.h"
#include "PresetCatalogue.h"
#include "TemplateSet.h"
#include "Tips.h"
#include "core/catalogue/Catalogue.h"

namespace vxmk {

namespace {

vx::Bytes TextBytes(const std::string& text) { return vx::Bytes(text.begin(), text.end()); }

}  // namespace

std::vector<ShippedFile> SetFiles(const vx::SetData& set, const std::string& name) {
    std::vector<ShippedFile> files;
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        const auto kind = vx::KindFromIndex(k);
        files.push_back({name + ".SET/" + name + std::string(vx::KindExtension(kind)), vx::SerializeKind(set, kind)});
    }
    return files;
}

std::vector<ShippedFile> DataFiles() {
    auto files = SetFiles(BuildTemplateSet(), std::string(vx::kTemplateName));
    files.push_back({std::string(vx::kPresetNamesFile), TextBytes(PresetNamesText())});
    files.push_back({std::string(vx::kTipsFile), TextBytes(TipsText())});
    return files;
}

std::vector<ShippedFile> ExampleFiles() { return SetFiles(BuildDemoSet(), "DEMO"); }

bool WriteFiles(const std::string& directory, const std::vector<ShippedFile>& files, std::string& error) {
    namespace fs = std::filesystem;
    for (const auto& file : files) {
        const fs::path path = fs::path(directory) / fs::path(file.path);
        std::error_code ec;
        fs::create_directories(path.parent_path(), ec);
        if (ec) {
            error = "cannot create " + path.parent_path().string() + ": " + ec.message();
            return false;
        }
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.content.data()),
                  static_cast<std::streamsize>(file.content.size()));
        out.close();
        if (!out) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

std::vector<std::string> DifferingFiles(const std::string& directory, const std::vector<ShippedFile>& files) {
    std::vector<std::string> differing;
    for (const auto& file : files) {
        const auto path = std::filesystem::path(directory) / std::filesystem::path(file.path);
        std::ifstream in(path, std::ios::binary);
        const vx::Bytes stored(std::istreambuf_iterator<char>(in), {});
        if (!in.is_open() || stored != file.content) differing.push_back(path.string());
    }
    return differing;
}

}  // namespace vxmk
