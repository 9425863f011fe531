#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

namespace vxe {

// Picks the preset bank an export goes to.
class FInPrset : public QDialog {
    Q_OBJECT

public:
    FInPrset(const QString& caption, const QStringList& banks, int preselected, QWidget* parent = nullptr);

    // The chosen entry's index, or -1 when cancelled.
    int Chosen() const;

private:
    QComboBox* cboBnk_ = nullptr;
    bool chosen_ = false;
};

// Shows the dialog modally: the chosen entry's index, or -1 when cancelled.
int FInPrsetPick(const QString& caption, const QStringList& banks, int preselected, QWidget* parent);

}  // namespace vxe
