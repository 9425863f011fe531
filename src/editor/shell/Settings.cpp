#include "editor/shell/Settings.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace vxe {

namespace {

const char kGroup[] = "Options";

// A 16-bit setting read back from decimal text; anything else is the default.
int ReadNumber(const QSettings& store, const char* key, int fallback, int lowest, int highest) {
    bool ok = false;
    const int value = store.value(QLatin1String(key)).toString().trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest) return fallback;
    return value;
}

std::unique_ptr<QSettings> OpenStore(const QString& settingsFile) {
    if (settingsFile.isEmpty()) return std::make_unique<QSettings>();
    return std::make_unique<QSettings>(settingsFile, QSettings::IniFormat);
}

}  // namespace

vx::Options ReadSettings(QSettings& store, const QString& startDir) {
    vx::Options options;
    store.beginGroup(QLatin1String(kGroup));
    options.OldSetNam = store.value(QStringLiteral("OldSetNam")).toString().toStdString();
    // Never chosen yet: the directory that holds the last set, else the given one.
    QString start = startDir;
    if (!options.OldSetNam.empty()) start = QFileInfo(QString::fromStdString(options.OldSetNam)).path();
    options.PathNam = store.value(QStringLiteral("PathNam"), start).toString().toStdString();
    // A tab or arrangement mode outside its range would address a tab that does not exist.
    options.WArrangeMode = ReadNumber(store, "WArrangeMode", 1, 0, 1);
    options.ModeId = ReadNumber(store, "ModeId", 0, 0, 5);
    options.ShowTips = ReadNumber(store, "Show Tips at Startup", 1, -32768, 32767);
    options.HighCall = ReadNumber(store, "HighCall", 1, -32768, 32767);
    options.WarnDupl = ReadNumber(store, "WarnDupl", 1, -32768, 32767);
    options.StartOld = ReadNumber(store, "StartOld", 0, -32768, 32767);
    store.endGroup();
    return options;
}

void WriteSettings(QSettings& store, const vx::Options& options) {
    store.beginGroup(QLatin1String(kGroup));
    store.setValue(QStringLiteral("PathNam"), QString::fromStdString(options.PathNam));
    store.setValue(QStringLiteral("OldSetNam"), QString::fromStdString(options.OldSetNam));
    store.setValue(QStringLiteral("WArrangeMode"), QString::number(options.WArrangeMode));
    store.setValue(QStringLiteral("ModeId"), QString::number(options.ModeId));
    store.setValue(QStringLiteral("Show Tips at Startup"), QString::number(options.ShowTips));
    store.setValue(QStringLiteral("HighCall"), QString::number(options.HighCall));
    store.setValue(QStringLiteral("WarnDupl"), QString::number(options.WarnDupl));
    store.setValue(QStringLiteral("StartOld"), QString::number(options.StartOld));
    store.endGroup();
    store.sync();
}

vx::Options ReadSettings(const QString& settingsFile, const QString& startDir) {
    auto store = OpenStore(settingsFile);
    return ReadSettings(*store, startDir);
}

void WriteSettings(const QString& settingsFile, const vx::Options& options) {
    auto store = OpenStore(settingsFile);
    WriteSettings(*store, options);
}

}  // namespace vxe
