#include "core/kinds/EditableKind.h"

namespace vx {

const EditableKind* EditableKindOf(ItemKind kind) {
    switch (kind) {
        case ItemKind::Arrangement:
            return &Arrangements();
        case ItemKind::Style:
            return &Styles();
        case ItemKind::Program:
            return &Programs();
        case ItemKind::BackingSequence:
            return &BackingSequences();
        case ItemKind::Song:
            return &Songs();
        case ItemKind::KbdSet:
            return &KbdSets();
        default:
            return nullptr;
    }
}

EditCommandSet CommandsOf(ItemKind kind) {
    const EditableKind* editable = EditableKindOf(kind);
    return editable != nullptr ? editable->Commands() : EditCommandSet{};
}

}  // namespace vx
