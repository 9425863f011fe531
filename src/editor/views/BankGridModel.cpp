#include "editor/views/BankGridModel.h"

#include <QApplication>
#include <QPalette>

#include "core/interaction/Interaction.h"
#include "core/kinds/EditableKind.h"
#include "core/storage/Session.h"
#include "editor/views/CallCache.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {
const char* const kProgressTitle = "Checking Program Calls...";
const char* const kProgressText =
    "If this delay is intolerable, you can disable the'Highlight called Items' checkbox in 'Options' menu";
}  // namespace

BankGridModel::BankGridModel(vx::Session& session, int set, vx::BankedKind kind, CallCache& calls, QObject* parent)
    : ItemTableModel(static_cast<vx::ItemKind>(kind), set, parent),
      session_(session),
      bankedKind_(kind),
      calls_(calls) {}

void BankGridModel::Fill(const vx::GridLayout& layout) {
    beginResetModel();
    layout_ = layout;
    ApplyHighCall();
    endResetModel();
}

void BankGridModel::TakeOptions() {
    if (highCall_ == (session_.Opts().HighCall != 0) || layout_.rows == 0) return;
    ApplyHighCall();
    RefreshAll();
}

void BankGridModel::ApplyHighCall() {
    highCall_ = session_.Opts().HighCall != 0;
    // With HighCall off no scan runs at all.
    if (!highCall_) return;
    if (bankedKind_ == vx::BankedKind::Program) {
        auto progress = session_.Ui().BeginProgress(kProgressTitle, kProgressText, 0, layout_.rows);
        calls_.Rebuild();
        if (progress) progress->SetValue(layout_.rows);
    } else {
        calls_.Rebuild();
    }
}

int BankGridModel::NumberAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    return vx::GridCellNumber(bankedKind_, layout_, index.row(), index.column());
}

QModelIndex BankGridModel::IndexOfNumber(int number) const {
    for (int row = 0; row < layout_.rows; ++row)
        for (int column = 0; column < vx::kGridColumns; ++column)
            if (vx::GridCellNumber(bankedKind_, layout_, row, column) == number) return index(row, column);
    return {};
}

void BankGridModel::RefreshNumber(int number) {
    const QModelIndex cell = IndexOfNumber(number);
    if (cell.isValid()) Q_EMIT dataChanged(cell, cell);
}

void BankGridModel::RefreshAll() {
    if (rowCount() > 0) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int BankGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : layout_.rows; }

int BankGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || layout_.rows == 0 ? 0 : vx::kGridColumns;
}

std::string BankGridModel::CellText(int number) const {
    if (number < 0 || !session_.Sets().IsOpen(set_)) return {};
    const vx::SetData& data = session_.Data(set_);
    switch (bankedKind_) {
        case vx::BankedKind::Arrangement:
            return vx::ArrCellText(data, session_.Presets(), number);
        case vx::BankedKind::Style:
            return vx::StyCellText(data, session_.Presets(), number);
        case vx::BankedKind::Program:
            return vx::PrgCellText(data, session_.Presets(), number);
    }
    return {};
}

std::uint32_t BankGridModel::CellColour(int number) const {
    if (!session_.Sets().IsOpen(set_)) return vx::kColourBlack;
    const vx::CallIndex* calls = highCall_ ? &calls_.Get() : nullptr;
    switch (bankedKind_) {
        case vx::BankedKind::Arrangement:
            return vx::ArrCellColour(number, calls);
        case vx::BankedKind::Style:
            return vx::StyCellColour(number, calls);
        case vx::BankedKind::Program:
            return vx::PrgCellColour(session_.Data(set_), number, calls);
    }
    return vx::kColourBlack;
}

QVariant BankGridModel::data(const QModelIndex& index, int role) const {
    const int number = NumberAt(index);
    if (number < 0) return {};
    switch (role) {
        case Qt::DisplayRole:
            return Latin1(CellText(number));
        case Qt::ForegroundRole:
            return ColourOf(CellColour(number), QApplication::palette());
        default:
            return {};
    }
}

Qt::ItemFlags BankGridModel::flags(const QModelIndex& index) const {
    if (NumberAt(index) < 0) return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    // Preset slots are never written, and a preset is not dragged.
    return SlotAt(index) >= 0 ? flags | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled : flags;
}

int BankGridModel::SlotAt(const QModelIndex& index) const {
    const vx::EditableKind* d = vx::EditableKindOf(kind_);
    const int number = NumberAt(index);
    return d != nullptr && number >= 0 ? d->SlotOfNumber(number) : -1;
}

}  // namespace vxe
