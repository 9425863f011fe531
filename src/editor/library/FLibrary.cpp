#include "editor/library/FLibrary.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "core/library/Library.h"
#include "editor/library/LibraryModel.h"
#include "editor/library/LibraryScan.h"

namespace vxe {

namespace {

template <typename T>
T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString CountText(int items, int sets) {
    if (items == 0) return QStringLiteral("No items");
    const QString itemText = items == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(items);
    return itemText + (sets == 1 ? QStringLiteral(" in 1 set") : QStringLiteral(" in %1 sets").arg(sets));
}

}  // namespace

FLibrary::FLibrary(const QString& file, QWidget* parent) : QWidget(parent, Qt::Window), file_(file) {
    setObjectName(QStringLiteral("FLibrary"));
    setWindowTitle(QStringLiteral("Library"));

    lstFolders_ = Named(new QListWidget(this), "lstFolders");
    lstFolders_->setToolTip(QStringLiteral("The folders searched for sets"));
    lstFolders_->setMaximumHeight(lstFolders_->fontMetrics().height() * 5);
    cmdAddFolder_ = Named(new QPushButton(QStringLiteral("&Add Folder..."), this), "cmdAddFolder");
    cmdRemoveFolder_ = Named(new QPushButton(QStringLiteral("Re&move Folder"), this), "cmdRemoveFolder");
    cmdRescan_ = Named(new QPushButton(QStringLiteral("&Rescan"), this), "cmdRescan");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdAddFolder_);
    buttons->addWidget(cmdRemoveFolder_);
    buttons->addWidget(cmdRescan_);
    buttons->addStretch();
    auto* folders = new QHBoxLayout;
    folders->addWidget(lstFolders_, 1);
    folders->addLayout(buttons);

    txtFind_ = Named(new QLineEdit(this), "txtFind");
    txtFind_->setPlaceholderText(QStringLiteral("Find items by a part of their name"));
    txtFind_->setClearButtonEnabled(true);
    auto* findLabel = new QLabel(QStringLiteral("&Find:"), this);
    findLabel->setBuddy(txtFind_);
    auto* find = new QHBoxLayout;
    find->addWidget(findLabel);
    find->addWidget(txtFind_, 1);

    model_ = new LibraryModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(LibraryModel::kSortRole);
    grdLib_ = Named(new QTableView(this), "grdLib");
    grdLib_->setModel(sorted_);
    grdLib_->setSortingEnabled(true);
    grdLib_->sortByColumn(LibraryModel::Name, Qt::AscendingOrder);
    grdLib_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLib_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLib_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLib_->setDragEnabled(true);
    grdLib_->setDragDropMode(QAbstractItemView::DragOnly);
    grdLib_->setDefaultDropAction(Qt::CopyAction);
    grdLib_->verticalHeader()->hide();
    grdLib_->horizontalHeader()->setStretchLastSection(true);
    grdLib_->setWordWrap(false);
    grdLib_->verticalHeader()->setDefaultSectionSize(grdLib_->fontMetrics().height() + 6);
    // Wide enough for what each column holds: a set's name, a label, a name of 16 characters.
    const int digit = grdLib_->fontMetrics().horizontalAdvance(QLatin1Char('M'));
    const int widths[LibraryModel::ColumnCount] = {10, 4, 13, 9, 8, 10};
    for (int column = 0; column < LibraryModel::ColumnCount; ++column)
        grdLib_->setColumnWidth(column, widths[column] * digit);

    lblCount_ = Named(new QLabel(this), "lblCount");
    lblScan_ = Named(new QLabel(this), "lblScan");
    prgScan_ = Named(new QProgressBar(this), "prgScan");
    cmdCancel_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    prgScan_->hide();
    cmdCancel_->hide();
    auto* status = new QHBoxLayout;
    status->addWidget(lblCount_, 1);
    status->addWidget(lblScan_);
    status->addWidget(prgScan_);
    status->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folders);
    layout->addLayout(find);
    layout->addWidget(grdLib_, 1);
    layout->addLayout(status);
    resize(760, 520);

    scan_ = new LibraryScan(this);
    connect(scan_, &LibraryScan::Progress, this, &FLibrary::Scan_Progress);
    connect(scan_, &LibraryScan::Finished, this, &FLibrary::Scan_Finished);
    connect(txtFind_, &QLineEdit::textChanged, this, [this] { Refresh(); });
    connect(grdLib_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        const QModelIndex row = sorted_->mapToSource(index);
        if (!row.isValid()) return;
        const auto& item = model_->Item(row.row());
        Q_EMIT OpenAsked(QString::fromStdString(item.setPath), item.kind, item.slot);
    });
    connect(lstFolders_, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(cmdAddFolder_, &QPushButton::clicked, this, [this] { cmdAddFolder_Click(); });
    connect(cmdRemoveFolder_, &QPushButton::clicked, this, [this] { cmdRemoveFolder_Click(); });
    connect(cmdRescan_, &QPushButton::clicked, this, [this] { Rescan(); });
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { CancelScan(); });

    std::string error;
    QDir().mkpath(QFileInfo(file_).absolutePath());
    library_ = vx::library::Library::Open(file_.toStdString(), error);
    if (!library_)
        lblCount_->setText(QStringLiteral("The library %1 could not be opened: %2")
                               .arg(QDir::toNativeSeparators(file_), QString::fromStdString(error)));
    RefreshFolders();
    Refresh();
    UpdateButtons();
}

FLibrary::~FLibrary() = default;

bool FLibrary::Scanning() const { return scan_->Running(); }

void FLibrary::CancelScan() {
    if (!scan_->Running()) return;
    scan_->Cancel();
    lblScan_->setText(QStringLiteral("Cancelling..."));
    cmdCancel_->setEnabled(false);
}

void FLibrary::Refresh() {
    if (!library_) return;
    vx::library::FindQuery query;
    query.text = txtFind_->text().trimmed().toStdString();
    model_->SetItems(library_->Find(query));
    lblCount_->setText(CountText(model_->rowCount(), model_->SetCount()));
}

void FLibrary::RefreshFolders() {
    lstFolders_->clear();
    if (!library_) return;
    for (const std::string& folder : library_->Folders()) {
        auto* entry = new QListWidgetItem(QDir::toNativeSeparators(QString::fromStdString(folder)), lstFolders_);
        // Removed by the path as the index keeps it.
        entry->setData(Qt::UserRole, QString::fromStdString(folder));
    }
}

void FLibrary::UpdateButtons() {
    // The index takes one writer at a time: the folders stay as they are while a scan runs.
    const bool idle = library_ != nullptr && !scan_->Running();
    cmdAddFolder_->setEnabled(idle);
    cmdRemoveFolder_->setEnabled(idle && lstFolders_->currentItem() != nullptr &&
                                 !lstFolders_->selectedItems().isEmpty());
    cmdRescan_->setEnabled(idle && lstFolders_->count() > 0);
    txtFind_->setEnabled(library_ != nullptr);
}

bool FLibrary::AddFolder(const QString& folder) {
    if (!library_ || scan_->Running()) return false;
    std::string error;
    if (!library_->AddFolder(QDir::fromNativeSeparators(folder).toStdString(), error)) {
        QMessageBox::warning(this, QStringLiteral("Add Folder"), QString::fromStdString(error));
        return false;
    }
    RefreshFolders();
    UpdateButtons();
    return Rescan();
}

void FLibrary::cmdAddFolder_Click() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QStringLiteral("Add a folder of sets"), QDir::homePath());
    if (!folder.isEmpty()) AddFolder(folder);
}

void FLibrary::cmdRemoveFolder_Click() {
    QListWidgetItem* chosen = lstFolders_->currentItem();
    if (!library_ || !chosen || scan_->Running()) return;
    library_->RemoveFolder(chosen->data(Qt::UserRole).toString().toStdString());
    RefreshFolders();
    Refresh();
    UpdateButtons();
}

bool FLibrary::Rescan() {
    if (!library_ || !scan_->Start(file_.toStdString())) return false;
    prgScan_->setRange(0, 0);
    prgScan_->show();
    cmdCancel_->setEnabled(true);
    cmdCancel_->show();
    lblScan_->setText(QStringLiteral("Looking for sets..."));
    UpdateButtons();
    return true;
}

void FLibrary::Scan_Progress(int done, int total, const QString& current) {
    prgScan_->setRange(0, std::max(total, 1));
    prgScan_->setValue(done);
    if (cmdCancel_->isEnabled())
        lblScan_->setText(QStringLiteral("Reading %1 (%2 of %3)").arg(current).arg(done + 1).arg(total));
}

void FLibrary::Scan_Finished(const QString& summary, bool cancelled) {
    prgScan_->hide();
    cmdCancel_->hide();
    lblScan_->setText(summary);
    RefreshFolders();
    Refresh();
    UpdateButtons();
    Q_EMIT ScanFinished(cancelled);
}

void FLibrary::closeEvent(QCloseEvent* event) {
    // A scan does not outlive the window that shows it.
    CancelScan();
    QWidget::closeEvent(event);
}

QString ReadLibraryFile(const QString& settingsFile) {
    const std::unique_ptr<QSettings> store(settingsFile.isEmpty() ? new QSettings()
                                                                  : new QSettings(settingsFile, QSettings::IniFormat));
    const QString kept = store->value(QStringLiteral("Library/File")).toString();
    return kept.isEmpty() ? QString::fromStdString(vx::library::Library::DefaultFile().string()) : kept;
}

void WriteLibraryFile(const QString& settingsFile, const QString& file) {
    const std::unique_ptr<QSettings> store(settingsFile.isEmpty() ? new QSettings()
                                                                  : new QSettings(settingsFile, QSettings::IniFormat));
    // The default is not written down: it follows XDG_DATA_HOME.
    if (file == QString::fromStdString(vx::library::Library::DefaultFile().string()))
        store->remove(QStringLiteral("Library/File"));
    else
        store->setValue(QStringLiteral("Library/File"), file);
}

}  // namespace vxe
