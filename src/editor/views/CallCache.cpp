#include "editor/views/CallCache.h"

#include "core/storage/Session.h"

namespace vxe {

const vx::CallIndex& CallCache::Get() {
    if (!index_) Rebuild();
    return *index_;
}

void CallCache::Rebuild() {
    if (session_.Sets().IsOpen(set_))
        index_ = vx::BuildCallIndex(session_.Data(set_));
    else
        index_ = vx::CallIndex{};
}

}  // namespace vxe
