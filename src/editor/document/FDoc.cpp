#include "editor/document/FDoc.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/changes/SetChange.h"
#include "core/editing/EditScheme.h"
#include "core/kinds/EditableKind.h"
#include "core/midi/MidiLink.h"
#include "core/midi/SysExRestore.h"
#include "core/presets/PresetCommands.h"
#include "core/reports/SetReport.h"
#include "core/reports/SubsetReport.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "editor/check/FCheck.h"
#include "editor/document/BankTabView.h"
#include "editor/document/KbdTabView.h"
#include "editor/document/SequenceListView.h"
#include "editor/document/ViewParts.h"
#include "editor/midi/MidiTransfer.h"
#include "editor/reports/FReport.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/ShellServices.h"
#include "editor/views/CallCache.h"
#include "editor/views/SetChangeSignal.h"

namespace vxe {

namespace {

bool IsBankedTab(int tab) { return tab >= 0 && tab <= 2; }

}  // namespace

FDoc::FDoc(vx::Session& session, ShellServices& shell, int set, QWidget* parent)
    : QWidget(parent), session_(session), shell_(shell), set_(set), calls_(std::make_unique<CallCache>(session, set)) {
    setObjectName("FDoc");

    // The calls are counted again before the views that show them refresh, and the caption
    // and the Edit menu follow once they have.
    auto* changes = new SetChangeSignal(session.Changes(), set, this);
    connect(changes, &SetChangeSignal::Changed, this, [this](const vx::SetChange& change) {
        for (int k = 0; k < vx::kSetKindCount; ++k)
            if (change.Names(vx::KindFromIndex(k)) && vx::KindCallsKind(vx::KindFromIndex(k), vx::ItemKind::Program))
                calls_->Invalidate();
    });
    for (vx::BankedKind kind : {vx::BankedKind::Arrangement, vx::BankedKind::Style, vx::BankedKind::Program}) {
        banks_[static_cast<std::size_t>(kind)] = new BankTabView(session, set, kind, *calls_, this);
        views_[static_cast<std::size_t>(kind)] = banks_[static_cast<std::size_t>(kind)];
    }
    auto* bsq = new SequenceListView(session, set, vx::ItemKind::BackingSequence, this);
    auto* sng = new SequenceListView(session, set, vx::ItemKind::Song, this);
    bsq->ShareCounters(*sng);
    sng->ShareCounters(*bsq);
    views_[3] = bsq;
    views_[4] = sng;
    views_[5] = new KbdTabView(session, shell, set, this);
    for (TabView* view : views_) {
        connect(changes, &SetChangeSignal::Changed, view, &TabView::Refresh);
        connect(view, &TabView::CurrentChanged, this, [this, view] { View_CurrentChanged(*view); });
        connect(view, &TabView::StatusChanged, this, [this] { Q_EMIT StatusChanged(); });
    }
    connect(changes, &SetChangeSignal::Changed, this, &FDoc::Set_Changed);
    edits_ = new EditController(
        session, shell, set, views_, [this] { return CurrentTab(); }, this);
    connect(changes, &SetChangeSignal::Changed, edits_, &EditController::Follow);
    connect(edits_, &EditController::MenuChanged, this, &FDoc::EditMenuChanged);

    tabMode_ = new QTabWidget(this);
    tabMode_->setObjectName("tabMode");
    const char* captions[kTabCount] = {"&Arrangements", "&Styles", "&Programs", "&Backing Seq", "S&ongs", "&KBD Sets"};
    for (int tab = 0; tab < kTabCount; ++tab)
        tabMode_->addTab(views_[static_cast<std::size_t>(tab)]->Page(), captions[tab]);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabMode_);

    // Ctrl+Tab changes tabs (the frame would otherwise take it to change windows).
    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this, [this] { StepTab(1); });
    // Shift+Tab arrives as Backtab or as Tab depending on the window system's key map; each
    // spelling is this one shortcut's, so a key that matches two of them still steps back.
    auto* previousTab = new QShortcut(this);
    previousTab->setKeys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_Backtab)});
    connect(previousTab, &QShortcut::activated, this, [this] { StepTab(-1); });
    connect(previousTab, &QShortcut::activatedAmbiguously, this, [this] { StepTab(-1); });
    nextTab->setContext(Qt::WidgetWithChildrenShortcut);
    previousTab->setContext(Qt::WidgetWithChildrenShortcut);

    BuildMenus();
    ApplyUtilities(0);

    connect(tabMode_, &QTabWidget::currentChanged, this, [this](int tab) { tabMode_Click(tab); });
}

FDoc::~FDoc() = default;

QAction* FDoc::AddAction(QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    menu->addAction(action);
    return action;
}

void FDoc::BuildMenus() {
    auto newMenu = [this](const char* name, const QString& caption) {
        auto* menu = new QMenu(caption, this);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(QString(name) + "_menu");
        return menu;
    };

    mnuFile_ = newMenu("mnuFile", "&File");
    QAction* fNew = AddAction(mnuFile_, "mnuFNew", "&New");
    QAction* fOpen = AddAction(mnuFile_, "mnuFOpen", "&Open...");
    auto* recent = newMenu("mnuFRecent", "&Recent Sets");
    mnuFile_->addMenu(recent);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecentSetsMenu(*recent, shell_); });
    QAction* fClose = AddAction(mnuFile_, "mnuFClose", "&Close");
    QAction* fSave = AddAction(mnuFile_, "mnuFSave", "&Save");
    QAction* fSaveAs = AddAction(mnuFile_, "mnuFSaveAs", "Sa&ve As...");
    mnuFile_->addSeparator();
    QAction* fLoadSysex = AddAction(mnuFile_, "mnuFLoadSysex", "&Load SysEx File...");
    // A dump is written through the edit commands; without them the entry stays off.
    fLoadSysex->setEnabled(shell_.Editing() != nullptr);
    connect(fLoadSysex, &QAction::triggered, this, [this] { mnuFLoadSysex_Click(); });
    mnuFile_->addSeparator();
    QAction* fExit = AddAction(mnuFile_, "mnuFExit", "E&xit");
    // The frame's own New and Exit are out of reach while a set's menus are shown.
    fNew->setShortcut(QKeySequence::New);
    // Ctrl+Q on every platform: some have no standard key for Quit.
    fExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    fOpen->setShortcut(QKeySequence::Open);
    // Both keys on every platform: the standard close key is only one of them under X11.
    fClose->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::CTRL | Qt::Key_F4)});
    fSave->setShortcut(QKeySequence::Save);
    connect(fNew, &QAction::triggered, this, [this] { shell_.NewSet(); });
    connect(fOpen, &QAction::triggered, this, [this] { shell_.OpenSet(); });
    connect(fClose, &QAction::triggered, this, [this] { mnuFClose_Click(); });
    connect(fSave, &QAction::triggered, this, [this] { mnuFSave_Click(false); });
    connect(fSaveAs, &QAction::triggered, this, [this] { mnuFSave_Click(true); });
    connect(fExit, &QAction::triggered, this, [this] { shell_.Exit(); });

    // An entry of the menu bar itself: choosing it opens the options dialog, no popup.
    mnuOptions_ = new QAction("&Options", this);
    mnuOptions_->setObjectName("mnuOptions");
    connect(mnuOptions_, &QAction::triggered, this, [this] { shell_.ShowOptions(); });

    mnuWindow_ = newMenu("mnuWindow", "&Window");
    mnuWCascade_ = AddAction(mnuWindow_, "mnuWCascade", "&Cascade");
    mnuWTile_ = AddAction(mnuWindow_, "mnuWTile", "&Tile");
    QAction* arrange = AddAction(mnuWindow_, "mnuWArrange", "&Arrange Icons");
    if (shell_.HasLibrary()) {
        QAction* library = AddAction(mnuWindow_, "mnuWLibrary", "&Library...");
        library->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
        connect(library, &QAction::triggered, this, [this] { shell_.ShowLibrary(); });
    }
    mnuWCascade_->setCheckable(true);
    mnuWTile_->setCheckable(true);
    connect(mnuWCascade_, &QAction::triggered, this, [this] { mnuWindow_Arrange(0); });
    connect(mnuWTile_, &QAction::triggered, this, [this] { mnuWindow_Arrange(1); });
    connect(arrange, &QAction::triggered, this, [this] { shell_.ArrangeIcons(); });
    connect(mnuWindow_, &QMenu::aboutToShow, this, [this] { UpdateWindowChecks(); });
    UpdateWindowChecks();

    mnuUtil_ = newMenu("mnuUtil", "&Utilities");
    auto utility = [this](UtilityCommand command, const char* name, const QString& caption) {
        utilityActions_[UtilityIndex(command)] = AddAction(mnuUtil_, name, caption);
    };
    utility(UtilityCommand::Report, "mnuUReport", "Display Set &Report");
    utility(UtilityCommand::SubsetReport, "mnuUSSRep", "Create Su&bset Report File...");
    utility(UtilityCommand::UpdatePreset, "mnuUSwapPreset", "Update &Preset Data...");
    utility(UtilityCommand::ExportPreset, "mnuUExPreset", "E&xport to Preset File...");
    QAction* check = AddAction(mnuUtil_, "mnuUCheck", "&Check Set...");
    connect(check, &QAction::triggered, this, [this] { mnuUCheck_Click(); });
    mnuUtil_->addSeparator();
    utility(UtilityCommand::MidiSetup, "mnuUMidStup", "&MIDI Setup...");
    utility(UtilityCommand::Send, "mnuUMidSend", "Send to &" + QString::fromLatin1(vx::kInstrumentName.data()));
    utility(UtilityCommand::SysexToFile, "mnuUSysex2File", "Send SysE&x to File...");
    connect(utilityActions_[UtilityIndex(UtilityCommand::Report)], &QAction::triggered, this,
            [this] { mnuUReport_Click(); });
    connect(utilityActions_[UtilityIndex(UtilityCommand::SubsetReport)], &QAction::triggered, this,
            [this] { vx::CreateSubsetReportFile(session_, set_, CurrentTab()); });
    connect(utilityActions_[UtilityIndex(UtilityCommand::UpdatePreset)], &QAction::triggered, this,
            [this] { vx::UpdatePresetArrangements(session_, set_); });
    connect(utilityActions_[UtilityIndex(UtilityCommand::ExportPreset)], &QAction::triggered, this,
            [this] { mnuUExPreset_Click(); });
    for (int i = 0; i < kUtilityCommandCount; ++i)
        utilityActions_[static_cast<std::size_t>(i)]->setEnabled(builtUtilities_.test(static_cast<std::size_t>(i)));
    ConnectMidiCommands();

    mnuHelp_ = newMenu("mnuHelp", "&Help");
    QAction* topics = AddAction(mnuHelp_, "mnuHTopics", "&Contents");
    topics->setShortcut(QKeySequence::HelpContents);
    mnuHelp_->addSeparator();
    QAction* tips = AddAction(mnuHelp_, "mnuHTips", "Ti&p of the Day...");
    mnuHelp_->addSeparator();
    QAction* about = AddAction(mnuHelp_, "mnuHAbout", "&About this File Editor...");
    connect(topics, &QAction::triggered, this, [this] { shell_.ShowHelpContents(); });
    connect(tips, &QAction::triggered, this, [this] { shell_.ShowTipOfTheDay(); });
    connect(about, &QAction::triggered, this, [this] { shell_.ShowAbout(); });
}

QList<QMenu*> FDoc::Menus() const {
    QList<QMenu*> menus{mnuFile_, mnuWindow_, mnuUtil_, mnuHelp_};
    if (QMenu* edit = shell_.EditMenu()) menus.insert(1, edit);
    return menus;
}

QList<QAction*> FDoc::MenuBarEntries() const {
    QList<QAction*> entries{mnuFile_->menuAction(), mnuOptions_, mnuWindow_->menuAction(), mnuUtil_->menuAction(),
                            mnuHelp_->menuAction()};
    if (QMenu* edit = shell_.EditMenu()) entries.insert(1, edit->menuAction());
    return entries;
}

void FDoc::RefreshCaption() {
    if (!session_.Sets().IsOpen(set_)) return;
    // The frame shows the modified marker in place of [*] while any kind has changes.
    setWindowTitle(QString::fromStdString(session_.Slot(set_).name) + "[*]");
    setWindowModified(session_.Slot(set_).AnyDirty());
    Q_EMIT StatusChanged();
}

FDoc::MnemonicResult FDoc::TakeMnemonic(const QKeySequence& key) {
    int tab = -1;
    for (int i = 0; i < tabMode_->count() && tab < 0; ++i)
        if (QKeySequence::mnemonic(tabMode_->tabText(i)) == key) tab = i;
    QAction* entry = nullptr;
    for (QAction* action : MenuBarEntries())
        if (!entry && QKeySequence::mnemonic(action->text()) == key) entry = action;
    if (tab < 0) return {false, nullptr};
    // A key that a tab shares with a menu bar entry shows the tab first, and reaches the
    // entry when that tab is already shown.
    if (tab != CurrentTab() || entry == nullptr) {
        tabMode_->setCurrentIndex(tab);
        FocusView();
        return {true, nullptr};
    }
    return {true, entry};
}

void FDoc::StepTab(int step) {
    tabMode_->setCurrentIndex((CurrentTab() + step + kTabCount) % kTabCount);
    FocusView();
}

QString FDoc::StatusDirectory() const {
    return session_.Sets().IsOpen(set_)
               ? QDir::toNativeSeparators(QString::fromStdString(session_.Slot(set_).directory))
               : QString();
}

QString FDoc::StatusDirty() const {
    const int tab = CurrentTab();
    if (!session_.Sets().IsOpen(set_) || tab < 0 || tab >= kTabCount) return {};
    const vx::ItemKind kind = vx::KindFromIndex(tab);
    const std::string_view name = vx::KindName(kind);
    const bool dirty = session_.Slot(set_).dirty[static_cast<std::size_t>(vx::KindIndex(kind))];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())) +
           (dirty ? ": changed, not saved" : ": saved");
}

void FDoc::Fill() {
    // A window may be filled again for a set opened under its number.
    closed_ = false;
    calls_->Invalidate();
    RefreshCaption();
    const int tab = std::clamp(session_.Opts().ModeId, 0, kTabCount - 1);
    if (tabMode_->currentIndex() == tab)
        tabMode_Click(tab);
    else
        tabMode_->setCurrentIndex(tab);
}

void FDoc::Set_Changed(const vx::SetChange& change) {
    switch (change.what) {
        case vx::SetChange::What::Items:
        case vx::SetChange::What::Renamed:
            RefreshCaption();
            break;
        default:
            break;
    }
}

int FDoc::CurrentTab() const { return tabMode_->currentIndex(); }

TabView* FDoc::Shown() const {
    const int tab = CurrentTab();
    return tab >= 0 && tab < kTabCount ? views_[static_cast<std::size_t>(tab)] : nullptr;
}

void FDoc::tabMode_Click(int tab) {
    // Nothing to show while the set is being opened.
    if (windowTitle().isEmpty() || tab < 0 || tab >= kTabCount) return;
    session_.Opts().ModeId = tab;
    edits_->SetState(EditState::None);
    ApplyUtilities(tab);
    TabView& view = *views_[static_cast<std::size_t>(tab)];
    view.Show();
    edits_->SetState(view.State());
    FocusView();
    Q_EMIT StatusChanged();
}

void FDoc::View_CurrentChanged(const TabView& view) {
    if (Shown() != &view || windowTitle().isEmpty()) return;
    edits_->SetState(view.State());
    Q_EMIT StatusChanged();
}

void FDoc::FocusView() {
    if (TabView* view = Shown()) view->MainView()->setFocus(Qt::OtherFocusReason);
}

bool FDoc::ShowBank(const QString& letter, bool twin) {
    const int tab = CurrentTab();
    return IsBankedTab(tab) && banks_[static_cast<std::size_t>(tab)]->ShowBank(letter, twin);
}

int FDoc::FullWidth() const {
    // The widest tab at the grids' own font size: a bank grid with room for a scroll bar (twin
    // view), the styles with their free events beside them, or the KBD sets.
    int widest = 0;
    for (const TabView* view : views_) widest = std::max(widest, view->FullWidth());
    // The tab page's margins and the tab frame.
    return widest + 2 * kPageMargin + 4;
}

QString FDoc::StatusItem() const {
    const TabView* view = Shown();
    return view != nullptr ? view->StatusItem() : QString();
}

int FDoc::CurrentNumber(vx::BankedKind kind) const { return Bank(kind).CurrentNumber(); }

void FDoc::GoToNumber(vx::BankedKind kind, int number) { Bank(kind).GoToNumber(number); }

void FDoc::ShowSlot(vx::ItemKind kind, int slot) {
    const int tab = vx::KindIndex(kind);
    const vx::EditableKind* d = vx::EditableKindOf(kind);
    if (!d || tab < 0 || tab >= kTabCount || slot < 0 || slot >= d->SlotCount()) return;
    tabMode_->setCurrentIndex(tab);
    views_[static_cast<std::size_t>(tab)]->SelectSlot(slot);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
    }
    FocusView();
}

EditMenuFlags FDoc::EditMenu() const { return edits_->Menu(); }
bool FDoc::UndoAvailable() const { return edits_->UndoAvailable(); }
void FDoc::RunEdit(EditCommand command) { edits_->Run(command); }
void FDoc::SetBuiltCommands(const EditCommandSet& built) { edits_->SetBuiltCommands(built); }

int FDoc::SelectedStyleSlot() const { return vx::StyUserIndexOf(CurrentNumber(vx::BankedKind::Style)); }

void FDoc::ApplyUtilities(int tab) {
    for (int i = 0; i < kUtilityCommandCount; ++i)
        utilityActions_[static_cast<std::size_t>(i)]->setVisible(UtilityVisible(static_cast<UtilityCommand>(i), tab));
    // The other entries keep the state their own commands give them (Send follows the instrument).
    utilityActions_[UtilityIndex(UtilityCommand::SubsetReport)]->setEnabled(
        UtilityEnabled(UtilityCommand::SubsetReport, tab, builtUtilities_));
}

FReport* FDoc::mnuUReport_Click() {
    auto* report = new FReport(session_, set_, vx::CreateSetReport(session_, set_, vx::ReportDateNow()), this);
    report->show();
    return report;
}

FCheck* FDoc::mnuUCheck_Click() {
    auto* window = new FCheck(session_, set_, this);
    connect(window, &FCheck::ItemChosen, this, [this](vx::ItemKind kind, int slot) { ShowSlot(kind, slot); });
    window->show();
    return window;
}

void FDoc::mnuFLoadSysex_Click() {
    vx::EditScheme* scheme = shell_.Editing();
    if (scheme == nullptr) return;
    const auto kind = vx::LoadSysExFile(session_, *scheme, set_);
    // The tab of what came back, so the user sees it.
    if (kind && vx::KindIndex(*kind) < kTabCount) tabMode_->setCurrentIndex(vx::KindIndex(*kind));
}

void FDoc::mnuUExPreset_Click() {
    const int tab = CurrentTab();
    if (tab != 0 && tab != 2) return;
    const auto kind = static_cast<vx::BankedKind>(tab);
    vx::ExportToPresetFile(session_, set_, kind, Bank(kind).ChosenBank());
}

void FDoc::OnOptionsChanged() {
    UpdateWindowChecks();
    for (TabView* view : views_) view->TakeOptions();
}

void FDoc::ConnectMidiCommands() {
    QAction* send = utilityActions_[UtilityIndex(UtilityCommand::Send)];
    // Send stays enabled exactly while an instrument is detected, once a setup has run.
    connect(utilityActions_[UtilityIndex(UtilityCommand::MidiSetup)], &QAction::triggered, this,
            [this, send] { send->setEnabled(RunMidiSetup(session_, this)); });
    connect(send, &QAction::triggered, this, [this, send] {
        SendKindToInstrument(session_, set_, vx::KindFromIndex(CurrentTab()), SelectedStyleSlot(), this);
        send->setEnabled(ProgramMidiLink(session_.Ui()).ready);
    });
    connect(utilityActions_[UtilityIndex(UtilityCommand::SysexToFile)], &QAction::triggered, this,
            [this] { SendKindToSysExFile(session_, set_, vx::KindFromIndex(CurrentTab()), SelectedStyleSlot()); });
}

void FDoc::UpdateWindowChecks() {
    mnuWCascade_->setChecked(session_.Opts().WArrangeMode == 0);
    mnuWTile_->setChecked(session_.Opts().WArrangeMode == 1);
    // Below the arranging entries, one entry for each open set; the active one is checked.
    for (QAction* entry : windowEntries_) delete entry;
    windowEntries_.clear();
    auto* own = qobject_cast<QMdiSubWindow*>(parentWidget());
    QMdiArea* area = own ? own->mdiArea() : nullptr;
    if (!area) return;
    windowEntries_.append(mnuWindow_->addSeparator());
    int number = 0;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
        title.remove(QStringLiteral("[*]"));
        auto* entry = mnuWindow_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(title));
        entry->setObjectName(QStringLiteral("mnuWSet_%1").arg(number));
        entry->setCheckable(true);
        entry->setChecked(sub == area->currentSubWindow());
        connect(entry, &QAction::triggered, area, [area, window = QPointer<QMdiSubWindow>(sub)] {
            if (window) area->setActiveSubWindow(window);
        });
        windowEntries_.append(entry);
    }
}

void FDoc::mnuWindow_Arrange(int mode) {
    session_.Opts().WArrangeMode = mode;
    UpdateWindowChecks();
    if (mode == 0)
        shell_.Cascade();
    else
        shell_.Tile();
}

void FDoc::mnuFClose_Click() {
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->close();
            return;
        }
    }
    close();
}

void FDoc::mnuFSave_Click(bool saveAs) {
    if (saveAs)
        session_.SaveAs(set_);
    else
        session_.Save(set_);
    // The marker and the status follow what was saved, also when the save was cancelled.
    RefreshCaption();
}

void FDoc::closeEvent(QCloseEvent* event) {
    if (closed_ || !session_.Sets().IsOpen(set_)) {
        event->accept();
        return;
    }
    if (!session_.QueryClose(set_)) {
        event->ignore();
        return;
    }
    closed_ = true;
    session_.CloseSet(set_);
    event->accept();
}

}  // namespace vxe
