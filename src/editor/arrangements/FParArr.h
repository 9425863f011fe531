#pragma once

#include <array>

#include "core/arrangements/ArrangementRecord.h"
#include "editor/details/ParamDialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;

namespace vx {
class EditScheme;
}

namespace vxe {

// The parameters of one user arrangement. Works on a copy of the record; Result() is the
// copy with every control read back.
class FParArr : public ParamDialog {
    Q_OBJECT

public:
    FParArr(vx::Session& session, int set, int number, QWidget* parent = nullptr);

    vx::ArrangementRecord Result() const;

private:
    void lblSty_DblClick();
    void lstPrg_DblClick(int track);
    // A typed tempo or transpose outside its range is replaced at once by the default.
    void CheckTyped(QLineEdit* box, int minimum, int maximum, int fallback);
    QWidget* NewUpDown(const char* name, QLineEdit* box, int minimum, int maximum, int fallback);

    vx::ArrangementRecord record_;
    const int number_;
    QLineEdit* txtNam_ = nullptr;
    QComboBox* cboCat_ = nullptr;
    ClickLabel* lblSty_ = nullptr;
    QListWidget* lstPrg_ = nullptr;
    QComboBox* cboEnsemble_ = nullptr;
    QComboBox* cboVarStart_ = nullptr;
    QComboBox* cboVarThen_ = nullptr;
    QLineEdit* txtTempo_ = nullptr;
    QComboBox* cboChScan_ = nullptr;
    QCheckBox* chkFullKbd_ = nullptr;
    QLineEdit* txtXpose_ = nullptr;
    QComboBox* cboSplit_ = nullptr;
    std::array<QComboBox*, vx::ArrangementRecord::kDrumMaps> cboDrMap_{};
    QComboBox* cboKick_ = nullptr;
    QComboBox* cboSnare_ = nullptr;
    std::array<QComboBox*, vx::ArrangementRecord::kFillVars> cboFillVar_{};
};

// Details on an arrangement: the dialog, then, when it was changed, the record written back
// through the set's write path. Nothing happens for a preset.
void ShowArrDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent);

}  // namespace vxe
