#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;

namespace vxe {

// Picks one MIDI channel (or any entry of a list the caller fills).
class FInMidCh : public QDialog {
    Q_OBJECT

public:
    // An empty caption keeps "MIDI Channel Selection".
    FInMidCh(const QString& caption, const QStringList& entries, int preselected, QWidget* parent = nullptr);

    // The chosen entry's index, or -1 when cancelled.
    int Chosen() const;

private:
    QComboBox* cboMidCh_ = nullptr;
    bool chosen_ = false;
};

}  // namespace vxe
