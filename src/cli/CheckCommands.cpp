#include "CheckCommands.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "CliContext.h"
#include "core/catalogue/Catalogue.h"
#include "core/check/SetCheck.h"
#include "core/midi/SysExRestore.h"
#include "core/storage/Session.h"
#include "core/text/NameText.h"

namespace fs = std::filesystem;

namespace vxcli {

namespace {

struct CheckArguments {
    std::string set;
    std::string file;
    bool json = false;
};

int Check(CliContext& context, const CheckArguments& args) {
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Session& session = *context.Session();
    const std::string name = session.Slot(set).name;
    auto findings = vx::CheckSet(session.Data(set), session.Slot(set).dirty);
    // The findings quote the set's names, single bytes read as Latin-1.
    for (vx::Finding& finding : findings)
        for (std::string* text : {&finding.item, &finding.problem, &finding.advice}) *text = vx::NameTextToUtf8(*text);
    if (args.json) {
        nlohmann::ordered_json report = nlohmann::ordered_json::object();
        report["set"] = name;
        report["clean"] = findings.empty();
        report["findings"] = nlohmann::ordered_json::array();
        for (const vx::Finding& finding : findings)
            report["findings"].push_back({{"type", vx::FindingTypeName(finding.type)},
                                          {"item", finding.item},
                                          {"problem", finding.problem},
                                          {"advice", finding.advice}});
        // The set's name is the directory's, as the file system gives it: never a reason to stop.
        std::cout << report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    } else {
        std::cout << vx::CheckReportText(name, findings);
    }
    return findings.empty() ? kExitSuccess : kExitFailure;
}

int Restore(CliContext& context, const CheckArguments& args) {
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Session& session = *context.Session();
    std::error_code error;
    const auto kind = vx::RestoreSysExFile(session, context.Scheme(), set, fs::absolute(args.file, error).string());
    if (!kind) return kExitFailure;
    if (!session.Save(set)) return kExitFailure;
    std::cout << "Restored the " << vx::KindName(*kind) << " data of " << session.Slot(set).name << ".\n";
    return kExitSuccess;
}

}  // namespace

void AddCheckCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<CheckArguments>();
    auto run = [&context, args](int (*command)(CliContext&, const CheckArguments&)) {
        return [&context, args, command] { context.exitStatus = command(context, *args); };
    };

    CLI::App* check = app.add_subcommand(
        "check", "lists what in the set the instrument would trip over; exit status 1 when something was found");
    check->add_option("SET", args->set, "a set directory NAME.SET")->required();
    check->add_flag("--json", args->json, "as JSON");
    check->callback(run(Check));

    CLI::App* restore = app.add_subcommand(
        "restore",
        "replaces the kind a .SYX dump holds (for styles its block of four) with the dump's, then saves the set");
    restore->add_option("SET", args->set, "a set directory NAME.SET")->required();
    restore->add_option("FILE.SYX", args->file, "a file holding one dump message")->required();
    restore->callback(run(Restore));
}

}  // namespace vxcli
