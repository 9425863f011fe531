#pragma once

#include <QString>

#include "core/storage/Options.h"

class QSettings;

namespace vxe {

// The settings store: group "Options", numbers as decimal text. The store is read once at
// start-up and written once at exit; nothing in between touches it.

// Missing, unreadable or out-of-range values take their defaults. PathNam, until the dialogs
// have chosen one, is the directory that holds OldSetNam, else startDir.
vx::Options ReadSettings(QSettings& store, const QString& startDir);
void WriteSettings(QSettings& store, const vx::Options& options);

// The user's own store, or an INI file when settingsFile is given (tests, portable runs).
vx::Options ReadSettings(const QString& settingsFile, const QString& startDir);
void WriteSettings(const QString& settingsFile, const vx::Options& options);

}  // namespace vxe
