#pragma once

#include "core/catalogue/ItemKind.h"
#include "editor/document/TabView.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QTableView;

namespace vx {
class Session;
}

namespace vxe {

class BankGridModel;
class CallCache;
class FreeEventsModel;

// The tab of a banked kind (arrangements, styles, programs): the bank list, Twin View where the
// kind has it, and the grid of one bank (two in twin view). The styles' tab shows the free events
// of each block beside the grid; the arrangements' tab the buttons of the two global dialogs.
class BankTabView : public TabView {
    Q_OBJECT

public:
    BankTabView(vx::Session& session, int set, vx::BankedKind kind, CallCache& calls, QObject* parent = nullptr);

    vx::ItemKind Kind() const override { return static_cast<vx::ItemKind>(kind_); }
    QWidget* Page() const override { return page_; }
    QAbstractItemView* MainView() const override;
    void Show() override { FillBank(); }
    EditState State() const override;
    int CurrentSlot() const override;
    void SelectSlot(int slot) override;
    QString StatusItem() const override;
    int DetailsNumber() const override { return CurrentNumber(); }
    int ChosenBank() const override;
    bool TwinShown() const override;
    int FullWidth() const override;
    void TakeOptions() override;
    void Refresh(const vx::SetChange& change) override;

    // The number of the current cell, or -1.
    int CurrentNumber() const;
    // Shows a number: switches the bank (folding it in twin view) and selects the number's cell.
    void GoToNumber(int number);
    // Shows the bank of that letter (empty: the one chosen), in twin view when asked. False when
    // the kind has no such bank or no twin view.
    bool ShowBank(const QString& letter, bool twin);

private:
    void BuildFreeEvents(QGridLayout& layout);
    // Shows the bank chosen, as the bank list and Twin View say, with its slot 0 current.
    void FillBank();

    vx::Session& session_;
    const int set_;
    const vx::BankedKind kind_;
    QWidget* page_ = nullptr;
    QComboBox* combo_ = nullptr;
    QCheckBox* twin_ = nullptr;  // none for styles
    QTableView* grid_ = nullptr;
    BankGridModel* model_ = nullptr;
    // Styles only.
    QTableView* grdFreeS_ = nullptr;
    FreeEventsModel* freeModel_ = nullptr;
};

}  // namespace vxe
