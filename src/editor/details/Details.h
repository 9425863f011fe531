#pragma once

#include <memory>

#include "core/details/ItemAddress.h"

class QDialog;
class QWidget;

namespace vx {
class EditScheme;
class Session;
}  // namespace vx

namespace vxe {

// Details on an item of a set: the kind's parameter dialog, and, when the user confirmed a
// change, the item written through the edit scheme (dirty flag, Undo, change notice). The global kinds open their
// dialogs; KBD sets have none.
void ShowDetails(vx::EditScheme& scheme, vx::Session& session, int set, const vx::ItemAddress& item, QWidget* parent);

// The dialog Details would show, built but not run, for pictures of it; nullptr for an item
// without one (a preset arrangement or style, a KBD set, a style slot without data).
std::unique_ptr<QDialog> NewDetailsDialog(vx::EditScheme& scheme, vx::Session& session, int set,
                                          const vx::ItemAddress& item, QWidget* parent);

}  // namespace vxe
