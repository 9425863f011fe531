#include "editing/CallSites.h"

namespace vx {

KindMask Redirect(SetData& data, const Redirection& redirection, std::vector<CallChange>* changes) {
    // A bank shift rewrites most calls of a full set; one allocation holds them.
    if (changes != nullptr) changes->reserve(changes->size() + 4096);
    // Held by value: the record writes are byte stores, which the compiler must assume may
    // change anything reached through a reference.
    const int* const table = redirection.to.data();
    const auto size = static_cast<int>(redirection.to.size());
    const ItemKind called = redirection.called;
    return RewriteCalls(data, [table, size, called, changes](const CallSite& site) {
        if (site.called != called || site.number < 0 || site.number >= size) return site.number;
        const int target = table[site.number];
        if (target == Redirection::kKeep || target == site.number) return site.number;
        if (changes != nullptr) changes->push_back({site, target});
        return target;
    });
}

bool WriteCall(SetData& data, const CallSite& wanted, int number) {
    bool found = false;
    RewriteCalls(data, [&](const CallSite& site) {
        if (site.caller != wanted.caller || site.slot != wanted.slot || site.track != wanted.track ||
            site.called != wanted.called)
            return site.number;
        found = true;
        return number;
    });
    return found;
}

bool KindCallsKind(ItemKind caller, ItemKind called) {
    switch (caller) {
        case ItemKind::Arrangement:
            return called == ItemKind::Style || called == ItemKind::Program;
        case ItemKind::Style:
        case ItemKind::Song:
        case ItemKind::KbdSet:
            return called == ItemKind::Program;
        case ItemKind::BackingSequence:
            return called == ItemKind::Arrangement || called == ItemKind::Style || called == ItemKind::Program;
        default:
            return false;
    }
}

}  // namespace vx
