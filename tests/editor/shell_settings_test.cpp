#include <QSettings>
#include <QtTest>

#include "editor/shell/QtInteraction.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/Settings.h"
#include "editor/shell/Startup.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

// PathNam|OldSetNam|WArrangeMode ModeId ShowTips HighCall WarnDupl StartOld
static QString Dump(const vx::Options& o) {
    QStringList numbers;
    for (int n : {o.WArrangeMode, o.ModeId, o.ShowTips, o.HighCall, o.WarnDupl, o.StartOld})
        numbers << QString::number(n);
    return QString::fromStdString(o.PathNam + "|" + o.OldSetNam + "|") + numbers.join(' ');
}

class ShellSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void writesDecimalTextUnderExactKeys();
    void firstOpenDialogStartsBesideTheLastSet();
    void badStoredValuesFallBack();
    void arguments();
    void recentSetsNewestFirstAtMostEight();
    void screenCheckWarnsBelow800x600();
    void fileFiltersOfferBothCases();
};

void ShellSettingsTest::writesDecimalTextUnderExactKeys() {
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/store.ini";
    QCOMPARE(Dump(vxe::ReadSettings(file, "/opt/vx")), QString("/opt/vx||1 0 1 1 1 0"));
    const vx::Options options{"/sets", "/sets/LIVE.SET", 0, 4, 0, 0, 0, 1};
    vxe::WriteSettings(file, options);
    QSettings store(file, QSettings::IniFormat);
    QCOMPARE(store.childGroups(), QStringList{"Options"});
    store.beginGroup("Options");
    QStringList pairs;
    for (const QString& key : store.childKeys()) pairs << key + "=" + store.value(key).toString();
    pairs.sort();
    QCOMPARE(pairs, (QStringList{"HighCall=0", "ModeId=4", "OldSetNam=/sets/LIVE.SET", "PathNam=/sets",
                                 "Show Tips at Startup=0", "StartOld=1", "WArrangeMode=0", "WarnDupl=0"}));
    QCOMPARE(Dump(vxe::ReadSettings(file, "/elsewhere")), Dump(options));
}

void ShellSettingsTest::firstOpenDialogStartsBesideTheLastSet() {
    // PathNam never stored: the directory of the last set, else the directory given.
    const char* cases[][3] = {
        {"", "", "/home/me"}, {"", "/sets/LIVE.SET", "/sets"}, {"/chosen", "/sets/LIVE.SET", "/chosen"}};
    for (const auto& c : cases) {
        vx::test::TempDirectory dir;
        QSettings store(QString::fromStdString(dir.Str()) + "/s.ini", QSettings::IniFormat);
        if (*c[0]) store.setValue("Options/PathNam", QString(c[0]));
        if (*c[1]) store.setValue("Options/OldSetNam", QString(c[1]));
        QCOMPARE(QString::fromStdString(vxe::ReadSettings(store, "/home/me").PathNam), QString(c[2]));
    }
}

void ShellSettingsTest::badStoredValuesFallBack() {
    const char* cases[][3] = {{"ModeId", "5", "1 5 1 1 1 0"},       {"ModeId", " 3 ", "1 3 1 1 1 0"},
                              {"ModeId", "6", "1 0 1 1 1 0"},       {"ModeId", "-1", "1 0 1 1 1 0"},
                              {"ModeId", "two", "1 0 1 1 1 0"},     {"WArrangeMode", "2", "1 0 1 1 1 0"},
                              {"WArrangeMode", "0", "0 0 1 1 1 0"}, {"StartOld", "", "1 0 1 1 1 0"},
                              {"HighCall", "0x1", "1 0 1 1 1 0"},   {"Show Tips at Startup", "99999", "1 0 1 1 1 0"}};
    for (const auto& c : cases) {
        vx::test::TempDirectory dir;
        QSettings store(QString::fromStdString(dir.Str()) + "/s.ini", QSettings::IniFormat);
        store.setValue(QString("Options/") + c[0], QString(c[1]));
        QCOMPARE(Dump(vxe::ReadSettings(store, "/p")), QString("/p||") + c[2]);
    }
}

void ShellSettingsTest::arguments() {
    auto args = vxe::ParseArguments(
        {"vxeditr", "sets/LIVE.SET", "/abs/GIGS.SET", "--no-tips", "--screenshot", "out/shot.png", "../up/X.SET"},
        "/home/me/work");
    QCOMPARE(args.setPaths, (QStringList{"/home/me/work/sets/LIVE.SET", "/abs/GIGS.SET", "/home/me/up/X.SET"}));
    QCOMPARE(args.screenshotFile, QString("/home/me/work/out/shot.png"));
    QVERIFY(args.noTips && args.error.isEmpty());
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--screenshot"}, "/").error, QString("--screenshot needs a file name"));
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--frobnicate", "A.SET"}, "/").error,
             QString("Unknown option --frobnicate"));
    QVERIFY(vxe::ParseArguments({"vxeditr", "--version"}, "/").showVersion);
    // What a screenshot shows: the tab by its caption, a bank letter, twin view, the size.
    args = vxe::ParseArguments({"vxeditr", "--tab", "backing seq", "--bank", "d", "--twin", "--size", "800x600"}, "/");
    QCOMPARE(QString("%1 %2 %3 %4x%5 %6")
                 .arg(args.tab)
                 .arg(args.bank)
                 .arg(args.twin)
                 .arg(args.size.width())
                 .arg(args.size.height())
                 .arg(args.error),
             QString("3 D 1 800x600 "));
    const char* bad[][3] = {{"--tab", "Options", "Unknown tab Options"},
                            {"--tab", "&Songs", "Unknown tab &Songs"},
                            {"--bank", "CD", "Unknown bank CD"},
                            {"--bank", "1", "Unknown bank 1"},
                            {"--size", "800", "--size needs WIDTHxHEIGHT, at least 200x200"},
                            {"--size", "100x600", "--size needs WIDTHxHEIGHT, at least 200x200"},
                            {"--size", "wide x high", "--size needs WIDTHxHEIGHT, at least 200x200"}};
    for (const auto& c : bad) QCOMPARE(vxe::ParseArguments({"vxeditr", c[0], c[1]}, "/").error, QString(c[2]));
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--tab"}, "/").error, QString("--tab needs a value"));
}

void ShellSettingsTest::recentSetsNewestFirstAtMostEight() {
    QStringList sets;
    for (int i = 1; i <= 9; ++i) sets = vxe::WithRecentSet(sets, QString("/sets/S%1.SET").arg(i));
    QCOMPARE(sets.size(), 8);
    QCOMPARE(sets.first() + " " + sets.last(), QString("/sets/S9.SET /sets/S2.SET"));
    // Opened again, a set moves to the top once; a path's spelling is cleaned, not its case.
    sets = vxe::WithRecentSet(sets, "/sets/./S5.SET/");
    QCOMPARE(sets.mid(0, 3), (QStringList{"/sets/S5.SET", "/sets/S9.SET", "/sets/S8.SET"}));
    QCOMPARE(sets.count("/sets/S5.SET"), 1);
    QCOMPARE(vxe::WithRecentSet(sets, "/sets/s5.set").value(0), QString("/sets/s5.set"));
    // Written and read back; a store holding more, empty or repeated entries gives eight at most.
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/settings.ini";
    vxe::WriteRecentSets(file, sets);
    QCOMPARE(vxe::ReadRecentSets(file), sets);
    QSettings(file, QSettings::IniFormat).setValue("Recent/Sets", QStringList{"", "/a", "/a", "/b"} + sets);
    QCOMPARE(vxe::ReadRecentSets(file), (QStringList{"/a", "/b"} + sets).mid(0, 8));
}

void ShellSettingsTest::screenCheckWarnsBelow800x600() {
    vx::test::ScriptedInteraction ui;
    ui.AnswerTo(vx::QuestionId::SmallScreen, {vx::Answer::Yes, vx::Answer::No});
    QVERIFY(vxe::ScreenCheck(ui, {800, 600}));
    QVERIFY(vxe::ScreenCheck(ui, {799, 600}));
    QVERIFY(!vxe::ScreenCheck(ui, {800, 599}));
    QCOMPARE(ui.messages.size(), std::size_t{2});
    QCOMPARE(ui.Last().text, std::string("For a correct display, the screen resolution\nshould be at least 800x600 "
                                         "pixels!\nContinue anyway?"));
    QCOMPARE(ui.Last().title, std::string("Warning"));
    QVERIFY(ui.Last().icon == vx::MessageIcon::Exclamation && ui.Last().buttons == vx::MessageButtons::YesNo);
    // Enter alone does not go on with a display too small: the question defaults to No.
    QVERIFY(!vxe::ScreenCheck(ui, {640, 480}));
    QVERIFY(ui.Last().defaultButton == vx::Answer::No);
}

void ShellSettingsTest::fileFiltersOfferBothCases() {
    const char* cases[][2] = {{"Arrangement|*.ARR", "Arrangement (*.ARR *.arr)"},
                              {"XStyle|*.XAF;*.xsf|All|*.*", "XStyle (*.XAF *.xaf *.xsf *.XSF);;All (*.*)"},
                              {"Report (*.TXT)|*.TXT", "Report (*.TXT *.txt)"},
                              {"Broken", ""}};
    for (const auto& c : cases) QCOMPARE(vxe::QtFileFilter(c[0]), QString(c[1]));
}

QTEST_MAIN(ShellSettingsTest)
#include "shell_settings_test.moc"
