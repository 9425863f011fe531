#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace vxe {

// Tip of the day: one line of the tips file beside the program, starting at a random line.
class FTip : public QDialog {
    Q_OBJECT
public:
    FTip(const QString& programDir, bool showAtStartup, QWidget* parent = nullptr);

    bool ShowAtStartup() const;
    QString CurrentTip() const;
    int TipCount() const { return static_cast<int>(tips_.size()); }

    void cmdNext_Click();

private:
    void ShowTip();

    QStringList tips_;
    int current_ = 0;
    QLabel* lblTipText_ = nullptr;
    QCheckBox* chkLoadTipsAtStartup_ = nullptr;
};

// The tips, one per line in file order; empty when the file cannot be read. Files of any size are
// accepted but only the first megabyte is read: tips are short.
QStringList ReadTips(const QString& path, bool* found);

}  // namespace vxe
