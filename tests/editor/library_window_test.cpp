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
using vxt::Observed;

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
    void findsOpensAndDropsResults();
    void cancelledRescanLeavesTheWindowUsable();
};

void LibraryWindowTest::findsOpensAndDropsResults() {
    Program program;
    Observed seen("library_window");
    seen.Hide(QString::fromStdString(program.folder.string()), "SETS");
    const auto before = Files(program.folder / "STUDIO.SET");
    program.library->show();
    seen("folders, remove on", program.Shown({"lstFolders", "cmdRemoveFolder?"}));
    QTest::keyClicks(program.Find(), "zq");
    seen("zq", program.Rows());
    QTest::keyClicks(program.Find(), "x s");
    program.Results()->sortByColumn(0, Qt::DescendingOrder);  // by set
    seen("zqx s by set", program.Rows());

    // A double-click (its first click, then the second) opens the row's set on the item; Enter
    // on the other row opens LIVE beside it; STUDIO again is raised, not opened twice.
    QTableView* results = program.Results();
    const QModelIndex studio = results->model()->index(0, 2);
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(studio).center());
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(studio).center());
    vxe::FDoc* doc = program.main->Doc(program.SetOf("STUDIO.SET"));
    QVERIFY(doc);
    seen("STUDIO tab, program",
         QString("%1 %2").arg(vxt::Tabs(*doc)->currentIndex()).arg(doc->CurrentNumber(vx::BankedKind::Program)));
    results->setCurrentIndex(results->model()->index(1, 2));
    QTest::keyClick(results, Qt::Key_Return);
    vxe::FDoc* live = program.main->Doc(program.SetOf("LIVE.SET"));
    QVERIFY(live);
    seen("LIVE program", live->CurrentNumber(vx::BankedKind::Program));
    results->setCurrentIndex(studio);
    QTest::keyClick(results, Qt::Key_Return);
    seen("windows", program.main->MdiArea()->subWindowList().size());
    QCOMPARE(program.main->MdiArea()->activeSubWindow()->widget(), doc);
    seen("said", program.answerer.Said());

    // Every item, the 64 KBD sets of each set among them.
    program.Find()->clear();
    seen("all", program.Shown({"lblCount"}));

    // A result dropped on LIVE's window, on its arrangements, once STUDIO's (the active one) is closed again.
    QVERIFY(program.main->MdiArea()->activeSubWindow()->close());
    vxt::Tabs(*live, 0);
    vx::Session& session = *program.main->Session();
    QTest::keyClicks(program.Find(), "ballad");
    QAbstractItemModel* found = program.Results()->model();
    std::unique_ptr<QMimeData> drag(found->mimeData({found->index(0, 2)}));
    QVERIFY(drag);

    // Programs and lists refuse an arrangement; the arrangement grid takes it on slot C12.
    for (const char* name : {"grdPrg", "lstBsq", "grdArk", "grdArr"}) {
        auto* model = Child<QAbstractItemView>(*live, name)->model();
        seen(QString(name) + " takes", model->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(0, 0)));
    }
    auto* grid = Child<QTableView>(*live, "grdArr");
    auto* model = qobject_cast<vxe::ItemTableModel*>(grid->model());
    const QModelIndex target = model->index(0, 1);
    seen("target slot", model->SlotAt(target));
    // LIVE's C11, and in C12 the copy's name and the program numbers its first two tracks call.
    auto copied = [&] {
        const auto& arrangements = session.Data(program.SetOf("LIVE.SET")).arr.arr;
        return QString::fromStdString(arrangements[0].Name() + "|" + arrangements[1].Name()) +
               QString("> %1 %2").arg(arrangements[1].TrackProgram(0)).arg(arrangements[1].TrackProgram(1));
    };
    // A set gone from disk since the scan is said; a slot no set has changes nothing.
    const QString studioPath = QString::fromStdString((program.folder / "STUDIO.SET").string());
    const QString gone = QString::fromStdString((program.folder / "GONE.SET").string());
    for (const auto& [set, slot] : {std::pair{gone, 0}, std::pair{studioPath, 4000}}) {
        std::unique_ptr<QMimeData> stale(vxe::MakeLibraryDrag({vx::ItemKind::Arrangement, set, slot}));
        seen("stale dropped", model->dropMimeData(stale.get(), Qt::CopyAction, -1, -1, target));
    }
    seen("said", program.answerer.Said())("LIVE", copied());

    // The one program LIVE lacks is asked about (No keeps its number); Strings is found by name:
    // LIVE's Zqx Strings is 775; 773 is kept.
    program.answerer.boxes.clear();
    program.answerer.AnswerTo(vx::QuestionId::MissingCall, QMessageBox::No);
    seen("dropped", model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));
    seen("said", program.answerer.Said())("LIVE", copied())("current is target", grid->currentIndex() == target);
    // The set read for the drop is gone again, untouched and never locked, and what it held
    // went with it: there is nothing to paste. Undo takes the copy back.
    seen("STUDIO open", program.SetOf("STUDIO.SET"))("STUDIO untouched",
                                                     Files(program.folder / "STUDIO.SET") == before);
    seen("clipboard empty", program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).Empty());
    program.main->findChild<QAction*>("mnuEUndo")->trigger();
    seen("undone", copied());

    // With STUDIO open in a window, the drop is the drag from that window: its set is the source,
    // and the clipboard keeps the item of the open set.
    const int open = session.OpenOrNewSet(false, studioPath.toStdString());
    program.main->MdiArea()->setActiveSubWindow(program.main->MdiArea()->subWindowList().value(0));
    seen("dropped from the open set", model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));
    seen("said", program.answerer.Said().size())("LIVE", copied());
    seen("clipboard of the open set", program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).set == open);

    // Remove Folder takes every item out again.
    Child<QListWidget>(*program.library, "lstFolders")->setCurrentRow(0);
    seen("folder chosen, remove on", program.Shown({"cmdRemoveFolder?"}));
    Child<QPushButton>(*program.library, "cmdRemoveFolder")->click();
    seen("removed: folders, count, rescan on", program.Shown({"lstFolders#", "lblCount", "cmdRescan?"}));
    seen.Check();
}

void LibraryWindowTest::cancelledRescanLeavesTheWindowUsable() {
    Program program(24);
    Observed seen("library_rescan");
    auto* progress = Child<QProgressBar>(*program.library, "prgScan");
    auto shown = [&] {
        return program.Shown({"lblCount", "cmdRescan?"}) + (progress->isHidden() ? "|hidden" : "|shown");
    };
    QTest::keyClicks(program.Find(), "zqx b");
    seen("scanned", shown());

    // Every set changed since: a rescan reads them all again, unless it is cancelled. Cancelled
    // at once, it stops before it has read them, and the results stay as they were.
    const auto later = fs::file_time_type::clock::now() + std::chrono::hours(1);
    for (const auto& set : fs::directory_iterator(program.folder))
        for (const auto& file : fs::directory_iterator(set.path())) fs::last_write_time(file.path(), later);
    QSignalSpy finished(program.library, &vxe::FLibrary::ScanFinished);
    seen("rescan started", program.library->Rescan())("scanning", shown());
    program.library->CancelScan();
    QVERIFY(finished.wait(20000));
    const QString said = program.Shown({"lblScan"});
    QVERIFY2(said.startsWith("Rescan cancelled: ") && said != "Rescan cancelled: 26 read, 0 unchanged.",
             qPrintable(said));
    seen("finished, cancelled", finished.at(0).at(0).toBool())("then", shown());
    program.Find()->clear();
    QTest::keyClicks(program.Find(), "zqx w");
    seen("zqx w", program.Rows());
    seen.Check();

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
