#include "editor/shell/SetWatcher.h"

#include <QApplication>

#include "core/storage/Session.h"
#include "editor/shell/QtInteraction.h"

namespace vxe {

namespace {
// A save by another program renames several files; the question waits until they are all done.
constexpr int kSettleMs = 300;
// While a dialog or a menu is open the question waits, so that it never comes in the middle of one.
constexpr int kDialogRetryMs = 1000;
}  // namespace

SetWatcher::SetWatcher(QtInteraction& ui, QObject* parent) : QObject(parent), ui_(ui) {
    settle_.setSingleShot(true);
    connect(&settle_, &QTimer::timeout, this, [this] { CheckSets(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(kSettleMs); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(kSettleMs); });
}

void SetWatcher::SetSession(vx::Session* session) {
    session_ = session;
    Follow();
}

void SetWatcher::Follow() {
    QStringList wanted;
    if (session_) {
        for (int set = 1; set <= session_->Sets().HighestNumber(); ++set) {
            if (!session_->Sets().IsOpen(set)) continue;
            const vx::SetSlot& slot = session_->Slot(set);
            // A new set has no files until its first save.
            if (slot.stamps.empty()) continue;
            wanted << QString::fromStdString(slot.directory);
            for (const vx::FileStamp& stamp : slot.stamps)
                if (stamp.exists) wanted << QString::fromStdString(stamp.path);
        }
    }
    // A file replaced by a rename is a new file: every path is watched afresh.
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    if (!wanted.isEmpty()) watcher_.addPaths(wanted);
}

void SetWatcher::CheckSets() {
    if (!session_ || checking_ || ui_.Unattended()) return;
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        settle_.start(kDialogRetryMs);
        return;
    }
    checking_ = true;
    for (int set = 1; set <= session_->Sets().HighestNumber(); ++set)
        if (session_->Sets().IsOpen(set)) session_->OfferReload(set);
    checking_ = false;
    Follow();
}

}  // namespace vxe
