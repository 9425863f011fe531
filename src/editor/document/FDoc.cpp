#include "editor/document/FDoc.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "core/catalogue/Catalogue.h"
#include "core/editing/EditScheme.h"
#include "core/editing/KbdSetChoices.h"
#include "core/editing/XStyleFiles.h"
#include "core/midi/MidiLink.h"
#include "core/midi/SysExRestore.h"
#include "core/presets/PresetCommands.h"
#include "core/reports/SetReport.h"
#include "core/reports/SubsetReport.h"
#include "core/selection/ItemNumbers.h"
#include "core/sequences/SequenceFiles.h"
#include "core/storage/Session.h"
#include "editor/check/FCheck.h"
#include "editor/details/Details.h"
#include "editor/midi/MidiTransfer.h"
#include "editor/reports/FReport.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/ShellServices.h"
#include "editor/views/BankGridModel.h"
#include "editor/views/CallCache.h"
#include "editor/views/ColumnFitter.h"
#include "editor/views/FreeEventsModel.h"
#include "editor/views/KbdGridModel.h"
#include "editor/views/SequenceListModel.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {

constexpr int kTabCount = 6;
constexpr int kRowTwips = 240;
// Room around a tab page's content, and between a grid and the one beside it.
constexpr int kPageMargin = 4;
constexpr int kGridSpacing = 6;
// Room that a grid or list leaves between its frame and an item's text.
constexpr int kCellTextMargin = 3;
constexpr int kColumnTwips = 2925;
constexpr int kStyleColumnTwips = 2730;
constexpr int kKbdRows = 16;

// What a cell's text needs: "C11 " + name + " (C12)U", "C11 " + name + ":-294", "F11 " + name.
int CellChars(vx::BankedKind kind) {
    switch (kind) {
        case vx::BankedKind::Arrangement:
            return 27;
        case vx::BankedKind::Style:
            return 25;
        case vx::BankedKind::Program:
            return 20;
    }
    return 20;
}

// The bank shown when a window opens: the kind's first user bank.
int FirstUserBank(vx::BankedKind kind) { return kind == vx::BankedKind::Program ? 5 : 2; }

// The names and tip of a banked tab's controls, by kind.
struct BankedTabNames {
    const char* combo;
    const char* tip;
    const char* grid;
};
BankedTabNames NamesOf(vx::BankedKind kind) {
    static const BankedTabNames names[] = {
        {"cboArrBnk", "Select Arrangement Bank here", "grdArr"},
        {"cboStyBnk", "Select Style Bank here", "grdSty"},
        {"cboPrgBnk", "Select Program Bank here", "grdPrg"},
    };
    return names[static_cast<int>(kind)];
}

QFont FixedFont() { return FixedPitchFont(); }

QTableView* NewGrid(const char* name, QWidget* parent) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setFont(FixedFont());
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    // Tab moves on to the next control (the bank box, Twin View), as in every other window.
    grid->setTabKeyNavigation(false);
    return grid;
}

bool IsBankedTab(int tab) { return tab >= 0 && tab <= 2; }

// Enter on the current cell or line does what a double-click on it does.
template <typename Handler>
void OnDoubleClickOrEnter(QAbstractItemView* view, QObject* context, Handler handler) {
    QObject::connect(view, &QAbstractItemView::doubleClicked, context, handler);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), view);
        shortcut->setContext(Qt::WidgetShortcut);
        QObject::connect(shortcut, &QShortcut::activated, context, [view, handler] {
            if (view->currentIndex().isValid()) handler(view->currentIndex());
        });
    }
}

}  // namespace

FDoc::FDoc(vx::Session& session, ShellServices& shell, int set, QWidget* parent)
    : QWidget(parent),
      session_(session),
      shell_(shell),
      set_(set),
      calls_(std::make_unique<CallCache>(session, set)),
      built_(BuiltEditCommands(shell.Editing() != nullptr)) {
    setObjectName("FDoc");

    tabMode_ = new QTabWidget(this);
    tabMode_->setObjectName("tabMode");
    tabMode_->addTab(BuildBankTab(vx::BankedKind::Arrangement), "&Arrangements");
    tabMode_->addTab(BuildBankTab(vx::BankedKind::Style), "&Styles");
    tabMode_->addTab(BuildBankTab(vx::BankedKind::Program), "&Programs");
    tabMode_->addTab(BuildListTab(vx::ItemKind::BackingSequence), "&Backing Seq");
    tabMode_->addTab(BuildListTab(vx::ItemKind::Song), "S&ongs");
    tabMode_->addTab(BuildKbdTab(), "&KBD Sets");
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
    SetUndoAvailable(false);
    ApplyUtilities(0);

    connect(tabMode_, &QTabWidget::currentChanged, this, [this](int tab) { tabMode_Click(tab); });
}

FDoc::~FDoc() = default;

QWidget* FDoc::BuildBankTab(vx::BankedKind kind) {
    const int k = static_cast<int>(kind);
    auto* page = new QWidget;
    BankTab& tab = Bank(kind);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel("Bank", page);
    tab.combo = new QComboBox(page);
    tab.combo->setObjectName(NamesOf(kind).combo);
    tab.combo->setToolTip(NamesOf(kind).tip);
    for (int bank = 0; bank < vx::BankCount(k); ++bank) {
        const std::string_view letter = vx::BankLetter(k, bank);
        tab.combo->addItem(QString::fromLatin1(letter.data(), static_cast<qsizetype>(letter.size())),
                           vx::BankLastIndex(k, bank));
    }
    tab.combo->setCurrentIndex(FirstUserBank(kind));
    label->setBuddy(tab.combo);
    top->addWidget(label);
    top->addWidget(tab.combo);
    if (kind != vx::BankedKind::Style) {
        tab.twin = new QCheckBox("Twin View", page);
        tab.twin->setObjectName(kind == vx::BankedKind::Arrangement ? "chkTwin_0" : "chkTwin_2");
        top->addWidget(tab.twin);
        connect(tab.twin, &QCheckBox::toggled, this, [this, kind](bool) { cboBnk_Click(kind); });
    }
    top->addStretch(1);
    if (kind == vx::BankedKind::Arrangement) {
        // Alt+A is the Arrangements tab's.
        auto* cmdArg = new QPushButton("A&rrangement Global", page);
        cmdArg->setObjectName("cmdArg");
        auto* cmdGbl = new QPushButton("&Global", page);
        cmdGbl->setObjectName("cmdGbl");
        connect(cmdArg, &QPushButton::clicked, this, [this] { Details(vx::ItemKind::ArrangementGlobal, 0); });
        connect(cmdGbl, &QPushButton::clicked, this, [this] { Details(vx::ItemKind::Global, 0); });
        top->addWidget(cmdArg);
        top->addWidget(cmdGbl);
    }

    tab.grid = NewGrid(NamesOf(kind).grid, page);
    tab.model = new BankGridModel(session_, set_, kind, *calls_, this);
    tab.grid->setModel(tab.model);
    SetupView(*tab.grid, 16, kind == vx::BankedKind::Style ? kStyleColumnTwips : kColumnTwips, kRowTwips);
    ColumnFitter::Attach(*tab.grid, std::vector<ColumnFitter::Column>(vx::kGridColumns, {CellChars(kind), true}));
    ConfigureDragAndDrop(*tab.grid);
    ConnectDrops(*tab.model);
    connect(tab.grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, kind](const QModelIndex&, const QModelIndex&) { Grid_CurrentChanged(kind); });
    connect(tab.combo, &QComboBox::currentIndexChanged, this, [this, kind](int) { cboBnk_Click(kind); });
    OnDoubleClickOrEnter(tab.grid, this, [this, kind](const QModelIndex& index) {
        const int number = Bank(kind).model->NumberAt(index);
        if (number >= 0) Details(static_cast<vx::ItemKind>(kind), number);
    });

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addLayout(top, 0, 0);
    layout->addWidget(tab.grid, 1, 0);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(0, 1);
    layout->setHorizontalSpacing(kGridSpacing);
    if (kind == vx::BankedKind::Style) BuildFreeEvents(*layout, *tab.grid);
    return page;
}

void FDoc::BuildFreeEvents(QGridLayout& layout, QTableView& styles) {
    // The free events of each block of four styles, level with the block's row of the grid:
    // both grids start at the same height and scroll together.
    QWidget* page = styles.parentWidget();
    const QString heading = "      Events  ...used          free";
    auto* lblFreeS = new QLabel(heading, page);
    lblFreeS->setObjectName("lblFreeS");
    lblFreeS->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    grdFreeS_ = NewGrid("grdFreeS", page);
    freeModel_ = new FreeEventsModel(session_, set_, this);
    grdFreeS_->setModel(freeModel_);
    grdFreeS_->setSelectionMode(QAbstractItemView::NoSelection);
    grdFreeS_->setFocusPolicy(Qt::NoFocus);
    SetupView(*grdFreeS_, vx::kStyleBlocks, 0, kRowTwips);
    // The figures end under "used" and "free" of the heading, whose proportional font keeps
    // its blanks narrow; its leading blanks stand over the space beside the bank combo.
    const QFontMetrics heads(lblFreeS->font());
    const QFontMetrics digits(grdFreeS_->font());
    const int figure = digits.horizontalAdvance(QStringLiteral("000000")) + kCellTextMargin;
    const int used = std::max(figure, heads.horizontalAdvance(heading.mid(12, 9)) + kCellTextMargin);
    const int free = std::max(figure, heads.horizontalAdvance(heading.mid(21)));
    grdFreeS_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdFreeS_->horizontalHeader()->setMinimumSectionSize(1);
    grdFreeS_->setColumnWidth(0, used);
    grdFreeS_->setColumnWidth(1, free);
    grdFreeS_->setFixedWidth(used + free + 2 * grdFreeS_->frameWidth());
    grdFreeS_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdFreeS_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblFreeS->setContentsMargins(0, 0, grdFreeS_->frameWidth() + kCellTextMargin, 0);
    connect(styles.verticalScrollBar(), &QScrollBar::valueChanged, grdFreeS_->verticalScrollBar(),
            &QScrollBar::setValue);
    // The heading overhangs to the left, over the space beside the bank combo.
    layout.addWidget(lblFreeS, 0, 0, 1, 2, Qt::AlignRight | Qt::AlignBottom);
    layout.addWidget(grdFreeS_, 1, 1);
}

QWidget* FDoc::BuildListTab(vx::ItemKind kind) {
    const bool songs = kind == vx::ItemKind::Song;
    ListTab& tab = songs ? sng_ : bsq_;
    auto* page = new QWidget;

    auto* frame = new QGroupBox(songs ? "Songs List" : "Backing Sequences List", page);
    frame->setObjectName(songs ? "fraSng" : "fraBsq");
    tab.list = new QListView(frame);
    tab.list->setObjectName(songs ? "lstSng" : "lstBsq");
    tab.list->setFont(FixedFont());
    tab.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tab.model = new SequenceListModel(session_, set_, kind, this);
    tab.list->setModel(tab.model);
    connect(tab.list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Q_EMIT StatusChanged(); });
    ConfigureDragAndDrop(*tab.list);
    ConnectDrops(*tab.model);
    SetupListView(*tab.list, vx::kSequenceCount, kRowTwips);
    // The rows are text of a fixed width; the list is as wide as they are, and the heading
    // ends where their event counts end.
    const int lineChars = static_cast<int>(vx::BsqListLine(vx::SetBackingSequences{}, 0).size());
    tab.list->setFixedWidth(QFontMetrics(tab.list->font()).horizontalAdvance(QString(lineChars, QLatin1Char('0'))) +
                            2 * tab.list->frameWidth() + 4 * kCellTextMargin +
                            tab.list->verticalScrollBar()->sizeHint().width());
    auto* events = new QLabel("Events", frame);
    events->setObjectName(songs ? "lblSngEvents" : "lblBsqEvents");
    events->setFont(FixedFont());
    events->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    events->setFixedWidth(tab.list->frameWidth() + kCellTextMargin +
                          QFontMetrics(tab.list->font()).horizontalAdvance(QString(lineChars, QLatin1Char('0'))));
    OnDoubleClickOrEnter(tab.list, this, [this, kind](const QModelIndex& index) { Details(kind, index.row()); });
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setSpacing(0);
    frameLayout->addWidget(events, 0, Qt::AlignLeft);
    frameLayout->addWidget(tab.list);
    frameLayout->addStretch(1);

    // Both tabs show the same counters of the shared event memory: under each heading its
    // lines, indented so that a heading never reads as part of the line beside it.
    auto* count = new QGroupBox("Events count", page);
    count->setObjectName("fraEvCnt");
    auto* countLayout = new QGridLayout(count);
    QFont headingFont = count->font();
    headingFont.setBold(true);
    auto heading = [&](const char* text, int row) {
        auto* label = new QLabel(text, count);
        label->setFont(headingFont);
        countLayout->addWidget(label, row, 0, 1, 2);
    };
    heading("Total", 0);
    for (int i = 0; i < 5; ++i) {
        auto* counter = new QLabel(count);
        counter->setObjectName(QString("lblEvCnt_%1").arg(i));
        counter->setFont(FixedFont());
        tab.counters[static_cast<std::size_t>(i)] = counter;
    }
    countLayout->setColumnMinimumWidth(0, 12);
    for (int i = 0; i < 4; ++i) countLayout->addWidget(tab.counters[static_cast<std::size_t>(i)], i + 1, 1);
    countLayout->setRowMinimumHeight(5, 8);
    heading("Free", 6);
    countLayout->addWidget(tab.counters[4], 7, 1);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(frame, 0, Qt::AlignTop);
    layout->addWidget(count, 0, Qt::AlignTop);
    layout->addStretch(1);
    return page;
}

QWidget* FDoc::BuildKbdTab() {
    auto* page = new QWidget;
    grdArk_ = NewGrid("grdArk", page);
    grdArk_->horizontalHeader()->show();
    kbdModel_ = new KbdGridModel(session_, set_, this);
    grdArk_->setModel(kbdModel_);
    connect(grdArk_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { Q_EMIT StatusChanged(); });
    SetupView(*grdArk_, kKbdRows, kColumnTwips, kRowTwips);
    // The KBD set and its split key take what their texts need, the five tracks share the rest.
    std::vector<ColumnFitter::Column> columns(vx::kKbdGridHeader.size(), {CellChars(vx::BankedKind::Program), true});
    columns[0] = {2, false};
    columns[1] = {3, false};
    ColumnFitter::Attach(*grdArk_, columns);
    ConfigureDragAndDrop(*grdArk_);
    ConnectDrops(*kbdModel_);
    // Double-clicks (and Enter) choose split keys and track programs.
    OnDoubleClickOrEnter(grdArk_, this, [this](const QModelIndex& index) {
        if (vx::EditScheme* scheme = shell_.Editing())
            vx::KbdGridDoubleClick(session_, *scheme, set_, index.row(), index.column());
    });
    connect(grdArk_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        if (vx::EditScheme* scheme = shell_.Editing()) vx::KbdGridDoubleClick(session_, *scheme, set_, -1, column);
    });
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(grdArk_);
    return page;
}

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

QAbstractItemView* FDoc::MainView(int tab) const {
    switch (tab) {
        case 0:
        case 1:
        case 2:
            return banks_[static_cast<std::size_t>(tab)].grid;
        case 3:
            return bsq_.list;
        case 4:
            return sng_.list;
        case 5:
            return grdArk_;
        default:
            return nullptr;
    }
}

void FDoc::FocusView() {
    if (QAbstractItemView* view = MainView(CurrentTab())) view->setFocus(Qt::OtherFocusReason);
}

bool FDoc::ShowBank(const QString& letter, bool twin) {
    const int tab = CurrentTab();
    if (!IsBankedTab(tab)) return false;
    BankTab& bank = banks_[static_cast<std::size_t>(tab)];
    const int index = letter.isEmpty() ? bank.combo->currentIndex() : bank.combo->findText(letter.toUpper());
    if (index < 0 || (twin && bank.twin == nullptr)) return false;
    if (bank.twin != nullptr) bank.twin->setChecked(twin);
    bank.combo->setCurrentIndex(index);
    cboBnk_Click(static_cast<vx::BankedKind>(tab));
    return true;
}

int FDoc::FullWidth() const {
    // The widest tab at the grids' own font size: a bank grid with room for a scroll bar (twin
    // view), the styles with their free events beside them, or the KBD sets.
    int widest = 0;
    for (QTableView* grid : {Bank(vx::BankedKind::Arrangement).grid, Bank(vx::BankedKind::Style).grid,
                             Bank(vx::BankedKind::Program).grid, grdArk_}) {
        const ColumnFitter* fitter = ColumnFitter::Of(*grid);
        if (fitter == nullptr) continue;
        int width = fitter->FullWidth() + 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
        if (grid == Bank(vx::BankedKind::Style).grid) width += grdFreeS_->width() + kGridSpacing;
        widest = std::max(widest, width);
    }
    // The tab page's margins and the tab frame.
    return widest + 2 * kPageMargin + 4;
}

QString FDoc::StatusDirectory() const {
    return session_.Sets().IsOpen(set_)
               ? QDir::toNativeSeparators(QString::fromStdString(session_.Slot(set_).directory))
               : QString();
}

QString FDoc::StatusItem() const {
    const int tab = CurrentTab();
    if (IsBankedTab(tab)) {
        const BankTab& bank = banks_[static_cast<std::size_t>(tab)];
        const int number = CurrentNumber(static_cast<vx::BankedKind>(tab));
        if (number < 0) return {};
        // The label and the name, without the calls the cell shows after them.
        const QString text = bank.model->data(bank.grid->currentIndex()).toString();
        const QString label = text.left(3);
        const QString name = text.mid(4, 16).trimmed();
        return name.isEmpty() ? label + " (empty)" : label + " " + name;
    }
    if (tab == 3 || tab == 4) {
        const QListView* list = tab == 3 ? bsq_.list : sng_.list;
        if (!list->currentIndex().isValid()) return {};
        const QString text = list->currentIndex().data().toString();
        const QString name = text.mid(text.indexOf(':') + 1).section(':', 0, 0).trimmed();
        const QString number = text.left(text.indexOf(':'));
        return name.isEmpty() ? number + " (empty)" : number + " " + name;
    }
    if (tab == 5 && grdArk_->currentIndex().isValid())
        return "KBD Set " + kbdModel_->index(grdArk_->currentIndex().row(), 0).data().toString();
    return {};
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

int FDoc::CurrentTab() const { return tabMode_->currentIndex(); }

void FDoc::tabMode_Click(int tab) {
    // Nothing to show while the set is being opened.
    if (windowTitle().isEmpty() || tab < 0 || tab >= kTabCount) return;
    session_.Opts().ModeId = tab;
    SetEditState(EditState::None);
    ApplyUtilities(tab);
    switch (tab) {
        case 0:
        case 1:
        case 2:
            cboBnk_Click(static_cast<vx::BankedKind>(tab));
            break;
        case 3:
        case 4:
            FillList(vx::KindFromIndex(tab));
            SetEditState(EditStateFor(tab, true));
            break;
        case 5:
            kbdModel_->RefreshAll();
            SetEditState(EditStateFor(tab, true));
            break;
        default:
            break;
    }
    FocusView();
    Q_EMIT StatusChanged();
}

void FDoc::cboBnk_Click(vx::BankedKind kind) {
    BankTab& tab = Bank(kind);
    const int combo = tab.combo->currentIndex();
    const vx::GridLayout layout = vx::BankGridLayout(kind, combo, tab.twin != nullptr && tab.twin->isChecked());
    if (layout.bank >= 0 && layout.bank != combo) {
        // The second bank of a pair is shown from the first one in twin view.
        const QSignalBlocker blocker(tab.combo);
        tab.combo->setCurrentIndex(layout.bank);
    }
    if (tab.twin != nullptr) tab.twin->setHidden(!layout.twinBoxShown);
    tab.model->Fill(layout);
    if (kind == vx::BankedKind::Style) freeModel_->RefreshAll();
    // Slot 0 of the bank becomes current.
    if (layout.rows > 0) tab.grid->setCurrentIndex(tab.model->index(0, 0));
    Grid_CurrentChanged(kind);
}

void FDoc::Grid_CurrentChanged(vx::BankedKind kind) {
    const int tab = static_cast<int>(kind);
    if (CurrentTab() != tab || windowTitle().isEmpty()) return;
    SetEditState(EditStateFor(tab, vx::IsUserNumber(kind, CurrentNumber(kind))));
    Q_EMIT StatusChanged();
}

int FDoc::CurrentNumber(vx::BankedKind kind) const {
    const BankTab& tab = Bank(kind);
    return tab.model->NumberAt(tab.grid->currentIndex());
}

void FDoc::GoToNumber(vx::BankedKind kind, int number) {
    BankTab& tab = Bank(kind);
    const vx::GridPosition position = vx::GridPositionOf(kind, number, tab.twin != nullptr && tab.twin->isChecked());
    if (!position.Valid()) return;
    if (tab.combo->currentIndex() != position.comboBank)
        tab.combo->setCurrentIndex(position.comboBank);
    else if (tab.model->Layout().bank != position.comboBank)
        cboBnk_Click(kind);
    tab.grid->setCurrentIndex(tab.model->index(position.row, position.column));
    Grid_CurrentChanged(kind);
}

void FDoc::ShowSlot(vx::ItemKind kind, int slot) {
    const int tab = vx::KindIndex(kind);
    const vx::KindDescriptor* d = vx::DescriptorOf(kind);
    if (!d || tab < 0 || tab >= kTabCount || slot < 0 || slot >= d->slotCount) return;
    tabMode_->setCurrentIndex(tab);
    if (IsBankedTab(tab)) {
        GoToNumber(static_cast<vx::BankedKind>(kind), d->viewNumberOf(slot));
    } else if (QAbstractItemView* view = MainView(tab)) {
        view->setCurrentIndex(view->model()->index(slot, 0));
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
    }
    FocusView();
}

void FDoc::FillList(vx::ItemKind kind) {
    if (!session_.Sets().IsOpen(set_)) return;
    const ListTab& tab = kind == vx::ItemKind::Song ? sng_ : bsq_;
    tab.model->RefreshAll();
    // Exactly as tall as its rows: no empty strip below them.
    const int rows = tab.model->rowCount();
    tab.list->setFixedHeight(2 * tab.list->frameWidth() + rows * tab.list->sizeHintForRow(0));
    FillCounters();
}

void FDoc::FillCounters() {
    if (!session_.Sets().IsOpen(set_)) return;
    const vx::SetData& setData = session_.Data(set_);
    const auto labels = vx::CounterLabels(vx::CountEvents(setData.bsq, setData.sng));
    for (ListTab* tab : {&bsq_, &sng_})
        for (std::size_t i = 0; i < labels.size(); ++i) tab->counters[i]->setText(Latin1(labels[i]));
}

bool FDoc::TwinViewShown(int tab) const {
    if (tab != 0 && tab != 2) return false;
    return banks_[static_cast<std::size_t>(tab)].model->Layout().twin;
}

void FDoc::SetEditState(EditState state) {
    editState_ = state;
    Q_EMIT EditMenuChanged();
}

namespace {

// The scheme's command for a menu entry, when the entry is one of the scheme's.
std::optional<vx::EditCommand> SchemeCommand(EditCommand command) {
    switch (command) {
        case EditCommand::Undo:
            return vx::EditCommand::Undo;
        case EditCommand::Cut:
            return vx::EditCommand::Cut;
        case EditCommand::Copy:
            return vx::EditCommand::Copy;
        case EditCommand::Paste:
            return vx::EditCommand::Paste;
        case EditCommand::Delete:
            return vx::EditCommand::Delete;
        case EditCommand::Insert:
            return vx::EditCommand::Insert;
        case EditCommand::EraseBank:
            return vx::EditCommand::EraseBank;
        default:
            return std::nullopt;
    }
}

}  // namespace

EditMenuFlags FDoc::EditMenu() const {
    const int tab = CurrentTab();
    EditCommandSet built = built_;
    if (const vx::EditScheme* scheme = shell_.Editing(); scheme != nullptr && tab >= 0 && tab < kTabCount) {
        const vx::ItemKind kind = vx::KindFromIndex(tab);
        // What the kind shown has of the scheme's commands; the others stay disabled on its tab.
        const vx::KindDescriptor* d = vx::DescriptorOf(kind);
        for (int i = 0; i < kEditCommandCount; ++i) {
            const auto command = SchemeCommand(static_cast<EditCommand>(i));
            if (command && (d == nullptr || !d->Has(*command))) built.reset(static_cast<std::size_t>(i));
        }
        // Paste and Insert need an item to put in; the clipboard is shared by every window.
        if (scheme->ClipboardOf(kind).Empty()) {
            built.reset(EditIndex(EditCommand::Paste));
            built.reset(EditIndex(EditCommand::Insert));
        }
        // Only arrangements, styles, programs and drum kits come in XStyle files.
        if (!vx::XStyleKindFor(kind, std::max(CurrentSlot(tab), 0))) built.reset(EditIndex(EditCommand::PasteXStyle));
    }
    return ComputeEditMenu(editState_, tab, TwinViewShown(tab), undoAvailable_, built);
}

void FDoc::SetBuiltCommands(const EditCommandSet& built) {
    built_ = built;
    Q_EMIT EditMenuChanged();
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
    vx::ExportToPresetFile(session_, set_, kind, Bank(kind).combo->currentIndex());
}

void FDoc::SetUndoAvailable(bool available) {
    undoAvailable_ = available;
    Q_EMIT EditMenuChanged();
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

void FDoc::mnuEImport_Click() {
    const int tab = CurrentTab();
    if (tab < 0 || tab >= kTabCount) return;
    const vx::ItemKind kind = vx::KindFromIndex(tab);
    const vx::ImportResult imported = session_.ImportAll(set_, kind);
    vx::ShowNotices(session_.Ui(), imported);
    if (!imported) return;
    OnKindChanged(kind);
    SetUndoAvailable(false);
}

int FDoc::CurrentSlot(int tab) const {
    if (IsBankedTab(tab)) {
        const vx::KindDescriptor* d = vx::DescriptorOf(vx::KindFromIndex(tab));
        const int number = CurrentNumber(static_cast<vx::BankedKind>(tab));
        return d != nullptr && number >= 0 ? d->slotOfNumber(number) : -1;
    }
    if (tab == 3 || tab == 4) {
        const QModelIndex current = (tab == 3 ? bsq_ : sng_).list->currentIndex();
        return current.isValid() ? current.row() : -1;
    }
    if (tab == 5) return grdArk_->currentIndex().isValid() ? grdArk_->currentIndex().row() : -1;
    return -1;
}

void FDoc::RunEdit(EditCommand command) {
    const int tab = CurrentTab();
    if (tab < 0 || tab >= kTabCount || !session_.Sets().IsOpen(set_)) return;
    switch (command) {
        case EditCommand::Details:
            mnuEDetails_Click();
            break;
        case EditCommand::Import:
            mnuEImport_Click();
            break;
        case EditCommand::PasteXStyle:
            mnuEXStyle_Click();
            break;
        default:
            if (vx::EditScheme* scheme = shell_.Editing(); scheme != nullptr && SchemeCommand(command)) {
                vx::Edit edit;
                edit.command = *SchemeCommand(command);
                edit.kind = vx::KindFromIndex(tab);
                edit.set = set_;
                edit.slot = CurrentSlot(tab);
                edit.bank = IsBankedTab(tab) ? Bank(static_cast<vx::BankedKind>(tab)).combo->currentIndex() : -1;
                vx::ShowNotice(session_.Ui(), scheme->Apply(edit));
            }
            break;
    }
    // A clipboard may have been filled or emptied.
    Q_EMIT EditMenuChanged();
}

void FDoc::mnuEXStyle_Click() {
    vx::EditScheme* scheme = shell_.Editing();
    const int tab = CurrentTab();
    if (scheme == nullptr || !IsBankedTab(tab)) return;
    // The chooser, the file's messages and the paste's questions all come from the scheme.
    vx::ShowNotice(session_.Ui(), scheme->PasteFromXStyle(set_, vx::KindFromIndex(tab), CurrentSlot(tab)));
}

void FDoc::ConfigureDragAndDrop(QAbstractItemView& view) {
    view.setDragEnabled(true);
    view.setAcceptDrops(true);
    view.setDropIndicatorShown(true);
    view.setDragDropMode(QAbstractItemView::DragDrop);
    view.setDefaultDropAction(Qt::CopyAction);
    // A drop lands on the item under the pointer, never between two items.
    view.setDragDropOverwriteMode(true);
}

void FDoc::ConnectDrops(ItemTableModel& model) {
    connect(&model, &ItemTableModel::ItemDropped, this,
            [this, kind = model.ShownKind()](int sourceKind, int sourceSet, int sourceSlot, int slot) {
                Item_DragDrop(kind, sourceKind, sourceSet, sourceSlot, slot);
            });
}

void FDoc::Item_DragDrop(vx::ItemKind kind, int sourceKind, int sourceSet, int sourceSlot, int slot) {
    vx::EditScheme* scheme = shell_.Editing();
    if (scheme == nullptr || sourceKind < 0 || sourceKind >= kTabCount) return;
    vx::Edit edit;
    edit.command = vx::EditCommand::Drop;
    edit.kind = kind;
    edit.set = set_;
    edit.slot = slot;
    edit.sourceKind = vx::KindFromIndex(sourceKind);
    edit.sourceSet = sourceSet;
    edit.sourceSlot = sourceSlot;
    const vx::EditResult dropped = scheme->Apply(edit);
    vx::ShowNotice(session_.Ui(), dropped);
    if (!dropped.done) {
        // A drop answered with Cancel changed nothing: the cell under the pointer shows what
        // it held at once, not the item dragged over it.
        if (QAbstractItemView* view = MainView(vx::KindIndex(kind))) view->viewport()->update();
        return;
    }
    // The dropped item is selected where it landed.
    const vx::KindDescriptor& d = *vx::DescriptorOf(kind);
    if (IsBankedTab(vx::KindIndex(kind))) {
        GoToNumber(static_cast<vx::BankedKind>(kind), d.viewNumberOf(slot));
    } else if (QAbstractItemView* view = MainView(vx::KindIndex(kind))) {
        // Moved down inside its list, an entry goes before the one it was dropped on.
        const bool movedDown = sourceSet == set_ && d.dropInSet == vx::DropInSet::InsertBefore && sourceSlot < slot;
        view->setCurrentIndex(view->model()->index(movedDown ? slot - 1 : slot, 0));
    }
    SetEditState(EditStateFor(CurrentTab(), true));
}

void FDoc::mnuEDetails_Click() {
    const int tab = CurrentTab();
    if (IsBankedTab(tab)) {
        Details(vx::KindFromIndex(tab), CurrentNumber(static_cast<vx::BankedKind>(tab)));
    } else if (tab == 3 || tab == 4) {
        Details(vx::KindFromIndex(tab), CurrentSlot(tab));
    }
}

void FDoc::Details(vx::ItemKind kind, int number) {
    if (number < 0 || !session_.Sets().IsOpen(set_)) return;
    if (vx::EditScheme* edits = shell_.Editing()) ShowDetails(*edits, session_, set_, {kind, number}, this);
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

void FDoc::OnKindChanged(vx::ItemKind kind) {
    if (vx::KindCallsKind(kind, vx::ItemKind::Program)) calls_->Invalidate();
    for (BankTab& tab : banks_) {
        const auto shown = static_cast<vx::ItemKind>(tab.model->Kind());
        if (shown == kind || vx::KindCallsKind(kind, shown)) tab.model->RefreshAll();
    }
    RefreshSideViews(kind, -1);
    RefreshCaption();
    // A replaced kind may have made the current position editable or not.
    if (IsBankedTab(CurrentTab()) && static_cast<int>(kind) == CurrentTab())
        Grid_CurrentChanged(static_cast<vx::BankedKind>(CurrentTab()));
}

void FDoc::OnItemChanged(vx::ItemKind kind, int number) {
    if (vx::KindCallsKind(kind, vx::ItemKind::Program)) calls_->Invalidate();
    for (BankTab& tab : banks_) {
        const auto shown = static_cast<vx::ItemKind>(tab.model->Kind());
        if (vx::KindCallsKind(kind, shown))
            tab.model->RefreshAll();
        else if (shown == kind)
            tab.model->RefreshNumber(number);
    }
    RefreshSideViews(kind, kind == vx::ItemKind::KbdSet ? number : -1);
    RefreshCaption();
}

void FDoc::RefreshSideViews(vx::ItemKind kind, int kbdRow) {
    switch (kind) {
        case vx::ItemKind::Style:
            freeModel_->RefreshAll();
            break;
        case vx::ItemKind::BackingSequence:
        case vx::ItemKind::Song:
            // Both lists show the counters of the memory they share.
            FillList(vx::ItemKind::BackingSequence);
            FillList(vx::ItemKind::Song);
            break;
        case vx::ItemKind::KbdSet:
            if (kbdRow >= 0)
                kbdModel_->RefreshRow(kbdRow);
            else
                kbdModel_->RefreshAll();
            break;
        case vx::ItemKind::Program:
            kbdModel_->RefreshAll();  // it shows program names
            break;
        default:
            break;
    }
}

void FDoc::OnOptionsChanged() {
    UpdateWindowChecks();
    for (BankTab& tab : banks_) tab.model->TakeOptions();
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
