#pragma once

#include "editor/document/TabView.h"

class QTableView;

namespace vx {
class Session;
}

namespace vxe {

class KbdGridModel;
class ShellServices;

// The KBD sets' tab: one row a KBD set, its split key and the programs of its tracks.
class KbdTabView : public TabView {
    Q_OBJECT

public:
    KbdTabView(vx::Session& session, ShellServices& shell, int set, QObject* parent = nullptr);

    vx::ItemKind Kind() const override { return vx::ItemKind::KbdSet; }
    QWidget* Page() const override { return page_; }
    QAbstractItemView* MainView() const override;
    void Show() override;
    EditState State() const override { return EditStateFor(vx::KindIndex(Kind()), true); }
    int CurrentSlot() const override;
    void SelectSlot(int slot) override;
    QString StatusItem() const override;
    int FullWidth() const override;
    void Refresh(const vx::SetChange& change) override;

private:
    QWidget* page_ = nullptr;
    QTableView* grdArk_ = nullptr;
    KbdGridModel* model_ = nullptr;
};

}  // namespace vxe
