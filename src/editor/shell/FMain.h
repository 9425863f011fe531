#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>

#include "core/catalogue/ItemKind.h"
#include "core/storage/Options.h"
#include "editor/shell/QtInteraction.h"
#include "editor/shell/ShellServices.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace vx {
class EditScheme;
class Session;
struct SetChange;
}  // namespace vx

namespace vxe {

class EditActions;
class FDoc;
class FAbout;
class FHelp;
class FLibrary;
class SetChangeSignal;
class SetWatcher;

// The main window: the frame of the document windows, the owner of the settings and the session.
class FMain : public QMainWindow, public ShellServices {
    Q_OBJECT
public:
    // settingsFile: an INI file to use instead of the user's store (empty: the user's store).
    explicit FMain(const QString& programDir, const QString& settingsFile = QString(), QWidget* parent = nullptr);
    ~FMain() override;

    const QString& ProgramDir() const { return programDir_; }
    vx::Options& Opts() { return options_; }
    QtInteraction& Ui() { return ui_; }
    vx::Session* Session() const { return session_.get(); }
    QMdiArea* MdiArea() const { return mdi_; }
    // The document window of an open set, or nullptr.
    FDoc* Doc(int set) const;

    // Start-up steps: read the settings, take over the session, set the captions.
    void LoadSettings();
    void AttachSession(std::unique_ptr<vx::Session> session);
    void SetCaption();
    // The settings go to the store once, when the program ends.
    bool SettingsWritten() const { return settingsWritten_; }

    // ShellServices
    void NewSet() override;
    void OpenSet() override;
    QStringList RecentSets() const override { return recentSets_; }
    void OpenRecentSet(const QString& directory) override;
    void Exit() override;
    void ShowHelpContents() override;
    void ShowTipOfTheDay() override;
    void ShowAbout() override;
    void ShowOptions() override;
    void Cascade() override;
    void Tile() override;
    void ArrangeIcons() override;
    bool HasLibrary() const override { return true; }
    void ShowLibrary() override;
    // The Library window, when it was shown.
    FLibrary* Library() const;
    // The index file the Library window opens: the one the settings keep, else the default.
    QString LibraryFile() const;
    // A library item's set, opened as File > Open does unless it is open already, with the
    // item selected in its tab.
    void OpenLibraryItem(const QString& setPath, vx::ItemKind kind, int slot);
    vx::EditScheme* Editing() override { return scheme_.get(); }
    QMenu* EditMenu() override;

    // Every set's window shows that bank of its bank tab (see FDoc::ShowBank); false when one
    // of them cannot.
    bool ShowBank(const QString& letter, bool twin);

    // The menu bar shows the active document's menus, or the main window's own.
    void RebuildMenus();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens and closes the sets' windows; the windows follow their own set's changes.
    void Session_Changed(const vx::SetChange& change);
    void OnSetOpened(int set);
    void OnSetClosed(int set);
    void CreateActions();
    void CreateStatusBar();
    void UpdateStatus();
    void ArrangeWindows();
    void TileWindows();
    void CascadeWindows();
    // The width of a set window that shows every column of its widest tab.
    int NeededWindowWidth() const;
    void SaveActiveSet();
    FDoc* ActiveDoc() const;
    // Keeps the directory that holds a set from disk: the set dialog starts there.
    void RememberSetDirectory(int set);
    QMdiSubWindow* SubWindowOf(const FDoc* doc) const;

    QString programDir_;
    QString settingsFile_;
    vx::Options options_;
    QtInteraction ui_;
    // After the options and the interaction it refers to, so that it goes first.
    std::unique_ptr<vx::Session> session_;
    // After the session, so that it goes first and lets go of the session's close handlers.
    std::unique_ptr<vx::EditScheme> scheme_;
    std::map<int, QPointer<FDoc>> docs_;
    SetChangeSignal* sessionChanges_ = nullptr;
    // Offers to reload an open set that another program changed on disk.
    SetWatcher* watcher_ = nullptr;
    // The one Edit menu, acting on the active document window.
    EditActions* editActions_ = nullptr;
    bool settingsLoaded_ = false;
    bool settingsWritten_ = false;

    QMdiArea* mdi_ = nullptr;
    QToolBar* picToolbar_ = nullptr;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    QAction* mnuFNew_ = nullptr;
    QAction* mnuFOpen_ = nullptr;
    QAction* mnuFExit_ = nullptr;
    QAction* mnuHTopics_ = nullptr;
    QAction* mnuHAbout_ = nullptr;
    QAction* tbNew_ = nullptr;
    QAction* tbOpen_ = nullptr;
    QAction* tbSave_ = nullptr;
    QLabel* statusDirectory_ = nullptr;
    QLabel* statusItem_ = nullptr;
    QLabel* statusDirty_ = nullptr;
    QPointer<FDoc> menuDoc_;
    QString lastSetParent_;
    QStringList recentSets_;
    QMenu* mnuFRecent_ = nullptr;
    bool mainMenusShown_ = false;
    QPointer<FHelp> help_;
    QPointer<FLibrary> library_;
    QString libraryFile_;
    QAction* mnuFLibrary_ = nullptr;
    QAction* tbLibrary_ = nullptr;
};

// How Tile places windows: columns side by side, each at least neededWidth wide where that
// fits (one column when not even one does), and rows one under the other.
struct TileGrid {
    int columns = 0;
    int rows = 0;
};
TileGrid TileGridFor(int windows, const QSize& area, int neededWidth);

// The program's icon, drawn rather than shipped: a small keyboard.
QIcon ProgramIcon();

}  // namespace vxe
