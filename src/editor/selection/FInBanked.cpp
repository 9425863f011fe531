#include "editor/selection/FInBanked.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"
#include "core/storage/Session.h"
#include "editor/selection/OkCancelRow.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {

const char* DialogName(vx::BankedKind kind) {
    switch (kind) {
        case vx::BankedKind::Arrangement:
            return "FInArr";
        case vx::BankedKind::Style:
            return "FInSty";
        case vx::BankedKind::Program:
            return "FInPrg";
    }
    return "";
}

const std::array<std::string_view, 16>& CategoryNames(vx::BankedKind kind) {
    switch (kind) {
        case vx::BankedKind::Arrangement:
            return vx::ArrCategoryName;
        case vx::BankedKind::Style:
            return vx::StyCategoryName;
        case vx::BankedKind::Program:
            break;
    }
    return vx::PrgCategoryName;
}

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

QString FInBanked::Caption(vx::BankedKind kind, const QString& addition) {
    switch (kind) {
        case vx::BankedKind::Arrangement:
            return "Select an Arrangement" + addition;
        case vx::BankedKind::Style:
            return "Select a Style" + addition;
        case vx::BankedKind::Program:
            break;
    }
    return "Select a Program " + addition;
}

FInBanked::FInBanked(vx::Session& session, int set, vx::BankedKind kind, int startNumber, const QString& addition,
                     QWidget* parent)
    : QDialog(parent), session_(session), set_(set), kind_(kind) {
    setObjectName(DialogName(kind));
    setWindowTitle(Caption(kind, addition));
    const int k = static_cast<int>(kind);

    int bank = 0;
    int slot = 0;
    const vx::GridPosition start = vx::GridPositionOf(kind, startNumber, false);
    if (start.Valid()) {
        bank = start.comboBank;
        slot = start.row * vx::kGridColumns + start.column;
    }

    cboBnk_ = new QComboBox(this);
    cboBnk_->setObjectName("cboBnk");
    for (int b = 0; b < vx::BankCount(k); ++b) cboBnk_->addItem(Text(vx::BankLetter(k, b)), vx::BankLastIndex(k, b));
    cboBnk_->setCurrentIndex(bank);

    cboCat_ = new QComboBox(this);
    cboCat_->setObjectName("cboCat");
    const auto& categories = CategoryNames(kind);
    for (std::size_t c = 0; c < categories.size(); ++c) cboCat_->addItem(Text(categories[c]), static_cast<int>(c));
    cboCat_->setCurrentIndex(-1);

    cboRef_ = new QComboBox(this);
    cboRef_->setObjectName("cboRef");
    cboRef_->setMaxVisibleItems(16);
    FillRef(vx::BankPickEntries(kind, Data(), session_.Presets(), bank), slot);

    auto* form = new QFormLayout;
    form->addRow("&Bank", cboBnk_);
    form->addRow("C&ategory", cboCat_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(cboRef_);
    auto* cmdOK = AddOkCancelRow(*this, *layout);

    connect(cboBnk_, &QComboBox::currentIndexChanged, this, [this](int) { cboBnk_Click(); });
    connect(cboCat_, &QComboBox::currentIndexChanged, this, [this](int) { cboCat_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

const vx::SetData& FInBanked::Data() const {
    static const vx::SetData kNoSet;
    return session_.Sets().IsOpen(set_) ? session_.Data(set_) : kNoSet;
}

void FInBanked::FillRef(const std::vector<vx::PickEntry>& entries, int select) {
    const QSignalBlocker blocker(cboRef_);
    cboRef_->clear();
    for (const vx::PickEntry& entry : entries) cboRef_->addItem(Latin1(entry.text), entry.number);
    cboRef_->setCurrentIndex(select >= 0 && select < cboRef_->count() ? select : -1);
}

void FInBanked::cboBnk_Click() {
    // A bank shows all its slots again, whatever category was chosen before.
    {
        const QSignalBlocker blocker(cboCat_);
        cboCat_->setCurrentIndex(-1);
    }
    FillRef(vx::BankPickEntries(kind_, Data(), session_.Presets(), cboBnk_->currentIndex()), 0);
}

void FInBanked::cboCat_Click() {
    if (cboCat_->currentIndex() < 0) return;
    FillRef(vx::CategoryPickEntries(kind_, Data(), session_.Presets(), cboCat_->currentData().toInt()), 0);
}

void FInBanked::cmdOK_Click() {
    chosen_ = true;
    accept();
}

int FInBanked::Chosen() const {
    if (!chosen_ || cboRef_->currentIndex() < 0) return -1;
    return cboRef_->currentData().toInt();
}

}  // namespace vxe
