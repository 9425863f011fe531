#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;

namespace vxe {

// Picks one key (or any entry of a list the caller fills). OK needs a selected entry.
class FInNote : public QDialog {
    Q_OBJECT

public:
    FInNote(const QString& caption, const QString& label, const QStringList& entries, int preselected,
            QWidget* parent = nullptr);

    // The chosen entry's index, or -1 when cancelled.
    int Chosen() const;

private:
    void cmdOK_Click();

    QLabel* lblNote_ = nullptr;
    QComboBox* cboNote_ = nullptr;
    bool chosen_ = false;
};

}  // namespace vxe
