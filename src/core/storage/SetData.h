#pragma once

#include "arrangements/ArrangementFile.h"
#include "catalogue/ItemKind.h"
#include "globals/GlobalFiles.h"
#include "kbdsets/KbdSetFile.h"
#include "programs/ProgramFile.h"
#include "sequences/SequenceFiles.h"
#include "styles/StyleFile.h"

namespace vx {

// Everything one open set holds: the content of its eight files.
struct SetData {
    SetArrangements arr;
    SetStyles sty;
    SetPrograms prg;
    SetBackingSequences bsq;
    SetSongs sng;
    SetKbdSets ark;
    SetArrangementGlobal arg;
    SetGlobal gbl;
};

class ItemFile;

// Reads one kind's file into data; false when the kind is not a set kind or the file is bad.
// data is changed only when the whole file was read.
bool LoadKind(const ItemFile& file, ItemKind kind, SetData& data);
// The file image of one kind.
Bytes SerializeKind(const SetData& data, ItemKind kind);

}  // namespace vx
