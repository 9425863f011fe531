// The Library window on the xcb platform of a private X server (see run-in-xvfb.sh): Ctrl+L
// opens it from a set window, and a result dragged with the server's pointer (xdotool) onto the
// set window copies the item there, from the set on disk that is not open.
#include <QtTest>
#include <QtWidgets>

#include <filesystem>

#include "../shell_modal_answerer.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/library/FLibrary.h"
#include "editor/shell/FMain.h"
#include "editor/shell/Startup.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

QPoint CellCentre(QTableView& grid, const QModelIndex& index) {
    return grid.viewport()->mapToGlobal(grid.visualRect(index).center());
}

}  // namespace

class LibraryDragTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultDraggedOntoASetWindow();
};

void LibraryDragTest::resultDraggedOntoASetWindow() {
    vx::test::TempDirectory root;
    const fs::path folder = root.Path() / "sets";
    vx::SetData studio = vx::test::EmptySet();
    studio.arr.arr[0].SetName("Zqx Ballad");
    vx::test::WriteSet(studio, (folder / "STUDIO.SET").string(), "STUDIO");
    vx::test::WriteSet(vx::test::EmptySet(), (folder / "LIVE.SET").string(), "LIVE");
    // A second set window: each has its Ctrl+L, and only the active one's may answer the key.
    vx::test::WriteSet(vx::test::EmptySet(), (root.Path() / "EXTRA.SET").string(), "EXTRA");
    const QString settings = QString::fromStdString((root.Path() / "settings.ini").string());
    QSettings(settings, QSettings::IniFormat)
        .setValue("Library/File", QString::fromStdString((root.Path() / "library.sqlite").string()));

    vxe::FMain main(QString::fromStdString(vx::test::ProgramDir()), settings);
    const QString live = QString::fromStdString((folder / "LIVE.SET").string());
    QCOMPARE(vxe::RunStartup(main, vxe::ParseArguments(
                                       QStringList{"vxeditr", "--no-tips",
                                                   QString::fromStdString((root.Path() / "EXTRA.SET").string()), live},
                                       "/")),
             -1);
    main.move(0, 0);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    const int set = main.Session()->Sets().FindByDirectory(live.toStdString());
    QVERIFY(set > 0 && main.Doc(set));

    QCOMPARE(QProcess::execute("xdotool", {"key", "--clearmodifiers", "ctrl+l"}), 0);
    QTRY_VERIFY(main.Library() && main.Library()->isVisible());
    vxe::FLibrary& library = *main.Library();
    QSignalSpy scanned(&library, &vxe::FLibrary::ScanFinished);
    QVERIFY(library.AddFolder(QString::fromStdString(folder.string())));
    QVERIFY(scanned.wait(20000));
    library.findChild<QLineEdit*>("txtFind")->setText("zqx");
    auto* results = library.findChild<QTableView*>("grdLib");
    QCOMPARE(results->model()->rowCount(), 1);
    // Beside the set window, so that the pointer crosses from one to the other.
    library.move(main.frameGeometry().right() - library.width() / 2, main.geometry().bottom() - 200);
    QTest::qWait(50);

    auto* grid = main.Doc(set)->findChild<QTableView*>("grdArr");
    const QModelIndex target = grid->model()->index(0, 1);
    const QPoint start = CellCentre(*results, results->model()->index(0, 2));
    const QPoint end = CellCentre(*grid, target);
    auto at = [](const QPoint& point) { return QStringList{QString::number(point.x()), QString::number(point.y())}; };
    QStringList steps{"mousemove"};
    steps << at(start) << "mousedown"
          << "1";
    for (const QPoint& point : {start + QPoint(12, 12), end + QPoint(2, 2), end})
        steps << "sleep"
              << "0.05"
              << "mousemove" << at(point);
    steps << "sleep"
          << "0.05"
          << "mouseup"
          << "1";
    ModalAnswerer answerer;
    QProcess hand;
    hand.start("xdotool", steps);
    QTRY_COMPARE(grid->model()->data(target).toString().mid(4, 10), QString("Zqx Ballad"));
    QTRY_COMPARE(hand.state(), QProcess::NotRunning);
    QCOMPARE(hand.exitCode(), 0);
    // The set read for the drop is not open afterwards.
    QCOMPARE(main.Session()->Sets().FindByDirectory((folder / "STUDIO.SET").string()), 0);
    main.Session()->Slot(set).dirty.fill(false);
    main.close();
}

int main(int argc, char** argv) {
    // Every motion of xdotool reaches the program, as the motions of a hand would.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QApplication app(argc, argv);
    LibraryDragTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "library_drag_test.moc"
