#pragma once

#include <optional>

#include "core/selection/BankView.h"

namespace vx {
class Session;
}

namespace vxe {

// The call index of one set, shared by the grids of its window: built once per fill and again
// only after the set's calls may have changed.
class CallCache {
public:
    CallCache(vx::Session& session, int set) : session_(session), set_(set) {}

    // The index, built now when it is stale.
    const vx::CallIndex& Get();
    void Rebuild();
    void Invalidate() { index_.reset(); }
    bool Fresh() const { return index_.has_value(); }

private:
    vx::Session& session_;
    int set_;
    std::optional<vx::CallIndex> index_;
};

}  // namespace vxe
