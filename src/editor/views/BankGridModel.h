#pragma once

#include "editor/views/ItemTableModel.h"

#include "core/catalogue/ItemKind.h"
#include "core/selection/BankView.h"

namespace vx {
class Session;
}

namespace vxe {

class CallCache;

// The cells of an arrangement, style or program grid: texts and colours are computed when a
// cell is painted, the colours from the window's call index while the HighCall option is on.
class BankGridModel : public ItemTableModel {
    Q_OBJECT

public:
    BankGridModel(vx::Session& session, int set, vx::BankedKind kind, CallCache& calls, QObject* parent = nullptr);

    vx::BankedKind Kind() const { return bankedKind_; }
    const vx::GridLayout& Layout() const { return layout_; }
    bool HighCall() const { return highCall_; }

    // Shows a layout and takes the HighCall option as it is now. With HighCall on the call index
    // is rebuilt; for programs the "Checking Program Calls..." progress reports it.
    void Fill(const vx::GridLayout& layout);
    // Takes a changed HighCall option, keeping the layout and the current cell.
    void TakeOptions();

    int NumberAt(const QModelIndex& index) const;
    QModelIndex IndexOfNumber(int number) const;
    // Repaints one number's cell when it is shown, or every cell.
    void RefreshNumber(int number);
    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // User slots drag and take drops; presets do neither.
    int SlotAt(const QModelIndex& index) const override;

    std::string CellText(int number) const;
    std::uint32_t CellColour(int number) const;

protected:
    // An empty slot has nothing to drag.
    bool Draggable(int slot) const override { return SlotHoldsItem(session_, kind_, set_, slot); }

private:
    void ApplyHighCall();

    vx::Session& session_;
    vx::BankedKind bankedKind_;
    CallCache& calls_;
    vx::GridLayout layout_;
    bool highCall_ = false;
};

}  // namespace vxe
