// The editor on the xcb platform of a private X server (see run-in-xvfb.sh): keys are typed and
// the mouse is moved by xdotool through the server, so the server's key map and pointer decide
// what the editor receives, as on a desktop: the set window's keys, drags between set windows
// and from the Library window.
#include <QtTest>
#include <QtWidgets>

#include "EditorHarness.h"
#include "editor/library/FLibrary.h"
#include "editor/shell/Startup.h"
#include "support/SetBuilder.h"

using namespace vxt;
namespace fs = std::filesystem;

namespace {

QStringList warnings;
QtMessageHandler testLog = nullptr;

void RecordWarnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) warnings << text;
    if (testLog) testLog(type, context, text);
}

// Types keys or moves the mouse through the X server; the effect is awaited by the caller.
void Xdo(const QStringList& arguments) { QCOMPARE(QProcess::execute("xdotool", arguments), 0); }

void Key(const QString& keys) { Xdo({"key", "--clearmodifiers", keys}); }

// Drags with the server's pointer from the cell at to the cell at in another view. The pointer
// moves while the editor runs: a pause lets each motion arrive on its own.
void Drag(QProcess& hand, QTableView* from, const QModelIndex& at, QTableView* onto, const QModelIndex& to) {
    const QPoint start = from->viewport()->mapToGlobal(from->visualRect(at).center());
    const QPoint end = onto->viewport()->mapToGlobal(onto->visualRect(to).center());
    QString script = QString("mousemove %1 %2 mousedown 1").arg(start.x()).arg(start.y());
    for (const QPoint& point : {start + QPoint(12, 12), end + QPoint(2, 2), end})
        script += QString(" sleep 0.05 mousemove %1 %2").arg(point.x()).arg(point.y());
    hand.start("xdotool", (script + " sleep 0.05 mouseup 1").split(' '));
}

void StartActive(vxe::FMain& main, const QStringList& sets) {
    QCOMPARE(Start(main, sets), -1);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
}

}  // namespace

class X11InputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testLog = qInstallMessageHandler(RecordWarnings); }
    void init() { warnings.clear(); }
    void keysOfTheSetWindow();
    void enterOpensDetailsThenADragToAnotherSet();
    void libraryResultDraggedOntoASetWindow();
};

void X11InputTest::keysOfTheSetWindow() {
    Installation installation;
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    StartActive(main, {installation.MakeSet("LIVE")});
    auto* tabs = main.Doc(1)->findChild<QTabWidget*>("tabMode");
    auto state = [&] {
        QWidget* focus = QApplication::focusWidget();
        return QString::number(tabs->currentIndex()) + " " + (focus ? focus->objectName() : QString("none"));
    };
    QTRY_COMPARE(state(), QString("0 grdArr"));

    // With one set open, Ctrl+Tab and Ctrl+Shift+Tab step through its tabs, wrapping; Tab
    // leaves the grid for the tab bar and the controls above the grid. Alt+R opens Arrangement
    // Global; Alt+O, shared by "S&ongs" and "&Options", shows the tab first, then the options.
    // Each step: the keys, then the tab and the focus after them, and the dialogs shown so far.
    for (const QString step :
         {"ctrl+Tab|1 grdSty|0", "ctrl+shift+Tab|0 grdArr|0", "ctrl+shift+Tab|5 grdArk|0", "ctrl+Tab|0 grdArr|0",
          "Tab|0 qt_tabwidget_tabbar|0", "Tab|0 cboArrBnk|0", "Tab|0 chkTwin_0|0", "shift+Tab|0 cboArrBnk|0",
          "alt+r|0 cboArrBnk|1", "alt+o|4 lstSng|1", "alt+o|4 lstSng|2"}) {
        const qsizetype before = answerer.dialogTitles.size();
        Key(step.section('|', 0, 0));
        QTRY_COMPARE(answerer.dialogTitles.size(), step.section('|', 2).toInt());
        if (answerer.dialogTitles.size() > before) {
            main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&main));
        }
        QTRY_COMPARE(state(), step.section('|', 1, 1));
    }
    QCOMPARE(answerer.dialogTitles, (QStringList{"Arrangement Global in LIVE", "Options"}));
    // Ctrl+N opens a new set; Ctrl+F4 closes the active one, asking about its changes; Ctrl+W
    // the last. With no set open Ctrl+N is the frame's; Ctrl+Q with a set open ends the program.
    Key("ctrl+n");
    QTRY_COMPARE(main.MdiArea()->subWindowList().size(), 2);
    answerer.AnswerTo(vx::QuestionId::SaveChanges, QMessageBox::No);
    Key("ctrl+F4");
    QTRY_VERIFY(!main.Session()->Sets().IsOpen(2));
    QCOMPARE(answerer.Said(), QStringList{"|Save the changes in NEWSET01 ?"});
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.Doc(1)->findChild<QTableView*>("grdArr")->setFocus();
    Key("ctrl+w");
    QTRY_VERIFY(!main.Session()->Sets().IsOpen(1));
    QTRY_COMPARE(main.MdiArea()->subWindowList().size(), 0);
    Key("ctrl+n");
    QTRY_COMPARE(main.MdiArea()->subWindowList().size(), 1);
    Key("ctrl+q");
    QTRY_VERIFY(!main.isVisible() && main.SettingsWritten());
    QCOMPARE(answerer.Said().size(), 2);
    QVERIFY2(warnings.filter("Ambiguous").isEmpty(), qPrintable(warnings.join('\n')));
}

void X11InputTest::enterOpensDetailsThenADragToAnotherSet() {
    Installation installation;
    vxe::FMain main(installation.ProgramDir(), installation.settings);
    ModalAnswerer answerer;
    bool chose = false;
    // Enter on the demo set's C11 shows its details; Enter on the dialog's first track line
    // opens the program picker, which is cancelled; back in the details dialog, it is closed.
    answerer.onDialog = [&](QWidget* dialog) {
        auto* tracks = dialog->findChild<QListWidget*>("lstPrg");
        if (dialog->objectName() != "FParArr" || !tracks || chose) {
            dialog->close();
            return;
        }
        chose = true;
        dialog->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        tracks->setFocus();
        tracks->setCurrentRow(0);
        QTRY_VERIFY(tracks->hasFocus() && QGuiApplication::focusWindow() == dialog->windowHandle());
        Key("Return");
    };
    StartActive(main, {installation.CopySet(fs::path(vx::test::SourceDir()) / "examples" / "DEMO.SET", "DEMO"),
                       installation.MakeSet("LIVE")});
    auto* from = main.Doc(1)->findChild<QTableView*>("grdArr");
    main.MdiArea()->setActiveSubWindow(main.MdiArea()->subWindowList().value(0));
    QTRY_VERIFY(QApplication::focusWidget() == from);
    Key("Return");
    QTRY_COMPARE(answerer.dialogTitles.size(), 3);
    QCOMPARE(answerer.dialogTitles[0].left(16) + "|" + answerer.dialogTitles[1].left(16),
             QString("Arrangement C11 |Select a Program"));
    QCOMPARE(answerer.dialogTitles[2], answerer.dialogTitles[0]);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));

    auto* to = main.Doc(2)->findChild<QTableView*>("grdArr");
    QVERIFY(from && to);
    // Arrangement C11 of the demo set onto the empty C11 of the other set.
    const QModelIndex source = from->model()->index(0, 0);
    const QModelIndex target = to->model()->index(0, 0);
    const QString name = from->model()->data(source).toString().mid(4);
    QVERIFY(to->model()->data(target).toString().mid(4, 16) != name.left(16));

    answerer.AnswerTo(vx::QuestionId::MissingCall, QMessageBox::No);
    QProcess hand;
    Drag(hand, from, source, to, target);
    QTRY_COMPARE(to->model()->data(target).toString().mid(4, 16), name.left(16));
    // The drop asked about the style and each track's program the arrangement calls, which
    // the other set lacks (the questions are the edit scheme's); No keeps the calls as they are.
    QCOMPARE(answerer.boxes.size(), std::size_t{11});
    QTRY_COMPARE(hand.state(), QProcess::NotRunning);
    QCOMPARE(hand.exitCode(), 0);
    QCOMPARE(from->model()->data(source).toString().mid(4), name);
}

void X11InputTest::libraryResultDraggedOntoASetWindow() {
    // Ctrl+L opens the Library window from the active set window (of two, each with its Ctrl+L);
    // a result dragged onto the set window copies the item from the set on disk, not open.
    Installation install;
    const fs::path folder = install.root.Path() / "sets";
    vx::SetData studio = vx::test::EmptySet();
    studio.arr.arr[0].SetName("Zqx Ballad");
    vx::test::WriteSet(studio, (folder / "STUDIO.SET").string(), "STUDIO");
    const QString live = install.MakeSet("LIVE");
    install.Store().setValue("Library/File", QString::fromStdString((install.root.Path() / "lib.sqlite").string()));
    vxe::FMain main(install.ProgramDir(), install.settings);
    main.move(0, 0);
    StartActive(main, {install.MakeSet("EXTRA"), live});
    const int set = main.Session()->Sets().FindByDirectory(live.toStdString());
    QVERIFY(set > 0 && main.Doc(set));
    Key("ctrl+l");
    QTRY_VERIFY(main.Library() && main.Library()->isVisible());
    vxe::FLibrary& library = *main.Library();
    // Beside the set window, so that the pointer crosses from one to the other.
    library.move(main.frameGeometry().right() - library.width() / 2, main.geometry().bottom() - 200);
    QSignalSpy scanned(&library, &vxe::FLibrary::ScanFinished);
    QVERIFY(library.AddFolder(QString::fromStdString(folder.string())) && scanned.wait(20000));
    library.findChild<QLineEdit*>("txtFind")->setText("zqx");
    auto* results = library.findChild<QTableView*>("grdLib");
    QCOMPARE(results->model()->rowCount(), 1);
    auto* grid = main.Doc(set)->findChild<QTableView*>("grdArr");
    const QModelIndex target = grid->model()->index(0, 1);
    ModalAnswerer answerer;
    QProcess hand;
    Drag(hand, results, results->model()->index(0, 2), grid, target);
    QTRY_COMPARE(grid->model()->data(target).toString().mid(4, 10), QString("Zqx Ballad"));
    QTRY_COMPARE(hand.state(), QProcess::NotRunning);
    QCOMPARE(hand.exitCode(), 0);
    QCOMPARE(main.Session()->Sets().FindByDirectory((folder / "STUDIO.SET").string()), 0);
    main.Session()->Slot(set).dirty.fill(false);
    main.close();
}

int main(int argc, char** argv) {
    // xdotool is done before the editor reads its events: every motion must reach it, as the
    // motions of a hand would, rather than being merged into the last.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication app(argc, argv);
    X11InputTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "x11_input_test.moc"
