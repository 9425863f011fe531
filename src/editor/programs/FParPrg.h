#pragma once

#include "editor/details/ParamDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;

namespace vx {
class EditScheme;
}

namespace vxe {

// Name, category and callers of a program. A preset is shown only. "Call another Program"
// redirects every caller at once.
class FParPrg : public ParamDialog {
    Q_OBJECT

public:
    FParPrg(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent = nullptr);

    std::string Name() const;
    int Category() const;

private:
    void cmdReplPrg_Click();

    vx::EditScheme& scheme_;
    const int number_;
    QLineEdit* txtNam_ = nullptr;
    QComboBox* cboCat_ = nullptr;
    QListWidget* lstCalled_ = nullptr;
};

void ShowPrgDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent);

}  // namespace vxe
