#pragma once

#include <QObject>

#include "core/changes/ChangeFeed.h"

namespace vxe {

// The core's changes as a Qt signal, for the windows and views that show a set.
class SetChangeSignal : public QObject {
    Q_OBJECT

public:
    // set: only that set's changes (0: every set's).
    SetChangeSignal(vx::ChangeFeed& feed, int set, QObject* parent = nullptr);

Q_SIGNALS:
    void Changed(const vx::SetChange& change);

private:
    vx::ChangeFeed::Subscription subscription_;
};

}  // namespace vxe
