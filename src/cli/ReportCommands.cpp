#include "ReportCommands.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "CliInteraction.h"
#include "core/catalogue/Catalogue.h"
#include "core/presets/PresetData.h"
#include "core/presets/PresetNamesWriter.h"
#include "core/reports/ReportFile.h"
#include "core/reports/SetReport.h"
#include "core/reports/SubsetReport.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/NameText.h"

namespace fs = std::filesystem;

namespace vxcli {

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// arr, sty, prg or the kind's name, any case.
bool ParseBankedKind(const std::string& text, vx::BankedKind& kind) {
    const std::string wanted = vx::ToUpper(text);
    for (int k = 0; k <= static_cast<int>(vx::BankedKind::Program); ++k) {
        const vx::ItemKind item = vx::KindFromIndex(k);
        if (wanted == vx::ToUpper(vx::KindExtension(item).substr(1)) || wanted == vx::ToUpper(vx::KindName(item))) {
            kind = static_cast<vx::BankedKind>(k);
            return true;
        }
    }
    return false;
}

int Usage(const std::string& text) {
    std::cerr << text << '\n';
    return kExitUsage;
}

// The text into a file the user named, with the bytes the editor's Save writes, or to standard
// output, in UTF-8.
int Deliver(vx::Interaction& ui, const std::string& output, const std::string& text, const std::string& errorPrefix) {
    if (output.empty()) {
        std::cout << vx::NameTextToUtf8(text) << std::flush;
        return std::cout ? EXIT_SUCCESS : kExitFailure;
    }
    const std::string path = fs::absolute(output).string();
    if (!vx::MayOverwrite(ui, path)) {
        std::cerr << "(--yes overwrites it)\n";
        return kExitFailure;
    }
    return vx::WriteReportFile(ui, path, text, errorPrefix) ? EXIT_SUCCESS : kExitFailure;
}

int FindEntry(const std::vector<std::string>& entries, const std::string& wanted) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (vx::ToUpper(entries[i]) == vx::ToUpper(wanted)) return static_cast<int>(i);
    return -1;
}

int FindBank(vx::BankedKind kind, const std::string& letter) {
    for (int bank = 0; bank < vx::BankCount(static_cast<int>(kind)); ++bank)
        if (vx::ToUpper(letter) == vx::BankLetter(static_cast<int>(kind), bank)) return bank;
    return -1;
}

struct ExportArguments {
    std::string set, kind, bank, file, destination, names;
};

int ExportPreset(ReportContext& context, const ExportArguments& args) {
    vx::BankedKind kind = vx::BankedKind::Arrangement;
    if (!ParseBankedKind(args.kind, kind) || kind == vx::BankedKind::Style)
        return Usage("Only arrangements (arr) and programs (prg) can be exported to a Preset File");
    const int bank = FindBank(kind, args.bank);
    if (!vx::IsExportableBank(kind, bank))
        return Usage("Bank " + vx::ToUpper(args.bank) + " holds no user " +
                     std::string(vx::KindName(vx::KindFromIndex(static_cast<int>(kind)))) +
                     "s (arrangements: C or D; programs: F, G or R)");
    const auto destinations = vx::PresetDestinations(kind, bank);
    const int destination = FindEntry(destinations, args.destination);
    if (destination < 0) {
        std::string list;
        for (const auto& d : destinations) list += (list.empty() ? "" : ", ") + d;
        return Usage("Unknown preset bank " + args.destination + " (" + list + ")");
    }
    if (args.file.empty()) return Usage("The preset data file name is empty");
    return context.withSet(args.set, [&](vx::Session& session, int set) {
        std::string error;
        std::error_code ec;
        const std::string file = fs::absolute(args.file, ec).string();
        const auto staged =
            vx::StagePresetData(file, vx::ExportRanges(session.Data(set), kind, bank, destination), error);
        if (!staged) {
            std::cerr << "Error exporting to Preset file " << file << '\n' << error << '\n';
            return kExitFailure;
        }
        if (args.names.empty()) {
            if (vx::CommitStagedWrites({*staged}, error)) return EXIT_SUCCESS;
            std::cerr << "Error exporting to Preset file " << file << '\n' << error << '\n';
            return kExitFailure;
        }
        // The preset data and the names change together or not at all.
        const bool saved = vx::SavePresetNames(context.ui, fs::absolute(args.names, ec).string(),
                                               vx::PresetSectionTitle(kind, bank, destination),
                                               vx::UserBankEntries(session.Data(set), kind, bank, bank), &*staged);
        return saved ? EXIT_SUCCESS : kExitFailure;
    });
}

const char* const kCommands[] = {"report", "subset-report", "export-preset"};

}  // namespace

bool IsReportCommand(const std::string& name) {
    for (const char* command : kCommands)
        if (name == command) return true;
    return false;
}

void AddReportCommands(CLI::App& app, ReportContext& context) {
    auto* report = app.add_subcommand("report", "the set report, as the report window shows it");
    auto reportSet = std::make_shared<std::string>();
    auto date = std::make_shared<std::string>();
    auto reportOutput = std::make_shared<std::string>();
    report->add_option("SET", *reportSet, "the set directory NAME.SET")->required();
    report->add_option("--date", *date, "the date and time printed in the heading instead of now");
    report->add_option("-o,--output", *reportOutput, "the text file to write (standard output without it)");
    report->callback([&context, reportSet, date, reportOutput] {
        context.status = context.withSet(*reportSet, [&](vx::Session& session, int set) {
            const std::string text = vx::CreateSetReport(session, set, date->empty() ? vx::ReportDateNow() : *date);
            return Deliver(context.ui, *reportOutput, text, "Error saving Report to file ");
        });
    });

    auto* subset = app.add_subcommand("subset-report", "a tab-separated report of one kind (arr, sty or prg)");
    auto subsetSet = std::make_shared<std::string>();
    auto subsetKind = std::make_shared<std::string>();
    auto subsetOutput = std::make_shared<std::string>();
    auto presets = std::make_shared<bool>(false);
    subset->add_option("SET", *subsetSet, "the set directory NAME.SET")->required();
    subset->add_option("KIND", *subsetKind, "arr, sty or prg")->required();
    subset->add_option("-o,--output", *subsetOutput, "the .XLS file to write")->required();
    subset->add_flag("--presets", *presets, "arrangements: the preset arrangements first");
    subset->callback([&context, subsetSet, subsetKind, subsetOutput, presets] {
        vx::BankedKind kind = vx::BankedKind::Arrangement;
        if (!ParseBankedKind(*subsetKind, kind)) {
            context.status = Usage("There is no subset report of " + *subsetKind + " (arr, sty or prg)");
            return;
        }
        context.status = context.withSet(*subsetSet, [&](vx::Session& session, int set) {
            const std::string text = vx::SubsetReportText(session.Data(set), session.Presets(), session.Slot(set).name,
                                                          static_cast<int>(kind), *presets);
            return Deliver(context.ui, *subsetOutput, text, "Error saving Subset Report to file ");
        });
    });

    auto* exporter = app.add_subcommand("export-preset", "writes a user bank into a preset data file (.PRD)");
    auto args = std::make_shared<ExportArguments>();
    exporter->add_option("SET", args->set, "the set directory NAME.SET")->required();
    exporter->add_option("KIND", args->kind, "arr or prg")->required();
    exporter->add_option("BANK", args->bank, "the user bank: C or D; F, G or R (the user drum kits)")->required();
    exporter->add_option("FILE", args->file, "the preset data file, changed in place or created")->required();
    exporter->add_option("DEST", args->destination, "the preset bank: A or B; A to E; R11-R18 to R41-R48")->required();
    exporter->add_option("--names", args->names, "a names file whose entries of DEST are rewritten (kept as .BAK)");
    exporter->callback([&context, args] { context.status = ExportPreset(context, *args); });
}

}  // namespace vxcli
