#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace vxe {

// The OK and Cancel buttons of a selection dialog, right-aligned at the end of its layout and
// named cmdOK and cmdCancel. Cancel rejects the dialog; the caller connects OK.
QPushButton* AddOkCancelRow(QDialog& dialog, QBoxLayout& layout);

}  // namespace vxe
