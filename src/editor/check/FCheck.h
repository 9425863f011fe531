#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <utility>

#include "core/catalogue/ItemKind.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vx {
class Session;
}

namespace vxe {

// The item a finding names first ("Arrangement C11 'POP 1'", "Song 3 'Intro'"): its kind and
// slot; none for a finding about the whole set or a block ("Event memory", "Style block ...").
std::optional<std::pair<vx::ItemKind, int>> FindingItem(const std::string& item);

// The Check Set window: what in the set the instrument would trip over, one row per finding
// with the item, the problem and what to do. Check Again looks at the set as it is now, so
// the window can stay open while the user mends the set.
class FCheck : public QWidget {
    Q_OBJECT

public:
    FCheck(vx::Session& session, int set, QWidget* parent = nullptr);

    int SetNumber() const { return set_; }
    // Checks the set again and fills the list; the number of findings.
    int cmdRecheck_Click();

Q_SIGNALS:
    // A double-click on a finding about one item: show that item.
    void ItemChosen(vx::ItemKind kind, int slot);

private:
    vx::Session& session_;
    const int set_;
    QLabel* lblCheck_ = nullptr;
    QTreeWidget* lstCheck_ = nullptr;
    QPushButton* cmdRecheck_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
};

}  // namespace vxe
