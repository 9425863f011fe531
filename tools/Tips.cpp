#include "Tips.h"

#include <string_view>

namespace vxmk {

namespace {

constexpr std::string_view kTips[] = {
    "Work on copies of your sets, never on the original files from the instrument.",
    "You can open several sets at once: each set has its own window, and File > Open (Ctrl+O) adds another one.",
    "Window > Tile shares the main window between the sets: side by side where the grids keep all their columns, "
    "otherwise one above the other.",
    "A set with changes that are not saved shows * after its name in the window's caption.",
    "The status bar shows the set's directory, the item selected and whether the kind of the tab shown is saved.",
    "Ctrl+Tab and Ctrl+Shift+Tab step through the tabs; Alt with a tab's underlined letter shows that tab.",
    "Alt+O shows the Songs tab; press it again there to open Options.",
    "Turn on Highlight called Items in Options to see in the grids which items are called by others.",
    "Twin View shows the second bank of a pair below the first on the Arrangements and Programs tabs.",
    "The Styles tab shows, level with each row, the events used and still free in that block of four styles.",
    "The Backing Seq and Songs tabs show the events each item uses and how much of the shared event memory is still "
    "free.",
    "Edit > Import replaces a whole kind of the current set, for example all its programs, with that kind from another "
    "set.",
    "File > New starts from the empty template set; use File > Save As to give the new set its name and place.",
    "The template set X50EMPTY.SET is where new sets come from: File > Save asks before it overwrites it.",
    "Open last Set at Start-up in Options starts the editor with the set you closed last.",
    "The Edit menu acts on the active set window: Cut, Copy and Paste work between sets too, and whatever called a "
    "moved item is kept calling it.",
    "Drag an item onto another slot of the same set to move it, or onto another set's window to copy it there.",
    "An item pasted or dropped into another set calls styles and programs by their names there.",
    "Edit > Undo takes back the last command of the kind shown, records and calls alike.",
    "Double-click an arrangement, style, program, backing sequence or song, or use Edit > Details, to see and change "
    "its parameters.",
    "Edit > Paste from XStyle reads an arrangement, style, program or drum kit from an XStyle file into the selected "
    "slot.",
    "Utilities > Display Set Report lists the set's items and who calls each of them; you can print it or save it "
    "as a text file.",
    "Utilities > Create Subset Report File writes the arrangements, styles or programs of the tab shown as a "
    "tab-separated file for a spreadsheet.",
    "Utilities > MIDI Setup finds the instrument; Send to Vemo-x50 then sends it the kind of the tab shown over MIDI.",
    "Utilities > Send SysEx to File saves the dump of the tab shown as a SysEx file instead of sending it.",
    "Utilities > Check Set lists calls to empty slots, overfull style blocks, broken memory maps and duplicate names, "
    "each with what to do about it.",
    "File > Load SysEx File puts a dump kept as a .SYX file back into the set; Edit > Undo takes it back.",
    "vx50 library add FOLDER indexes every set under a folder; vx50 library find NAME then finds an item in all of "
    "them at once.",
    "Window > Library (Ctrl+L) finds an item in every set under your folders as you type; drag a result onto a set "
    "window to copy it there.",
};

}  // namespace

std::string TipsText() {
    std::string text;
    for (const auto tip : kTips) {
        text += tip;
        text += "\r\n";
    }
    return text;
}

}  // namespace vxmk
