#pragma once

#include "core/styles/StyleRecord.h"
#include "editor/details/ParamDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vx {
class EditScheme;
}

namespace vxe {

// The parameters of one user style: name, category and the six track programs; its event
// figures are shown only.
class FParSty : public ParamDialog {
    Q_OBJECT

public:
    FParSty(vx::Session& session, int set, int number, QWidget* parent = nullptr);

    vx::StyleRecord Result() const;

private:
    void lstPrg_DblClick(int track);

    vx::StyleRecord record_;
    QLineEdit* txtNam_ = nullptr;
    QComboBox* cboCat_ = nullptr;
    QListWidget* lstPrg_ = nullptr;
};

// Details on a style; nothing happens for a preset or a slot that holds no style.
void ShowStyDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent);

}  // namespace vxe
