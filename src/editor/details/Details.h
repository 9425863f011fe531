#pragma once

#include <memory>

#include "details/ItemAddress.h"

class QDialog;
class QWidget;

namespace vx {
class Session;
}

namespace vxe {

// Details on an item of a set: the kind's parameter dialog, and the write-back when the user
// confirmed a change. The global kinds open their dialogs; KBD sets have none.
void ShowDetails(vx::Session& session, int set, const vx::ItemAddress& item, QWidget* parent);

// The dialog Details would show, built but not run, for pictures of it; nullptr for an item
// without one (a preset arrangement or style, a KBD set, a style slot without data).
std::unique_ptr<QDialog> NewDetailsDialog(vx::Session& session, int set, const vx::ItemAddress& item, QWidget* parent);

}  // namespace vxe
