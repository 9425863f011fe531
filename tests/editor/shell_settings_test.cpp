#include <QSettings>
#include <QtTest>

#include "shell/QtInteraction.h"
#include "shell/Settings.h"
#include "shell/Startup.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

class ShellSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingGroupGivesDefaults();
    void writesDecimalTextUnderExactKeys();
    void badStoredValuesFallBack();
    void argumentsBecomeAbsolute();
    void screenCheckWarnsBelow800x600();
    void fileFiltersOfferBothCases();
};

void ShellSettingsTest::missingGroupGivesDefaults() {
    vx::test::TempDirectory dir;
    QSettings store(QString::fromStdString(dir.Str()) + "/none.ini", QSettings::IniFormat);
    const vx::Options options = vxe::ReadSettings(store, "/opt/vx");
    QCOMPARE(options.PathNam, std::string("/opt/vx"));
    QCOMPARE(options.OldSetNam, std::string());
    QCOMPARE(options.WArrangeMode, 1);
    QCOMPARE(options.ModeId, 0);
    QCOMPARE(options.ShowTips, 1);
    QCOMPARE(options.HighCall, 1);
    QCOMPARE(options.WarnDupl, 1);
    QCOMPARE(options.StartOld, 0);
}

void ShellSettingsTest::writesDecimalTextUnderExactKeys() {
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/store.ini";
    vx::Options options;
    options.PathNam = "/sets";
    options.OldSetNam = "/sets/LIVE.SET";
    options.WArrangeMode = 0;
    options.ModeId = 4;
    options.ShowTips = 0;
    options.HighCall = 0;
    options.WarnDupl = 0;
    options.StartOld = 1;
    vxe::WriteSettings(file, options);

    QSettings store(file, QSettings::IniFormat);
    QCOMPARE(store.childGroups(), QStringList{"Options"});
    store.beginGroup("Options");
    QStringList keys = store.childKeys();
    keys.sort();
    QCOMPARE(keys, (QStringList{"HighCall", "ModeId", "OldSetNam", "PathNam", "Show Tips at Startup", "StartOld",
                                "WArrangeMode", "WarnDupl"}));
    QCOMPARE(store.value("ModeId").toString(), QString("4"));
    QCOMPARE(store.value("Show Tips at Startup").toString(), QString("0"));
    QCOMPARE(store.value("StartOld").toString(), QString("1"));
    store.endGroup();

    const vx::Options back = vxe::ReadSettings(file, "/elsewhere");
    QCOMPARE(back.PathNam, options.PathNam);
    QCOMPARE(back.OldSetNam, options.OldSetNam);
    QCOMPARE(back.WArrangeMode, 0);
    QCOMPARE(back.ModeId, 4);
    QCOMPARE(back.ShowTips, 0);
    QCOMPARE(back.HighCall, 0);
    QCOMPARE(back.WarnDupl, 0);
    QCOMPARE(back.StartOld, 1);
}

void ShellSettingsTest::badStoredValuesFallBack() {
    struct Case {
        const char* key;
        const char* stored;
        int vx::Options::*field;
        int expected;
    };
    const Case cases[] = {
        {"ModeId", "5", &vx::Options::ModeId, 5},
        {"ModeId", " 3 ", &vx::Options::ModeId, 3},
        {"ModeId", "6", &vx::Options::ModeId, 0},
        {"ModeId", "-1", &vx::Options::ModeId, 0},
        {"ModeId", "two", &vx::Options::ModeId, 0},
        {"WArrangeMode", "0", &vx::Options::WArrangeMode, 0},
        {"WArrangeMode", "2", &vx::Options::WArrangeMode, 1},
        {"StartOld", "", &vx::Options::StartOld, 0},
        {"HighCall", "0x1", &vx::Options::HighCall, 1},
        {"Show Tips at Startup", "99999", &vx::Options::ShowTips, 1},
    };
    for (const Case& c : cases) {
        vx::test::TempDirectory dir;
        QSettings store(QString::fromStdString(dir.Str()) + "/s.ini", QSettings::IniFormat);
        store.setValue(QString("Options/") + c.key, QString(c.stored));
        const vx::Options options = vxe::ReadSettings(store, "/p");
        QVERIFY2(options.*(c.field) == c.expected, qPrintable(QString(c.key) + "=" + c.stored));
    }
}

void ShellSettingsTest::argumentsBecomeAbsolute() {
    auto args = vxe::ParseArguments(
        {"vxeditr", "sets/LIVE.SET", "/abs/GIGS.SET", "--no-tips", "--screenshot", "out/shot.png", "../up/X.SET"},
        "/home/me/work");
    QCOMPARE(args.error, QString());
    QCOMPARE(args.setPaths, (QStringList{"/home/me/work/sets/LIVE.SET", "/abs/GIGS.SET", "/home/me/up/X.SET"}));
    QCOMPARE(args.screenshotFile, QString("/home/me/work/out/shot.png"));
    QVERIFY(args.noTips);

    const struct {
        QStringList arguments;
        QString error;
    } bad[] = {
        {{"vxeditr", "--screenshot"}, "--screenshot needs a file name"},
        {{"vxeditr", "--frobnicate", "A.SET"}, "Unknown option --frobnicate"},
    };
    for (const auto& b : bad) QCOMPARE(vxe::ParseArguments(b.arguments, "/").error, b.error);
    QVERIFY(vxe::ParseArguments({"vxeditr", "--version"}, "/").showVersion);
}

void ShellSettingsTest::screenCheckWarnsBelow800x600() {
    const struct {
        QSize screen;
        std::optional<vx::Answer> answer;  // none: no question expected
        bool goOn;
    } cases[] = {
        {{800, 600}, std::nullopt, true},    {{1920, 1080}, std::nullopt, true},  {{799, 600}, vx::Answer::Yes, true},
        {{800, 599}, vx::Answer::No, false}, {{640, 480}, vx::Answer::No, false},
    };
    for (const auto& c : cases) {
        vx::test::ScriptedInteraction ui;
        if (c.answer) ui.answers.push_back(*c.answer);
        QCOMPARE(vxe::ScreenCheck(ui, c.screen), c.goOn);
        QCOMPARE(ui.messages.size(), std::size_t(c.answer ? 1 : 0));
        if (!c.answer) continue;
        const vx::Message& m = ui.Last();
        QCOMPARE(m.text, std::string("For a correct display, the screen resolution\nshould be at least 800x600 "
                                     "pixels!\nContinue anyway?"));
        QCOMPARE(m.title, std::string("Warning"));
        QVERIFY(m.icon == vx::MessageIcon::Exclamation);
        QVERIFY(m.buttons == vx::MessageButtons::YesNo);
    }
}

void ShellSettingsTest::fileFiltersOfferBothCases() {
    const struct {
        const char* filter;
        const char* expected;
    } cases[] = {
        {"Arrangement|*.ARR", "Arrangement (*.ARR *.arr)"},
        {"Report (*.TXT)|*.TXT", "Report (*.TXT *.txt)"},
        {"XStyle|*.XAF;*.xsf|All|*.*", "XStyle (*.XAF *.xaf *.xsf *.XSF);;All (*.*)"},
        {"Broken", ""},
        {"", ""},
    };
    for (const auto& c : cases) QCOMPARE(vxe::QtFileFilter(c.filter), QString(c.expected));
}

QTEST_MAIN(ShellSettingsTest)
#include "shell_settings_test.moc"
