#include "editor/shell/RecentSets.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QSettings>
#include <memory>

#include "editor/shell/ShellServices.h"

namespace vxe {

QStringList WithRecentSet(QStringList sets, const QString& directory) {
    if (directory.isEmpty()) return sets;
    const QString clean = QDir::cleanPath(directory);
    sets.removeAll(clean);
    sets.prepend(clean);
    while (sets.size() > kMaxRecentSets) sets.removeLast();
    return sets;
}

namespace {

QSettings* NewStore(const QString& settingsFile) {
    return settingsFile.isEmpty() ? new QSettings() : new QSettings(settingsFile, QSettings::IniFormat);
}

}  // namespace

QStringList ReadRecentSets(const QString& settingsFile) {
    const std::unique_ptr<QSettings> store(NewStore(settingsFile));
    QStringList sets;
    // Whatever the store holds, at most eight non-empty entries come back.
    for (const QString& set : store->value(QStringLiteral("Recent/Sets")).toStringList())
        if (!set.isEmpty() && sets.size() < kMaxRecentSets && !sets.contains(set)) sets << set;
    return sets;
}

void WriteRecentSets(const QString& settingsFile, const QStringList& sets) {
    const std::unique_ptr<QSettings> store(NewStore(settingsFile));
    store->setValue(QStringLiteral("Recent/Sets"), sets);
    store->sync();
}

void FillRecentSetsMenu(QMenu& menu, ShellServices& shell) {
    menu.clear();
    const QStringList sets = shell.RecentSets();
    if (sets.isEmpty()) menu.addAction(QStringLiteral("(none)"))->setEnabled(false);
    for (int i = 0; i < sets.size(); ++i) {
        const QString directory = sets[i];
        // A literal & in a path must not become a mnemonic.
        QString shown = directory;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        entry->setObjectName(QStringLiteral("mnuFRecent_%1").arg(i + 1));
        QObject::connect(entry, &QAction::triggered, &menu, [&shell, directory] { shell.OpenRecentSet(directory); });
    }
}

}  // namespace vxe
