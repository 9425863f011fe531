#pragma once

#include <QString>
#include <QWidget>

#include <memory>

#include "core/catalogue/ItemKind.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace vx::library {
class Library;
}

namespace vxe {

class LibraryModel;
class LibraryScan;

// The Library window: every item of the sets under the user's folders, found by a part of its
// name as it is typed. A double-click (or Enter) opens an item's set; a row dragged onto a slot
// of a set window copies the item there. Rescan runs on a thread of its own with a progress bar
// and Cancel; the results follow when it ends.
class FLibrary : public QWidget {
    Q_OBJECT

public:
    // file: the index to open (created when missing).
    explicit FLibrary(const QString& file, QWidget* parent = nullptr);
    ~FLibrary() override;

    // False (the window says why) when the index could not be opened.
    bool Opened() const { return library_ != nullptr; }
    // Remembers a folder and rescans; false after telling why when it is not a directory.
    bool AddFolder(const QString& folder);
    // Starts a rescan; false while one is running or without an index.
    bool Rescan();
    bool Scanning() const;
    // Asks the rescan to stop after the set it is reading.
    void CancelScan();
    // Queries the index again for the text in the search field.
    void Refresh();

Q_SIGNALS:
    // Double-click or Enter on a row: open the item's set and show the item.
    void OpenAsked(const QString& setPath, vx::ItemKind kind, int slot);
    // A rescan ended and the results show what it found.
    void ScanFinished(bool cancelled);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RefreshFolders();
    void UpdateButtons();
    void cmdAddFolder_Click();
    void cmdRemoveFolder_Click();
    void Scan_Progress(int done, int total, const QString& current);
    void Scan_Finished(const QString& summary, bool cancelled);

    QString file_;
    std::unique_ptr<vx::library::Library> library_;
    LibraryModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
    LibraryScan* scan_ = nullptr;

    QLineEdit* txtFind_ = nullptr;
    QTableView* grdLib_ = nullptr;
    QListWidget* lstFolders_ = nullptr;
    QPushButton* cmdAddFolder_ = nullptr;
    QPushButton* cmdRemoveFolder_ = nullptr;
    QPushButton* cmdRescan_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* prgScan_ = nullptr;
    QLabel* lblCount_ = nullptr;
    QLabel* lblScan_ = nullptr;
};

// The index file, kept in the same store as the options (an INI file when settingsFile is
// given), group "Library", key "File"; the core's default file when none is kept, and the key
// left out when the file is the default.
QString ReadLibraryFile(const QString& settingsFile);
void WriteLibraryFile(const QString& settingsFile, const QString& file);

}  // namespace vxe
