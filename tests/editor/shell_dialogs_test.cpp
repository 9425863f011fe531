// The frame's own dialogs, message boxes, settings, recent sets and command-line arguments.
#include <QtTest>
#include <fstream>

#include "EditorHarness.h"
#include "editor/shell/FAbout.h"
#include "editor/shell/FHelp.h"
#include "editor/shell/FOptions.h"
#include "editor/shell/FTip.h"
#include "editor/shell/QtInteraction.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/SetDialogs.h"
#include "editor/shell/Settings.h"
#include "editor/shell/Startup.h"

namespace fs = std::filesystem;

namespace {
// A set directory NAME.SET made from the template's files, without the kinds listed in skip.
void MakeSet(const fs::path& directory, const std::string& name, const std::vector<std::string>& skip = {}) {
    fs::create_directories(directory);
    for (const char* ext : {".ARR", ".STY", ".PRG", ".BSQ", ".SNG", ".ARK", ".ARG", ".GBL"})
        if (std::find(skip.begin(), skip.end(), ext) == skip.end())
            fs::copy_file(fs::path(vx::test::ProgramDir()) / "X50EMPTY.SET" / (std::string("X50EMPTY") + ext),
                          directory / (name + ext));
}
// PathNam|OldSetNam|WArrangeMode ModeId ShowTips HighCall WarnDupl StartOld
QString Dump(const vx::Options& o) {
    QStringList numbers;
    for (int n : {o.WArrangeMode, o.ModeId, o.ShowTips, o.HighCall, o.WarnDupl, o.StartOld})
        numbers << QString::number(n);
    return QString::fromStdString(o.PathNam + "|" + o.OldSetNam + "|") + numbers.join(' ');
}

}  // namespace

class ShellDialogsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aboutHelpTipsAndOptions();
    void messageBoxesBusyPointerAndPause();
    void setDialogs();
    void settingsUnderExactKeysAndBadValuesFallBack();
    void arguments();
    void recentSetsNewestFirstAtMostEight();
    void screenCheckWarnsBelow800x600();
    void fileFiltersOfferBothCases();
};

void ShellDialogsTest::aboutHelpTipsAndOptions() {
    vxe::FAbout about;
    QCOMPARE(
        about.windowTitle() + "|" + vxt::Shown(about, {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"}),
        QString("About Vemo-x50 File Editor|Vemo-x50 File Editor|Version 1.06|This Program helps customizing "
                "Vemo-x50 file sets, e.g. clear, copy, paste and move \nArrangements, Styles, Programs etc. "
                "inside a file set or between different file sets,\nwhile preserving calls consistency inside "
                "each set - and much more!|CAUTION: Apply this program to COPIES, never to original files!"));
    vx::test::TempDirectory dir;
    const QString programDir = QString::fromStdString(dir.Str());
    QCOMPARE(vxe::FHelp(programDir).Browser()->toPlainText(), QString("Can't find manual/index.html"));
    vxe::FTip missing(programDir, true);
    missing.cmdNext_Click();
    QCOMPARE(missing.windowTitle() + "|" +
                 vxt::Shown(missing, {"lblDidYouKnow", "chkLoadTipsAtStartup", "cmdNextTip", "cmdOK"}) + "|" +
                 missing.CurrentTip(),
             QString("Tip of the Day|Did you know...|&Show Tips at Start-up|&Next Tip|&Close|Can't find X50TIPS.TXT"));
    // Next goes through the file in order and wraps from the last line to the first.
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::binary) << "First tip\r\nSecond tip\nThird <b>tip</b>\n";
    vxe::FTip tip(programDir, false);
    QString seen;
    for (int step = 0; step < 4; ++step, tip.cmdNext_Click()) seen += tip.CurrentTip() + "|";
    QVERIFY2(QString("First tip|Second tip|Third <b>tip</b>|").repeated(3).contains(seen), qPrintable(seen));
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::trunc);
    vxe::FTip empty(programDir, true);
    empty.cmdNext_Click();
    QCOMPARE(QString::number(empty.TipCount()) + empty.CurrentTip(), QString("0"));
    vx::Options options;
    vxe::FOptions dialog(options);
    QCOMPARE(dialog.windowTitle() + "|" + vxt::Shown(dialog, {"chkStartOld", "chkWarnDupl", "chkHighCall", "cmdClose"}),
             QString("Options|Open last Set at Start-up|Duplicate name warning|Highlight called Items|&Close"));
    QCOMPARE(vxt::Shown(dialog, {"chkStartOld*", "chkWarnDupl*", "chkHighCall*"}), QString("0|1|1"));
    for (auto* box : dialog.findChildren<QCheckBox*>()) box->toggle();
    // Closing by the frame is Close: the dialog is hidden and the values are taken.
    dialog.show();
    dialog.close();
    QVERIFY(!dialog.isVisible() && dialog.result() == QDialog::Accepted);
    dialog.ReadBack(options);
    QCOMPARE(QString("%1%2%3").arg(options.StartOld).arg(options.WarnDupl).arg(options.HighCall), QString("100"));
}

void ShellDialogsTest::messageBoxesBusyPointerAndPause() {
    // How a box looks; answered with click (NoButton: Escape), it must give the expected answer.
    vxe::QtInteraction ui;
    auto ask = [&ui](vx::MessageIcon icon, vx::MessageButtons buttons, vx::Answer defaultButton,
                     QMessageBox::StandardButton click, vx::Answer expected) {
        QString look;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            const QMetaEnum names = QMetaEnum::fromType<QMessageBox::StandardButtons>();
            look = QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())) + " " +
                   QString(names.valueToKeys(int(box->standardButtons()))).remove("|FirstButton") + " " +
                   names.valueToKey(box->standardButton(box->defaultButton())) +
                   (box->textFormat() == Qt::PlainText ? " " : " rich ") + box->windowTitle() + "|" + box->text();
            click ? box->button(click)->click() : QTest::keyClick(box, Qt::Key_Escape);
        });
        // A name's bytes are Latin-1, as in every view.
        const vx::Message message{"<b>A.SET</b> exists.\nOverwrite 'Caf\xE9'?", "Save a Set", icon, buttons,
                                  defaultButton};
        return look + (ui.ShowMessage(message) == expected ? "" : " (wrong answer)");
    };
    QCOMPARE(
        ask(vx::MessageIcon::Exclamation, vx::MessageButtons::YesNoCancel, vx::Answer::Cancel, QMessageBox::No,
            vx::Answer::No),
        QString("Warning Yes|No|Cancel Cancel Save a Set|<b>A.SET</b> exists.\nOverwrite 'Caf") + QChar(0xE9) + "'?");
    QCOMPARE(ask(vx::MessageIcon::Question, vx::MessageButtons::YesNo, vx::Answer::No, QMessageBox::NoButton,
                 vx::Answer::No),
             QString("Question Yes|No No Save a Set|<b>A.SET</b> exists.\nOverwrite 'Caf") + QChar(0xE9) + "'?");

    // Busy periods nest; an unmatched end leaves other people's pointers alone.
    QApplication::setOverrideCursor(Qt::IBeamCursor);
    for (bool busy : {true, true, false}) ui.SetBusy(busy);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    for (int i = 0; i < 2; ++i) ui.SetBusy(false);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    QApplication::restoreOverrideCursor();
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    ui.Pause(0.1);
    QVERIFY(fired);
    // Waits that make no sense return instead of hanging.
    ui.Pause(-1);
    ui.Pause(std::numeric_limits<double>::quiet_NaN());
}

void ShellDialogsTest::setDialogs() {
    vxt::Editor editor(0);
    const fs::path sets = editor.temp.Path() / "sets";
    MakeSet(sets / "LIVE.SET", "LIVE");
    MakeSet(sets / "gigs.set", "GIGS", {".GBL"});
    vx::test::ScriptedInteraction& ui = editor.ui;
    vx::Options& options = editor.options;
    options.PathNam = sets.string();
    vx::Session& session = *editor.session;
    auto path = [](const fs::path& p) { return QString::fromStdString(p.string()); };

    vxe::FSetDialog open(session, vxe::FSetDialog::Mode::Open);
    auto* ok = open.findChild<QPushButton*>("cmdOK");
    auto* list = open.findChild<QListWidget*>("lstDir");
    QStringList entries{open.CurrentDirectory()};
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    QCOMPARE(entries.join('|'), path(sets) + "|..|gigs.set|LIVE.SET");
    QVERIFY(ok->isHidden());
    // A set with a missing file: refusing to create it leaves OK hidden; agreeing creates it from
    // the template and offers OK.
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::Cancel);
    open.lstDir_DblClick(list->item(1));
    QVERIFY(ok->isHidden());
    QCOMPARE(ui.Last().title + "|" + ui.Last().text, std::string("Open a Set|GIGS.GBL is missing.\nCreate it?"));
    open.ChangeDirectory(path(sets));
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::OK);
    open.ChangeDirectory(path(sets / "gigs.set"));
    QVERIFY(!ok->isHidden() && fs::exists(sets / "gigs.set" / "GIGS.GBL"));
    // A set's name typed in any case; its directory is remembered.
    open.ChangeDirectory(path(sets));
    open.findChild<QLineEdit*>("txtSetName")->clear();
    QTest::keyClicks(open.findChild<QLineEdit*>("txtSetName"), "live");
    open.cmdOK_Click();
    QCOMPARE(open.Result() + "|" + options.PathNam, (sets / "LIVE.SET").string() + "|" + sets.string());
    // A typed or pasted path: to a set, to a file in one (both keep their case), to a plain
    // directory (shown, nothing chosen), or to nothing (said, as typed).
    const struct {
        QString typed;
        std::string result;
        QString shown;
        std::string message;
    } typedPaths[] = {
        {path(sets / "gigs.set"), (sets / "gigs.set").string(), path(sets / "gigs.set"), ""},
        {path(sets / "gigs.set" / "GIGS.ARR") + " ", (sets / "gigs.set").string(), path(sets / "gigs.set"), ""},
        {path(sets) + "/", "", path(sets), ""},
        {path(sets / "Gone" / "x.SET"), "", path(sets),
         "There is no directory " + (sets / "Gone" / "x.SET").string() + "."},
    };
    for (const auto& row : typedPaths) {
        ui.messages.clear();
        vxe::FSetDialog typed(session, vxe::FSetDialog::Mode::Open);
        typed.findChild<QLineEdit*>("txtSetName")->setText(row.typed);
        typed.cmdOK_Click();
        QCOMPARE(typed.Result() + "|" + typed.CurrentDirectory().toStdString() + "|" +
                     (ui.messages.empty() ? std::string() : ui.Last().text),
                 row.result + "|" + row.shown.toStdString() + "|" + row.message);
    }
    // The same set cannot be opened twice; the list goes back to the parent.
    QCOMPARE(session.OpenOrNewSet(false, (sets / "LIVE.SET").string()), 1);
    vxe::FSetDialog again(session, vxe::FSetDialog::Mode::Open);
    again.ChangeDirectory(path(sets / "LIVE.SET"));
    again.cmdOK_Click();
    QCOMPARE(again.Result() + ui.Last().text, (sets / "LIVE.SET").string() + " is already open");
    QCOMPARE(again.CurrentDirectory(), path(sets));
    // Saving over an existing set asks first; a new name gets its directory.
    vxe::FSetDialog save(session, vxe::FSetDialog::Mode::Save);
    QCOMPARE(save.windowTitle() + "|" + vxt::Shown(save, {"cmdOK"}),
             QString("Select a Vemo-x50 *.SET destination directory|&Save"));
    auto* name = save.findChild<QLineEdit*>("txtSetName");
    save.ChangeDirectory(path(sets / "LIVE.SET"));
    QCOMPARE(name->text(), QString("LIVE"));
    ui.AnswerTo(vx::QuestionId::OverwriteSet, vx::Answer::Cancel);
    save.cmdOK_Click();
    QCOMPARE(save.Result() + ui.Last().text, std::string("This Set already exists.\nOverwrite it?"));
    name->setText("fresh");
    save.cmdOK_Click();
    QCOMPARE(save.Result(), (sets / "FRESH.SET" / "FRESH").string());
    QVERIFY(fs::is_directory(sets / "FRESH.SET"));
    // A PathNam that is gone starts in the home directory, never beside the template.
    options.PathNam = (editor.temp.Path() / "gone").string();
    vxe::FSetDialog fallback(session, vxe::FSetDialog::Mode::Open);
    QCOMPARE(fallback.CurrentDirectory(), QDir::homePath());
}

void ShellDialogsTest::settingsUnderExactKeysAndBadValuesFallBack() {
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/store.ini";
    QCOMPARE(Dump(vxe::ReadSettings(file, "/opt/vx")), QString("/opt/vx||1 0 1 1 1 0"));
    const vx::Options options{"/chosen", "/sets/LIVE.SET", 0, 4, 0, 0, 0, 1};
    vxe::WriteSettings(file, options);
    QSettings store(file, QSettings::IniFormat);
    QCOMPARE(store.childGroups(), QStringList{"Options"});
    store.beginGroup("Options");
    QStringList pairs;
    for (const QString& key : store.childKeys()) pairs << key + "=" + store.value(key).toString();
    pairs.sort();
    QCOMPARE(pairs, (QStringList{"HighCall=0", "ModeId=4", "OldSetNam=/sets/LIVE.SET", "PathNam=/chosen",
                                 "Show Tips at Startup=0", "StartOld=1", "WArrangeMode=0", "WarnDupl=0"}));
    QCOMPARE(Dump(vxe::ReadSettings(file, "/elsewhere")), Dump(options));
    // Values stored by hand: what is read back. PathNam never stored is the directory of the
    // last set, else the directory given.
    const char* cases[][3] = {{"ModeId", "5", "/p||1 5 1 1 1 0"},
                              {"ModeId", " 3 ", "/p||1 3 1 1 1 0"},
                              {"ModeId", "6", "/p||1 0 1 1 1 0"},
                              {"ModeId", "-1", "/p||1 0 1 1 1 0"},
                              {"ModeId", "two", "/p||1 0 1 1 1 0"},
                              {"WArrangeMode", "2", "/p||1 0 1 1 1 0"},
                              {"WArrangeMode", "0", "/p||0 0 1 1 1 0"},
                              {"StartOld", "", "/p||1 0 1 1 1 0"},
                              {"HighCall", "0x1", "/p||1 0 1 1 1 0"},
                              {"Show Tips at Startup", "99999", "/p||1 0 1 1 1 0"},
                              {"OldSetNam", "/sets/LIVE.SET", "/sets|/sets/LIVE.SET|1 0 1 1 1 0"},
                              {"PathNam", "/chosen", "/chosen||1 0 1 1 1 0"}};
    for (const auto& c : cases) {
        QSettings hand(QString::fromStdString(dir.Str()) + "/" + c[0] + c[1] + ".ini", QSettings::IniFormat);
        hand.setValue(QString("Options/") + c[0], QString(c[1]));
        QCOMPARE(Dump(vxe::ReadSettings(hand, "/p")), QString(c[2]));
    }
}

void ShellDialogsTest::arguments() {
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

void ShellDialogsTest::recentSetsNewestFirstAtMostEight() {
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

void ShellDialogsTest::screenCheckWarnsBelow800x600() {
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

void ShellDialogsTest::fileFiltersOfferBothCases() {
    const char* cases[][2] = {{"Arrangement|*.ARR", "Arrangement (*.ARR *.arr)"},
                              {"XStyle|*.XAF;*.xsf|All|*.*", "XStyle (*.XAF *.xaf *.xsf *.XSF);;All (*.*)"},
                              {"Report (*.TXT)|*.TXT", "Report (*.TXT *.txt)"},
                              {"Broken", ""}};
    for (const auto& c : cases) QCOMPARE(vxe::QtFileFilter(c[0]), QString(c[1]));
}

QTEST_MAIN(ShellDialogsTest)
#include "shell_dialogs_test.moc"
