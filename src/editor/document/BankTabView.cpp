#include "editor/document/BankTabView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/changes/SetChange.h"
#include "core/kinds/EditableKind.h"
#include "core/selection/BankView.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "editor/document/ViewParts.h"
#include "editor/views/BankGridModel.h"
#include "editor/views/ColumnFitter.h"
#include "editor/views/FreeEventsModel.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {

constexpr int kStyleColumnTwips = 2730;

// What a cell's text needs: "C11 " + name + " (C12)U", "C11 " + name + ":-294", "F11 " + name.
int CellChars(vx::BankedKind kind) {
    switch (kind) {
        case vx::BankedKind::Arrangement:
            return 27;
        case vx::BankedKind::Style:
            return 25;
        case vx::BankedKind::Program:
            return 20;
    }
    return 20;
}

// The bank shown when a window opens: the kind's first user bank.
int FirstUserBank(vx::BankedKind kind) { return kind == vx::BankedKind::Program ? 5 : 2; }

// The names and tip of a banked tab's controls, by kind.
struct BankedTabNames {
    const char* combo;
    const char* tip;
    const char* grid;
};
BankedTabNames NamesOf(vx::BankedKind kind) {
    static const BankedTabNames names[] = {
        {"cboArrBnk", "Select Arrangement Bank here", "grdArr"},
        {"cboStyBnk", "Select Style Bank here", "grdSty"},
        {"cboPrgBnk", "Select Program Bank here", "grdPrg"},
    };
    return names[static_cast<int>(kind)];
}

}  // namespace

BankTabView::BankTabView(vx::Session& session, int set, vx::BankedKind kind, CallCache& calls, QObject* parent)
    : TabView(parent), session_(session), set_(set), kind_(kind) {
    const int k = static_cast<int>(kind);
    page_ = new QWidget;

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel("Bank", page_);
    combo_ = new QComboBox(page_);
    combo_->setObjectName(NamesOf(kind).combo);
    combo_->setToolTip(NamesOf(kind).tip);
    for (int bank = 0; bank < vx::BankCount(k); ++bank) {
        const std::string_view letter = vx::BankLetter(k, bank);
        combo_->addItem(QString::fromLatin1(letter.data(), static_cast<qsizetype>(letter.size())),
                        vx::BankLastIndex(k, bank));
    }
    combo_->setCurrentIndex(FirstUserBank(kind));
    label->setBuddy(combo_);
    top->addWidget(label);
    top->addWidget(combo_);
    if (kind != vx::BankedKind::Style) {
        twin_ = new QCheckBox("Twin View", page_);
        twin_->setObjectName(kind == vx::BankedKind::Arrangement ? "chkTwin_0" : "chkTwin_2");
        top->addWidget(twin_);
        connect(twin_, &QCheckBox::toggled, this, [this](bool) { FillBank(); });
    }
    top->addStretch(1);
    if (kind == vx::BankedKind::Arrangement) {
        // Alt+A is the Arrangements tab's.
        auto* cmdArg = new QPushButton("A&rrangement Global", page_);
        cmdArg->setObjectName("cmdArg");
        auto* cmdGbl = new QPushButton("&Global", page_);
        cmdGbl->setObjectName("cmdGbl");
        connect(cmdArg, &QPushButton::clicked, this,
                [this] { Q_EMIT DetailsAsked(vx::ItemKind::ArrangementGlobal, 0); });
        connect(cmdGbl, &QPushButton::clicked, this, [this] { Q_EMIT DetailsAsked(vx::ItemKind::Global, 0); });
        top->addWidget(cmdArg);
        top->addWidget(cmdGbl);
    }

    grid_ = NewGrid(NamesOf(kind).grid, page_);
    model_ = new BankGridModel(session_, set_, kind, calls, this);
    grid_->setModel(model_);
    SetupView(*grid_, 16, kind == vx::BankedKind::Style ? kStyleColumnTwips : kColumnTwips, kRowTwips);
    ColumnFitter::Attach(*grid_, std::vector<ColumnFitter::Column>(vx::kGridColumns, {CellChars(kind), true}));
    ConfigureDragAndDrop(*grid_);
    ForwardDrops(*model_, *this);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex&, const QModelIndex&) { Q_EMIT CurrentChanged(); });
    connect(combo_, &QComboBox::currentIndexChanged, this, [this](int) { FillBank(); });
    OnDoubleClickOrEnter(grid_, this, [this](const QModelIndex& index) {
        const int number = model_->NumberAt(index);
        if (number >= 0) Q_EMIT DetailsAsked(Kind(), number);
    });

    auto* layout = new QGridLayout(page_);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addLayout(top, 0, 0);
    layout->addWidget(grid_, 1, 0);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setHorizontalSpacing(kGridSpacing);
    if (kind == vx::BankedKind::Style) BuildFreeEvents(*layout);
}

void BankTabView::BuildFreeEvents(QGridLayout& layout) {
    // The free events of each block of four styles, level with the block's row of the grid:
    // both grids start at the same height and scroll together.
    const QString heading = "      Events  ...used          free";
    auto* lblFreeS = new QLabel(heading, page_);
    lblFreeS->setObjectName("lblFreeS");
    lblFreeS->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    grdFreeS_ = NewGrid("grdFreeS", page_);
    freeModel_ = new FreeEventsModel(session_, set_, this);
    grdFreeS_->setModel(freeModel_);
    grdFreeS_->setSelectionMode(QAbstractItemView::NoSelection);
    grdFreeS_->setFocusPolicy(Qt::NoFocus);
    SetupView(*grdFreeS_, vx::kStyleBlocks, 0, kRowTwips);
    // The figures end under "used" and "free" of the heading, whose proportional font keeps
    // its blanks narrow; its leading blanks stand over the space beside the bank combo.
    const QFontMetrics heads(lblFreeS->font());
    const QFontMetrics digits(grdFreeS_->font());
    const int figure = digits.horizontalAdvance(QStringLiteral("000000")) + kCellTextMargin;
    const int used = std::max(figure, heads.horizontalAdvance(heading.mid(12, 9)) + kCellTextMargin);
    const int free = std::max(figure, heads.horizontalAdvance(heading.mid(21)));
    grdFreeS_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdFreeS_->horizontalHeader()->setMinimumSectionSize(1);
    grdFreeS_->setColumnWidth(0, used);
    grdFreeS_->setColumnWidth(1, free);
    grdFreeS_->setFixedWidth(used + free + 2 * grdFreeS_->frameWidth());
    grdFreeS_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdFreeS_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblFreeS->setContentsMargins(0, 0, grdFreeS_->frameWidth() + kCellTextMargin, 0);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, grdFreeS_->verticalScrollBar(),
            &QScrollBar::setValue);
    // The heading overhangs to the left, over the space beside the bank combo.
    layout.addWidget(lblFreeS, 0, 0, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    layout.addWidget(grdFreeS_, 1, 1);
}

QAbstractItemView* BankTabView::MainView() const { return grid_; }

void BankTabView::FillBank() {
    const int combo = combo_->currentIndex();
    const vx::GridLayout layout = vx::BankGridLayout(kind_, combo, twin_ != nullptr && twin_->isChecked());
    if (layout.bank >= 0 && layout.bank != combo) {
        // The second bank of a pair is shown from the first one in twin view.
        const QSignalBlocker blocker(combo_);
        combo_->setCurrentIndex(layout.bank);
    }
    if (twin_ != nullptr) twin_->setHidden(!layout.twinBoxShown);
    model_->Fill(layout);
    if (freeModel_) freeModel_->RefreshAll();
    // Slot 0 of the bank becomes current.
    if (layout.rows > 0) grid_->setCurrentIndex(model_->index(0, 0));
    Q_EMIT CurrentChanged();
}

EditState BankTabView::State() const {
    return EditStateFor(static_cast<int>(kind_), vx::IsUserNumber(kind_, CurrentNumber()));
}

int BankTabView::CurrentNumber() const { return model_->NumberAt(grid_->currentIndex()); }

int BankTabView::CurrentSlot() const {
    const vx::EditableKind* d = vx::EditableKindOf(Kind());
    const int number = CurrentNumber();
    return d != nullptr && number >= 0 ? d->SlotOfNumber(number) : -1;
}

void BankTabView::SelectSlot(int slot) { GoToNumber(vx::EditableKindOf(Kind())->ViewNumberOf(slot)); }

void BankTabView::GoToNumber(int number) {
    const vx::GridPosition position = vx::GridPositionOf(kind_, number, twin_ != nullptr && twin_->isChecked());
    if (!position.Valid()) return;
    if (combo_->currentIndex() != position.comboBank)
        combo_->setCurrentIndex(position.comboBank);
    else if (model_->Layout().bank != position.comboBank)
        FillBank();
    grid_->setCurrentIndex(model_->index(position.row, position.column));
    Q_EMIT CurrentChanged();
}

bool BankTabView::ShowBank(const QString& letter, bool twin) {
    const int index = letter.isEmpty() ? combo_->currentIndex() : combo_->findText(letter.toUpper());
    if (index < 0 || (twin && twin_ == nullptr)) return false;
    if (twin_ != nullptr) twin_->setChecked(twin);
    combo_->setCurrentIndex(index);
    FillBank();
    return true;
}

int BankTabView::ChosenBank() const { return combo_->currentIndex(); }

bool BankTabView::TwinShown() const { return twin_ != nullptr && model_->Layout().twin; }

QString BankTabView::StatusItem() const {
    if (CurrentNumber() < 0) return {};
    // The label and the name, without the calls the cell shows after them.
    const QString text = model_->data(grid_->currentIndex()).toString();
    const QString label = text.left(3);
    const QString name = text.mid(4, 16).trimmed();
    return name.isEmpty() ? label + " (empty)" : label + " " + name;
}

int BankTabView::FullWidth() const {
    // Room for a scroll bar (twin view), and the styles' free events beside them.
    const ColumnFitter* fitter = ColumnFitter::Of(*grid_);
    if (fitter == nullptr) return 0;
    int width = fitter->FullWidth() + 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    if (grdFreeS_) width += grdFreeS_->width() + kGridSpacing;
    return width;
}

void BankTabView::TakeOptions() { model_->TakeOptions(); }

void BankTabView::Refresh(const vx::SetChange& change) {
    if (change.what != vx::SetChange::What::Items) return;
    const vx::ItemKind shown = Kind();
    bool all = false;
    bool changedHere = false;
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        const vx::ItemKind kind = vx::KindFromIndex(k);
        if (!change.Names(kind)) continue;
        // The cells of the items a changed kind calls change colour.
        if (vx::KindCallsKind(kind, shown)) all = true;
        if (kind == shown) {
            changedHere = true;
            if (change.item == vx::SetChange::kWholeKind) all = true;
        }
    }
    if (all)
        model_->RefreshAll();
    else if (changedHere)
        model_->RefreshNumber(change.item);
    if (changedHere && freeModel_) freeModel_->RefreshAll();
    // A replaced kind may have made the current position editable or not.
    if (changedHere && change.item == vx::SetChange::kWholeKind) Q_EMIT CurrentChanged();
}

}  // namespace vxe
