#pragma once

#include <QDialog>

#include "core/storage/Options.h"

class QCheckBox;

namespace vxe {

// The three switches of the Options menu. The values go back into the options when it closes.
class FOptions : public QDialog {
    Q_OBJECT
public:
    explicit FOptions(const vx::Options& options, QWidget* parent = nullptr);

    // Copies the three check boxes into options.
    void ReadBack(vx::Options& options) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QCheckBox* chkStartOld_ = nullptr;
    QCheckBox* chkWarnDupl_ = nullptr;
    QCheckBox* chkHighCall_ = nullptr;
};

}  // namespace vxe
