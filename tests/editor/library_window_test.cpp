// The Library window over sets written for the test: finding as you type, opening an item's
// set, dropping a result on an open set's window, and a rescan cancelled or cut short by closing.
#include <QtTest>

#include <chrono>

#include "EditorHarness.h"
#include "editor/library/FLibrary.h"
#include "editor/shell/Startup.h"
#include "editor/views/ItemTableModel.h"
#include "support/SetBuilder.h"

namespace fs = std::filesystem;
using vxt::Child;

namespace {

constexpr int kProgram = 768;  // the number of user program slot 0

// Every file of a directory, hidden ones too, and its bytes.
std::map<fs::path, std::vector<std::uint8_t>> Files(const fs::path& directory) {
    std::map<fs::path, std::vector<std::uint8_t>> files;
    for (const auto& entry : fs::directory_iterator(directory)) files[entry.path()] = vx::test::ReadFileBytes(entry);
    return files;
}

// The program over a folder of sets, added and scanned: STUDIO holds the ballad that calls two
// programs; LIVE, the set dropped on, has one of them in another slot and not the other; COPYn
// are copies of STUDIO.
struct Program {
    vxt::Installation install;
    fs::path folder = install.root.Path() / "sets";
    std::unique_ptr<vxe::FMain> main;
    vxe::FLibrary* library = nullptr;
    vxt::ModalAnswerer answerer;

    explicit Program(int copies = 0) {
        vx::SetData studio = vx::test::EmptySet(), live = vx::test::EmptySet();
        studio.arr.arr[0].SetName("Zqx Ballad");
        studio.arr.arr[0].SetTrackProgram(0, kProgram + 3);
        studio.arr.arr[0].SetTrackProgram(1, kProgram + 5);
        studio.prg.records[3].SetName("Zqx Strings");
        studio.prg.records[5].SetName("Zqx Piano");
        live.arr.arr[0].SetName("Zqx Waltz");
        live.prg.records[7].SetName("Zqx Strings");
        vx::test::WriteSet(live, (folder / "LIVE.SET").string(), "LIVE");
        for (int n = -1; n < copies; ++n) {
            const std::string name = n < 0 ? "STUDIO" : "COPY" + std::to_string(n);
            vx::test::WriteSet(studio, (folder / (name + ".SET")).string(), name);
        }
        install.Store().setValue("Library/File", QString::fromStdString((install.root.Path() / "lib.sqlite").string()));
        main = std::make_unique<vxe::FMain>(install.ProgramDir(), install.settings);
        main->LoadSettings();
        main->Opts().WarnDupl = 0;
        main->AttachSession(vxe::CreateSession(main->ProgramDir(), main->Opts(), main->Ui()));
        main->ShowLibrary();
        library = main->Library();
        QSignalSpy finished(library, &vxe::FLibrary::ScanFinished);
        if (!library->AddFolder(QString::fromStdString(folder.string())) || !finished.wait(20000))
            qFatal("the folder was not scanned");
    }
    QTableView* Results() { return Child<QTableView>(*library, "grdLib"); }
    QLineEdit* Find() { return Child<QLineEdit>(*library, "txtFind"); }
    QString Shown(const QStringList& names) { return vxt::Shown(*library, names); }
    // The rows shown, as "set label name kind", one a line, and the count below them.
    QString Rows() {
        QStringList rows;
        for (int r = 0; r < Results()->model()->rowCount(); ++r)
            rows << QStringList{vxt::Text(Results(), r), vxt::Text(Results(), r, 1), vxt::Text(Results(), r, 2),
                                vxt::Text(Results(), r, 3)}
                        .join(' ');
        return rows.join('\n') + "|" + Shown({"lblCount"});
    }
    int SetOf(const char* set) { return main->Session()->Sets().FindByDirectory((folder / set).string()); }
};

}  // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsAsYouTypeAndOpensTheSetOfARow();
    void dropFromTheResultsCopiesAndKeepsCalls();
    void cancelledRescanLeavesTheWindowUsable();
};

void LibraryWindowTest::findsAsYouTypeAndOpensTheSetOfARow() {
    Program program;
    program.library->show();
    QCOMPARE(program.Shown({"lstFolders", "cmdRemoveFolder?"}), QString::fromStdString(program.folder.string()) + "|0");
    QTest::keyClicks(program.Find(), "zq");
    QCOMPARE(program.Rows(), QString("STUDIO.SET C11 Zqx Ballad Arrangement\nSTUDIO.SET F16 Zqx Piano Program\n"
                                     "LIVE.SET F18 Zqx Strings Program\nSTUDIO.SET F14 Zqx Strings Program\n"
                                     "LIVE.SET C11 Zqx Waltz Arrangement|5 items in 2 sets"));
    QTest::keyClicks(program.Find(), "x s");
    program.Results()->sortByColumn(0, Qt::DescendingOrder);  // by set
    QCOMPARE(program.Rows(),
             QString("STUDIO.SET F14 Zqx Strings Program\nLIVE.SET F18 Zqx Strings Program|2 items in 2 sets"));

    // A double-click (its first click, then the second) opens the row's set on the item; Enter
    // on the other row opens LIVE beside it; STUDIO again is raised, not opened twice.
    QTableView* results = program.Results();
    const QModelIndex studio = results->model()->index(0, 2);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(studio).center());
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(studio).center());
    vxe::FDoc* doc = program.main->Doc(program.SetOf("STUDIO.SET"));
    QVERIFY(doc);
    QCOMPARE(vxt::Tabs(*doc)->currentIndex(), 2);
    QCOMPARE(doc->CurrentNumber(vx::BankedKind::Program), kProgram + 3);
    results->setCurrentIndex(results->model()->index(1, 2));
    QTest::keyClick(results, Qt::Key_Return);
    vxe::FDoc* live = program.main->Doc(program.SetOf("LIVE.SET"));
    QVERIFY(live);
    QCOMPARE(live->CurrentNumber(vx::BankedKind::Program), kProgram + 7);
    results->setCurrentIndex(studio);
    QTest::keyClick(results, Qt::Key_Return);
    QCOMPARE(program.main->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(program.main->MdiArea()->activeSubWindow()->widget(), doc);
    QCOMPARE(program.answerer.Said(), QStringList());

    QTest::keyClicks(program.Find(), "q");
    QCOMPARE(program.Rows(), QString("|No items"));
    // Every item, the 64 KBD sets of each set among them; Remove Folder takes them out again.
    program.Find()->clear();
    QCOMPARE(program.Shown({"lblCount"}), QString("133 items in 2 sets"));
    Child<QListWidget>(*program.library, "lstFolders")->setCurrentRow(0);
    QCOMPARE(program.Shown({"cmdRemoveFolder?"}), QString("1"));
    Child<QPushButton>(*program.library, "cmdRemoveFolder")->click();
    QCOMPARE(program.Shown({"lstFolders#", "lblCount", "cmdRescan?"}), QString("0|No items|0"));
}

void LibraryWindowTest::dropFromTheResultsCopiesAndKeepsCalls() {
    Program program;
    const auto before = Files(program.folder / "STUDIO.SET");
    vx::Session& session = *program.main->Session();
    const int live = session.OpenOrNewSet(false, (program.folder / "LIVE.SET").string());
    QTest::keyClicks(program.Find(), "ballad");
    QAbstractItemModel* results = program.Results()->model();
    std::unique_ptr<QMimeData> drag(results->mimeData({results->index(0, 2)}));
    QVERIFY(live > 0 && drag);

    // Programs and lists refuse an arrangement; the arrangement grid takes it on slot C12.
    vxe::FDoc& doc = *program.main->Doc(live);
    for (const char* name : {"grdPrg", "lstBsq", "grdArk"}) {
        auto* model = Child<QAbstractItemView>(doc, name)->model();
        QVERIFY2(!model->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(0, 0)), name);
    }
    auto* grid = Child<QTableView>(doc, "grdArr");
    auto* model = qobject_cast<vxe::ItemTableModel*>(grid->model());
    const QModelIndex target = model->index(0, 1);
    QCOMPARE(model->SlotAt(target), 1);
    // LIVE's C11, and in C12 the copy's name and the program numbers its first two tracks call.
    auto copied = [&] {
        const auto& arrangements = session.Data(live).arr.arr;
        return QString::fromStdString(arrangements[0].Name() + "|" + arrangements[1].Name()) +
               QString("> %1 %2").arg(arrangements[1].TrackProgram(0)).arg(arrangements[1].TrackProgram(1));
    };
    // A set gone from disk since the scan is said; a slot no set has changes nothing.
    const QString studio = QString::fromStdString((program.folder / "STUDIO.SET").string());
    const QString gone = QString::fromStdString((program.folder / "GONE.SET").string());
    for (const auto& [set, slot] : {std::pair{gone, 0}, std::pair{studio, 4000}}) {
        std::unique_ptr<QMimeData> stale(vxe::MakeLibraryDrag({vx::ItemKind::Arrangement, set, slot}));
        QVERIFY(model->dropMimeData(stale.get(), Qt::CopyAction, -1, -1, target));
    }
    QCOMPARE(program.answerer.Said(), QStringList{"Warning|The set " + gone + " is not there any more."});
    QCOMPARE(copied(), QString("Zqx Waltz       |%1> 0 0").arg("", 16));

    // The one program LIVE lacks is asked about (No keeps its number); Strings is found by name.
    program.answerer.boxes.clear();
    program.answerer.AnswerTo(vx::QuestionId::MissingCall, QMessageBox::No);
    const QString asked =
        "|Track 'PERC' of Arrangement 'Zqx Ballad' calls Program 'Zqx Piano' "
        "non-existent in 'LIVE'\nRedirect this track to an existing Program?";
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));
    QCOMPARE(program.answerer.Said(), QStringList{asked});
    // LIVE's Zqx Strings is 775; 773 is kept.
    QCOMPARE(copied(), QString("Zqx Waltz       |Zqx Ballad      > 775 773"));
    QCOMPARE(grid->currentIndex(), target);
    // The set read for the drop is gone again, untouched and never locked, and what it held
    // went with it: there is nothing to paste. Undo takes the copy back.
    QCOMPARE(program.SetOf("STUDIO.SET"), 0);
    QVERIFY(Files(program.folder / "STUDIO.SET") == before);
    QVERIFY(program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).Empty());
    program.main->findChild<QAction*>("mnuEUndo")->trigger();
    QCOMPARE(copied(), QString("Zqx Waltz       |%1> 0 0").arg("", 16));

    // With STUDIO open in a window, the drop is the drag from that window: its set is the source,
    // and the clipboard keeps the item of the open set.
    const int open = session.OpenOrNewSet(false, studio.toStdString());
    program.main->MdiArea()->setActiveSubWindow(program.main->MdiArea()->subWindowList().value(0));
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));
    QCOMPARE(program.answerer.Said(), QStringList({asked, asked}));
    QCOMPARE(copied(), QString("Zqx Waltz       |Zqx Ballad      > 775 773"));
    QCOMPARE(program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).set, open);
}

void LibraryWindowTest::cancelledRescanLeavesTheWindowUsable() {
    Program program(24);
    QTest::keyClicks(program.Find(), "zqx b");
    QCOMPARE(program.Shown({"lblCount"}), QString("25 items in 25 sets"));

    // Every set changed since: a rescan reads them all again, unless it is cancelled. Cancelled
    // at once, it stops before it has read them, and the results stay as they were.
    const auto later = fs::file_time_type::clock::now() + std::chrono::hours(1);
    for (const auto& set : fs::directory_iterator(program.folder))
        for (const auto& file : fs::directory_iterator(set.path())) fs::last_write_time(file.path(), later);
    QSignalSpy finished(program.library, &vxe::FLibrary::ScanFinished);
    auto* progress = Child<QProgressBar>(*program.library, "prgScan");
    QVERIFY(program.library->Rescan());
    QCOMPARE(program.Shown({"cmdRescan?"}) + (progress->isHidden() ? "|hidden" : "|shown"), QString("0|shown"));
    program.library->CancelScan();
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    const QString said = program.Shown({"lblScan"});
    QVERIFY2(said.startsWith("Rescan cancelled: ") && said != "Rescan cancelled: 26 read, 0 unchanged.",
             qPrintable(said));
    QCOMPARE(program.Shown({"lblCount", "cmdRescan?"}) + (progress->isHidden() ? "|hidden" : "|shown"),
             QString("25 items in 25 sets|1|hidden"));
    program.Find()->clear();
    QTest::keyClicks(program.Find(), "zqx w");
    QCOMPARE(program.Rows(), QString("LIVE.SET C11 Zqx Waltz Arrangement|1 item in 1 set"));

    // Closing the window or the program during a scan stops it.
    QVERIFY(program.library->Rescan());
    program.library->close();
    QVERIFY(finished.wait(20000));
    QVERIFY(program.library->Rescan());
    program.main->close();
    program.main.reset();
}

QTEST_MAIN(LibraryWindowTest)
#include "library_window_test.moc"
