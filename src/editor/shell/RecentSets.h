#pragma once

#include <QString>
#include <QStringList>

class QMenu;

namespace vxe {

class ShellServices;

// File, Recent Sets: the directories of the last sets opened from disk, newest first.
inline constexpr int kMaxRecentSets = 8;

// The list with directory put first: an earlier entry for it goes, the oldest beyond eight go.
QStringList WithRecentSet(QStringList sets, const QString& directory);

// Kept beside the options in the same store (an INI file when settingsFile is given), group
// "Recent", key "Sets"; read at start-up, written at exit.
QStringList ReadRecentSets(const QString& settingsFile);
void WriteRecentSets(const QString& settingsFile, const QStringList& sets);

// Fills a Recent Sets menu from the shell's list: "&1 /path/LIVE.SET" ..., each opening its
// set; a disabled "(none)" when there is none.
void FillRecentSetsMenu(QMenu& menu, ShellServices& shell);

}  // namespace vxe
