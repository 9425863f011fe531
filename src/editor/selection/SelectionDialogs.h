#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vx {
class Session;
}

namespace vxe {

// The selection dialogs. Each is modal and returns the chosen item number, or -1 when cancelled.
// The caption is "Select an Arrangement", "Select a Style" or "Select a Program " followed by
// the caption addition.
int FInArrPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent);
int FInStyPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent);
int FInPrgPick(vx::Session& session, int set, int startNumber, const QString& addition, QWidget* parent);

// Pick-one lists: the chosen entry's index, or -1 when cancelled.
int FInNotePick(const QString& caption, const QString& label, const QStringList& entries, int preselected,
                QWidget* parent);
int FInMidChPick(const QString& caption, const QStringList& entries, int preselected, QWidget* parent);

}  // namespace vxe
