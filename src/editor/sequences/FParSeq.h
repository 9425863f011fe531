#pragma once

#include "core/catalogue/ItemKind.h"
#include "core/sequences/SequenceRecords.h"
#include "editor/details/ParamDialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace vx {
class EditScheme;
}

namespace vxe {

// The parameters of one backing sequence (FParBsq) or song (FParSng): name, the called
// arrangement and style (backing sequences only), the track programs and the chaining.
template <typename Record>
class FParSeq : public ParamDialog {
public:
    FParSeq(vx::Session& session, int set, int position, QWidget* parent = nullptr);

    Record Result() const;

private:
    static constexpr bool kBsq = std::is_same_v<Record, vx::BsqRecord>;
    static constexpr vx::ItemKind kCaller = kBsq ? vx::ItemKind::BackingSequence : vx::ItemKind::Song;
    void lstPrg_DblClick(int track);
    void PickCalled(bool arrangement);

    Record record_;
    QLineEdit* txtNam_ = nullptr;
    ClickLabel* lblArr_ = nullptr;
    ClickLabel* lblSty_ = nullptr;
    QListWidget* lstPrg_ = nullptr;
    QCheckBox* chkChain_ = nullptr;
    QCheckBox* chkAuto_ = nullptr;
    QLineEdit* txtNxt_ = nullptr;
};

using FParBsq = FParSeq<vx::BsqRecord>;
using FParSng = FParSeq<vx::SongRecord>;

// Details on backing sequence or song 0 to 9.
void ShowBsqDetails(vx::EditScheme& scheme, vx::Session& session, int set, int position, QWidget* parent);
void ShowSngDetails(vx::EditScheme& scheme, vx::Session& session, int set, int position, QWidget* parent);

}  // namespace vxe
