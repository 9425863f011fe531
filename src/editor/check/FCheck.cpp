#include "editor/check/FCheck.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/check/SetCheck.h"
#include "core/kinds/EditableKind.h"
#include "core/storage/Session.h"

namespace vxe {

namespace {

constexpr int kInitialWidth = 900;
constexpr int kInitialHeight = 420;

QString Text(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

constexpr int kKindRole = Qt::UserRole;
constexpr int kSlotRole = Qt::UserRole + 1;

}  // namespace

std::optional<std::pair<vx::ItemKind, int>> FindingItem(const std::string& item) {
    for (int k = 0; k <= vx::KindIndex(vx::ItemKind::KbdSet); ++k) {
        const vx::EditableKind* d = vx::EditableKindOf(vx::KindFromIndex(k));
        if (!d) continue;
        const std::string prefix = std::string(d->Noun()) + " ";
        if (item.rfind(prefix, 0) != 0) continue;
        const std::string rest = item.substr(prefix.size());
        const int slot = d->SlotOfLabel(rest.substr(0, rest.find(' ')));
        if (slot >= 0) return std::make_pair(d->Kind(), slot);
    }
    return std::nullopt;
}

FCheck::FCheck(vx::Session& session, int set, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session), set_(set) {
    setObjectName("FCheck");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Check of " + Text(session.Slot(set).name));

    lblCheck_ = new QLabel(this);
    lblCheck_->setObjectName("lblCheck");
    lstCheck_ = new QTreeWidget(this);
    lstCheck_->setObjectName("lstCheck");
    lstCheck_->setHeaderLabels({"Item", "Problem", "What to do"});
    lstCheck_->setRootIsDecorated(false);
    lstCheck_->setWordWrap(true);
    lstCheck_->header()->setStretchLastSection(true);
    cmdRecheck_ = new QPushButton("Check &Again", this);
    cmdRecheck_->setObjectName("cmdRecheck");
    cmdClose_ = new QPushButton("&Close", this);
    cmdClose_->setObjectName("cmdClose");
    connect(cmdRecheck_, &QPushButton::clicked, this, [this] { cmdRecheck_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);
    connect(lstCheck_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* row) {
        if (row && row->data(0, kKindRole).isValid())
            Q_EMIT ItemChosen(vx::KindFromIndex(row->data(0, kKindRole).toInt()), row->data(0, kSlotRole).toInt());
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRecheck_);
    buttons->addWidget(cmdClose_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblCheck_);
    layout->addWidget(lstCheck_);
    layout->addLayout(buttons);
    resize(kInitialWidth, kInitialHeight);
    cmdRecheck_Click();
}

int FCheck::cmdRecheck_Click() {
    lstCheck_->clear();
    if (!session_.Sets().IsOpen(set_)) {
        lblCheck_->setText("The set is closed.");
        cmdRecheck_->setEnabled(false);
        return 0;
    }
    const auto findings = vx::CheckSet(session_.Data(set_), session_.Slot(set_).dirty);
    for (const vx::Finding& finding : findings) {
        auto* row = new QTreeWidgetItem(lstCheck_, {Text(finding.item), Text(finding.problem), Text(finding.advice)});
        row->setToolTip(1, Text(finding.Text()));
        if (const auto where = FindingItem(finding.item)) {
            row->setData(0, kKindRole, vx::KindIndex(where->first));
            row->setData(0, kSlotRole, where->second);
        }
    }
    // The closing line of the report: no findings, or how many.
    std::string summary = vx::CheckReportText(session_.Slot(set_).name, findings);
    summary.pop_back();
    lblCheck_->setText(Text(summary.substr(summary.rfind('\n') + 1)));
    // Item and problem are read whole; the advice takes what is left and scrolls beyond it.
    lstCheck_->resizeColumnToContents(0);
    lstCheck_->resizeColumnToContents(1);
    return static_cast<int>(findings.size());
}

}  // namespace vxe
