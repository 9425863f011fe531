#include "Tips.h"

#include <array>
#include <string_view>

namespace vxmk {

namespace {

constexpr std::array<std::string_view, 20> kTips = {
    "Work on copies of your sets, never on the original files from the instrument.",
    "You can open several sets at once: each set has its own window, and File > Open adds another one.",
    "Drag an item from one set's window to another's to copy it there; the source set stays as it was.",
    "Dragging an item inside one set moves it, and the calls to it follow it to its new place.",
    "Edit > Undo takes back the last Cut, Paste, Delete, Insert or drag on the tab shown.",
    "When an item comes from another set, its calls to user styles and programs are looked up by name in the "
    "destination set; you are asked when a name is missing.",
    "Before a called item is overwritten, cut or deleted, you can redirect everything that calls it to another item.",
    "Turn on Highlight called Items in Options to see in the grids which items are called by others.",
    "Keep Duplicate name warning on in Options: two items with the same name make the calls by name ambiguous.",
    "Twin View shows two banks side by side on the Arrangements and Programs tabs, so you can drag between them.",
    "Double-click an item to open its parameters; on the KBD Sets tab, double-click a split key to change it.",
    "The Styles tab shows the events still free in each block of four styles: a style can only be pasted where its "
    "events fit.",
    "The Backing Seq and Songs tabs show the events each item uses and how much of the shared event memory is still "
    "free.",
    "Edit > Import replaces a whole kind of the current set, for example all its programs, with that kind from another "
    "set.",
    "Edit > Paste from XStyle loads a single arrangement, style or program from an XStyle file into the selected slot.",
    "Erase Bank cannot be undone: save the set first if you may want the bank back.",
    "File > New starts from the empty template set; use File > Save As to give the new set its name and place.",
    "Utilities > Display Set Report lists every item of the set and who calls it; you can print it or save it as text.",
    "Utilities > Send to Vemo-x50 sends the kind of the tab shown to the instrument; Send SysEx to File writes the "
    "same data to a .SYX file.",
    "The Arrangement Global dialog sets the MIDI channels of all parts and the split key of all arrangements at once.",
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
