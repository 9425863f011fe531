// The Library window on the xcb platform of a private X server (see run-in-xvfb.sh): Ctrl+L
// opens it from a set window, and a result dragged with the server's pointer (xdotool) onto the
// set window copies the item there, from the set on disk that is not open.
#include <QtTest>

#include "EditorHarness.h"
#include "editor/library/FLibrary.h"
#include "support/SetBuilder.h"

class LibraryDragTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resultDraggedOntoASetWindow();
};

void LibraryDragTest::resultDraggedOntoASetWindow() {
    vxt::Installation install;
    const std::filesystem::path folder = install.root.Path() / "sets";
    vx::SetData studio = vx::test::EmptySet();
    studio.arr.arr[0].SetName("Zqx Ballad");
    vx::test::WriteSet(studio, (folder / "STUDIO.SET").string(), "STUDIO");
    const QString live = install.MakeSet("LIVE");
    install.Store().setValue("Library/File", QString::fromStdString((install.root.Path() / "lib.sqlite").string()));
    vxe::FMain main(install.ProgramDir(), install.settings);
    // A second set window: each has its Ctrl+L, and only the active one's may answer the key.
    QCOMPARE(vxt::Start(main, {install.MakeSet("EXTRA"), live}), -1);
    main.move(0, 0);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    const int set = main.Session()->Sets().FindByDirectory(live.toStdString());
    QVERIFY(set > 0 && main.Doc(set));

    QCOMPARE(QProcess::execute("xdotool", {"key", "--clearmodifiers", "ctrl+l"}), 0);
    QTRY_VERIFY(main.Library() && main.Library()->isVisible());
    vxe::FLibrary& library = *main.Library();
    // Beside the set window, so that the pointer crosses from one to the other; the move is done
    // while the folder is scanned.
    library.move(main.frameGeometry().right() - library.width() / 2, main.geometry().bottom() - 200);
    QSignalSpy scanned(&library, &vxe::FLibrary::ScanFinished);
    QVERIFY(library.AddFolder(QString::fromStdString(folder.string())));
    QVERIFY(scanned.wait(20000));
    library.findChild<QLineEdit*>("txtFind")->setText("zqx");
    auto* results = library.findChild<QTableView*>("grdLib");
    QCOMPARE(results->model()->rowCount(), 1);

    auto* grid = main.Doc(set)->findChild<QTableView*>("grdArr");
    const QModelIndex target = grid->model()->index(0, 1);
    auto centre = [](QTableView* view, const QModelIndex& at) {
        return view->viewport()->mapToGlobal(view->visualRect(at).center());
    };
    const QPoint start = centre(results, results->model()->index(0, 2)), end = centre(grid, target);
    QString script = QString("mousemove %1 %2 mousedown 1").arg(start.x()).arg(start.y());
    for (const QPoint& point : {start + QPoint(12, 12), end + QPoint(2, 2), end})
        script += QString(" sleep 0.05 mousemove %1 %2").arg(point.x()).arg(point.y());
    vxt::ModalAnswerer answerer;
    QProcess hand;
    hand.start("xdotool", (script + " sleep 0.05 mouseup 1").split(' '));
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
