#include "editor/details/Details.h"

#include "core/details/ItemDetails.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "editor/arrangements/FParArr.h"
#include "editor/globals/FParArg.h"
#include "editor/globals/FParGbl.h"
#include "editor/programs/FParPrg.h"
#include "editor/sequences/FParSeq.h"
#include "editor/styles/FParSty.h"

namespace vxe {

void ShowDetails(vx::EditScheme& scheme, vx::Session& session, int set, const vx::ItemAddress& item, QWidget* parent) {
    switch (item.kind) {
        case vx::ItemKind::Arrangement:
            return ShowArrDetails(scheme, session, set, item.number, parent);
        case vx::ItemKind::Style:
            return ShowStyDetails(scheme, session, set, item.number, parent);
        case vx::ItemKind::Program:
            return ShowPrgDetails(scheme, session, set, item.number, parent);
        case vx::ItemKind::BackingSequence:
            return ShowBsqDetails(scheme, session, set, item.number, parent);
        case vx::ItemKind::Song:
            return ShowSngDetails(scheme, session, set, item.number, parent);
        case vx::ItemKind::ArrangementGlobal:
            return ShowArg(session, set, parent);
        case vx::ItemKind::Global:
            return ShowGbl(session, set, parent);
        default:
            return;
    }
}

std::unique_ptr<QDialog> NewDetailsDialog(vx::EditScheme& scheme, vx::Session& session, int set,
                                          const vx::ItemAddress& item, QWidget* parent) {
    switch (item.kind) {
        case vx::ItemKind::Arrangement:
            if (vx::ArrUserIndexOf(item.number) < 0) return nullptr;
            return std::make_unique<FParArr>(session, set, item.number, parent);
        case vx::ItemKind::Style:
            if (!vx::StyleHasData(session.Data(set), item.number)) return nullptr;
            return std::make_unique<FParSty>(session, set, item.number, parent);
        case vx::ItemKind::Program:
            if (vx::ProgramLabel(item.number).empty()) return nullptr;
            return std::make_unique<FParPrg>(scheme, session, set, item.number, parent);
        case vx::ItemKind::BackingSequence:
            return std::make_unique<FParBsq>(session, set, item.number, parent);
        case vx::ItemKind::Song:
            return std::make_unique<FParSng>(session, set, item.number, parent);
        case vx::ItemKind::ArrangementGlobal:
            return std::make_unique<FParArg>(session, set, parent);
        case vx::ItemKind::Global:
            return std::make_unique<FParGbl>(session, set, parent);
        default:
            return nullptr;
    }
}

}  // namespace vxe
