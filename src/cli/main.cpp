// vx50: the command-line tool. Works on set directories with the same code as the editor.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "CliInteraction.h"
#include "DetailCommands.h"
#include "SetInfo.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueInit.h"
#include "document/Helpers.h"
#include "editing/EditScheme.h"
#include "format/PathLookup.h"
#include "presets/PresetNames.h"
#include "storage/Session.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: vx50 COMMAND [ARGUMENTS] [OPTIONS]\n"
    "Works on Vemo-x50 sets: directories NAME.SET holding the eight files of a set.\n"
    "\n"
    "Commands:\n"
    "  info SET [--json]        the set's items, event memory and style blocks\n"
    "  new DEST.SET             a new, empty set from the template\n"
    "  save-as SET DEST.SET     writes all eight files of SET into DEST.SET\n"
    "  import SET KIND FILE     replaces all items of one kind with those of an item file,\n"
    "                           then saves the set; KIND is arr, sty, prg, bsq, sng, ark, arg or gbl\n"
    "  show SET ITEM [--json]   every field of an item's parameter dialog, with its label;\n"
    "                           ITEM is KIND:LABEL (arr:C11, sty:C11, prg:F11, bsq:3, sng:3) or arg, gbl\n"
    "  rename SET ITEM NAME     renames a user item (cut or padded to 16 characters), then saves\n"
    "\n"
    "Options:\n"
    "  --json       info as JSON\n"
    "  --yes        answer questions with Yes/OK (for example to overwrite an existing set)\n"
    "  --help       this text\n"
    "  --version    the program's version\n";

std::string ProgramDirectory(const char* argv0) {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0, error);
    return self.parent_path().string();
}

bool ParseKind(const std::string& text, vx::ItemKind& kind) {
    const std::string wanted = vx::ToUpper(text);
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        const auto candidate = vx::KindFromIndex(k);
        if (wanted == vx::ToUpper(vx::KindExtension(candidate).substr(1)) ||
            wanted == vx::ToUpper(vx::KindName(candidate))) {
            kind = candidate;
            return true;
        }
    }
    return false;
}

bool IsSetDirectoryName(const std::string& path) {
    const std::string upper = vx::ToUpper(vx::NormaliseSeparators(path));
    std::string trimmed = upper;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    return trimmed.size() > 4 && trimmed.substr(trimmed.size() - 4) == ".SET";
}

int OpenExisting(vx::Session& session, const std::string& path) {
    auto found = vx::FindPathIgnoringCase(vx::NormaliseSeparators(path));
    std::error_code error;
    if (!found || !fs::is_directory(*found, error)) {
        std::cerr << "Can't find the set directory " << vx::ToUpper(path) << '\n';
        return 0;
    }
    return session.OpenOrNewSet(false, *found);
}

// Writes every kind of the set into the NAME.SET directory dest, as Save As does.
int SaveInto(vx::Session& session, int set, std::string dest, bool overwrite) {
    dest = vx::NormaliseSeparators(dest);
    while (dest.size() > 1 && dest.back() == '/') dest.pop_back();
    if (!IsSetDirectoryName(dest)) {
        std::cerr << "The destination must be a directory named NAME.SET\n";
        return kExitUsage;
    }
    std::error_code error;
    auto existing = vx::FindPathIgnoringCase(dest);
    if (existing) {
        if (!overwrite) {
            std::cerr << "This Set already exists: " << vx::ToUpper(dest) << " (--yes overwrites it)\n";
            return kExitFailure;
        }
        dest = *existing;
    } else if (!fs::create_directories(dest, error) && error) {
        std::cerr << "Can't create directory " << vx::ToUpper(dest) << '\n';
        return kExitFailure;
    }
    const std::string name = vx::ToUpper(vx::SetNameFromPath(dest));
    return session.SaveSet(set, dest + "/" + name, true) ? EXIT_SUCCESS : kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words;
    bool json = false;
    vxcli::CliInteraction ui;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return EXIT_SUCCESS;
        }
        if (arg == "--version") {
            std::cout << "vx50 " << VX_VERSION_TEXT << '\n';
            return EXIT_SUCCESS;
        }
        if (arg == "--json") {
            json = true;
        } else if (arg == "--yes") {
            ui.answerYes = true;
        } else if (arg.rfind("--", 0) == 0) {
            std::cerr << "Unknown option " << arg << "\n\n" << kUsage;
            return kExitUsage;
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    const std::string command = words[0];
    const std::size_t expected = command == "info" || command == "new"        ? 2
                                 : command == "save-as" || command == "show"  ? 3
                                 : command == "import" || command == "rename" ? 4
                                                                              : 0;
    if (expected == 0 || words.size() != expected) {
        std::cerr << (expected == 0 ? "Unknown command " + command : "Wrong number of arguments for " + command)
                  << "\n\n"
                  << kUsage;
        return kExitUsage;
    }
    vx::ItemKind kind = vx::ItemKind::Arrangement;
    if (command == "import" && !ParseKind(words[2], kind)) {
        std::cerr << "Unknown kind " << words[2] << " (arr, sty, prg, bsq, sng, ark, arg or gbl)\n";
        return kExitUsage;
    }

    const std::string programDirectory = ProgramDirectory(argv[0]);
    auto catalogue = vx::InitCatalogue(programDirectory, std::getenv("TEMP"), ui);
    if (!catalogue) return kExitFailure;
    vx::PresetTables presets;
    if (!vx::ReadPresetNames(programDirectory + "/" + std::string(vx::kPresetNamesFile), presets)) {
        std::cerr << vx::PresetNamesErrorText() << '\n';
        return kExitFailure;
    }
    vx::Options options;
    options.PathNam = programDirectory;
    vx::Session session(std::move(*catalogue), std::move(presets), options, ui);

    if (command == "new") {
        const int set = session.OpenOrNewSet(true, "");
        return set ? SaveInto(session, set, words[1], ui.answerYes) : kExitFailure;
    }
    const int set = OpenExisting(session, words[1]);
    if (!set) return kExitFailure;
    if (command == "info") {
        std::cout << (json ? vxcli::SetInfoJson(session, set) : vxcli::SetInfoText(session, set));
        return EXIT_SUCCESS;
    }
    if (command == "show") return vxcli::ShowItem(session, set, words[2], json, std::cout);
    if (command == "rename") {
        vx::EditScheme scheme(session);
        return vxcli::RenameItem(scheme, session, set, words[2], words[3]);
    }
    if (command == "save-as") return SaveInto(session, set, words[2], ui.answerYes);
    std::error_code error;
    const std::string file = fs::absolute(words[3], error).string();
    if (!session.ImportFromFile(set, kind, file)) return kExitFailure;
    return session.Save(set) ? EXIT_SUCCESS : kExitFailure;
}
