#include "LibraryCommands.h"

#include <unistd.h>
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "CliContext.h"
#include "core/catalogue/Catalogue.h"
#include "core/library/Library.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vxcli {

namespace {

struct LibraryArguments {
    std::string file;
    std::vector<std::string> folders;
    std::string folder;
    std::string text;
    std::string kind;
    std::optional<std::string> category;
    bool json = false;
    bool progress = false;
};

constexpr vx::ItemKind kLibraryKinds[] = {vx::ItemKind::Arrangement,     vx::ItemKind::Style, vx::ItemKind::Program,
                                          vx::ItemKind::BackingSequence, vx::ItemKind::Song,  vx::ItemKind::KbdSet};

// "prg" for programs: the KIND of an ITEM on the command line.
std::string KindCode(vx::ItemKind kind) {
    std::string code(vx::KindExtension(kind).substr(1));
    for (char& c : code) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return code;
}

// The kind an option names, or nothing after saying which kinds there are.
bool ParseLibraryKind(const std::string& text, std::optional<vx::ItemKind>& kind) {
    if (text.empty()) return true;
    const std::string wanted = vx::ToUpper(text);
    for (const vx::ItemKind candidate : kLibraryKinds) {
        if (wanted == vx::ToUpper(KindCode(candidate)) || wanted == vx::ToUpper(vx::KindName(candidate))) {
            kind = candidate;
            return true;
        }
    }
    std::cerr << "Unknown kind " << text << " (arr, sty, prg, bsq, sng or ark)\n";
    return false;
}

std::unique_ptr<vx::library::Library> OpenLibrary(const LibraryArguments& args) {
    std::string error;
    const fs::path file = args.file.empty() ? vx::library::Library::DefaultFile() : fs::path(args.file);
    auto library = vx::library::Library::Open(file, error);
    if (!library) std::cerr << error << "\n";
    return library;
}

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

int RunScan(vx::library::Library& library, const LibraryArguments& args) {
    // A terminal sees one line that changes; --progress writes a line per set for a script.
    const bool terminal = ::isatty(STDERR_FILENO) != 0;
    std::size_t shown = 0;
    const auto summary = library.Scan([&](const vx::library::ScanProgress& progress) {
        if (terminal) {
            // One line of a common terminal's width, so that the next one covers it: a long path
            // keeps its end.
            std::string line =
                "Scanning " + std::to_string(progress.done + 1) + "/" + std::to_string(progress.total) + ": ";
            const std::size_t room = line.size() < 76 ? 76 - line.size() : 0;
            line += progress.current.size() <= room + 3
                        ? progress.current
                        : "..." + progress.current.substr(progress.current.size() - room);
            const std::size_t width = line.size();
            if (line.size() < shown) line.append(shown - line.size(), ' ');
            shown = width;
            std::cerr << '\r' << line << std::flush;
        } else if (args.progress) {
            std::cerr << "Scanning " << progress.done + 1 << "/" << progress.total << ": " << progress.current
                      << std::endl;
        }
        return true;
    });
    if (terminal && shown > 0) std::cerr << '\r' << std::string(shown, ' ') << '\r' << std::flush;
    std::cout << "Scanned " << Plural(summary.sets, "set", "sets") << ": " << summary.read << " read, "
              << summary.unchanged << " unchanged, " << summary.removed << " removed, " << summary.failed
              << " could not be read.\n";
    for (const auto& failure : library.Failures()) std::cerr << failure.setPath << ": " << failure.reason << "\n";
    if (!summary.error.empty()) {
        std::cerr << "The library could not be written: " << summary.error << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

nlohmann::ordered_json ItemJson(const vx::library::LibraryItem& item) {
    return {{"set", item.setPath}, {"kind", KindCode(item.kind)}, {"label", item.label},
            {"name", item.name},   {"category", item.category},   {"hash", item.hash}};
}

// One item a line, in columns: ITEM (as vx50 show takes it), name, category, set.
void PrintItems(const std::vector<vx::library::LibraryItem>& items, const std::string& indent = "") {
    std::size_t itemWidth = 0, nameWidth = 0, categoryWidth = 0;
    auto utf8Width = [](const std::string& text) {
        return static_cast<std::size_t>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    };
    for (const auto& item : items) {
        itemWidth = std::max(itemWidth, KindCode(item.kind).size() + 1 + item.label.size());
        nameWidth = std::max(nameWidth, utf8Width(item.name));
        categoryWidth = std::max(categoryWidth, item.category.size());
    }
    for (const auto& item : items) {
        const std::string address = KindCode(item.kind) + ":" + item.label;
        std::cout << indent << address << std::string(itemWidth - address.size() + 2, ' ') << item.name
                  << std::string(nameWidth - utf8Width(item.name) + 2, ' ');
        if (categoryWidth > 0) std::cout << item.category << std::string(categoryWidth - item.category.size() + 2, ' ');
        std::cout << item.setPath << "\n";
    }
}

void PrintJson(const nlohmann::ordered_json& value) {
    std::cout << value.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

// What find and where-used found: a JSON list, or a line each.
void PrintFound(const std::vector<vx::library::LibraryItem>& items, bool json) {
    if (!json) return PrintItems(items);
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& item : items) list.push_back(ItemJson(item));
    PrintJson(list);
}

int Add(const LibraryArguments& args) {
    // Every folder is checked before any is remembered.
    for (const std::string& folder : args.folders) {
        std::error_code error;
        if (!fs::is_directory(folder, error)) {
            std::cerr << folder << " is not a directory.\n";
            return kExitFailure;
        }
    }
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    for (const std::string& folder : args.folders) {
        std::string error;
        if (!library->AddFolder(folder, error)) {
            std::cerr << error << "\n";
            return kExitFailure;
        }
    }
    return RunScan(*library, args);
}

int Scan(const LibraryArguments& args) {
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    if (library->Folders().empty()) {
        std::cerr << "The library has no folders: add one with vx50 library add DIR.\n";
        return kExitFailure;
    }
    return RunScan(*library, args);
}

int Find(const LibraryArguments& args) {
    vx::library::FindQuery query;
    if (!ParseLibraryKind(args.kind, query.kind)) return kExitUsage;
    query.text = args.text;
    query.category = args.category;
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    const auto items = library->Find(query);
    PrintFound(items, args.json);
    return kExitSuccess;
}

int Duplicates(const LibraryArguments& args) {
    std::optional<vx::ItemKind> kind;
    if (!ParseLibraryKind(args.kind, kind)) return kExitUsage;
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    const auto groups = library->Duplicates(kind);
    if (args.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const auto& group : groups) {
            nlohmann::ordered_json items = nlohmann::ordered_json::array();
            for (const auto& item : group) items.push_back(ItemJson(item));
            list.push_back(items);
        }
        PrintJson(list);
        return kExitSuccess;
    }
    for (const auto& group : groups) {
        std::cout << vx::KindName(group.front().kind) << " " << group.front().hash << ", "
                  << Plural(group.size(), "copy", "copies") << ":\n";
        PrintItems(group, "  ");
    }
    return kExitSuccess;
}

int WhereUsed(const LibraryArguments& args) {
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    const auto items = library->WhereUsed(args.text);
    PrintFound(items, args.json);
    return kExitSuccess;
}

int Remove(const LibraryArguments& args) {
    auto library = OpenLibrary(args);
    if (!library) return kExitFailure;
    if (!library->RemoveFolder(args.folder)) {
        std::cerr << args.folder << " is not a folder of the library.\n";
        return kExitFailure;
    }
    std::cout << "Removed " << args.folder << " from the library.\n";
    return kExitSuccess;
}

}  // namespace

void AddLibraryCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<LibraryArguments>();
    auto run = [&context, args](int (*command)(const LibraryArguments&)) {
        return [&context, args, command] { context.exitStatus = command(*args); };
    };

    CLI::App* library = app.add_subcommand(
        "library",
        "an index of every set under your folders: finds items by name, duplicates and callers in all of them");
    library->require_subcommand(1);
    library->fallthrough();
    library
        ->add_option("--library", args->file,
                     "the index file (default: $XDG_DATA_HOME/vxeditr/library.sqlite, else "
                     "~/.local/share/vxeditr/library.sqlite)")
        ->type_name("FILE");

    CLI::App* add = library->add_subcommand("add", "remembers the folders, then scans them");
    add->add_option("DIR", args->folders, "folders holding sets, at any depth")->required();
    add->add_flag("--progress", args->progress, "a line per set on standard error, also when it is no terminal");
    add->callback(run(Add));

    CLI::App* scan = library->add_subcommand("scan", "reads the sets under the folders again where they changed");
    scan->add_flag("--progress", args->progress, "a line per set on standard error, also when it is no terminal");
    scan->callback(run(Scan));

    CLI::App* find = library->add_subcommand("find", "items whose name holds TEXT, any case");
    find->add_option("TEXT", args->text, "a part of the name; \"\" lists every item")->required();
    find->add_option("--kind", args->kind, "arr, sty, prg, bsq, sng or ark")->type_name("KIND");
    find->add_option("--category", args->category, "a category name, as the dialogs show it")->type_name("NAME");
    find->add_flag("--json", args->json, "as JSON");
    find->callback(run(Find));

    CLI::App* duplicates =
        library->add_subcommand("duplicates", "groups of items with the same content, in other slots or sets");
    duplicates->add_option("--kind", args->kind, "arr, sty, prg, bsq, sng or ark")->type_name("KIND");
    duplicates->add_flag("--json", args->json, "as JSON");
    duplicates->callback(run(Duplicates));

    CLI::App* whereUsed = library->add_subcommand("where-used", "every item that calls an item named NAME");
    whereUsed->add_option("NAME", args->text, "the whole name, any case")->required();
    whereUsed->add_flag("--json", args->json, "as JSON");
    whereUsed->callback(run(WhereUsed));

    CLI::App* remove = library->add_subcommand("remove", "forgets a folder and the sets found only under it");
    remove->add_option("DIR", args->folder, "a folder as it was added")->required();
    remove->callback(run(Remove));
}

}  // namespace vxcli
