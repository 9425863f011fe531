#include "document/FDoc.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "catalogue/Catalogue.h"
#include "details/Details.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfer.h"
#include "selection/ItemNumbers.h"
#include "sequences/SequenceFiles.h"
#include "shell/ShellServices.h"
#include "storage/Session.h"
#include "views/BankGridModel.h"
#include "views/CallCache.h"
#include "views/FreeEventsModel.h"
#include "views/KbdGridModel.h"
#include "views/ViewSetup.h"

namespace vxe {

namespace {

constexpr int kTabCount = 6;
constexpr int kRowTwips = 240;
constexpr int kColumnTwips = 2925;
constexpr int kStyleColumnTwips = 2730;
constexpr int kListRows = 12;
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

// Cell texts and list rows are names padded to 16 characters: they line up in a fixed pitch.
QFont FixedFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

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
    return grid;
}

bool IsBankedTab(int tab) { return tab >= 0 && tab <= 2; }

}  // namespace

FDoc::FDoc(vx::Session& session, ShellServices& shell, int set, QWidget* parent)
    : QWidget(parent), session_(session), shell_(shell), set_(set), calls_(std::make_unique<CallCache>(session, set)) {
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
    layout->addWidget(tabMode_);

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
        auto* cmdArg = new QPushButton("&Arrangement Global", page);
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
    connect(tab.grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, kind](const QModelIndex&, const QModelIndex&) { Grid_CurrentChanged(kind); });
    connect(tab.combo, &QComboBox::currentIndexChanged, this, [this, kind](int) { cboBnk_Click(kind); });
    connect(tab.grid, &QTableView::doubleClicked, this, [this, kind](const QModelIndex& index) {
        const int number = Bank(kind).model->NumberAt(index);
        if (number >= 0) Details(static_cast<vx::ItemKind>(kind), number);
    });

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top);
    if (kind == vx::BankedKind::Style) {
        // The free events of each block of four styles, level with the block's row of the grid.
        const QString heading = "      Events  ...used          free";
        auto* lblFreeS = new QLabel(heading, page);
        lblFreeS->setObjectName("lblFreeS");
        lblFreeS->setFont(FixedFont());
        grdFreeS_ = NewGrid("grdFreeS", page);
        freeModel_ = new FreeEventsModel(session_, set_, this);
        grdFreeS_->setModel(freeModel_);
        grdFreeS_->setSelectionMode(QAbstractItemView::NoSelection);
        grdFreeS_->setFocusPolicy(Qt::NoFocus);
        SetupView(*grdFreeS_, vx::kStyleBlocks, 1000, kRowTwips, 6);
        const QFontMetrics metrics(lblFreeS->font());
        const int used = metrics.horizontalAdvance(heading.left(21));
        const int free = metrics.horizontalAdvance(heading.mid(21));
        grdFreeS_->setColumnWidth(0, used);
        grdFreeS_->setColumnWidth(1, free);
        grdFreeS_->setFixedWidth(used + free + 2 * grdFreeS_->frameWidth() + metrics.averageCharWidth() * 2);
        grdFreeS_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        auto* freeColumn = new QVBoxLayout;
        freeColumn->addWidget(lblFreeS);
        freeColumn->addWidget(grdFreeS_, 1);
        auto* row = new QHBoxLayout;
        row->addWidget(tab.grid, 1);
        row->addLayout(freeColumn);
        layout->addLayout(row, 1);
    } else {
        layout->addWidget(tab.grid, 1);
    }
    return page;
}

QWidget* FDoc::BuildListTab(vx::ItemKind kind) {
    const bool songs = kind == vx::ItemKind::Song;
    ListTab& tab = songs ? sng_ : bsq_;
    auto* page = new QWidget;

    auto* frame = new QGroupBox(songs ? "Songs List" : "Backing Sequences List", page);
    frame->setObjectName(songs ? "fraSng" : "fraBsq");
    auto* events = new QLabel("Events", frame);
    events->setAlignment(Qt::AlignRight);
    tab.list = new QListWidget(frame);
    tab.list->setObjectName(songs ? "lstSng" : "lstBsq");
    tab.list->setFont(FixedFont());
    SetupListView(*tab.list, kListRows, kRowTwips);
    connect(tab.list, &QListWidget::itemDoubleClicked, this,
            [this, kind, list = tab.list](QListWidgetItem* item) { Details(kind, list->row(item)); });
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(events);
    frameLayout->addWidget(tab.list);

    // Both tabs show the same counters of the shared event memory.
    auto* count = new QGroupBox("Events count", page);
    count->setObjectName("fraEvCnt");
    auto* countLayout = new QGridLayout(count);
    countLayout->addWidget(new QLabel("Total", count), 0, 0);
    for (int i = 0; i < 5; ++i) {
        auto* counter = new QLabel(count);
        counter->setObjectName(QString("lblEvCnt_%1").arg(i));
        counter->setFont(FixedFont());
        tab.counters[static_cast<std::size_t>(i)] = counter;
    }
    for (int i = 0; i < 4; ++i) countLayout->addWidget(tab.counters[static_cast<std::size_t>(i)], i + 1, 0);
    countLayout->setRowMinimumHeight(5, 8);
    countLayout->addWidget(new QLabel("Free", count), 6, 0);
    countLayout->addWidget(tab.counters[4], 7, 0);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(frame, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(count);
    side->addStretch(1);
    layout->addLayout(side);
    return page;
}

QWidget* FDoc::BuildKbdTab() {
    auto* page = new QWidget;
    grdArk_ = NewGrid("grdArk", page);
    grdArk_->horizontalHeader()->show();
    kbdModel_ = new KbdGridModel(session_, set_, this);
    grdArk_->setModel(kbdModel_);
    auto* layout = new QVBoxLayout(page);
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
    QAction* fClose = AddAction(mnuFile_, "mnuFClose", "&Close");
    QAction* fSave = AddAction(mnuFile_, "mnuFSave", "&Save");
    QAction* fSaveAs = AddAction(mnuFile_, "mnuFSaveAs", "Sa&ve As...");
    mnuFile_->addSeparator();
    QAction* fExit = AddAction(mnuFile_, "mnuFExit", "E&xit");
    fOpen->setShortcut(QKeySequence::Open);
    fClose->setShortcut(QKeySequence::Close);
    fSave->setShortcut(QKeySequence::Save);
    connect(fNew, &QAction::triggered, this, [this] { shell_.NewSet(); });
    connect(fOpen, &QAction::triggered, this, [this] { shell_.OpenSet(); });
    connect(fClose, &QAction::triggered, this, [this] { mnuFClose_Click(); });
    connect(fSave, &QAction::triggered, this, [this] { mnuFSave_Click(false); });
    connect(fSaveAs, &QAction::triggered, this, [this] { mnuFSave_Click(true); });
    connect(fExit, &QAction::triggered, this, [this] { shell_.Exit(); });

    mnuEdit_ = newMenu("mnuEdit", "&Edit");
    auto edit = [this](EditCommand command, const char* name, const QString& caption) {
        editActions_[EditIndex(command)] = AddAction(mnuEdit_, name, caption);
        return editActions_[EditIndex(command)];
    };
    edit(EditCommand::Undo, "mnuEUndo", "&Undo")->setShortcut(QKeySequence::Undo);
    mnuEdit_->addSeparator();
    edit(EditCommand::Cut, "mnuECut", "Cu&t")->setShortcut(QKeySequence::Cut);
    edit(EditCommand::Copy, "mnuECopy", "&Copy")->setShortcut(QKeySequence::Copy);
    edit(EditCommand::Paste, "mnuEPaste", "&Paste")->setShortcut(QKeySequence::Paste);
    edit(EditCommand::Delete, "mnuEDelete", "&Delete")->setShortcut(QKeySequence::Delete);
    edit(EditCommand::Insert, "mnuEInsert", "In&sert");
    edit(EditCommand::PasteXStyle, "mnuEXStyle", "Paste from &XStyle...");
    mnuEdit_->addSeparator();
    QAction* details = edit(EditCommand::Details, "mnuEDetails", "Detai&ls");
    connect(details, &QAction::triggered, this, [this] { mnuEDetails_Click(); });
    mnuEdit_->addSeparator();
    edit(EditCommand::EraseBank, "mnuEEraseBnk", "&Erase Bank");
    QAction* import = edit(EditCommand::Import, "mnuEImport", "I&mport...");
    connect(import, &QAction::triggered, this, [this] { mnuEImport_Click(); });

    // A menu without entries: choosing it opens the options dialog.
    mnuOptions_ = newMenu("mnuOptions", "&Options");
    connect(mnuOptions_, &QMenu::aboutToShow, this, [this] { mnuOptions_Click(); });
    connect(mnuOptions_->menuAction(), &QAction::triggered, this, [this] { mnuOptions_Click(); });

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
    mnuUtil_->addSeparator();
    utility(UtilityCommand::MidiSetup, "mnuUMidStup", "&MIDI Setup...");
    utility(UtilityCommand::Send, "mnuUMidSend", "Send to &" + QString::fromLatin1(vx::kInstrumentName.data()));
    utility(UtilityCommand::SysexToFile, "mnuUSysex2File", "Send SysE&x to File...");
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

QList<QMenu*> FDoc::Menus() const { return {mnuFile_, mnuEdit_, mnuOptions_, mnuWindow_, mnuUtil_, mnuHelp_}; }

void FDoc::RefreshCaption() {
    if (session_.Sets().IsOpen(set_)) setWindowTitle(QString::fromStdString(session_.Slot(set_).name));
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
            SetupView(*grdArk_, kKbdRows, kColumnTwips, kRowTwips, 20);
            grdArk_->setColumnWidth(0, grdArk_->fontMetrics().averageCharWidth() * 4 + 8);
            grdArk_->setColumnWidth(1, grdArk_->fontMetrics().averageCharWidth() * 5 + 8);
            SetEditState(EditStateFor(tab, true));
            break;
        default:
            break;
    }
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
    SetupView(*tab.grid, layout.rows, kind == vx::BankedKind::Style ? kStyleColumnTwips : kColumnTwips, kRowTwips,
              CellChars(kind));
    if (kind == vx::BankedKind::Style) freeModel_->RefreshAll();
    // Slot 0 of the bank becomes current.
    if (layout.rows > 0) tab.grid->setCurrentIndex(tab.model->index(0, 0));
    Grid_CurrentChanged(kind);
}

void FDoc::Grid_CurrentChanged(vx::BankedKind kind) {
    const int tab = static_cast<int>(kind);
    if (CurrentTab() != tab || windowTitle().isEmpty()) return;
    SetEditState(EditStateFor(tab, vx::IsUserNumber(kind, CurrentNumber(kind))));
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

void FDoc::FillList(vx::ItemKind kind) {
    if (!session_.Sets().IsOpen(set_)) return;
    const vx::SetData& setData = session_.Data(set_);
    const bool songs = kind == vx::ItemKind::Song;
    QListWidget* list = songs ? sng_.list : bsq_.list;
    const int current = list->currentRow();
    list->clear();
    for (int i = 0; i < vx::kSequenceCount; ++i)
        list->addItem(Latin1(songs ? vx::SongListLine(setData.sng, i) : vx::BsqListLine(setData.bsq, i)));
    if (current >= 0 && current < list->count()) list->setCurrentRow(current);
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
    ApplyEditMenu();
}

void FDoc::ApplyEditMenu() {
    const int tab = CurrentTab();
    const EditMenuFlags flags = ComputeEditMenu(editState_, tab, TwinViewShown(tab), undoAvailable_, built_);
    mnuEdit_->menuAction()->setEnabled(flags.menu);
    for (std::size_t i = 0; i < editActions_.size(); ++i) editActions_[i]->setEnabled(flags.enabled[i]);
}

void FDoc::SetBuiltCommands(const EditCommandSet& built) {
    built_ = built;
    ApplyEditMenu();
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
}

void FDoc::SetUndoAvailable(bool available) {
    undoAvailable_ = available;
    editActions_[EditIndex(EditCommand::Undo)]->setText(available ? "&Undo" : "Can't Undo");
    ApplyEditMenu();
}

void FDoc::UpdateWindowChecks() {
    mnuWCascade_->setChecked(session_.Opts().WArrangeMode == 0);
    mnuWTile_->setChecked(session_.Opts().WArrangeMode == 1);
}

void FDoc::mnuWindow_Arrange(int mode) {
    session_.Opts().WArrangeMode = mode;
    UpdateWindowChecks();
    if (mode == 0)
        shell_.Cascade();
    else
        shell_.Tile();
}

void FDoc::mnuOptions_Click() {
    // Both signals may come for one choice, and the dialog must not open inside the menu's popup.
    if (optionsPending_) return;
    optionsPending_ = true;
    QTimer::singleShot(0, this, [this] {
        mnuOptions_->hide();
        optionsPending_ = false;
        shell_.ShowOptions();
    });
}

void FDoc::mnuEImport_Click() {
    const int tab = CurrentTab();
    if (tab < 0 || tab >= kTabCount) return;
    const vx::ItemKind kind = vx::KindFromIndex(tab);
    if (!session_.ImportAll(set_, kind)) return;
    // The kind was replaced: what was saved for Undo no longer fits it.
    OnKindChanged(kind);
    SetUndoAvailable(false);
}

void FDoc::mnuEDetails_Click() {
    const int tab = CurrentTab();
    if (IsBankedTab(tab)) {
        Details(vx::KindFromIndex(tab), CurrentNumber(static_cast<vx::BankedKind>(tab)));
    } else if (tab == 3 || tab == 4) {
        const QListWidget* list = tab == 3 ? bsq_.list : sng_.list;
        if (list->currentRow() >= 0) Details(vx::KindFromIndex(tab), list->currentRow());
    }
}

void FDoc::Details(vx::ItemKind kind, int number) {
    if (number < 0 || !session_.Sets().IsOpen(set_)) return;
    if (vx::EditScheme* edits = shell_.Edits()) ShowDetails(*edits, session_, set_, {kind, number}, this);
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
    RefreshCaption();
}

void FDoc::OnKindChanged(vx::ItemKind kind) {
    if (vx::KindCallsKind(kind, vx::ItemKind::Program)) calls_->Invalidate();
    for (BankTab& tab : banks_) {
        const auto shown = static_cast<vx::ItemKind>(tab.model->Kind());
        if (shown == kind || vx::KindCallsKind(kind, shown)) tab.model->RefreshAll();
    }
    RefreshSideViews(kind, -1);
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
