#pragma once

#include <QList>
#include <QWidget>

#include <array>
#include <memory>

#include "core/catalogue/ItemKind.h"
#include "core/selection/BankView.h"
#include "editor/document/EditController.h"
#include "editor/document/EditMenuState.h"

class QAction;
class QKeySequence;
class QMenu;
class QTabWidget;

namespace vx {
class Session;
struct SetChange;
}  // namespace vx

namespace vxe {

class BankTabView;
class CallCache;
class FCheck;
class FReport;
class ShellServices;
class TabView;

// The window of one open set: six tabs (each a TabView: the bank grids, the lists, the KBD set
// grid), the menus that the main window shows while this window is active, and the edit
// controller that the Edit menu (the main window's, acting on the active window) reaches it
// through. It owns no item data; the views follow the set's changes themselves.
class FDoc : public QWidget {
    Q_OBJECT

public:
    FDoc(vx::Session& session, ShellServices& shell, int set, QWidget* parent = nullptr);
    ~FDoc() override;

    int SetNumber() const { return set_; }
    // Takes the caption and shows the tab of the ModeId setting, filling it even when it is
    // the tab already shown.
    void Fill();
    // File, Edit (the shell's, when it has one), Window, Utilities, Help.
    QList<QMenu*> Menus() const;
    // What the menu bar shows while this window is active: the menus, with Options, a command
    // of its own, between Edit and Window.
    QList<QAction*> MenuBarEntries() const;

    // An Alt+letter shortcut of a tab. Tabs take their letter first; when the tab is shown
    // already and a menu bar entry has the same letter, entry names that entry to open.
    struct MnemonicResult {
        bool handled = false;
        QAction* entry = nullptr;
    };
    MnemonicResult TakeMnemonic(const QKeySequence& key);
    // The keyboard focus goes to the grid or list of the tab shown.
    void FocusView();
    // Shows an item's tab (and bank) with the item selected, the window active.
    void ShowSlot(vx::ItemKind kind, int slot);
    // On a bank tab: shows the bank of that letter (empty: the one chosen), in twin view when
    // asked. False when the tab shown has no such bank or no twin view.
    bool ShowBank(const QString& letter, bool twin);
    // The width this window needs to show every column of its widest tab.
    int FullWidth() const;

    // What the status bar shows: the set's directory, the item selected, whether the tab's kind
    // has changes that are not saved.
    QString StatusDirectory() const;
    QString StatusItem() const;
    QString StatusDirty() const;
    // The caption is the set's name; the views are not filled while it is empty.
    void RefreshCaption();

    // HighCall and the window arrangement may have changed.
    void OnOptionsChanged();

    // Shows a number in its kind's grid: switches the bank (folding it in twin view) and
    // selects the number's cell.
    void GoToNumber(vx::BankedKind kind, int number);
    // The number of the current cell of a kind's grid, or -1.
    int CurrentNumber(vx::BankedKind kind) const;

    // What the Edit menu offers for the tab shown, its selected slot, the kind's clipboard and Undo.
    EditMenuFlags EditMenu() const;
    bool UndoAvailable() const;
    // The one entry point of the Edit menu's commands: runs one on the tab shown and its
    // selected slot.
    void RunEdit(EditCommand command);
    // Commands are enabled only once they are built.
    void SetBuiltCommands(const EditCommandSet& built);
    // Display Set Report: builds the report and shows it in a report window of its own.
    FReport* mnuUReport_Click();
    // Utilities, Check Set: the check window on this set.
    FCheck* mnuUCheck_Click();
    // File, Load SysEx File: a dump file back into this set.
    void mnuFLoadSysex_Click();

Q_SIGNALS:
    // The selected item, the tab or the set's changes are not what the status bar shows.
    void StatusChanged();
    // What EditMenu() answers may have changed.
    void EditMenuChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QAction* AddAction(QMenu* menu, const char* name, const QString& caption);

    void tabMode_Click(int tab);
    // A view's current position moved: on the tab shown, the Edit menu and the status follow.
    void View_CurrentChanged(const TabView& view);
    // The caption follows a rename and the changed marker.
    void Set_Changed(const vx::SetChange& change);
    void mnuUExPreset_Click();
    void mnuFClose_Click();
    void mnuFSave_Click(bool saveAs);
    void mnuWindow_Arrange(int mode);
    void StepTab(int step);

    int CurrentTab() const;
    TabView* Shown() const;
    BankTabView& Bank(vx::BankedKind kind) const { return *banks_[static_cast<std::size_t>(kind)]; }
    void ApplyUtilities(int tab);
    void ConnectMidiCommands();
    // The user style (0-47) of the style grid's current cell, or -1.
    int SelectedStyleSlot() const;
    void UpdateWindowChecks();

    vx::Session& session_;
    ShellServices& shell_;
    const int set_;
    std::unique_ptr<CallCache> calls_;

    QTabWidget* tabMode_ = nullptr;
    std::array<BankTabView*, 3> banks_{};
    EditController::Views views_{};
    EditController* edits_ = nullptr;

    QMenu* mnuFile_ = nullptr;
    QAction* mnuOptions_ = nullptr;
    QMenu* mnuWindow_ = nullptr;
    // The Window menu's entries of the open sets, made each time it opens.
    QList<QAction*> windowEntries_;
    QMenu* mnuUtil_ = nullptr;
    QMenu* mnuHelp_ = nullptr;
    std::array<QAction*, kUtilityCommandCount> utilityActions_{};
    QAction* mnuWCascade_ = nullptr;
    QAction* mnuWTile_ = nullptr;

    UtilityCommandSet builtUtilities_ = BuiltUtilityCommands();
    bool closed_ = false;
};

}  // namespace vxe
