// info, new, save-as, import: whole sets and whole kinds.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "CliContext.h"
#include "Commands.h"
#include "SetInfo.h"
#include "core/catalogue/Catalogue.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace fs = std::filesystem;

namespace vxcli {

namespace {

struct SetArguments {
    std::string set;
    std::string dest;
    std::string kind;
    std::string file;
    bool json = false;
};

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

int Info(CliContext& context, const SetArguments& args) {
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Session& session = *context.Session();
    std::cout << (args.json ? SetInfoJson(session, set) : SetInfoText(session, set));
    return kExitSuccess;
}

int New(CliContext& context, const SetArguments& args) {
    vx::Session* session = context.Session();
    if (session == nullptr) return kExitFailure;
    const int set = session->OpenOrNewSet(true, "");
    return set ? context.SaveInto(set, args.dest) : kExitFailure;
}

int SaveAs(CliContext& context, const SetArguments& args) {
    const int set = context.OpenExisting(args.set);
    return set ? context.SaveInto(set, args.dest) : kExitFailure;
}

int Import(CliContext& context, const SetArguments& args) {
    vx::ItemKind kind = vx::ItemKind::Arrangement;
    if (!ParseKind(args.kind, kind)) {
        std::cerr << "Unknown kind " << args.kind << " (arr, sty, prg, bsq, sng, ark, arg or gbl)\n";
        return kExitUsage;
    }
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Session& session = *context.Session();
    std::error_code error;
    const vx::ImportResult imported = session.ImportFromFile(set, kind, fs::absolute(args.file, error).string());
    vx::ShowNotices(context.ui, imported);
    if (!imported) return kExitFailure;
    return session.Save(set) ? kExitSuccess : kExitFailure;
}

}  // namespace

void AddSetCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<SetArguments>();
    auto run = [&context, args](int (*command)(CliContext&, const SetArguments&)) {
        return [&context, args, command] { context.exitStatus = command(context, *args); };
    };

    CLI::App* info = app.add_subcommand("info", "the set's items, event memory and style blocks");
    info->add_option("SET", args->set, "a set directory NAME.SET")->required();
    info->add_flag("--json", args->json, "as JSON");
    info->callback(run(Info));

    CLI::App* created = app.add_subcommand("new", "a new, empty set from the template");
    created->add_option("DEST.SET", args->dest, "the new set directory")->required();
    created->callback(run(New));

    CLI::App* saveAs = app.add_subcommand("save-as", "writes all eight files of SET into DEST.SET");
    saveAs->add_option("SET", args->set)->required();
    saveAs->add_option("DEST.SET", args->dest)->required();
    saveAs->callback(run(SaveAs));

    CLI::App* import =
        app.add_subcommand("import", "replaces all items of one kind with those of an item file, then saves the set");
    import->add_option("SET", args->set)->required();
    import->add_option("KIND", args->kind, "arr, sty, prg, bsq, sng, ark, arg or gbl")->required();
    import->add_option("FILE", args->file, "an item file of that kind")->required();
    import->callback(run(Import));
}

}  // namespace vxcli
