#pragma once

#include <optional>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/interaction/Interaction.h"
#include "core/kinds/EditItem.h"

namespace vx {

// A style holds at most this many bytes of events: a block's 15200 events of 4 bytes.
inline constexpr int kMaxStyleEventBytes = 60800;

// The XStyle file kind whose item fits a slot of an editable kind: .XAF for an arrangement,
// .XSF for a style, .XPF for a program and .XDK for a drum kit slot; nothing for the others.
std::optional<ItemKind> XStyleKindFor(ItemKind kind, int slot);

// Why an XStyle file can't go into a slot whose XStyle kind is slotXStyleKind: the file's
// extension names another kind ("SONG.XSF holds a Style; C11 is an Arrangement slot.") or no
// XStyle kind at all. Nothing when it fits.
std::optional<std::string> XStyleFileMisfit(const std::string& path, ItemKind slotXStyleKind,
                                            const std::string& slotLabel);

// The file chooser's set-up for that XStyle kind ("Load one Style from .XSF file...").
FileRequest XStyleFileRequest(ItemKind destinationKind, ItemKind xstyleKind, const std::string& startDirectory);

// Reads the one item of an XStyle file, the file named by path: the record that follows the five magic letters and,
// for a style, its events to the end of the file, for a drum kit its drum kit data. The calls
// inside stay as they stand. On failure the reason has been shown (the file's own message and
// "Error getting <kind> data.", or the refusal of a style with more events than a style can
// hold) and nothing is returned.
std::optional<EditItem> ReadXStyleItem(const std::string& path, ItemKind xstyleKind, Interaction& ui);

}  // namespace vx
