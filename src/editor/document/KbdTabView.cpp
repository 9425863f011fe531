#include "editor/document/KbdTabView.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"
#include "core/changes/SetChange.h"
#include "core/editing/EditScheme.h"
#include "core/editing/KbdSetChoices.h"
#include "core/selection/BankView.h"
#include "editor/document/ViewParts.h"
#include "editor/shell/ShellServices.h"
#include "editor/views/ColumnFitter.h"
#include "editor/views/KbdGridModel.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {

constexpr int kKbdRows = 16;
// A track's cell shows a program: "F11 " + name.
constexpr int kTrackChars = 20;

}  // namespace

KbdTabView::KbdTabView(vx::Session& session, ShellServices& shell, int set, QObject* parent) : TabView(parent) {
    page_ = new QWidget;
    grdArk_ = NewGrid("grdArk", page_);
    grdArk_->horizontalHeader()->show();
    model_ = new KbdGridModel(session, set, this);
    grdArk_->setModel(model_);
    connect(grdArk_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Q_EMIT StatusChanged(); });
    SetupView(*grdArk_, kKbdRows, kColumnTwips, kRowTwips);
    // The KBD set and its split key take what their texts need, the five tracks share the rest.
    std::vector<ColumnFitter::Column> columns(vx::kKbdGridHeader.size(), {kTrackChars, true});
    columns[0] = {2, false};
    columns[1] = {3, false};
    ColumnFitter::Attach(*grdArk_, columns);
    ConfigureDragAndDrop(*grdArk_);
    ForwardDrops(*model_, *this);
    // Double-clicks (and Enter) choose split keys and track programs.
    OnDoubleClickOrEnter(grdArk_, this, [&session, &shell, set](const QModelIndex& index) {
        if (vx::EditScheme* scheme = shell.Editing())
            vx::KbdGridDoubleClick(session, *scheme, set, index.row(), index.column());
    });
    connect(grdArk_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [&session, &shell, set](int column) {
        if (vx::EditScheme* scheme = shell.Editing()) vx::KbdGridDoubleClick(session, *scheme, set, -1, column);
    });
    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(grdArk_);
}

QAbstractItemView* KbdTabView::MainView() const { return grdArk_; }

void KbdTabView::Show() { model_->RefreshAll(); }

int KbdTabView::CurrentSlot() const { return grdArk_->currentIndex().isValid() ? grdArk_->currentIndex().row() : -1; }

void KbdTabView::SelectSlot(int slot) { grdArk_->setCurrentIndex(model_->index(slot, 0)); }

QString KbdTabView::StatusItem() const {
    if (!grdArk_->currentIndex().isValid()) return {};
    return "KBD Set " + model_->index(grdArk_->currentIndex().row(), 0).data().toString();
}

int KbdTabView::FullWidth() const {
    const ColumnFitter* fitter = ColumnFitter::Of(*grdArk_);
    if (fitter == nullptr) return 0;
    return fitter->FullWidth() + 2 * grdArk_->frameWidth() + grdArk_->verticalScrollBar()->sizeHint().width();
}

void KbdTabView::Refresh(const vx::SetChange& change) {
    if (change.Names(vx::ItemKind::KbdSet) && change.item != vx::SetChange::kWholeKind)
        model_->RefreshRow(change.item);
    else if (change.Names(vx::ItemKind::KbdSet) || change.Names(vx::ItemKind::Program))
        model_->RefreshAll();  // it shows program names
}

}  // namespace vxe
