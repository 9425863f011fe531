// batch: one session of edit commands over several sets, read from a script.
#include "BatchCommands.h"

#include <CLI/CLI.hpp>

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "CliContext.h"
#include "core/editing/EditScheme.h"
#include "core/editing/XStyleFiles.h"
#include "core/storage/Session.h"
#include "core/text/NameText.h"

namespace vxcli {

namespace {

struct VerbSyntax {
    const char* word;
    BatchVerb verb;
    const char* arguments;  // as the usage names them
    std::size_t fewest;     // words after the command
    std::size_t most;
    bool asks;  // takes --redirect and --missing
};

constexpr std::array<VerbSyntax, 10> kVerbs{{
    {"copy", BatchVerb::Copy, "N ITEM", 2, 2, false},
    {"cut", BatchVerb::Cut, "N ITEM", 2, 2, true},
    {"paste", BatchVerb::Paste, "N ITEM", 2, 2, true},
    {"insert", BatchVerb::Insert, "N ITEM", 2, 2, true},
    {"delete", BatchVerb::Delete, "N ITEM", 2, 2, true},
    {"drop", BatchVerb::Drop, "N ITEM M LABEL", 4, 4, true},
    {"erase-bank", BatchVerb::EraseBank, "N KIND [BANK]", 2, 3, false},
    {"paste-xstyle", BatchVerb::PasteXStyle, "N ITEM FILE", 3, 3, true},
    {"undo", BatchVerb::Undo, "N KIND", 2, 2, false},
    {"save", BatchVerb::Save, "N", 1, 1, false},
}};

constexpr const char* kVerbList = "copy, cut, paste, insert, delete, drop, erase-bank, paste-xstyle, undo or save";

// The command of the scheme a line runs; none for paste-xstyle and save, which have their own
// entry points.
std::optional<vx::EditCommand> SchemeCommand(BatchVerb verb) {
    switch (verb) {
        case BatchVerb::Copy:
            return vx::EditCommand::Copy;
        case BatchVerb::Cut:
            return vx::EditCommand::Cut;
        case BatchVerb::Paste:
            return vx::EditCommand::Paste;
        case BatchVerb::Insert:
            return vx::EditCommand::Insert;
        case BatchVerb::Delete:
            return vx::EditCommand::Delete;
        case BatchVerb::Drop:
            return vx::EditCommand::Drop;
        case BatchVerb::EraseBank:
            return vx::EditCommand::EraseBank;
        case BatchVerb::Undo:
            return vx::EditCommand::Undo;
        case BatchVerb::PasteXStyle:
        case BatchVerb::Save:
            break;
    }
    return std::nullopt;
}

// The words of a line; a '#' that starts a word ends the line.
std::optional<std::vector<std::string>> Words(const std::string& line, std::string& error) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i == line.size() || line[i] == '#') return words;
        std::string word;
        if (line[i] == '"') {
            const std::size_t close = line.find('"', i + 1);
            if (close == std::string::npos) {
                error = "the quote is not closed";
                return std::nullopt;
            }
            word = line.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
        }
        words.push_back(std::move(word));
    }
}

std::optional<int> ParseSetNumber(const std::string& word, int setCount, std::string& error) {
    int number = 0;
    for (const char c : word) {
        if (c < '0' || c > '9' || number > setCount) {
            number = -1;
            break;
        }
        number = number * 10 + (c - '0');
    }
    if (word.empty() || number < 1 || number > setCount) {
        error = "there is no set " + word + " (the sets are numbered 1 to " + std::to_string(setCount) + ")";
        return std::nullopt;
    }
    return number;
}

// The words of one command, its answer options taken out.
struct SplitLine {
    std::vector<std::string> arguments;
    std::string redirect;
    std::string missing = "keep";
    bool hasOptions = false;
};

std::optional<SplitLine> SplitOptions(const std::vector<std::string>& words, std::string& error) {
    SplitLine split;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word.rfind("--", 0) != 0) {
            split.arguments.push_back(word);
            continue;
        }
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (name != "--redirect" && name != "--missing") {
            error = "unknown option " + word + " (--redirect LABEL, --missing keep|fail)";
            return std::nullopt;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (i + 1 < words.size()) {
            value = words[++i];
        } else {
            error = name + " needs a value";
            return std::nullopt;
        }
        (name == "--redirect" ? split.redirect : split.missing) = value;
        split.hasOptions = true;
    }
    return split;
}

std::optional<BatchCommand> ParseLine(const std::vector<std::string>& words, int setCount, std::string& error) {
    const VerbSyntax* syntax = nullptr;
    for (const VerbSyntax& candidate : kVerbs)
        if (words[0] == candidate.word) syntax = &candidate;
    if (syntax == nullptr) {
        error = "unknown command " + words[0] + " (" + kVerbList + ")";
        return std::nullopt;
    }
    const auto split = SplitOptions(words, error);
    if (!split) return std::nullopt;
    const std::string usage = std::string(syntax->word) + " " + syntax->arguments;
    const auto& args = split->arguments;
    if (split->hasOptions && !syntax->asks) {
        error = std::string(syntax->word) + " asks nothing: it takes no options";
        return std::nullopt;
    }
    if (args.size() < syntax->fewest || args.size() > syntax->most) {
        error = "the command is " + usage;
        return std::nullopt;
    }
    BatchCommand command;
    command.verb = syntax->verb;
    const auto set = ParseSetNumber(args[0], setCount, error);
    if (!set) return std::nullopt;
    command.set = *set;
    if (syntax->verb == BatchVerb::Save) return command;

    if (syntax->verb == BatchVerb::EraseBank || syntax->verb == BatchVerb::Undo) {
        command.kind = EditKindOf(args[1]);
        if (command.kind == nullptr) {
            error = "unknown kind " + args[1] + " (" + kEditKinds + ")";
            return std::nullopt;
        }
    } else {
        const auto item = ParseEditItem(args[1], error);
        if (!item) return std::nullopt;
        command.kind = item->kind;
        command.slot = item->slot;
    }
    const vx::EditableKind& kind = *command.kind;
    const auto schemeCommand = SchemeCommand(syntax->verb);
    if (schemeCommand && !kind.Has(*schemeCommand)) {
        error = std::string(kind.Noun()) + "s have no " + syntax->word;
        return std::nullopt;
    }
    switch (syntax->verb) {
        case BatchVerb::Drop: {
            const auto destination = ParseSetNumber(args[2], setCount, error);
            if (!destination) return std::nullopt;
            const auto slot = ParseEditSlot(kind, args[3], error);
            if (!slot) return std::nullopt;
            command.destinationSet = *destination;
            command.destinationSlot = *slot;
            break;
        }
        case BatchVerb::EraseBank: {
            const auto bank = ParseEditBank(kind, args.size() > 2 ? args[2] : std::string(), error);
            if (!bank) return std::nullopt;
            command.bank = *bank;
            break;
        }
        case BatchVerb::PasteXStyle:
            if (!vx::XStyleKindFor(kind.Kind(), command.slot)) {
                error = std::string(kind.Noun()) + "s are not read from XStyle files";
                return std::nullopt;
            }
            command.file = args[2];
            break;
        default:
            break;
    }
    const auto answers = ParseEditAnswers(kind, split->redirect, split->missing, error);
    if (!answers) return std::nullopt;
    command.answers = *answers;
    return command;
}

// Where the scheme returns without asking or telling anything, the editor's command does
// nothing at all; every other result that is not done is a refusal the person heard of or
// answered. These are the scheme's reasons for the first.
bool DidNothing(const vx::EditResult& result) {
    static constexpr std::array<const char*, 9> kSilent{
        "The clipboard is empty.",
        "Nothing to undo.",
        "The slot is empty.",
        "The item was dropped on itself.",
        "The item would stay where it is.",
        "No item is selected.",
        "This item can't be deleted.",
        "Nothing can be inserted here.",
        "A preset bank can't be erased.",
    };
    for (const char* reason : kSilent)
        if (result.reason == reason) return true;
    return false;
}

vx::EditResult RunOne(CliContext& context, const std::vector<int>& sets, const BatchCommand& command) {
    const int set = sets[static_cast<std::size_t>(command.set - 1)];
    vx::EditScheme& scheme = context.Scheme();
    switch (command.verb) {
        case BatchVerb::Save:
            return context.Session()->Save(set) ? vx::EditResult::Done()
                                                : vx::EditResult::Refused("The set was not saved.");
        case BatchVerb::PasteXStyle: {
            std::error_code error;
            const std::string file = std::filesystem::absolute(command.file, error).string();
            return scheme.PasteFromXStyle(set, command.kind->Kind(), command.slot, file);
        }
        case BatchVerb::Undo:
            // The window offers Undo only after a command of its own set.
            if (!context.undoOffered[set]) return vx::EditResult::Refused("Nothing to undo.");
            break;
        default:
            break;
    }
    vx::Edit edit;
    edit.command = *SchemeCommand(command.verb);
    edit.kind = command.kind->Kind();
    edit.set = set;
    edit.slot = command.slot;
    edit.bank = command.bank;
    edit.confirmed = true;  // the script itself is the answer to "Continue?"
    if (command.verb == BatchVerb::Drop) {
        // Dropped on the destination's view; the dragged item is the source.
        edit.set = sets[static_cast<std::size_t>(command.destinationSet - 1)];
        edit.slot = command.destinationSlot;
        edit.sourceKind = command.kind->Kind();
        edit.sourceSet = set;
        edit.sourceSlot = command.slot;
    }
    return scheme.Apply(edit);
}

int Batch(CliContext& context, const std::vector<std::string>& setPaths, const std::string& scriptPath) {
    std::ifstream file;
    if (!scriptPath.empty()) {
        file.open(scriptPath, std::ios::binary);
        if (!file) {
            std::cerr << "Can't open the script " << scriptPath << '\n';
            return kExitFailure;
        }
    }
    std::string error;
    const auto commands =
        ParseBatchScript(scriptPath.empty() ? std::cin : file, static_cast<int>(setPaths.size()), error);
    if (!commands) {
        std::cerr << error << '\n';
        return kExitUsage;
    }
    std::vector<int> sets;
    for (const std::string& path : setPaths) {
        const int set = context.OpenExisting(path);
        if (!set) return kExitFailure;
        sets.push_back(set);
    }
    RunBatch(context, sets, *commands, std::cout);
    return std::cout.flush() ? kExitSuccess : kExitFailure;
}

}  // namespace

std::optional<std::vector<BatchCommand>> ParseBatchScript(std::istream& script, int setCount, std::string& error) {
    std::vector<BatchCommand> commands;
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        std::string why;
        auto words = Words(line, why);
        if (words && words->empty()) continue;
        std::optional<BatchCommand> command;
        if (words) command = ParseLine(*words, setCount, why);
        if (!command) {
            error = "line " + std::to_string(number) + ": " + why;
            return std::nullopt;
        }
        command->line = number;
        commands.push_back(std::move(*command));
    }
    return commands;
}

void RunBatch(CliContext& context, const std::vector<int>& sets, const std::vector<BatchCommand>& commands,
              std::ostream& out) {
    for (const BatchCommand& command : commands) {
        std::vector<std::string> messages;
        context.ui.keptMessages = &messages;
        GiveAnswers(context.ui, command.answers);
        const vx::EditResult result = RunOne(context, sets, command);
        vx::ShowNotice(context.ui, result);
        context.ui.keptMessages = nullptr;
        out << command.line << ": "
            << (result.done          ? std::string("done")
                : DidNothing(result) ? std::string("nothing")
                                     : "refused: " + vx::NameTextToUtf8(result.reason))
            << '\n';
        for (const std::string& message : messages) {
            std::size_t start = 0;
            while (start <= message.size()) {
                const std::size_t end = std::min(message.find('\n', start), message.size());
                const std::string text = message.substr(start, end - start);
                out << (text.empty() ? "" : "  ") << vx::NameTextToUtf8(text) << '\n';
                start = end + 1;
            }
        }
    }
}

void AddBatchCommand(CLI::App& app, CliContext& context) {
    struct Arguments {
        std::vector<std::string> sets;
        std::string script;
    };
    auto args = std::make_shared<Arguments>();
    CLI::App* batch = app.add_subcommand(
        "batch", "runs the edit commands of a script, one a line, over the sets, numbered 1, 2, ... as given");
    batch->add_option("SET", args->sets, "set directories NAME.SET")->required();
    batch->add_option("--script", args->script, "the script file (default: standard input)");
    std::string lines = "Script lines (N, M: set numbers; ITEM: KIND:LABEL; # starts a comment):\n";
    for (const VerbSyntax& syntax : kVerbs)
        lines += std::string("  ") + syntax.word + " " + syntax.arguments +
                 (syntax.asks ? " [--redirect LABEL] [--missing keep|fail]" : "") + "\n";
    batch->footer(lines +
                  "Each command prints its line number and done, nothing or refused: and the reason,\n"
                  "then the messages it showed, indented.");
    batch->callback([&context, args] { context.exitStatus = Batch(context, args->sets, args->script); });
}

}  // namespace vxcli
