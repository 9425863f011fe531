#include "editor/shell/FAbout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"

namespace vxe {

namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* AddLine(QWidget* parent, QVBoxLayout* layout, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
    return label;
}

}  // namespace

QString VersionLine() { return QStringLiteral("Version ") + QStringLiteral(VX_VERSION_TEXT); }

FAbout::FAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FAbout"));
    const QString title = FromView(vx::kProgramTitle);
    setWindowTitle(QStringLiteral("About ") + title);

    auto* layout = new QVBoxLayout(this);
    QLabel* product = AddLine(this, layout, "lblTitle", title);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    product->setFont(big);
    AddLine(this, layout, "lblVersion", VersionLine());
    AddLine(this, layout, "lblDescription",
            QStringLiteral("This Program helps customizing ") + FromView(vx::kInstrumentName) +
                QStringLiteral(" file sets, e.g. clear, copy, paste and move \n"
                               "Arrangements, Styles, Programs etc. inside a file set or between different file "
                               "sets,\n"
                               "while preserving calls consistency inside each set - and much more!"));
    QLabel* caution = AddLine(this, layout, "lblDisclaimer",
                              QStringLiteral("CAUTION: Apply this program to COPIES, never to original files!"));
    QFont bold = caution->font();
    bold.setBold(true);
    caution->setFont(bold);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace vxe
