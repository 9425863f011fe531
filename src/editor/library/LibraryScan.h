#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <filesystem>
#include <thread>

namespace vxe {

// A rescan of the library on a thread of its own, with a connection to the index of its own:
// the window that started it stays usable, and hears of its progress and its end through
// signals in its own thread. Going away cancels the scan and waits for the set being read.
class LibraryScan : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~LibraryScan() override;

    // Starts a scan of the index in file; false while one is running.
    bool Start(const std::filesystem::path& file);
    // Asks the scan to stop after the set it is reading; Finished follows.
    void Cancel() { cancel_ = true; }
    bool Running() const { return running_; }

Q_SIGNALS:
    // Before each set: the sets done, the sets found and the set about to be read.
    void Progress(int done, int total, const QString& current);
    // The scan ended: what it did (or why it could not run), and whether it was cancelled.
    void Finished(const QString& summary, bool cancelled);

private:
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
};

}  // namespace vxe
