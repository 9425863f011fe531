#include "editor/shell/SetDialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vxe {

namespace {

const QString kUp = QStringLiteral("..");

QString RootOf(const QString& directory) {
    QDir dir(directory);
    while (dir.cdUp()) {
    }
    return dir.absolutePath();
}

}  // namespace

bool IsSetDirectoryName(const QString& path) {
    QString trimmed = path;
    while (trimmed.size() > 1 && (trimmed.endsWith(QLatin1Char('/')) || trimmed.endsWith(QLatin1Char('\\'))))
        trimmed.chop(1);
    return trimmed.endsWith(QStringLiteral(".SET"), Qt::CaseInsensitive);
}

FSetDialog::FSetDialog(vx::Session& session, Mode mode, QWidget* parent)
    : QDialog(parent), session_(session), mode_(mode) {
    setObjectName(mode == Mode::Open ? QStringLiteral("FOpenSet") : QStringLiteral("FSaveSet"));
    const QString instrument = QString::fromUtf8(vx::kInstrumentName.data(), vx::kInstrumentName.size());
    setWindowTitle(mode == Mode::Open
                       ? QStringLiteral("Select a ") + instrument + QStringLiteral(" Set")
                       : QStringLiteral("Select a ") + instrument + QStringLiteral(" *.SET destination directory"));
    setModal(true);

    auto* frame = new QGroupBox(QStringLiteral("Selected SET"), this);
    frame->setObjectName(QStringLiteral("fraSet"));
    txtSetName_ = new QLineEdit(frame);
    txtSetName_->setObjectName(QStringLiteral("txtSetName"));
    txtSetName_->setToolTip(QStringLiteral("You can type a Set Name here"));
    lblPath_ = new QLabel(frame);
    lblPath_->setObjectName(QStringLiteral("lblPath"));
    lblPath_->setTextFormat(Qt::PlainText);
    lstDir_ = new QListWidget(frame);
    lstDir_->setObjectName(QStringLiteral("lstDir"));
    lstDir_->setToolTip(QStringLiteral("Double click to select"));
    lstDrive_ = new QComboBox(frame);
    lstDrive_->setObjectName(QStringLiteral("lstDrive"));
    lstDrive_->setToolTip(QStringLiteral("Selected Drive"));
    for (const QFileInfo& drive : QDir::drives()) lstDrive_->addItem(drive.absoluteFilePath());

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(txtSetName_);
    frameLayout->addWidget(lblPath_);
    frameLayout->addWidget(lstDir_, 1);
    frameLayout->addWidget(lstDrive_);

    cmdOK_ = new QPushButton(mode == Mode::Open ? QStringLiteral("&Open") : QStringLiteral("&Save"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel_);
    buttons->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(420, 360);

    cmdOK_->hide();

    // Start where the last set was chosen; a directory that is gone gives the home directory.
    vx::Options& options = session_.Opts();
    QString start = QString::fromStdString(options.PathNam);
    if (start.isEmpty() || !QFileInfo(start).isDir()) {
        options.PathNam = QDir::homePath().toStdString();
        start = QString::fromStdString(options.PathNam);
        if (!QFileInfo(start).isDir()) start = QDir::currentPath();
    }
    current_ = QDir(start).absolutePath();
    FillDirectoryList();

    connect(lstDir_, &QListWidget::itemActivated, this, &FSetDialog::lstDir_DblClick);
    connect(lstDrive_, &QComboBox::activated, this, &FSetDialog::lstDrive_Change);
    connect(txtSetName_, &QLineEdit::textEdited, this, &FSetDialog::txtSetName_Change);
    connect(cmdOK_, &QPushButton::clicked, this, &FSetDialog::cmdOK_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &FSetDialog::cmdCancel_Click);
}

void FSetDialog::SetProposedName(const QString& name) {
    txtSetName_->setText(name);
    // Setting the name counts as typing it.
    txtSetName_Change();
}

void FSetDialog::FillDirectoryList() {
    lstDir_->clear();
    lblPath_->setText(QDir::toNativeSeparators(current_));
    QDir dir(current_);
    if (!dir.isRoot()) lstDir_->addItem(kUp);
    const QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    lstDir_->addItems(names);
    const QString root = RootOf(current_);
    for (int i = 0; i < lstDrive_->count(); ++i)
        if (QDir(lstDrive_->itemText(i)).absolutePath() == root) lstDrive_->setCurrentIndex(i);
}

void FSetDialog::ChangeDirectory(const QString& directory) {
    QFileInfo info(directory);
    if (!info.isDir()) return;
    QDir dir(directory);
    // Unreadable directories stay where we are rather than showing an empty list as if it were real.
    if (!dir.isReadable()) return;
    current_ = QDir::cleanPath(dir.absolutePath());
    FillDirectoryList();
    lstDir_Change();
}

void FSetDialog::lstDir_DblClick(QListWidgetItem* item) {
    if (!item) return;
    const QString name = item->text();
    QDir dir(current_);
    if (name == kUp) {
        if (!dir.cdUp()) return;
        ChangeDirectory(dir.absolutePath());
    } else {
        ChangeDirectory(dir.absoluteFilePath(name));
    }
}

void FSetDialog::lstDrive_Change(int index) {
    if (index < 0 || index >= lstDrive_->count()) return;
    ChangeDirectory(lstDrive_->itemText(index));
}

void FSetDialog::lstDir_Change() {
    if (!IsSetDirectoryName(current_)) {
        if (mode_ == Mode::Open) cmdOK_->hide();
        return;
    }
    txtSetName_->setText(QString::fromStdString(vx::SetNameFromPath(current_.toStdString())));
    if (mode_ == Mode::Save) {
        cmdOK_->show();
        return;
    }
    cmdOK_->hide();
    const bool complete = session_.OfferMissingFiles(current_.toStdString());
    cmdOK_->setVisible(complete);
}

void FSetDialog::txtSetName_Change() { cmdOK_->show(); }

QString FSetDialog::CandidateParent() const {
    QString parent = current_;
    if (IsSetDirectoryName(parent)) {
        QDir dir(parent);
        if (dir.cdUp()) parent = dir.absolutePath();
    }
    // The root's own separator is dropped too: the candidate becomes "/LIVE.SET".
    while (parent.endsWith(QLatin1Char('/')) || parent.endsWith(QLatin1Char('\\'))) parent.chop(1);
    return parent;
}

bool FSetDialog::GoToTypedPath(const QString& typed) {
    QString path = typed;
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/"))) path = QDir::homePath() + path.mid(1);
    QFileInfo info(QDir(current_).absoluteFilePath(path));
    // A file inside a set stands for its set.
    if (info.isFile()) info.setFile(info.absolutePath());
    const QString target = QDir::cleanPath(info.absoluteFilePath());
    if (info.isDir()) {
        ChangeDirectory(target);
        return current_ == target;
    }
    // A set to save into need not exist yet; its parent must.
    const QFileInfo parent(QFileInfo(target).absolutePath());
    if (mode_ == Mode::Save && IsSetDirectoryName(target) && parent.isDir()) {
        ChangeDirectory(parent.absoluteFilePath());
        txtSetName_->setText(QString::fromStdString(vx::SetNameFromPath(target.toStdString())));
        return current_ == parent.absoluteFilePath();
    }
    session_.Ui().ShowMessage(
        {"There is no directory " + typed.toStdString() + ".", "Select a Set", vx::MessageIcon::Exclamation});
    return false;
}

void FSetDialog::cmdOK_Click() {
    // A typed or pasted path goes to the set it names, its case as typed; a plain name is a
    // set's name, written in capitals.
    const QString typed = txtSetName_->text().trimmed();
    if (typed.contains(QLatin1Char('/')) || typed.startsWith(QLatin1Char('~'))) {
        if (!GoToTypedPath(typed)) return;
        // A plain directory is shown for the user to go on from.
        if (!IsSetDirectoryName(current_) && !(mode_ == Mode::Save && IsSetDirectoryName(typed))) {
            txtSetName_->clear();
            return;
        }
        if (mode_ == Mode::Open && cmdOK_->isHidden()) return;
    }
    txtSetName_->setText(txtSetName_->text().toUpper());
    const std::string name = txtSetName_->text().toStdString();
    const QString parent = CandidateParent();
    if (mode_ == Mode::Open) {
        std::string chosen = session_.CheckOpenCandidate(parent.toStdString(), name);
        if (chosen.empty()) {
            // A set that is already open: the list goes back to where it lies.
            const std::string candidate = parent.toStdString() + "/" + name + ".SET";
            if (!name.empty() && session_.Sets().FindByDirectory(candidate) != 0 && current_ != parent &&
                !parent.isEmpty())
                ChangeDirectory(parent);
            return;
        }
        result_ = std::move(chosen);
    } else {
        std::string chosen = session_.CheckSaveCandidate(parent.toStdString(), name);
        if (chosen.empty()) return;
        result_ = std::move(chosen);
    }
    accept();
}

void FSetDialog::cmdCancel_Click() {
    result_.clear();
    reject();
}

std::string ChooseSetToOpen(vx::Session& session, QWidget* parent) {
    FSetDialog dialog(session, FSetDialog::Mode::Open, parent);
    dialog.exec();
    return dialog.Result();
}

std::string ChooseSetDestination(vx::Session& session, const std::string& proposedName, QWidget* parent) {
    FSetDialog dialog(session, FSetDialog::Mode::Save, parent);
    if (!proposedName.empty()) dialog.SetProposedName(QString::fromStdString(vx::SetNameFromPath(proposedName)));
    dialog.exec();
    return dialog.Result();
}

}  // namespace vxe
