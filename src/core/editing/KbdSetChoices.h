#pragma once

#include <string>
#include <vector>

namespace vx {

class EditScheme;
class Session;

// The split keys offered: the note labels of keys 36 (C2) to 96 (C7); entry k is key 36 + k.
std::vector<std::string> SplitKeyEntries();

// A double-click on the KBD set grid: on the "Sp" column's header (kbdSet -1) it sets the split
// key of all 64 KBD sets, on a "Sp" cell that KBD set's, on a track cell the track's program,
// each after its selection dialog. The change goes through the edit scheme; true when something
// changed.
bool KbdGridDoubleClick(Session& session, EditScheme& scheme, int set, int kbdSet, int column);

}  // namespace vx
