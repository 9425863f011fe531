#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "EditParsing.h"

namespace CLI {
class App;
}

namespace vxcli {

class CliContext;

enum class BatchVerb { Copy, Cut, Paste, Insert, Delete, Drop, EraseBank, PasteXStyle, Undo, Save };

// One command of a batch script. Sets are numbered from 1 in the order the command line names
// them; slots and banks are the kind's own.
struct BatchCommand {
    int line = 0;
    BatchVerb verb = BatchVerb::Copy;
    int set = 0;
    const vx::EditableKind* kind = nullptr;  // nullptr for save
    int slot = -1;                           // the item, or for paste and insert the destination
    int destinationSet = 0;                  // drop: the set and slot dropped on
    int destinationSlot = -1;
    int bank = -1;     // erase-bank
    std::string file;  // paste-xstyle
    EditAnswers answers;
};

// Reads a whole script over setCount sets: one command a line, blank lines and everything from
// a '#' that starts a word ignored, a word with blanks in double quotes. Nothing on the first
// line that is wrong, with error "line N: why".
std::optional<std::vector<BatchCommand>> ParseBatchScript(std::istream& script, int setCount, std::string& error);

// Runs the commands on the open sets (sets[N - 1] is set N) and writes one line a command to
// out, each followed by the messages it showed, indented.
void RunBatch(CliContext& context, const std::vector<int>& sets, const std::vector<BatchCommand>& commands,
              std::ostream& out);

void AddBatchCommand(CLI::App& app, CliContext& context);

}  // namespace vxcli
