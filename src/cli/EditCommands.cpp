// copy, move, delete, insert, cut, erase-bank: the Edit menu's commands on saved sets.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "CliContext.h"
#include "Commands.h"
#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "editing/EditScheme.h"
#include "storage/Session.h"

namespace vxcli {

namespace {

struct EditArguments {
    std::string set;
    std::string item;
    std::string sourceSet;
    std::string dest;
    std::string label;
    std::string kind;
    std::string bank;
    std::string redirect;
    std::string missing = "keep";
};

constexpr const char* kKinds = "arr, sty, prg, bsq, sng or ark";

// KIND as in ITEM: arr, sty, prg, bsq, sng or ark.
const vx::KindDescriptor* KindOf(const std::string& code) {
    const std::string wanted = vx::ToUpper(code);
    for (int k = 0; k <= vx::KindIndex(vx::ItemKind::KbdSet); ++k) {
        const vx::ItemKind kind = vx::KindFromIndex(k);
        if (wanted == vx::ToUpper(vx::KindExtension(kind).substr(1))) return vx::DescriptorOf(kind);
    }
    return nullptr;
}

struct Item {
    const vx::KindDescriptor* kind = nullptr;
    int slot = -1;
};

// ITEM is KIND:LABEL; LABEL as the grids and lists show it. Says why when it names no user slot.
std::optional<Item> ParseItem(const std::string& text) {
    const auto colon = text.find(':');
    const vx::KindDescriptor* kind = colon == std::string::npos ? nullptr : KindOf(text.substr(0, colon));
    if (kind == nullptr) {
        std::cerr << "Unknown item " << text << " (KIND:LABEL with KIND " << kKinds << ")\n";
        return std::nullopt;
    }
    const int slot = kind->slotOfLabel(vx::ToUpper(text.substr(colon + 1)));
    if (slot < 0) {
        std::cerr << "No " << kind->noun << " of the set is labelled " << text.substr(colon + 1) << '\n';
        return std::nullopt;
    }
    return Item{kind, slot};
}

// A LABEL may repeat its item's kind: "C11" or "arr:C11".
std::string BareLabel(const std::string& label) {
    const auto colon = label.find(':');
    return vx::ToUpper(colon == std::string::npos ? label : label.substr(colon + 1));
}

std::optional<int> ParseSlot(const vx::KindDescriptor& kind, const std::string& label) {
    const int slot = kind.slotOfLabel(BareLabel(label));
    if (slot < 0) {
        std::cerr << "No " << kind.noun << " of the set is labelled " << label << '\n';
        return std::nullopt;
    }
    return slot;
}

// The answers the questions get, from --redirect and --missing. False on a bad value.
bool SetAnswers(CliContext& context, const vx::KindDescriptor& kind, const EditArguments& args) {
    context.ui.failOnMissing = args.missing == "fail";
    context.ui.redirectTo = -1;
    if (args.redirect.empty()) return true;
    const int k = vx::KindIndex(kind.kind);
    const std::string label = BareLabel(args.redirect);
    // Any item the selection dialog offers, presets included.
    const int number = k <= vx::KindIndex(vx::ItemKind::Program) ? vx::BankedNumberOfLabel(k, label)
                                                                 : kind.numberOf(kind.slotOfLabel(label));
    if (number < 0) {
        std::cerr << "No " << kind.noun << " is labelled " << args.redirect << '\n';
        return false;
    }
    context.ui.redirectTo = number;
    return true;
}

vx::Edit MakeEdit(vx::EditCommand command, const vx::KindDescriptor& kind, int set, int slot) {
    vx::Edit edit;
    edit.command = command;
    edit.kind = kind.kind;
    edit.set = set;
    edit.slot = slot;
    return edit;
}

// Runs one command and saves the set it changed. The reason is printed unless a message
// already told the person.
int ApplyAndSave(CliContext& context, const vx::Edit& edit) {
    const int shown = context.ui.messagesShown;
    const vx::EditResult result = context.Scheme().Apply(edit);
    if (!result.done) {
        if (context.ui.messagesShown == shown && !result.reason.empty()) std::cerr << result.reason << '\n';
        return kExitFailure;
    }
    return context.Session()->Save(edit.set) ? kExitSuccess : kExitFailure;
}

// Copies ITEM of the source set into the kind's clipboard.
bool CopyFrom(CliContext& context, int sourceSet, const Item& item) {
    const vx::EditResult copied =
        context.Scheme().Apply(MakeEdit(vx::EditCommand::Copy, *item.kind, sourceSet, item.slot));
    if (!copied.done) std::cerr << copied.reason << '\n';
    return copied.done;
}

int Copy(CliContext& context, const EditArguments& args) {
    const auto item = ParseItem(args.item);
    if (!item) return kExitUsage;
    const auto slot = ParseSlot(*item->kind, args.label);
    if (!slot || !SetAnswers(context, *item->kind, args)) return kExitUsage;
    const int source = context.OpenExisting(args.sourceSet);
    const int dest = source ? context.OpenExisting(args.dest) : 0;
    if (!dest || !CopyFrom(context, source, *item)) return kExitFailure;
    return ApplyAndSave(context, MakeEdit(vx::EditCommand::Paste, *item->kind, dest, *slot));
}

int Insert(CliContext& context, const EditArguments& args) {
    const auto item = ParseItem(args.item);
    if (!item) return kExitUsage;
    const auto slot = ParseSlot(*item->kind, args.label);
    if (!slot || !SetAnswers(context, *item->kind, args)) return kExitUsage;
    const int set = context.OpenExisting(args.set);
    const int source = set ? context.OpenExisting(args.sourceSet) : 0;
    if (!source || !CopyFrom(context, source, *item)) return kExitFailure;
    return ApplyAndSave(context, MakeEdit(vx::EditCommand::Insert, *item->kind, set, *slot));
}

int Move(CliContext& context, const EditArguments& args) {
    const auto item = ParseItem(args.item);
    if (!item) return kExitUsage;
    const auto slot = ParseSlot(*item->kind, args.label);
    if (!slot || !SetAnswers(context, *item->kind, args)) return kExitUsage;
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Edit edit = MakeEdit(vx::EditCommand::Drop, *item->kind, set, *slot);
    edit.sourceKind = item->kind->kind;
    edit.sourceSet = set;
    edit.sourceSlot = item->slot;
    return ApplyAndSave(context, edit);
}

int OnOneItem(CliContext& context, const EditArguments& args, vx::EditCommand command) {
    const auto item = ParseItem(args.item);
    if (!item || !SetAnswers(context, *item->kind, args)) return kExitUsage;
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    return ApplyAndSave(context, MakeEdit(command, *item->kind, set, item->slot));
}

int Delete(CliContext& context, const EditArguments& args) { return OnOneItem(context, args, vx::EditCommand::Delete); }
int Cut(CliContext& context, const EditArguments& args) { return OnOneItem(context, args, vx::EditCommand::Cut); }

int EraseBank(CliContext& context, const EditArguments& args) {
    const vx::KindDescriptor* kind = KindOf(args.kind);
    if (kind == nullptr) {
        std::cerr << "Unknown kind " << args.kind << " (" << kKinds << ")\n";
        return kExitUsage;
    }
    int bank = -1;
    const int k = vx::KindIndex(kind->kind);
    for (int b = 0; k <= vx::KindIndex(vx::ItemKind::Program) && b < vx::BankCount(k); ++b)
        if (vx::ToUpper(args.bank) == vx::BankLetter(k, b)) bank = b;
    if (bank < 0 && k <= vx::KindIndex(vx::ItemKind::Program)) {
        std::cerr << "Unknown bank " << args.bank << " of " << kind->noun << "s\n";
        return kExitUsage;
    }
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Edit edit = MakeEdit(vx::EditCommand::EraseBank, *kind, set, -1);
    edit.bank = bank;
    edit.confirmed = true;  // the command itself is the answer to "Continue?"
    return ApplyAndSave(context, edit);
}

}  // namespace

void AddEditCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<EditArguments>();
    auto run = [&context, args](int (*command)(CliContext&, const EditArguments&)) {
        return [&context, args, command] { context.exitStatus = command(context, *args); };
    };
    const std::string itemHelp = std::string("KIND:LABEL, KIND ") + kKinds + ", LABEL as shown (arr:C11, prg:R51)";
    auto questions = [args](CLI::App* command) {
        command->add_option("--redirect", args->redirect,
                            "answer the referenced-by question Yes and call this LABEL instead (default: No)");
        command
            ->add_option("--missing", args->missing,
                         "a call to an item the destination lacks: keep it, or fail and change nothing")
            ->check(CLI::IsMember({"keep", "fail"}));
    };

    CLI::App* copy = app.add_subcommand("copy", "Copy ITEM in SRC.SET, then Paste it into DEST.SET at LABEL");
    copy->add_option("SRC.SET", args->sourceSet)->required();
    copy->add_option("ITEM", args->item, itemHelp)->required();
    copy->add_option("DEST.SET", args->dest)->required();
    copy->add_option("LABEL", args->label)->required();
    questions(copy);
    copy->callback(run(Copy));

    CLI::App* move = app.add_subcommand("move", "moves ITEM to LABEL inside one set; its callers follow");
    move->add_option("SET", args->set)->required();
    move->add_option("ITEM", args->item, itemHelp)->required();
    move->add_option("LABEL", args->label)->required();
    questions(move);
    move->callback(run(Move));

    CLI::App* remove = app.add_subcommand("delete", "deletes ITEM; the rest of its bank moves up");
    remove->add_option("SET", args->set)->required();
    remove->add_option("ITEM", args->item, itemHelp)->required();
    questions(remove);
    remove->callback(run(Delete));

    CLI::App* insert = app.add_subcommand("insert", "inserts ITEM of SRC.SET at LABEL of SET");
    insert->add_option("SET", args->set)->required();
    insert->add_option("LABEL", args->label)->required();
    insert->add_option("SRC.SET", args->sourceSet)->required();
    insert->add_option("ITEM", args->item, itemHelp)->required();
    questions(insert);
    insert->callback(run(Insert));

    CLI::App* cut = app.add_subcommand("cut", "empties ITEM's slot");
    cut->add_option("SET", args->set)->required();
    cut->add_option("ITEM", args->item, itemHelp)->required();
    questions(cut);
    cut->callback(run(Cut));

    CLI::App* erase = app.add_subcommand("erase-bank", "empties every slot of a bank (KBD sets: all 64)");
    erase->add_option("SET", args->set)->required();
    erase->add_option("KIND", args->kind, kKinds)->required();
    erase->add_option("BANK", args->bank, "the bank letter; not needed for KBD sets");
    erase->callback(run(EraseBank));
}

}  // namespace vxcli
