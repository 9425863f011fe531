#pragma once

#include <array>

#include "editor/document/TabView.h"

class QLabel;
class QListView;

namespace vx {
class Session;
}

namespace vxe {

class SequenceListModel;

// The tab of the backing sequences or of the songs: the list, and the counters of the event
// memory both kinds share.
class SequenceListView : public TabView {
    Q_OBJECT

public:
    SequenceListView(vx::Session& session, int set, vx::ItemKind kind, QObject* parent = nullptr);

    // The other list's tab, whose counters show the same memory.
    void ShareCounters(SequenceListView& other) { other_ = &other; }

    vx::ItemKind Kind() const override { return kind_; }
    QWidget* Page() const override { return page_; }
    QAbstractItemView* MainView() const override;
    void Show() override { Fill(); }
    EditState State() const override { return EditStateFor(vx::KindIndex(kind_), true); }
    int CurrentSlot() const override;
    void SelectSlot(int slot) override;
    QString StatusItem() const override;
    int DetailsNumber() const override { return CurrentSlot(); }
    void Refresh(const vx::SetChange& change) override;

private:
    void Fill();
    void FillCounters();

    vx::Session& session_;
    const int set_;
    const vx::ItemKind kind_;
    QWidget* page_ = nullptr;
    QListView* list_ = nullptr;
    SequenceListModel* model_ = nullptr;
    std::array<QLabel*, 5> counters_{};
    SequenceListView* other_ = nullptr;
};

}  // namespace vxe
