#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace vx {
class Session;
}

namespace vxe {

class QtInteraction;

// Watches the directories and files of the open sets and, once changes on disk have settled,
// offers to reload a set whose files another program changed. The session compares the files
// with what it last read or saved, so the program's own saves are never offered.
class SetWatcher : public QObject {
public:
    SetWatcher(QtInteraction& ui, QObject* parent = nullptr);

    void SetSession(vx::Session* session);
    // Watches the open sets as they are now: after a set opened, was saved elsewhere or closed.
    void Follow();
    // Offers the reload of each changed set now; what the watch does once changes settle.
    void CheckSets();

private:
    QtInteraction& ui_;
    vx::Session* session_ = nullptr;
    QFileSystemWatcher watcher_;
    QTimer settle_;
    bool checking_ = false;
};

}  // namespace vxe
