#pragma once

#include "core/arrangements/ArrangementFile.h"
#include "core/catalogue/ItemKind.h"
#include "core/globals/GlobalFiles.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/programs/ProgramFile.h"
#include "core/sequences/SequenceFiles.h"
#include "core/styles/StyleFile.h"

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

// Reads one kind's file into data; the reason when the kind is not a set kind or the file is
// bad or too large to be whole. data is changed only when the whole file was read.
LoadStatus LoadKind(const ItemFile& file, ItemKind kind, SetData& data);
// The file image of one kind.
Bytes SerializeKind(const SetData& data, ItemKind kind);

}  // namespace vx
