#include <QCheckBox>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "document/FDoc.h"
#include "presets/PresetNames.h"
#include "shell/FMain.h"
#include "shell/Startup.h"
#include "shell_modal_answerer.h"
#include "storage/Session.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

// A program directory holding a copy of the shipped data, a settings file beside it, and a
// directory of sets.
struct Installation {
    vx::test::TempDirectory root;
    fs::path program = root.Path() / "program";
    fs::path sets = root.Path() / "sets";
    QString settings = QString::fromStdString((root.Path() / "settings.ini").string());

    Installation() {
        fs::create_directories(program);
        fs::create_directories(sets);
        const fs::path shipped(vx::test::ProgramDir());
        for (const char* item : {"X50EMPTY.SET", "X50PRSTS.TXT", "X50TIPS.TXT", "manual"})
            fs::copy(shipped / item, program / item, fs::copy_options::recursive);
    }
    QString ProgramDir() const { return QString::fromStdString(program.string()); }
    QString MakeSet(const std::string& name) const {
        const fs::path directory = sets / (name + ".SET");
        fs::create_directories(directory);
        for (const char* ext : {".ARR", ".STY", ".PRG", ".BSQ", ".SNG", ".ARK", ".ARG", ".GBL"})
            fs::copy_file(program / "X50EMPTY.SET" / (std::string("X50EMPTY") + ext), directory / (name + ext));
        return QString::fromStdString(directory.string());
    }
    void Store(const QString& key, const QString& value) const {
        QSettings store(settings, QSettings::IniFormat);
        store.setValue("Options/" + key, value);
    }
    QString Stored(const QString& key) const {
        QSettings store(settings, QSettings::IniFormat);
        return store.value("Options/" + key).toString();
    }
};

vxe::StartupArgs Args(const QStringList& sets = {}) {
    vxe::StartupArgs args;
    args.setPaths = sets;
    args.noTips = true;
    return args;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

}  // namespace

class ShellStartupTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QDir::setCurrent(QDir::tempPath()); }
    void startsWithDefaultsAndOpensNamedSet();
    void tipOfTheDayStoresItsCheckBox();
    void startOldWithMissingSetAsksForOne();
    void settingsWrittenOnlyAtExit();
    void cancelOnClosingKeepsTheProgram();
    void badPresetNamesEndTheProgram();
    void programVersionAndScreenshot();
};

void ShellStartupTest::startsWithDefaultsAndOpensNamedSet() {
    Installation installation;
    const QString live = installation.MakeSet("LIVE");
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(vxe::RunStartup(main, Args({live})), -1);
    QVERIFY(answerer.boxes.empty());

    const vx::Options& options = main.Opts();
    QCOMPARE(options.PathNam, installation.program.string());
    QCOMPARE(options.WArrangeMode, 1);
    QCOMPARE(options.ModeId, 0);
    QCOMPARE(options.StartOld, 0);
    QCOMPARE(QDir::currentPath(), installation.ProgramDir());
    QCOMPARE(main.windowTitle(), QString("Vemo-x50 File Editor"));
    auto* help = main.findChild<QMenu*>("mnuHelp", Qt::FindDirectChildrenOnly);
    QCOMPARE(help->findChild<QAction*>("mnuHAbout")->text(), QString("About Vemo-x50 File Editor..."));

    vxe::FDoc* doc = main.Doc(1);
    QVERIFY(doc);
    QCOMPARE(doc->windowTitle(), QString("LIVE"));
    QCOMPARE(doc->findChild<QTabWidget*>("tabMode")->currentIndex(), 0);
    // Tiled: the only window fills the frame.
    QMdiSubWindow* sub = main.MdiArea()->subWindowList().value(0);
    QVERIFY(sub);
    QCOMPARE(sub->geometry(), main.MdiArea()->viewport()->rect());
    QCOMPARE(main.menuBar()->actions().size(), doc->Menus().size());
    QCOMPARE(main.menuBar()->actions().value(0), doc->Menus().value(0)->menuAction());

    // A set opened again under the same number, before the closed window is gone, gets a window
    // of its own that stays.
    QVERIFY(sub->close());
    QCOMPARE(main.Session()->OpenOrNewSet(false, live.toStdString()), 1);
    QVERIFY(main.Doc(1) && main.Doc(1) != doc);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(main.Doc(1));
    QCOMPARE(main.MdiArea()->subWindowList().size(), 1);
    QCOMPARE(main.Doc(1)->windowTitle(), QString("LIVE"));

    // Once the document window is gone, the main window's own menus come back.
    QVERIFY(main.MdiArea()->subWindowList().value(0)->close());
    QTRY_COMPARE(main.MdiArea()->subWindowList().size(), 0);
    QTRY_COMPARE(main.menuBar()->actions().size(), 2);
    QCOMPARE(main.menuBar()->actions().value(0)->text(), QString("&File"));
    QCOMPARE(main.menuBar()->actions().value(1)->text(), QString("&Help"));
    QCOMPARE(main.Opts().OldSetNam, live.toStdString());
}

void ShellStartupTest::tipOfTheDayStoresItsCheckBox() {
    Installation installation;
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    answerer.onDialog = [](QWidget* dialog) {
        if (dialog->objectName() == "FTip") {
            dialog->findChild<QCheckBox*>("chkLoadTipsAtStartup")->setChecked(false);
            dialog->findChild<QPushButton*>("cmdOK")->click();
        } else {
            dialog->findChild<QPushButton*>("cmdCancel")->click();
        }
    };
    vxe::StartupArgs args = Args();
    args.noTips = false;
    QCOMPARE(vxe::RunStartup(main, args), -1);
    QCOMPARE(answerer.dialogTitles, (QStringList{"Tip of the Day", "Select a Vemo-x50 Set"}));
    QCOMPARE(main.Opts().ShowTips, 0);
}

void ShellStartupTest::startOldWithMissingSetAsksForOne() {
    Installation installation;
    installation.Store("StartOld", "1");
    installation.Store("OldSetNam", QString::fromStdString((installation.sets / "GONE.SET").string()));
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    answerer.onDialog = [](QWidget* dialog) { dialog->findChild<QPushButton*>("cmdCancel")->click(); };
    QCOMPARE(vxe::RunStartup(main, Args()), -1);
    QCOMPARE(answerer.dialogTitles, QStringList{"Select a Vemo-x50 Set"});
    QVERIFY(!main.Session()->AnySetOpen());
    QVERIFY(main.isVisible());
}

void ShellStartupTest::settingsWrittenOnlyAtExit() {
    Installation installation;
    installation.Store("HighCall", "1");
    const QByteArray before = FileBytes(installation.settings);
    const QString live = installation.MakeSet("LIVE");
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(vxe::RunStartup(main, Args({live})), -1);

    answerer.onDialog = [](QWidget* dialog) {
        dialog->findChild<QCheckBox*>("chkStartOld")->setChecked(true);
        dialog->findChild<QCheckBox*>("chkHighCall")->setChecked(false);
        dialog->close();
    };
    main.ShowOptions();
    QCOMPARE(main.Opts().StartOld, 1);
    QCOMPARE(main.Opts().HighCall, 0);
    main.Cascade();
    QCOMPARE(FileBytes(installation.settings), before);

    QVERIFY(main.close());
    QVERIFY(main.SettingsWritten());
    QCOMPARE(installation.Stored("StartOld"), QString("1"));
    QCOMPARE(installation.Stored("HighCall"), QString("0"));
    QCOMPARE(installation.Stored("WArrangeMode"), QString("0"));
    QCOMPARE(installation.Stored("OldSetNam"), live);
    QCOMPARE(installation.Stored("PathNam"), installation.ProgramDir());
}

void ShellStartupTest::cancelOnClosingKeepsTheProgram() {
    Installation installation;
    const QString live = installation.MakeSet("LIVE");
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(vxe::RunStartup(main, Args({live})), -1);
    main.Session()->MarkDirty(1, vx::ItemKind::Style);

    answerer.answers = {QMessageBox::Cancel};
    QVERIFY(!main.close());
    QCOMPARE(answerer.boxes.size(), std::size_t(1));
    QCOMPARE(answerer.boxes[0].text, QString("Save the changes in LIVE ?"));
    QCOMPARE(answerer.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(answerer.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(answerer.boxes[0].defaultButton, QMessageBox::Cancel);
    QVERIFY(main.isVisible());
    QVERIFY(main.Session()->Sets().IsOpen(1));
    QVERIFY(!main.SettingsWritten());
    QVERIFY(!QFile::exists(installation.settings));

    answerer.answers = {QMessageBox::No};
    QVERIFY(main.close());
    QVERIFY(!main.Session()->AnySetOpen());
    QCOMPARE(installation.Stored("OldSetNam"), live);
}

void ShellStartupTest::badPresetNamesEndTheProgram() {
    Installation installation;
    std::ofstream(installation.program / "X50PRSTS.TXT", std::ios::trunc) << "Vemo-x50 preset names\n\"only one\"\n";
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    QCOMPARE(vxe::RunStartup(main, Args()), 1);
    QCOMPARE(answerer.boxes.size(), std::size_t(1));
    QCOMPARE(answerer.boxes[0].text, QString::fromStdString(vx::PresetNamesErrorText()));
    QCOMPARE(answerer.boxes[0].title, QString("Error"));
    QCOMPARE(answerer.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(!main.Session());

    // Without the template the catalogue ends the program after its own messages.
    Installation bare;
    fs::remove_all(bare.program / "X50EMPTY.SET");
    vxe::FMain other(bare.ProgramDir(), bare.settings);
    answerer.boxes.clear();
    QCOMPARE(vxe::RunStartup(other, Args()), 1);
    QVERIFY(!answerer.boxes.empty());
    QCOMPARE(answerer.boxes.back().icon, QMessageBox::Critical);
}

void ShellStartupTest::programVersionAndScreenshot() {
    const QString program = QString::fromStdString(vx::test::ProgramDir()) + "/vxeditr";
    QProcess version;
    version.start(program, {"--version"});
    QVERIFY(version.waitForFinished(30000));
    QCOMPARE(version.exitCode(), 0);
    QCOMPARE(version.readAllStandardOutput(), QByteArray("vxeditr 1.06\n"));

    vx::test::TempDirectory dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString((dir.Path() / "config").string()));
    const QString demo = QString::fromStdString(vx::test::ProgramDir()) + "/../examples/DEMO.SET";
    // A relative picture name is taken from the directory the program was started in, and a
    // set that does not exist must not leave the program waiting in the open dialog.
    const struct {
        QStringList sets;
        QString picture;
    } runs[] = {{{demo}, "demo.png"}, {{"NOWHERE.SET"}, "nowhere.png"}};
    for (const auto& run : runs) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(dir.Str()));
        process.start(program, QStringList{"--screenshot", run.picture} + run.sets);
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        const QImage picture(QString::fromStdString((dir.Path() / run.picture.toStdString()).string()), "PNG");
        QCOMPARE(picture.size(), QSize(1024, 768));
    }
    // The rendering run leaves the user's settings alone.
    QVERIFY(!fs::exists(dir.Path() / "config"));
}

QTEST_MAIN(ShellStartupTest)
#include "shell_startup_test.moc"
