#pragma once

#include <QDialog>

#include <vector>

#include "core/selection/BankView.h"

class QComboBox;
class QPushButton;

namespace vx {
class Session;
struct SetData;
}  // namespace vx

namespace vxe {

// The selection dialog of arrangements (FInArr), styles (FInSty) and programs (FInPrg): a bank
// list, a category filter over all banks, and the items to choose from.
class FInBanked : public QDialog {
    Q_OBJECT

public:
    // A start number outside the kind's banks starts on bank 0, slot 0.
    FInBanked(vx::Session& session, int set, vx::BankedKind kind, int startNumber, const QString& addition,
              QWidget* parent = nullptr);

    // The chosen item number, or -1 when the dialog was cancelled or nothing was selected.
    int Chosen() const;

    static QString Caption(vx::BankedKind kind, const QString& addition);

private:
    void cboBnk_Click();
    void cboCat_Click();
    void cmdOK_Click();
    void FillRef(const std::vector<vx::PickEntry>& entries, int select);
    const vx::SetData& Data() const;

    vx::Session& session_;
    int set_;
    vx::BankedKind kind_;
    QComboBox* cboBnk_ = nullptr;
    QComboBox* cboCat_ = nullptr;
    QComboBox* cboRef_ = nullptr;
    bool chosen_ = false;
};

}  // namespace vxe
