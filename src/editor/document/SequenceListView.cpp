#include "editor/document/SequenceListView.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QScrollBar>
#include <QVBoxLayout>

#include "core/changes/SetChange.h"
#include "core/sequences/SequenceFiles.h"
#include "core/storage/Session.h"
#include "editor/document/ViewParts.h"
#include "editor/views/SequenceListModel.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

SequenceListView::SequenceListView(vx::Session& session, int set, vx::ItemKind kind, QObject* parent)
    : TabView(parent), session_(session), set_(set), kind_(kind) {
    const bool songs = kind == vx::ItemKind::Song;
    page_ = new QWidget;

    auto* frame = new QGroupBox(songs ? "Songs List" : "Backing Sequences List", page_);
    frame->setObjectName(songs ? "fraSng" : "fraBsq");
    list_ = new QListView(frame);
    list_->setObjectName(songs ? "lstSng" : "lstBsq");
    list_->setFont(FixedPitchFont());
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    model_ = new SequenceListModel(session_, set_, kind, this);
    list_->setModel(model_);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Q_EMIT StatusChanged(); });
    ConfigureDragAndDrop(*list_);
    ForwardDrops(*model_, *this);
    SetupListView(*list_, vx::kSequenceCount, kRowTwips);
    // The rows are text of a fixed width; the list is as wide as they are, and the heading
    // ends where their event counts end.
    const int lineChars = static_cast<int>(vx::BsqListLine(vx::SetBackingSequences{}, 0).size());
    list_->setFixedWidth(QFontMetrics(list_->font()).horizontalAdvance(QString(lineChars, QLatin1Char('0'))) +
                         2 * list_->frameWidth() + 4 * kCellTextMargin +
                         list_->verticalScrollBar()->sizeHint().width());
    auto* events = new QLabel("Events", frame);
    events->setObjectName(songs ? "lblSngEvents" : "lblBsqEvents");
    events->setFont(FixedPitchFont());
    events->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    events->setFixedWidth(list_->frameWidth() + kCellTextMargin +
                          QFontMetrics(list_->font()).horizontalAdvance(QString(lineChars, QLatin1Char('0'))));
    OnDoubleClickOrEnter(list_, this, [this](const QModelIndex& index) { Q_EMIT DetailsAsked(kind_, index.row()); });
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(events, 0, Qt::AlignLeft);
    frameLayout->addWidget(list_);
    frameLayout->addStretch(1);

    // Both tabs show the same counters of the shared event memory: under each heading its
    // lines, indented so that a heading never reads as part of the line beside it.
    auto* count = new QGroupBox("Events count", page_);
    count->setObjectName("fraEvCnt");
    auto* countLayout = new QGridLayout(count);
    QFont headingFont = count->font();
    headingFont.setBold(true);
    auto heading = [&](const char* text, int row) {
        auto* label = new QLabel(text, count);
        label->setFont(headingFont);
        countLayout->addWidget(label, row, 0, 1, 2);
    };
    heading("Total", 0);
    for (int i = 0; i < 5; ++i) {
        auto* counter = new QLabel(count);
        counter->setObjectName(QString("lblEvCnt_%1").arg(i));
        counter->setFont(FixedPitchFont());
        counters_[static_cast<std::size_t>(i)] = counter;
    }
    countLayout->setColumnMinimumWidth(0, 12);
    for (int i = 0; i < 4; ++i) countLayout->addWidget(counters_[static_cast<std::size_t>(i)], i + 1, 1);
    countLayout->setRowMinimumHeight(5, 8);
    heading("Free", 6);
    countLayout->addWidget(counters_[4], 7, 1);

    auto* layout = new QHBoxLayout(page_);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(frame, 0, Qt::AlignTop);
    layout->addWidget(count, 0, Qt::AlignTop);
    layout->addStretch(1);
}

QAbstractItemView* SequenceListView::MainView() const { return list_; }

void SequenceListView::Fill() {
    if (!session_.Sets().IsOpen(set_)) return;
    model_->RefreshAll();
    // Exactly as tall as its rows: no empty strip below them.
    const int rows = model_->rowCount();
    list_->setFixedHeight(2 * list_->frameWidth() + rows * list_->sizeHintForRow(0));
    FillCounters();
}

void SequenceListView::FillCounters() {
    const vx::SetData& setData = session_.Data(set_);
    const auto labels = vx::CounterLabels(vx::CountEvents(setData.bsq, setData.sng));
    for (SequenceListView* view : {this, other_})
        if (view != nullptr)
            for (std::size_t i = 0; i < labels.size(); ++i) view->counters_[i]->setText(Latin1(labels[i]));
}

int SequenceListView::CurrentSlot() const {
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void SequenceListView::SelectSlot(int slot) { list_->setCurrentIndex(model_->index(slot, 0)); }

QString SequenceListView::StatusItem() const {
    if (!list_->currentIndex().isValid()) return {};
    const QString text = list_->currentIndex().data().toString();
    const QString name = text.mid(text.indexOf(':') + 1).section(':', 0, 0).trimmed();
    const QString number = text.left(text.indexOf(':'));
    return name.isEmpty() ? number + " (empty)" : number + " " + name;
}

void SequenceListView::Refresh(const vx::SetChange& change) {
    // Both lists show the counters of the memory they share.
    if (change.Names(vx::ItemKind::BackingSequence) || change.Names(vx::ItemKind::Song)) Fill();
}

}  // namespace vxe
