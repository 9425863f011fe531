#include "editor/library/LibraryScan.h"

#include <QFileInfo>

#include "core/library/Library.h"

namespace vxe {

namespace {

// The line vx50 library scan prints, so that the window and the tool say the same.
QString Summary(const vx::library::ScanSummary& s) {
    if (s.cancelled) return QStringLiteral("Rescan cancelled: %1 read, %2 unchanged.").arg(s.read).arg(s.unchanged);
    const QString sets = s.sets == 1 ? QStringLiteral("1 set") : QStringLiteral("%1 sets").arg(s.sets);
    return QStringLiteral("Scanned %1: %2 read, %3 unchanged, %4 removed, %5 could not be read.")
        .arg(sets)
        .arg(s.read)
        .arg(s.unchanged)
        .arg(s.removed)
        .arg(s.failed);
}

}  // namespace

LibraryScan::~LibraryScan() {
    cancel_ = true;
    // What the thread still posts to this object goes with it.
    if (thread_.joinable()) thread_.join();
}

bool LibraryScan::Start(const std::filesystem::path& file) {
    if (running_) return false;
    if (thread_.joinable()) thread_.join();
    running_ = true;
    cancel_ = false;
    thread_ = std::thread([this, file] {
        // SQLite connections are not shared between threads: this scan has one of its own.
        std::string error;
        auto library = vx::library::Library::Open(file, error);
        QString summary;
        bool cancelled = false;
        if (!library) {
            summary = QStringLiteral("The library could not be opened: %1").arg(QString::fromStdString(error));
        } else {
            const vx::library::ScanSummary done = library->Scan([this](const vx::library::ScanProgress& progress) {
                const QString current = QFileInfo(QString::fromStdString(progress.current)).fileName();
                const int at = static_cast<int>(progress.done);
                const int total = static_cast<int>(progress.total);
                QMetaObject::invokeMethod(
                    this, [this, at, total, current] { Q_EMIT Progress(at, total, current); }, Qt::QueuedConnection);
                return !cancel_.load();
            });
            summary = Summary(done);
            cancelled = done.cancelled;
            library.reset();
        }
        QMetaObject::invokeMethod(
            this,
            [this, summary, cancelled] {
                if (thread_.joinable()) thread_.join();
                running_ = false;
                Q_EMIT Finished(summary, cancelled);
            },
            Qt::QueuedConnection);
    });
    return true;
}

}  // namespace vxe
