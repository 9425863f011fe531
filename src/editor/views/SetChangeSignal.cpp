#include "editor/views/SetChangeSignal.h"

namespace vxe {

SetChangeSignal::SetChangeSignal(vx::ChangeFeed& feed, int set, QObject* parent)
    : QObject(parent), subscription_(feed.Subscribe([this, set](const vx::SetChange& change) {
          if (set == 0 || change.set == set) Q_EMIT Changed(change);
      })) {}

}  // namespace vxe
