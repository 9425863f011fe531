// copy, move, delete, insert, cut, erase-bank: the Edit menu's commands on saved sets.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "CliContext.h"
#include "Commands.h"
#include "EditParsing.h"
#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"

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
    std::string file;
};

// The parsers' reason goes to standard error.
std::optional<EditTarget> ParseItem(const std::string& text) {
    std::string error;
    auto item = ParseEditItem(text, error);
    if (!item) std::cerr << error << '\n';
    return item;
}

std::optional<int> ParseSlot(const vx::EditableKind& kind, const std::string& label) {
    std::string error;
    auto slot = ParseEditSlot(kind, label, error);
    if (!slot) std::cerr << error << '\n';
    return slot;
}

// The answers the questions get, from --redirect and --missing. False on a bad value.
bool SetAnswers(CliContext& context, const vx::EditableKind& kind, const EditArguments& args) {
    std::string error;
    const auto answers = ParseEditAnswers(kind, args.redirect, args.missing, error);
    if (!answers) {
        std::cerr << error << '\n';
        return false;
    }
    GiveAnswers(context.ui, *answers);
    return true;
}

vx::Edit MakeEdit(vx::EditCommand command, const vx::EditableKind& kind, int set, int slot) {
    vx::Edit edit;
    edit.command = command;
    edit.kind = kind.Kind();
    edit.set = set;
    edit.slot = slot;
    return edit;
}

// Saves the set a command changed. A command's warnings are shown; a refusal without one has
// its reason printed unless the person knows it already.
int SaveIfDone(CliContext& context, int set, const vx::EditResult& result) {
    vx::ShowNotice(context.ui, result);
    if (!result.done) {
        if (!result.notice && !result.told && !result.reason.empty()) std::cerr << result.reason << '\n';
        return kExitFailure;
    }
    return context.Session()->Save(set) ? kExitSuccess : kExitFailure;
}

int ApplyAndSave(CliContext& context, const vx::Edit& edit) {
    return SaveIfDone(context, edit.set, context.Scheme().Apply(edit));
}

// Copies ITEM of the source set into the kind's clipboard.
bool CopyFrom(CliContext& context, int sourceSet, const EditTarget& item) {
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
    edit.sourceKind = item->kind->Kind();
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
    const vx::EditableKind* kind = EditKindOf(args.kind);
    if (kind == nullptr) {
        std::cerr << "Unknown kind " << args.kind << " (" << kEditKinds << ")\n";
        return kExitUsage;
    }
    std::string error;
    const auto bank = ParseEditBank(*kind, args.bank, error);
    if (!bank) {
        std::cerr << error << '\n';
        return kExitUsage;
    }
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    vx::Edit edit = MakeEdit(vx::EditCommand::EraseBank, *kind, set, -1);
    edit.bank = *bank;
    edit.confirmed = true;  // the command itself is the answer to "Continue?"
    return ApplyAndSave(context, edit);
}

// Pastes the item of an XStyle file into ITEM's slot, as Paste from XStyle does.
int PasteXStyle(CliContext& context, const EditArguments& args) {
    const auto item = ParseItem(args.item);
    if (!item || !SetAnswers(context, *item->kind, args)) return kExitUsage;
    const int set = context.OpenExisting(args.set);
    if (!set) return kExitFailure;
    std::error_code error;
    const std::string file = std::filesystem::absolute(args.file, error).string();
    return SaveIfDone(context, set, context.Scheme().PasteFromXStyle(set, item->kind->Kind(), item->slot, file));
}

}  // namespace

void AddEditCommands(CLI::App& app, CliContext& context) {
    auto args = std::make_shared<EditArguments>();
    auto run = [&context, args](int (*command)(CliContext&, const EditArguments&)) {
        return [&context, args, command] { context.exitStatus = command(context, *args); };
    };
    const std::string itemHelp = std::string("KIND:LABEL, KIND ") + kEditKinds + ", LABEL as shown (arr:C11, prg:R51)";
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
    erase->add_option("KIND", args->kind, kEditKinds)->required();
    erase->add_option("BANK", args->bank, "the bank letter; not needed for KBD sets");
    erase->callback(run(EraseBank));

    CLI::App* xstyle = app.add_subcommand(
        "paste-xstyle", "pastes the item of an XStyle file (.XAF, .XSF, .XPF or .XDK) into ITEM's slot");
    xstyle->add_option("SET", args->set)->required();
    xstyle->add_option("ITEM", args->item, "arr:LABEL, sty:LABEL or prg:LABEL (a drum kit slot takes an .XDK)")
        ->required();
    xstyle->add_option("FILE", args->file)->required();
    questions(xstyle);
    xstyle->callback(run(PasteXStyle));
}

}  // namespace vxcli
