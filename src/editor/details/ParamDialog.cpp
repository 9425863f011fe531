#include "editor/details/ParamDialog.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/details/ItemDetails.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/NameCharacters.h"
#include "editor/selection/OkCancelRow.h"

namespace vxe {

QString Latin1Text(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString Trimmed(const std::string& text) { return Latin1Text(vx::TrimBlanks(text)); }

namespace {

// A list whose lines are chosen by double-click takes Enter and F2 as the same choice, before
// the dialog's default button can take Enter to close the dialog.
class ChoiceList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        const bool choose = (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) &&
                            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (choose && currentItem() && isSignalConnected(QMetaMethod::fromSignal(&QListWidget::itemDoubleClicked))) {
            Q_EMIT itemDoubleClicked(currentItem());
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

}  // namespace

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}

ParamDialog::ParamDialog(vx::Session& session, int set, const char* name, QWidget* parent)
    : QDialog(parent), session_(session), set_(set) {
    setObjectName(name);
    setModal(true);
}

void ParamDialog::reject() {
    changed_ = false;
    QDialog::reject();
}

QString ParamDialog::InSet() const { return " in " + Latin1Text(session_.Slot(set_).name); }

QLineEdit* ParamDialog::NewNameBox(const std::string& stored) {
    auto* txtNam = new QLineEdit(Latin1Text(vx::EditedName(vx::TrimBlanks(stored))), this);
    txtNam->setObjectName("txtNam");
    txtNam->setMaxLength(static_cast<int>(vx::kNameLength) + 1);
    connect(txtNam, &QLineEdit::textChanged, this, [this, txtNam](const QString& text) {
        // Typed or pasted characters a name can't hold are dropped, and the user is told which.
        QString printable;
        for (const QChar c : text)
            if (c.unicode() < 128 && vx::IsNameCharacter(static_cast<char>(c.unicode()))) printable += c;
        if (printable != text) {
            const QByteArray typed = text.toUtf8();
            const std::string problem =
                vx::NameCharacterProblem(std::string_view(typed.data(), static_cast<std::size_t>(typed.size())));
            QToolTip::showText(txtNam->mapToGlobal(QPoint(0, txtNam->height())), QString::fromStdString(problem),
                               txtNam);
        }
        const QString kept = Latin1Text(vx::EditedName(printable.toLatin1().toStdString()));
        if (kept != text) {
            const int cursor = std::min(txtNam->cursorPosition(), static_cast<int>(kept.size()));
            txtNam->setText(kept);
            txtNam->setCursorPosition(cursor);
        }
        MarkChanged();
    });
    return txtNam;
}

QComboBox* ParamDialog::NewCombo(const char* name, const std::vector<std::string>& texts, int stored) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    for (const std::string& text : texts)
        combo->addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    combo->setCurrentIndex(stored >= 0 && stored < combo->count() ? stored : 0);
    connect(combo, &QComboBox::currentIndexChanged, this, [this](int) { MarkChanged(); });
    return combo;
}

QListWidget* ParamDialog::NewList(const char* name, const std::vector<std::string>& lines) {
    auto* list = new ChoiceList(this);
    list->setObjectName(name);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    list->setFont(font);
    Refill(*list, lines);
    // Wide enough for a track line: name, label and a 16-character program name.
    const QFontMetrics metrics(font);
    list->setMinimumWidth(metrics.horizontalAdvance(QString(32, 'M')) + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    return list;
}

void ParamDialog::Refill(QListWidget& list, const std::vector<std::string>& lines) {
    const int row = list.currentRow();
    list.clear();
    for (const std::string& line : lines) list.addItem(Latin1Text(line));
    if (row >= 0 && row < list.count()) list.setCurrentRow(row);
}

QPushButton* ParamDialog::AddButtons(QBoxLayout& layout) {
    QPushButton* cmdOK = AddOkCancelRow(*this, layout);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    return cmdOK;
}

int ParamDialog::PickTrackProgram(std::string_view trackName, int current) {
    return session_.Ui().PickProgram(set_, current, "for track '" + vx::TrimBlanks(trackName) + "'");
}

}  // namespace vxe
