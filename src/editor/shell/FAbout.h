#pragma once

#include <QDialog>

namespace vxe {

// The about box: product, version, what the program does and the caution about originals.
class FAbout : public QDialog {
    Q_OBJECT
public:
    explicit FAbout(QWidget* parent = nullptr);
};

// "Version 1.06"
QString VersionLine();

}  // namespace vxe
