#pragma once

#include <QWidget>

class QTextBrowser;

namespace vxe {

// The manual, shown from <program directory>/manual/index.html.
class FHelp : public QWidget {
    Q_OBJECT
public:
    explicit FHelp(const QString& programDir, QWidget* parent = nullptr);

    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

}  // namespace vxe
