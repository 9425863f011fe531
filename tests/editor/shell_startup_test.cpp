// The whole program as started from the command line: its first windows, settings, keys and
// the sets it is given; several sets in its frame, their Edit and Window menus, cascading.
#include <QtTest>
#include <fstream>

#include "EditorHarness.h"
#include "editor/shell/SetDialogs.h"
#include "editor/shell/Startup.h"

using namespace vxt;
namespace fs = std::filesystem;

class ShellStartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }
    void startsWithDefaultsAndOpensNamedSet();
    void dialogsAtStartUpAndBadPresetNames();
    void programVersionAndScreenshot();
    void setsShareTheFrameItsEditAndWindowMenus();
    void settingsWrittenOnlyAtExitAndASetChangedOnDisk();
};

void ShellStartupTest::startsWithDefaultsAndOpensNamedSet() {
    Installation installation;
    const QString live = installation.MakeSet("LIVE");
    const fs::path plain = installation.root.Path() / "notes";
    fs::create_directories(plain);
    std::ofstream(plain / "readme.txt") << "not a set\n";
    QDir::setCurrent(QString::fromStdString(installation.root.Str()));
    Observed seen("startup");
    seen.Hide(installation.ProgramDir(), "PROGRAM");
    seen.Hide(QString::fromStdString(installation.root.Str()), "ROOT");
    seen.Hide(QDir::homePath(), "HOME");
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    seen("started", vxe::RunStartup(main, vxe::ParseArguments({"vxeditr", "--no-tips", "missing.set", "notes", live},
                                                              QDir::currentPath())));
    // Sets that cannot open: one message for each, with the path as it was typed; the good set
    // still opens, as the only one. The open dialog would start in the home directory.
    seen("said", answerer.Said())(
        "sets 1 2 open", QString("%1 %2").arg(main.Session()->Sets().IsOpen(1)).arg(main.Session()->Sets().IsOpen(2)));
    seen("status", main.Doc(1)->StatusItem() + "|" + main.Doc(1)->StatusDirty())("PathNam", main.Opts().PathNam);
    seen("current directory, title", QDir::currentPath() + "|" + main.windowTitle());
    // Tiled (the settings read as none stored, see dialogs_test): the only window fills the frame,
    // on the Arrangements tab, and its menus are the frame's.
    vxe::FDoc* doc = main.Doc(1);
    QMdiSubWindow* sub = main.MdiArea()->subWindowList().value(0);
    QVERIFY(doc && sub);
    seen("window, tab", doc->windowTitle() + QString::number(Tabs(*doc)->currentIndex()));
    seen("fills the frame", sub->geometry() == main.MdiArea()->viewport()->rect());
    seen("first menu the window's", main.menuBar()->actions().value(0) == doc->Menus().value(0)->menuAction());
    // Reopened under the same number before the closed window is gone, a set keeps its new window.
    QVERIFY(sub->close());
    seen("reopened as", main.Session()->OpenOrNewSet(false, live.toStdString()));
    QVERIFY(main.Doc(1) && main.Doc(1) != doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    seen("windows", main.MdiArea()->subWindowList().size())("window kept", main.Doc(1) != nullptr);
    // Open starts beside the active set, and beside the last set once it is closed.
    answerer.onDialog = [&](QWidget* dialog) {
        if (auto* chooser = qobject_cast<vxe::FSetDialog*>(dialog)) seen("open starts in", chooser->CurrentDirectory());
        dialog->close();
    };
    main.OpenSet();
    QVERIFY(main.MdiArea()->subWindowList().value(0)->close());
    main.OpenSet();
    seen.Check();
}

void ShellStartupTest::dialogsAtStartUpAndBadPresetNames() {
    // The tip of the day keeps its check box; with no set named, the open dialog follows.
    Installation installation;
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    answerer.onDialog = [](QWidget* dialog) {
        if (auto* box = dialog->findChild<QCheckBox*>("chkLoadTipsAtStartup")) box->setChecked(false);
        dialog->findChild<QPushButton*>(dialog->objectName() == "FTip" ? "cmdOK" : "cmdCancel")->click();
    };
    QCOMPARE(vxe::RunStartup(main, {}), -1);
    QCOMPARE(answerer.dialogTitles, (QStringList{"Tip of the Day", "Select a Vemo-x50 Set"}));
    QCOMPARE(main.Opts().ShowTips, 0);
    QVERIFY(!main.EditMenu()->menuAction()->isEnabled());
    // StartOld with a last set that is gone asks for one.
    Installation again;
    again.Store().setValue("Options/StartOld", "1");
    again.Store().setValue("Options/OldSetNam", QString::fromStdString((again.root.Path() / "GONE.SET").string()));
    vxe::FMain other(again.ProgramDir(), again.settings);
    answerer.dialogTitles.clear();
    QCOMPARE(Start(other), -1);
    QCOMPARE(answerer.dialogTitles, QStringList{"Select a Vemo-x50 Set"});
    QVERIFY(!other.Session()->AnySetOpen() && other.isVisible());
    // Bad preset names end the program.
    Installation bad;
    std::ofstream(bad.program / "X50PRSTS.TXT", std::ios::trunc) << "Vemo-x50 preset names\n\"only one\"\n";
    vxe::FMain ended(bad.ProgramDir(), bad.settings);
    answerer.boxes.clear();
    QCOMPARE(Start(ended), 1);
    QCOMPARE(answerer.Said(), QStringList{"Error|" + QString::fromStdString(vx::PresetNamesErrorText())});
    QVERIFY(answerer.boxes[0].icon == QMessageBox::Critical && !ended.Session());
    // A name split by a line break costs its entry and one warning; the program starts.
    Installation split;
    const auto shipped = vx::test::ReadFileBytes(split.program / "X50PRSTS.TXT");
    std::string names(shipped.begin(), shipped.end());
    names.insert(names.find("\"Soft Pop") + 5, "\n");
    std::ofstream(split.program / "X50PRSTS.TXT", std::ios::binary | std::ios::trunc) << names;
    vxe::FMain started(split.ProgramDir(), split.settings);
    answerer.boxes.clear();
    QCOMPARE(Start(started), -1);
    QCOMPARE(answerer.Said(), QStringList{"Warning|Line 6 of the Preset names file " + split.ProgramDir() +
                                          "/X50PRSTS.TXT is malformed.\nIt was skipped: its entry is left blank."});
    QVERIFY(started.Session() && started.Session()->Presets().arrangements[1].name == std::string(16, ' '));
}

void ShellStartupTest::programVersionAndScreenshot() {
    vx::test::TempDirectory dir;
    Observed seen("program_runs");
    // Help and the version need no display. A relative picture name is taken from the start
    // directory; a missing set must not leave the program waiting in the open dialog. The
    // windows the manual shows render alone, each as large as it opens (within the screen); a
    // name that is no window is refused without a picture.
    for (const QString run :
         {"offscreen --version", "xcb --version", "xcb --help", "offscreen --screenshot a.png NOWHERE.SET",
          "offscreen --screenshot b.png --size 800x600 --tab Programs --bank F --twin DEMO",
          "offscreen --screenshot c.png --dialog report DEMO", "offscreen --screenshot d.png --dialog options DEMO",
          "offscreen --screenshot e.png --dialog about DEMO", "offscreen --screenshot f.png --dialog tip DEMO",
          "offscreen --screenshot g.png --dialog none DEMO"}) {
        QStringList arguments = run.split(' ');
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
        environment.insert("QT_QPA_PLATFORM", arguments.takeFirst());
        environment.insert("DISPLAY", ":none");
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(dir.Str()));
        process.start(QString::fromStdString(vx::test::ProgramDir()) + "/vxeditr",
                      arguments.replaceInStrings(
                          "DEMO", QString::fromStdString(vx::test::ProgramDir()) + "/../examples/DEMO.SET"));
        QVERIFY(process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit);
        const QSize size = QImage(QString::fromStdString(dir.Str()) + "/" + arguments.value(1), "PNG").size();
        const bool dialog = run.contains("--dialog") && !size.isEmpty();
        seen(run, QString("%1 %2|").arg(process.exitCode()).arg(process.readAllStandardOutput().constData()) +
                      (dialog ? QString::number(QRect(0, 0, 1023, 768).contains(QRect({}, size)) &&
                                                size.width() >= 200 && size.height() >= 100)
                              : QString("%1x%2").arg(size.width()).arg(size.height())));
    }
    // The user's settings are left alone.
    QVERIFY(!fs::exists(dir.Path() / "config"));
    seen.Check();
}

void ShellStartupTest::setsShareTheFrameItsEditAndWindowMenus() {
    Installation installation;
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(Start(main, {installation.MakeSet("LIVE")}), -1);
    Observed seen("sets_in_the_frame");
    QMdiArea& area = *main.MdiArea();
    const auto menu = [&] { return main.menuBar()->actions().value(1) == main.EditMenu()->menuAction(); };
    seen("Cut actions", main.findChildren<QAction*>("mnuECut").size())("second menu is Edit", menu());
    Take(*main.Doc(1), "mnuFNew");
    seen("set 2 open and active", main.Session()->Sets().IsOpen(2) && area.activeSubWindow()->widget() == main.Doc(2));
    // Two sets at 1024 x 768 lie one above the other, each as wide as the frame.
    const QRect first = area.subWindowList()[0]->geometry(), second = area.subWindowList()[1]->geometry();
    seen("one above the other", first.bottom() < second.top())(
        "as wide as the frame", first.width() == area.viewport()->width() && second.width() == first.width());
    // The Edit menu follows the active window: the new set's KBD sets have no Cut. The Window
    // menu lists the open sets, the active one checked; an entry activates its set.
    Take(*main.Doc(2), "tabMode=5");
    auto* cut = main.findChild<QAction*>("mnuECut");
    auto* windowMenu = main.Doc(2)->findChild<QMenu*>("mnuWindow");
    auto entries = [&] {
        Q_EMIT windowMenu->aboutToShow();
        QStringList listed{"Cut " + QString::number(cut->isEnabled())};
        for (QAction* entry : windowMenu->actions())
            if (entry->objectName().startsWith("mnuWSet_")) listed << entry->text() + (entry->isChecked() ? "*" : "");
        return listed.join(" ");
    };
    seen("Window menu", entries());
    windowMenu->findChild<QAction*>("mnuWSet_1")->trigger();
    seen("set 1 active", area.activeSubWindow()->widget() == main.Doc(1))("Window menu", entries())(
        "second menu is Edit", menu());
    // Copy in the first window; the second, active again, can paste it.
    main.Session()->Data(1).arr.arr[0].SetName("Shared");
    main.findChild<QAction*>("mnuECopy")->trigger();
    area.activateNextSubWindow();
    Take(*main.Doc(2), "tabMode=0");
    main.Doc(2)->GoToNumber(vx::BankedKind::Arrangement, 258);
    main.findChild<QAction*>("mnuEPaste")->trigger();
    seen("pasted", main.Session()->Data(2).arr.arr[2].Name())("undo", main.findChild<QAction*>("mnuEUndo")->text());
    // Closing the new set asks about its changes; the set left fills the frame again.
    answerer.AnswerTo(vx::QuestionId::SaveChanges, QMessageBox::No);
    Take(*main.Doc(2), "mnuFClose");
    seen("said", answerer.Said())(
        "sets 1 2 open", QString("%1 %2").arg(main.Session()->Sets().IsOpen(1)).arg(main.Session()->Sets().IsOpen(2)));
    QTRY_COMPARE(area.subWindowList().value(0)->geometry(), area.viewport()->rect());
    // Three cascaded windows are wide enough for their grids and reach the frame's bottom edge.
    for (int i = 0; i < 2; ++i) main.Session()->OpenOrNewSet(true, "");
    main.Cascade();
    QCoreApplication::processEvents();
    const QRect frame = area.viewport()->rect();
    for (QMdiSubWindow* sub : area.subWindowList())
        seen("cascaded: to the bottom, wide, columns",
             QString("%1 %2 ")
                     .arg(sub->geometry().bottom() == frame.bottom())
                     .arg(sub->width() >= frame.width() * 3 / 4 && sub->geometry().right() <= frame.right()) +
                 ColumnsFit(sub->widget()->findChild<QTableView*>("grdArr")));
    // Every window closed: the main window's own menus come back, and the Edit entries are off.
    for (QMdiSubWindow* sub : area.subWindowList()) {
        main.Session()->Slot(qobject_cast<vxe::FDoc*>(sub->widget())->SetNumber()).dirty.fill(false);
        QVERIFY(sub->close());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    seen("all closed: menus, the first, Cut, Edit menu on", QString("%1 %2 %3 %4")
                                                                .arg(main.menuBar()->actions().size())
                                                                .arg(main.menuBar()->actions().value(0)->text())
                                                                .arg(cut->isEnabled())
                                                                .arg(main.EditMenu()->menuAction()->isEnabled()));
    seen.Check();
}

void ShellStartupTest::settingsWrittenOnlyAtExitAndASetChangedOnDisk() {
    Installation installation;
    installation.Store().setValue("Options/HighCall", "1");
    const auto before = vx::test::ReadFileBytes(installation.settings.toStdString());
    const QString live = installation.MakeSet("LIVE");
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(Start(main, {live}), -1);
    vx::Session& session = *main.Session();
    const fs::path directory = live.toStdString();
    // Another program renames arrangement C11 (its name is at byte 32) while the set is open.
    const auto renameOnDisk = [&](const std::string& name) {
        auto bytes = vx::test::ReadFileBytes(directory / "LIVE.ARR");
        std::copy(name.begin(), name.end(), bytes.begin() + 32);
        vx::test::WriteFileBytes(directory / "LIVE.ARR", bytes);
    };
    Observed seen("set_changed_on_disk");
    seen.Hide(live, "LIVE");
    seen.Hide(QDir::homePath(), "HOME");
    auto asked = [&answerer](std::size_t box) {
        const ModalAnswerer::Box& b = answerer.boxes.at(box);
        return b.title + "|" + b.text + "|" +
               QMetaEnum::fromType<QMessageBox::StandardButtons>().valueToKey(b.defaultButton);
    };
    // A clean set: Reload is offered as the default, and taken.
    renameOnDisk("Theirs");
    answerer.AnswerTo(vx::QuestionId::ReloadChangedSet, QMessageBox::Yes);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), std::size_t{1}, 10000);
    seen("clean set", asked(0))("C11", session.Data(1).arr.arr[0].Name())("status", main.Doc(1)->StatusItem());
    seen("marked", main.Doc(1)->isWindowModified());
    // With changes of our own the offer defaults to No. (A save after it asks: see session_test.)
    answerer.AnswerTo(vx::QuestionId::ReloadChangedSet, QMessageBox::No);
    session.Data(1).prg.records[0].SetName("Ours");
    session.MarkDirty(1, vx::ItemKind::Program);
    renameOnDisk("Others");
    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), std::size_t{2}, 10000);
    seen("changed set", asked(1));

    // Settings are written at exit only. Cancel when asked to save the changed set keeps the
    // program and the settings unwritten.
    main.Opts().StartOld = 1;
    main.Opts().HighCall = 0;
    main.Cascade();
    answerer.boxes.clear();
    answerer.AnswerTo(vx::QuestionId::SaveChanges, QMessageBox::Cancel);
    seen("closed", main.close())("said", answerer.Said());
    seen("shown, set open, settings written",
         QString("%1 %2 %3").arg(main.isVisible()).arg(session.Sets().IsOpen(1)).arg(main.SettingsWritten()));
    seen("settings file unchanged", vx::test::ReadFileBytes(installation.settings.toStdString()) == before);
    answerer.AnswerTo(vx::QuestionId::SaveChanges, QMessageBox::No);
    seen("closed", main.close())("any set open, settings written",
                                 QString("%1 %2").arg(session.AnySetOpen()).arg(main.SettingsWritten()));
    for (const char* key : {"StartOld", "HighCall", "WArrangeMode", "OldSetNam", "PathNam"})
        seen(key, installation.Store().value(QString("Options/") + key).toString());
    // The set opened is the first of the recent sets, kept with the settings; the next start
    // offers it in File, Recent Sets, and the entry opens it.
    seen("recent", installation.Store().value("Recent/Sets").toStringList());
    installation.Store().setValue("Options/StartOld", "0");
    answerer.onDialog = [](QWidget* dialog) { dialog->close(); };
    vxe::FMain next(installation.ProgramDir(), installation.settings);
    QCOMPARE(Start(next), -1);
    seen("next: any set open", next.Session()->AnySetOpen())("recent", next.RecentSets());
    auto* recent = next.findChild<QMenu*>("mnuFRecent");
    Q_EMIT recent->aboutToShow();
    seen("recent entry", recent->actions().value(0)->text());
    recent->actions().value(0)->trigger();
    QVERIFY(next.Doc(1) && next.Session()->Slot(1).directory == live.toStdString());
    seen.Check();
}

QTEST_MAIN(ShellStartupTest)
#include "shell_startup_test.moc"
