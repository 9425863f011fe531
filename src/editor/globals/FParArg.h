#pragma once

#include <array>

#include "core/globals/GlobalRecords.h"
#include "editor/globals/GlobalDialog.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QListWidget;

namespace vxe {

// The arrangement global parameters of a set, and the split key of all its arrangements.
class FParArg : public GlobalDialog {
    Q_OBJECT

public:
    FParArg(vx::Session& session, int set, QWidget* parent = nullptr);

    vx::ArgRecord Result() const;
    // The split key the user picked for every arrangement, or -1 when the combo was not touched.
    int ChosenSplitKey() const;

private:
    void lstMidi_DblClick(int function);

    vx::ArgRecord record_;
    QListWidget* lstMidi_ = nullptr;
    std::array<QCheckBox*, vx::kArgSwitchCount> switches_{};
    QButtonGroup* optHarmo_ = nullptr;
    QButtonGroup* optVelo_ = nullptr;
    QButtonGroup* optRecog_ = nullptr;
    QComboBox* cboSplit_ = nullptr;
    bool splitPicked_ = false;
};

// The Arrangement Global button: the dialog, then what it changed and the action it asked for.
void ShowArg(vx::Session& session, int set, QWidget* parent);

}  // namespace vxe
