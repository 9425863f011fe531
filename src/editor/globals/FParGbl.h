#pragma once

#include <array>

#include "core/globals/GlobalRecords.h"
#include "editor/globals/GlobalDialog.h"

class QComboBox;

namespace vxe {

// The global parameters of a set: the curves, the damper polarity and the pedal functions.
class FParGbl : public GlobalDialog {
    Q_OBJECT

public:
    FParGbl(vx::Session& session, int set, QWidget* parent = nullptr);

    vx::GblRecord Result() const;

private:
    vx::GblRecord record_;
    std::array<QComboBox*, 2> cboCurv_{};
    QComboBox* cboDmpr_ = nullptr;
    std::array<QComboBox*, vx::kPedalCount> cboPeds_{};
};

// The Global button: the dialog, then what it changed and the action it asked for.
void ShowGbl(vx::Session& session, int set, QWidget* parent);

}  // namespace vxe
