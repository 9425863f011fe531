#include "shell/FMain.h"

#include "editing/EditScheme.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyle>
#include <QToolBar>
#include <algorithm>

#include "catalogue/Catalogue.h"
#include "document/FDoc.h"
#include "shell/FAbout.h"
#include "shell/FHelp.h"
#include "shell/FOptions.h"
#include "shell/FTip.h"
#include "shell/Settings.h"
#include "storage/Session.h"

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
    ui_.SetListener(this);
    options_.PathNam = programDir.toStdString();

    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("mdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { RebuildMenus(); });

    CreateActions();
    RebuildMenus();
    resize(1024, 768);
}

FMain::~FMain() {
    // The document windows refer to the session; they go before it does, without telling
    // this half-destroyed window about it.
    QMdiArea* area = mdi_;
    mdi_ = nullptr;
    area->disconnect(this);
    delete area;
    edits_.reset();
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
    mnuFExit_->setShortcut(QKeySequence::Quit);
    mnuFile_->addAction(mnuFNew_);
    mnuFile_->addAction(mnuFOpen_);
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
    connect(tbNew_, &QAction::triggered, this, [this] { NewSet(); });
    connect(tbOpen_, &QAction::triggered, this, [this] { OpenSet(); });
    connect(tbSave_, &QAction::triggered, this, [this] { SaveActiveSet(); });
}

void FMain::LoadSettings() {
    options_ = ReadSettings(settingsFile_, programDir_);
    settingsLoaded_ = true;
}

void FMain::AttachSession(std::unique_ptr<vx::Session> session) {
    edits_.reset();
    session_ = std::move(session);
    if (session_) edits_ = std::make_unique<vx::EditScheme>(*session_);
    ui_.SetSession(session_.get());
    RebuildMenus();
}

void FMain::SetCaption() {
    const QString title = FromView(vx::kProgramTitle);
    setWindowTitle(title);
    mnuHAbout_->setText(QStringLiteral("About ") + title + QStringLiteral("..."));
}

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
    if (showMain == mainMenusShown_ && doc == menuDoc_.data() && !menuBar()->actions().isEmpty()) return;
    menuBar()->clear();
    if (doc) {
        for (QMenu* menu : doc->Menus()) menuBar()->addMenu(menu);
    } else {
        menuBar()->addMenu(mnuFile_);
        menuBar()->addMenu(mnuHelp_);
    }
    menuDoc_ = doc;
    mainMenusShown_ = showMain;
}

void FMain::ArrangeWindows() {
    if (options_.WArrangeMode == 0)
        mdi_->cascadeSubWindows();
    else
        mdi_->tileSubWindows();
}

void FMain::SaveActiveSet() {
    FDoc* doc = ActiveDoc();
    if (!doc || !session_ || !session_->Sets().IsOpen(doc->SetNumber())) return;
    session_->Save(doc->SetNumber());
}

void FMain::NewSet() {
    if (session_) session_->OpenOrNewSet(true, std::string());
}

void FMain::OpenSet() {
    if (session_) session_->OpenOrNewSet(false, std::string());
}

void FMain::Exit() { close(); }

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

void FMain::OnSetOpened(int set) {
    if (!session_) return;
    QPointer<FDoc>& doc = docs_[set];
    QMdiSubWindow* sub = SubWindowOf(doc);
    if (!doc || !sub) {
        delete doc.data();
        doc = new FDoc(*session_, *this, set);
        sub = mdi_->addSubWindow(doc);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        // When a document window goes, the menu bar follows once it is gone.
        connect(sub, &QObject::destroyed, this, [this] {
            QMetaObject::invokeMethod(
                this, [this] { RebuildMenus(); }, Qt::QueuedConnection);
        });
    }
    sub->setWindowIcon(windowIcon());
    doc->Fill();
    sub->show();
    mdi_->setActiveSubWindow(sub);
    ArrangeWindows();
    RebuildMenus();
}

void FMain::OnSetRenamed(int set) {
    if (FDoc* doc = Doc(set)) doc->RefreshCaption();
}

void FMain::OnSetClosed(int set) {
    // The document window closes and deletes itself; a set opened later under the same number
    // must never be given that window.
    docs_.erase(set);
}

void FMain::OnKindChanged(int set, vx::ItemKind kind) {
    if (FDoc* doc = Doc(set)) doc->OnKindChanged(kind);
}

void FMain::OnItemChanged(int set, vx::ItemKind kind, int number) {
    if (FDoc* doc = Doc(set)) doc->OnItemChanged(kind, number);
}

void FMain::OnUndoAvailabilityChanged(int set, bool available) {
    if (FDoc* doc = Doc(set)) doc->SetUndoAvailable(available);
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
        settingsWritten_ = true;
    }
    if (help_) help_->close();
    event->accept();
}

}  // namespace vxe
