#include "editor/selection/SelectionDialogs.h"

#include "editor/selection/FInBanked.h"
#include "editor/selection/FInMidCh.h"
#include "editor/selection/FInNote.h"

namespace vxe {

namespace {

int Pick(vx::Session& session, int set, vx::BankedKind kind, int startNumber, const QString& addition,
         QWidget* parent) {
    FInBanked dialog(session, set, kind, startNumber, addition, parent);
    if (parent != nullptr) dialog.setWindowIcon(parent->window()->windowIcon());
    dialog.exec();
    return dialog.Chosen();
}

}  // namespace

int FInArrPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent) {
    return Pick(session, set, vx::BankedKind::Arrangement, startNumber, addition, parent);
}

int FInStyPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent) {
    return Pick(session, set, vx::BankedKind::Style, startNumber, addition, parent);
}

int FInPrgPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent) {
    return Pick(session, set, vx::BankedKind::Program, startNumber, addition, parent);
}

int FInNotePick(const QString& caption, const QString& label, const QStringList& entries, int preselected,
                QWidget* parent) {
    FInNote dialog(caption, label, entries, preselected, parent);
    if (parent != nullptr) dialog.setWindowIcon(parent->window()->windowIcon());
    dialog.exec();
    return dialog.Chosen();
}

int FInMidChPick(const QString& caption, const QStringList& entries, int preselected, QWidget* parent) {
    FInMidCh dialog(caption, entries, preselected, parent);
    if (parent != nullptr) dialog.setWindowIcon(parent->window()->windowIcon());
    dialog.exec();
    return dialog.Chosen();
}

}  // namespace vxe
