#include "DetailCommands.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "CliContext.h"
#include "Commands.h"
#include "core/catalogue/Catalogue.h"
#include "core/details/ItemAddress.h"
#include "core/details/ItemDetails.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/NameCharacters.h"
#include "core/text/NameText.h"

namespace vxcli {

namespace {

std::optional<vx::ItemAddress> Address(const std::string& item) {
    auto address = vx::ParseItemAddress(item);
    if (!address)
        std::cerr << "Unknown item " << item
                  << " (KIND:LABEL such as arr:C11, sty:C11, prg:F11, prg:R51, bsq:3, sng:3, ark:11; or arg, gbl)\n";
    return address;
}

std::vector<vx::DetailField> Details(const vx::Session& session, int set, const vx::ItemAddress& item) {
    const vx::SetData& data = session.Data(set);
    const vx::PresetTables& presets = session.Presets();
    switch (item.kind) {
        case vx::ItemKind::Arrangement:
            return vx::ArrDetails(data, presets, item.number);
        case vx::ItemKind::Style:
            return vx::StyDetails(data, presets, item.number);
        case vx::ItemKind::Program:
            return vx::PrgDetails(data, presets, item.number);
        case vx::ItemKind::BackingSequence:
            return vx::BsqDetails(data, presets, item.number);
        case vx::ItemKind::Song:
            return vx::SngDetails(data, presets, item.number);
        case vx::ItemKind::KbdSet:
            return vx::KbdDetails(data, presets, item.number);
        case vx::ItemKind::ArrangementGlobal:
            return vx::ArgDetails(data);
        case vx::ItemKind::Global:
            return vx::GblDetails(data);
        default:
            return {};
    }
}

}  // namespace

int ShowItem(vx::Session& session, int set, const std::string& item, bool json, std::ostream& out) {
    const auto address = Address(item);
    if (!address) return kExitUsage;
    const std::vector<vx::DetailField> fields = Details(session, set, *address);
    if (fields.empty()) {
        std::cerr << "No details for " << item << ": a style slot needs a style\n";
        return kExitFailure;
    }
    if (json) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (const vx::DetailField& field : fields) {
            if (!field.isList) {
                object[field.label] = vx::NameTextToUtf8(field.value);
                continue;
            }
            nlohmann::ordered_json lines = nlohmann::ordered_json::array();
            for (const std::string& line : field.lines) lines.push_back(vx::NameTextToUtf8(line));
            object[field.label] = lines;
        }
        out << object.dump(2) << '\n';
        return EXIT_SUCCESS;
    }
    for (const vx::DetailField& field : fields) {
        if (!field.isList) {
            out << field.label << ": " << vx::NameTextToUtf8(field.value) << '\n';
            continue;
        }
        out << field.label << ":" << (field.lines.empty() ? " (none)" : "") << '\n';
        for (const std::string& line : field.lines) out << "  " << vx::NameTextToUtf8(line) << '\n';
    }
    return EXIT_SUCCESS;
}

int RenameItem(vx::EditScheme& scheme, vx::Session& session, int set, const std::string& item,
               const std::string& name) {
    const auto address = Address(item);
    if (!address) return kExitUsage;
    if (const std::string problem = vx::NameCharacterProblem(name); !problem.empty()) {
        std::cerr << "Can't rename " << vx::ToUpper(item) << ". " << problem << '\n';
        return kExitUsage;
    }
    if (!vx::RenameItem(scheme, session, set, address->kind, address->number, name)) {
        std::cerr << "Can't rename " << vx::ToUpper(item)
                  << ": only user items are named (a style slot needs a style; KBD sets and the globals have no "
                     "name)\n";
        return kExitFailure;
    }
    return session.Save(set) ? EXIT_SUCCESS : kExitFailure;
}

void AddDetailCommands(CLI::App& app, CliContext& context) {
    struct Arguments {
        std::string set;
        std::string item;
        std::string name;
        bool json = false;
    };
    auto args = std::make_shared<Arguments>();
    const char* const itemHelp = "KIND:LABEL (arr:C11, sty:C11, prg:F11, prg:R51, bsq:3, sng:3) or arg, gbl";

    CLI::App* show = app.add_subcommand("show", "every field of an item's parameter dialog, with its label");
    show->add_option("SET", args->set, "a set directory NAME.SET")->required();
    show->add_option("ITEM", args->item, itemHelp)->required();
    show->add_flag("--json", args->json, "as JSON");
    show->callback([&context, args] {
        const int set = context.OpenExisting(args->set);
        context.exitStatus = set ? ShowItem(*context.Session(), set, args->item, args->json, std::cout) : kExitFailure;
    });

    CLI::App* rename = app.add_subcommand("rename", "renames a user item (cut or padded to 16 characters), then saves");
    rename->add_option("SET", args->set, "a set directory NAME.SET")->required();
    rename->add_option("ITEM", args->item, itemHelp)->required();
    rename->add_option("NAME", args->name, "the new name")->required();
    rename->callback([&context, args] {
        const int set = context.OpenExisting(args->set);
        context.exitStatus =
            set ? RenameItem(context.Scheme(), *context.Session(), set, args->item, args->name) : kExitFailure;
    });
}

}  // namespace vxcli
