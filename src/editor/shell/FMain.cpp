#include "editor/shell/FMain.h"

#include "core/editing/EditScheme.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <algorithm>
#include <cmath>

#include "core/catalogue/Catalogue.h"
#include "core/changes/SetChange.h"
#include "core/editing/EditScheme.h"
#include "core/library/LibrarySource.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "editor/document/FDoc.h"
#include "editor/library/FLibrary.h"
#include "editor/shell/EditActions.h"
#include "editor/shell/FAbout.h"
#include "editor/shell/FHelp.h"
#include "editor/shell/FOptions.h"
#include "editor/shell/FTip.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/SetWatcher.h"
#include "editor/shell/Settings.h"
#include "editor/views/SetChangeSignal.h"

namespace vxe {

namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QAction* NamedAction(QObject* parent, const char* name, const QString& text) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

}  // namespace

QIcon ProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(40, 40, 48), 1.5));
    painter.setBrush(QColor(70, 90, 140));
    painter.drawRoundedRect(QRectF(1.5, 6.5, 29, 19), 3, 3);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 12.5, 23, 11));
    painter.setPen(QPen(QColor(40, 40, 48), 1));
    for (int x = 0; x < 5; ++x) painter.drawLine(QPointF(9 + x * 4.5, 12.5), QPointF(9 + x * 4.5, 23.5));
    painter.setBrush(QColor(30, 30, 30));
    for (int x : {0, 1, 3, 4}) painter.drawRect(QRectF(7.5 + x * 4.5, 12.5, 3, 6));
    painter.end();
    return QIcon(pixmap);
}

FMain::FMain(const QString& programDir, const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), programDir_(programDir), settingsFile_(settingsFile), ui_(this) {
    setObjectName(QStringLiteral("FMain"));
    setWindowIcon(ProgramIcon());
    watcher_ = new SetWatcher(ui_, this);
    options_.PathNam = programDir.toStdString();

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { RebuildMenus(); });

    editActions_ = new EditActions(this);
    CreateActions();
    CreateStatusBar();
    // Letters that a set's tabs share with the menu bar are settled in one place.
    menuBar()->installEventFilter(this);
    // Tiled windows follow the frame's size.
    mdi_->installEventFilter(this);
    RebuildMenus();
    resize(1024, 768);
}

FMain::~FMain() {
    // The document windows refer to the session; they go before it does, without telling
    // this half-destroyed window about it.
    delete sessionChanges_;
    sessionChanges_ = nullptr;
    QMdiArea* area = mdi_;
    mdi_ = nullptr;
    area->disconnect(this);
    delete area;
    watcher_->SetSession(nullptr);
    scheme_.reset();
    session_.reset();
}

void FMain::CreateActions() {
    mnuFile_ = new QMenu(QStringLiteral("&File"), this);
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    mnuFNew_ = NamedAction(mnuFile_, "mnuFNew", QStringLiteral("&New"));
    mnuFNew_->setShortcut(QKeySequence::New);
    mnuFOpen_ = NamedAction(mnuFile_, "mnuFOpen", QStringLiteral("&Open"));
    mnuFOpen_->setShortcut(QKeySequence::Open);
    mnuFExit_ = NamedAction(mnuFile_, "mnuFExit", QStringLiteral("E&xit"));
    mnuFExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    mnuFRecent_ = new QMenu(QStringLiteral("&Recent Sets"), mnuFile_);
    mnuFRecent_->setObjectName(QStringLiteral("mnuFRecent"));
    connect(mnuFRecent_, &QMenu::aboutToShow, this, [this] { FillRecentSetsMenu(*mnuFRecent_, *this); });
    mnuFile_->addAction(mnuFNew_);
    mnuFile_->addAction(mnuFOpen_);
    mnuFile_->addMenu(mnuFRecent_);
    // While no set is open there is no Window menu; the library is reached from here.
    mnuFLibrary_ = NamedAction(mnuFile_, "mnuFLibrary", QStringLiteral("&Library..."));
    mnuFLibrary_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    mnuFile_->addAction(mnuFLibrary_);
    mnuFile_->addAction(mnuFExit_);

    mnuHelp_ = new QMenu(QStringLiteral("&Help"), this);
    mnuHelp_->setObjectName(QStringLiteral("mnuHelp"));
    mnuHTopics_ = NamedAction(mnuHelp_, "mnuHTopics", QStringLiteral("&Contents"));
    mnuHTopics_->setShortcut(QKeySequence::HelpContents);
    mnuHAbout_ = NamedAction(mnuHelp_, "mnuHAbout", QStringLiteral("&About"));
    mnuHelp_->addAction(mnuHTopics_);
    mnuHelp_->addSeparator();
    mnuHelp_->addAction(mnuHAbout_);

    connect(mnuFNew_, &QAction::triggered, this, [this] { NewSet(); });
    connect(mnuFOpen_, &QAction::triggered, this, [this] { OpenSet(); });
    connect(mnuFExit_, &QAction::triggered, this, [this] { Exit(); });
    connect(mnuFLibrary_, &QAction::triggered, this, [this] { ShowLibrary(); });
    connect(mnuHTopics_, &QAction::triggered, this, [this] { ShowHelpContents(); });
    connect(mnuHAbout_, &QAction::triggered, this, [this] { ShowAbout(); });

    // The tool bar has actions of its own without shortcuts: the menu entries' shortcuts must not
    // clash with those of the document windows' menus.
    picToolbar_ = addToolBar(QStringLiteral("Toolbar"));
    picToolbar_->setObjectName(QStringLiteral("picToolbar"));
    picToolbar_->setMovable(false);
    tbNew_ = NamedAction(picToolbar_, "tbNew", QStringLiteral("New"));
    tbNew_->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    tbNew_->setToolTip(QStringLiteral("New Set"));
    tbOpen_ = NamedAction(picToolbar_, "tbOpen", QStringLiteral("Open"));
    tbOpen_->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    tbOpen_->setToolTip(QStringLiteral("Open a Set"));
    tbSave_ = NamedAction(picToolbar_, "tbSave", QStringLiteral("Save"));
    tbSave_->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    tbSave_->setToolTip(QStringLiteral("Save the Set"));
    picToolbar_->addAction(tbNew_);
    picToolbar_->addAction(tbOpen_);
    picToolbar_->addAction(tbSave_);
    tbLibrary_ = NamedAction(picToolbar_, "tbLibrary", QStringLiteral("Library"));
    tbLibrary_->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    tbLibrary_->setToolTip(QStringLiteral("The Library of every set in your folders"));
    picToolbar_->addSeparator();
    picToolbar_->addAction(tbLibrary_);
    connect(tbLibrary_, &QAction::triggered, this, [this] { ShowLibrary(); });
    connect(tbNew_, &QAction::triggered, this, [this] { NewSet(); });
    connect(tbOpen_, &QAction::triggered, this, [this] { OpenSet(); });
    connect(tbSave_, &QAction::triggered, this, [this] { SaveActiveSet(); });
}

void FMain::CreateStatusBar() {
    auto label = [this](const char* name) {
        auto* widget = new QLabel(this);
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    statusDirectory_ = label("lblStatusDirectory");
    statusItem_ = label("lblStatusItem");
    statusDirty_ = label("lblStatusDirty");
    // Wide enough for a label and a name, so that the texts beside it do not move.
    statusItem_->setMinimumWidth(statusItem_->fontMetrics().horizontalAdvance(QString(28, QLatin1Char('M'))) / 2);
    statusBar()->addWidget(statusDirectory_, 1);
    statusBar()->addPermanentWidget(statusItem_);
    statusBar()->addPermanentWidget(statusDirty_);
}

void FMain::UpdateStatus() {
    FDoc* doc = ActiveDoc();
    statusDirectory_->setText(doc ? doc->StatusDirectory() : QString());
    statusItem_->setText(doc ? doc->StatusItem() : QString());
    statusDirty_->setText(doc ? doc->StatusDirty() : QString());
}

void FMain::LoadSettings() {
    // The open dialog starts where the last set was, or in the home directory: the program's
    // own directory holds the template, which is no place to start working.
    options_ = ReadSettings(settingsFile_, QDir::homePath());
    recentSets_ = ReadRecentSets(settingsFile_);
    libraryFile_ = ReadLibraryFile(settingsFile_);
    settingsLoaded_ = true;
}

void FMain::AttachSession(std::unique_ptr<vx::Session> session) {
    scheme_.reset();
    session_ = std::move(session);
    if (session_) scheme_ = std::make_unique<vx::EditScheme>(*session_);
    delete sessionChanges_;
    sessionChanges_ = nullptr;
    if (session_) {
        sessionChanges_ = new SetChangeSignal(session_->Changes(), 0, this);
        connect(sessionChanges_, &SetChangeSignal::Changed, this, &FMain::Session_Changed);
    }
    ui_.SetSession(session_.get());
    watcher_->SetSession(session_.get());
    RebuildMenus();
}

void FMain::SetCaption() {
    const QString title = FromView(vx::kProgramTitle);
    setWindowTitle(title);
    mnuHAbout_->setText(QStringLiteral("About ") + title + QStringLiteral("..."));
}

QMenu* FMain::EditMenu() { return editActions_->Menu(); }

FDoc* FMain::Doc(int set) const {
    auto found = docs_.find(set);
    return found == docs_.end() ? nullptr : found->second.data();
}

FDoc* FMain::ActiveDoc() const {
    if (!mdi_) return nullptr;
    // The current window stays current while a dialog has the focus.
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    return sub ? qobject_cast<FDoc*>(sub->widget()) : nullptr;
}

QMdiSubWindow* FMain::SubWindowOf(const FDoc* doc) const {
    if (!doc || !mdi_) return nullptr;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->widget() == doc) return sub;
    return nullptr;
}

void FMain::RebuildMenus() {
    FDoc* doc = ActiveDoc();
    const bool showMain = doc == nullptr;
    tbSave_->setEnabled(!showMain);
    editActions_->SetDocument(doc);
    UpdateStatus();
    if (showMain == mainMenusShown_ && doc == menuDoc_.data() && !menuBar()->actions().isEmpty()) return;
    menuBar()->clear();
    if (doc) {
        menuBar()->addActions(doc->MenuBarEntries());
    } else {
        menuBar()->addMenu(mnuFile_);
        menuBar()->addMenu(mnuHelp_);
    }
    menuDoc_ = doc;
    mainMenusShown_ = showMain;
}

void FMain::ArrangeWindows() {
    if (options_.WArrangeMode == 0)
        CascadeWindows();
    else
        TileWindows();
}

int FMain::NeededWindowWidth() const {
    int needed = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* doc = qobject_cast<FDoc*>(sub->widget()))
            needed = std::max(needed, doc->FullWidth() + sub->width() - doc->width());
    return needed;
}

void FMain::CascadeWindows() {
    // Each window one title bar lower and further right than the one before, as wide as its
    // grids need (at least three quarters of the frame) and down to the frame's bottom edge.
    const QRect area = mdi_->viewport()->rect();
    const int needed = NeededWindowWidth();
    int index = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isMinimized() || sub->isHidden()) continue;
        if (sub->isMaximized()) sub->showNormal();
        const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
        // Start again at the top left when the next window would leave too little room.
        const int offset = step * index;
        const int at = offset + area.height() / 2 > area.height() ? 0 : offset;
        index = at == 0 ? 1 : index + 1;
        const int width = std::min(std::max(needed, area.width() * 3 / 4), area.width() - at);
        sub->setGeometry(at, at, std::max(width, sub->minimumWidth()),
                         std::max(area.height() - at, sub->minimumHeight()));
        sub->raise();
    }
}

void FMain::TileWindows() {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (!sub->isMinimized() && !sub->isHidden()) windows.append(sub);
    const int needed = NeededWindowWidth();
    if (windows.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const TileGrid grid = TileGridFor(static_cast<int>(windows.size()), area.size(), needed);
    for (int i = 0; i < windows.size(); ++i) {
        const int column = i % grid.columns;
        const int row = i / grid.columns;
        // The last row's windows share its whole width.
        const int inRow = std::min(grid.columns, static_cast<int>(windows.size()) - row * grid.columns);
        const int x0 = area.width() * column / inRow;
        const int x1 = area.width() * (column + 1) / inRow;
        const int y0 = area.height() * row / grid.rows;
        const int y1 = area.height() * (row + 1) / grid.rows;
        QMdiSubWindow* sub = windows[i];
        if (sub->isMaximized()) sub->showNormal();
        sub->setGeometry(x0, y0, x1 - x0, y1 - y0);
    }
}

void FMain::SaveActiveSet() {
    FDoc* doc = ActiveDoc();
    if (!doc || !session_ || !session_->Sets().IsOpen(doc->SetNumber())) return;
    session_->Save(doc->SetNumber());
    doc->RefreshCaption();
}

void FMain::NewSet() {
    if (session_) session_->OpenOrNewSet(true, std::string());
}

void FMain::OpenSet() {
    if (!session_) return;
    // The set dialog starts beside the active set, else beside the set that was open last.
    if (FDoc* doc = ActiveDoc()) RememberSetDirectory(doc->SetNumber());
    if (!lastSetParent_.isEmpty() && QFileInfo(lastSetParent_).isDir()) options_.PathNam = lastSetParent_.toStdString();
    session_->OpenOrNewSet(false, std::string());
}

void FMain::RememberSetDirectory(int set) {
    if (!session_ || !session_->Sets().IsOpen(set) || session_->Slot(set).neverSaved) return;
    const QString directory = QString::fromStdString(session_->Slot(set).directory);
    if (!QFileInfo(directory).isDir()) return;
    lastSetParent_ = QFileInfo(directory).absolutePath();
    recentSets_ = WithRecentSet(recentSets_, QFileInfo(directory).absoluteFilePath());
}

void FMain::OpenRecentSet(const QString& directory) {
    // A set that has gone since is said by the open itself; its entry stays for the user to see.
    if (session_) session_->OpenOrNewSet(false, directory.toStdString());
}

void FMain::Exit() { close(); }

FLibrary* FMain::Library() const { return library_.data(); }

QString FMain::LibraryFile() const { return libraryFile_.isEmpty() ? ReadLibraryFile(settingsFile_) : libraryFile_; }

void FMain::ShowLibrary() {
    if (!library_) {
        libraryFile_ = LibraryFile();
        library_ = new FLibrary(libraryFile_, this);
        library_->setWindowIcon(windowIcon());
        connect(library_, &FLibrary::OpenAsked, this, &FMain::OpenLibraryItem);
    }
    library_->show();
    library_->raise();
    library_->activateWindow();
}

void FMain::OpenLibraryItem(const QString& setPath, vx::ItemKind kind, int slot) {
    if (!session_) return;
    int set = vx::library::OpenSetOf(*session_, setPath.toStdString());
    if (set == 0) {
        OpenRecentSet(setPath);
        set = vx::library::OpenSetOf(*session_, setPath.toStdString());
    }
    FDoc* doc = Doc(set);
    if (!doc) return;
    doc->ShowSlot(kind, slot);
    raise();
    activateWindow();
}

void FMain::ShowHelpContents() {
    if (!help_) help_ = new FHelp(programDir_, this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void FMain::ShowTipOfTheDay() {
    FTip tip(programDir_, options_.ShowTips == 1, this);
    tip.exec();
    options_.ShowTips = tip.ShowAtStartup() ? 1 : 0;
}

void FMain::ShowAbout() {
    FAbout about(this);
    about.setWindowIcon(windowIcon());
    about.exec();
}

void FMain::ShowOptions() {
    FOptions dialog(options_, this);
    dialog.exec();
    const int highCall = options_.HighCall;
    dialog.ReadBack(options_);
    if (options_.HighCall == highCall) return;
    for (auto& [set, doc] : docs_)
        if (doc) doc->OnOptionsChanged();
}

bool FMain::ShowBank(const QString& letter, bool twin) {
    bool shown = true;
    for (auto& [set, doc] : docs_)
        if (doc && !doc->ShowBank(letter, twin)) shown = false;
    return shown;
}

void FMain::Cascade() {
    options_.WArrangeMode = 0;
    ArrangeWindows();
}

void FMain::Tile() {
    options_.WArrangeMode = 1;
    ArrangeWindows();
}

void FMain::ArrangeIcons() {
    // Minimised windows line up along the bottom edge, left to right, wrapping upwards.
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    int y = area.bottom() + 1;
    int rowHeight = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized()) continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, size.height());
        sub->move(x, y - size.height());
        x += size.width();
    }
}

TileGrid TileGridFor(int windows, const QSize& area, int neededWidth) {
    if (windows <= 0) return {0, 0};
    // As many side by side as fit at the width they need; the rest one under the other.
    int columns = 1;
    while (columns < windows && neededWidth > 0 && area.width() / (columns + 1) >= neededWidth) ++columns;
    if (neededWidth <= 0) columns = static_cast<int>(std::ceil(std::sqrt(windows)));
    return {columns, (windows + columns - 1) / columns};
}

bool FMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == mdi_ && event->type() == QEvent::Resize && options_.WArrangeMode == 1)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (mdi_ && options_.WArrangeMode == 1) TileWindows();
            },
            Qt::QueuedConnection);
    if (event->type() == QEvent::Shortcut) {
        // Every set's tab bar and the menu bar claim their Alt+letters; the active set decides.
        FDoc* doc = ActiveDoc();
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        const bool tabBar = watched != menuBar();
        if (doc && (tabBar || shortcut->isAmbiguous())) {
            const FDoc::MnemonicResult result = doc->TakeMnemonic(shortcut->key());
            if (result.entry) {
                if (result.entry->menu())
                    menuBar()->setActiveAction(result.entry);
                else
                    result.entry->trigger();
            }
            if (result.handled) return true;
        }
        // A tab bar of a window that is not the active one has nothing to do with the key.
        if (tabBar) return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FMain::OnSetOpened(int set) {
    if (!session_) return;
    QPointer<FDoc>& doc = docs_[set];
    QMdiSubWindow* sub = SubWindowOf(doc);
    if (!doc || !sub) {
        delete doc.data();
        doc = new FDoc(*session_, *this, set);
        sub = mdi_->addSubWindow(doc);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // Ctrl+W and Ctrl+F4 belong to File Close, which asks about changes; the frame's system
        // menu claims the platform's close key too (Ctrl+W under X11), and two owners of one key
        // make it do nothing.
        for (QAction* action : sub->systemMenu()->actions())
            if (!action->shortcuts().isEmpty()) action->setShortcuts({});
        if (QTabWidget* tabs = doc->findChild<QTabWidget*>(QStringLiteral("tabMode")))
            tabs->tabBar()->installEventFilter(this);
        connect(doc, &FDoc::StatusChanged, this, [this] { UpdateStatus(); });
        // When a document window goes, the menu bar follows once it is gone, and tiled windows
        // share the room it leaves.
        connect(sub, &QObject::destroyed, this, [this] {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!mdi_) return;
                    RebuildMenus();
                    if (options_.WArrangeMode == 1) TileWindows();
                },
                Qt::QueuedConnection);
        });
    }
    RememberSetDirectory(set);
    sub->setWindowIcon(windowIcon());
    doc->Fill();
    sub->show();
    mdi_->setActiveSubWindow(sub);
    ArrangeWindows();
    RebuildMenus();
    // Sets from disk may hold items of the same name; a new set holds none.
    if (scheme_ && !session_->Slot(set).neverSaved)
        scheme_->WarnDuplicateNamesAfterOpening(set);
    watcher_->Follow();
}

void FMain::OnSetClosed(int set) {
    watcher_->Follow();
    // The document window closes and deletes itself; a set opened later under the same number
    // must never be given that window.
    docs_.erase(set);
}

void FMain::Session_Changed(const vx::SetChange& change) {
    switch (change.what) {
        case vx::SetChange::What::Opened:
            OnSetOpened(change.set);
            break;
        case vx::SetChange::What::Renamed:
            watcher_->Follow();
            break;
        case vx::SetChange::What::Closed:
            OnSetClosed(change.set);
            break;
        case vx::SetChange::What::Items:
            // A change in another set's window (a drop there) may have filled the shared clipboard.
            editActions_->Refresh();
            break;
        case vx::SetChange::What::UndoAvailability:
            break;
    }
}

void FMain::closeEvent(QCloseEvent* event) {
    // Every document window may ask to save; a Cancel there keeps the program running.
    for (QMdiSubWindow* sub : mdi_->subWindowList()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    // A set without a window (none should exist) is asked about and closed the same way.
    if (session_) {
        for (int set = 1; set <= session_->Sets().HighestNumber(); ++set) {
            if (!session_->Sets().IsOpen(set) || Doc(set)) continue;
            if (!session_->QueryClose(set)) {
                event->ignore();
                return;
            }
            session_->CloseSet(set);
        }
    }
    if (settingsLoaded_ && !settingsWritten_) {
        WriteSettings(settingsFile_, options_);
        WriteRecentSets(settingsFile_, recentSets_);
        WriteLibraryFile(settingsFile_, libraryFile_);
        settingsWritten_ = true;
    }
    if (help_) help_->close();
    // A rescan stops with the program.
    if (library_) library_->close();
    event->accept();
}

}  // namespace vxe
