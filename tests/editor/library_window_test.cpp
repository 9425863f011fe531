// The Library window over sets written for the test: finding as you type, opening an item's
// set, dropping a result on an open set's window, and a rescan cancelled or cut short by closing.
#include <QtTest>
#include <QtWidgets>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>

#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/library/FLibrary.h"
#include "editor/shell/FMain.h"
#include "editor/shell/Startup.h"
#include "editor/views/ItemTableModel.h"
#include "shell_modal_answerer.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", name);
    return child;
}

// User program slot s has the number 768 + s.
constexpr int kProgramNumber = 768;

// STUDIO holds the ballad that calls two programs; LIVE, the set dropped on, has one of them
// in another slot and not the other.
void WriteSets(const fs::path& folder, int extraCopies) {
    vx::SetData studio = vx::test::EmptySet();
    studio.arr.arr[0].SetName("Zqx Ballad");
    studio.arr.arr[0].SetTrackProgram(0, kProgramNumber + 3);
    studio.arr.arr[0].SetTrackProgram(1, kProgramNumber + 5);
    studio.prg.records[3].SetName("Zqx Strings");
    studio.prg.records[5].SetName("Zqx Piano");
    vx::test::WriteSet(studio, (folder / "STUDIO.SET").string(), "STUDIO");
    vx::SetData live = vx::test::EmptySet();
    live.arr.arr[0].SetName("Zqx Waltz");
    live.prg.records[7].SetName("Zqx Strings");
    vx::test::WriteSet(live, (folder / "LIVE.SET").string(), "LIVE");
    for (int n = 0; n < extraCopies; ++n) {
        const std::string name = "COPY" + std::to_string(n);
        vx::test::WriteSet(studio, (folder / (name + ".SET")).string(), name);
    }
}

// Every file of a directory and its bytes.
std::map<std::string, std::string> Files(const fs::path& directory) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(directory)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

// The program with its library in the temporary directory and the folder of sets added and scanned.
struct Program {
    QTemporaryDir dir;
    fs::path folder;
    std::unique_ptr<vxe::FMain> main;
    vxe::FLibrary* library = nullptr;

    explicit Program(int extraCopies = 0) {
        folder = fs::path(dir.path().toStdString()) / "sets";
        WriteSets(folder, extraCopies);
        const QString settings = dir.filePath("settings.ini");
        QSettings(settings, QSettings::IniFormat).setValue("Library/File", dir.filePath("library.sqlite"));
        main = std::make_unique<vxe::FMain>(QString::fromStdString(vx::test::ProgramDir()), settings);
        main->LoadSettings();
        main->Opts().WarnDupl = 0;
        main->AttachSession(vxe::CreateSession(main->ProgramDir(), main->Opts(), main->Ui()));
        main->ShowLibrary();
        library = main->Library();
    }
    bool AddFolder() {
        QSignalSpy finished(library, &vxe::FLibrary::ScanFinished);
        return library->AddFolder(QString::fromStdString(folder.string())) && finished.wait(20000);
    }
    QTableView* Results() { return Child<QTableView>(*library, "grdLib"); }
    // The rows shown, as "set label name kind", one a line.
    QString Rows() {
        QAbstractItemModel* model = Results()->model();
        QStringList rows;
        for (int r = 0; r < model->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 4; ++c) cells << model->index(r, c).data().toString();
            rows << cells.join(' ');
        }
        return rows.join('\n');
    }
    int RowOf(const QString& name) {
        QAbstractItemModel* model = Results()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->index(r, 2).data().toString() == name) return r;
        return -1;
    }
    int SetOf(const char* name) {
        for (int set = 1; set <= main->Session()->Sets().HighestNumber(); ++set)
            if (main->Session()->Sets().IsOpen(set) && main->Session()->Slot(set).name == name) return set;
        return 0;
    }
};

}  // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findsAsYouTypeAndSorts();
    void doubleClickOpensTheSetAndSelectsTheItem();
    void dropFromTheResultsCopiesAndKeepsCalls();
    void cancelledRescanLeavesTheWindowUsable();
};

void LibraryWindowTest::findsAsYouTypeAndSorts() {
    Program program;
    QVERIFY(program.library->Opened());
    QVERIFY(program.AddFolder());
    auto* find = Child<QLineEdit>(*program.library, "txtFind");
    auto* count = Child<QLabel>(*program.library, "lblCount");
    QCOMPARE(Child<QListWidget>(*program.library, "lstFolders")->item(0)->text(),
             QString::fromStdString(program.folder.string()));

    QTest::keyClicks(find, "zq");
    QCOMPARE(program.Rows(), QString("STUDIO.SET C11 Zqx Ballad Arrangement\n"
                                     "STUDIO.SET F16 Zqx Piano Program\n"
                                     "LIVE.SET F18 Zqx Strings Program\n"
                                     "STUDIO.SET F14 Zqx Strings Program\n"
                                     "LIVE.SET C11 Zqx Waltz Arrangement"));
    QCOMPARE(count->text(), QString("5 items in 2 sets"));
    QTest::keyClicks(find, "x s");
    QCOMPARE(count->text(), QString("2 items in 2 sets"));
    // Sorted by set, then back by name.
    program.Results()->sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(program.Rows(), QString("LIVE.SET F18 Zqx Strings Program\nSTUDIO.SET F14 Zqx Strings Program"));
    QTest::keyClicks(find, "q");
    QCOMPARE(program.Rows(), QString());
    QCOMPARE(count->text(), QString("No items"));

    // Every item, the 64 KBD sets of each set among them; Remove Folder takes them out again.
    find->clear();
    QCOMPARE(count->text(), QString("133 items in 2 sets"));
    auto* folders = Child<QListWidget>(*program.library, "lstFolders");
    auto* remove = Child<QPushButton>(*program.library, "cmdRemoveFolder");
    QVERIFY(!remove->isEnabled());
    folders->setCurrentRow(0);
    QVERIFY(remove->isEnabled());
    remove->click();
    QCOMPARE(folders->count(), 0);
    QCOMPARE(count->text(), QString("No items"));
    QVERIFY(!Child<QPushButton>(*program.library, "cmdRescan")->isEnabled());
}

void LibraryWindowTest::doubleClickOpensTheSetAndSelectsTheItem() {
    Program program;
    QVERIFY(program.AddFolder());
    program.library->show();
    QTest::keyClicks(Child<QLineEdit>(*program.library, "txtFind"), "strings");
    program.Results()->sortByColumn(0, Qt::DescendingOrder);
    QTableView* results = program.Results();
    const QModelIndex studio = results->model()->index(0, 2);
    QCOMPARE(results->model()->index(0, 0).data().toString(), QString("STUDIO.SET"));
    // The first click of the two, then the double-click itself.
    const QPoint at = results->visualRect(studio).center();
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, at);
    const int set = program.SetOf("STUDIO");
    QVERIFY(set > 0);
    vxe::FDoc* doc = program.main->Doc(set);
    QVERIFY(doc);
    QCOMPARE(Child<QTabWidget>(*doc, "tabMode")->currentIndex(), 2);
    QCOMPARE(doc->CurrentNumber(vx::BankedKind::Program), kProgramNumber + 3);

    // Enter on the other row opens LIVE beside it; STUDIO again is raised, not opened twice.
    results->setCurrentIndex(results->model()->index(1, 2));
    QTest::keyClick(results, Qt::Key_Return);
    const int live = program.SetOf("LIVE");
    QVERIFY(live > 0 && program.main->Doc(live));
    QCOMPARE(program.main->Doc(live)->CurrentNumber(vx::BankedKind::Program), kProgramNumber + 7);
    ModalAnswerer answerer;
    results->setCurrentIndex(studio);
    QTest::keyClick(results, Qt::Key_Return);
    QCOMPARE(program.main->MdiArea()->subWindowList().size(), 2);
    QCOMPARE(program.main->MdiArea()->activeSubWindow()->widget(), doc);
    QCOMPARE(answerer.boxes.size(), std::size_t{0});
}

void LibraryWindowTest::dropFromTheResultsCopiesAndKeepsCalls() {
    Program program;
    QVERIFY(program.AddFolder());
    const std::map<std::string, std::string> before = Files(program.folder / "STUDIO.SET");
    vx::Session& session = *program.main->Session();
    const int live = session.OpenOrNewSet(false, (program.folder / "LIVE.SET").string());
    QVERIFY(live > 0);
    QTest::keyClicks(Child<QLineEdit>(*program.library, "txtFind"), "ballad");
    QCOMPARE(program.Rows(), QString("STUDIO.SET C11 Zqx Ballad Arrangement"));
    QAbstractItemModel* results = program.Results()->model();
    std::unique_ptr<QMimeData> drag(results->mimeData({results->index(0, 2)}));
    QVERIFY(drag);

    // Programs and lists refuse an arrangement; the arrangement grid takes it on slot C12.
    vxe::FDoc& doc = *program.main->Doc(live);
    for (const char* name : {"grdPrg", "lstBsq", "grdArk"}) {
        auto* view = Child<QAbstractItemView>(doc, name);
        QVERIFY2(!view->model()->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, view->model()->index(0, 0)), name);
    }
    auto* grid = Child<QTableView>(doc, "grdArr");
    auto* model = qobject_cast<vxe::ItemTableModel*>(grid->model());
    QModelIndex target;
    for (int r = 0; r < model->rowCount() && !target.isValid(); ++r)
        for (int c = 0; c < model->columnCount() && !target.isValid(); ++c)
            if (model->SlotAt(model->index(r, c)) == 1) target = model->index(r, c);
    QVERIFY(target.isValid());
    ModalAnswerer answerer;
    // A set gone from disk since the scan is said; a slot no set has changes nothing.
    const QString gone = QString::fromStdString((program.folder / "GONE.SET").string());
    std::unique_ptr<QMimeData> stale(vxe::MakeLibraryDrag({vx::ItemKind::Arrangement, gone, 0}));
    QVERIFY(model->dropMimeData(stale.get(), Qt::CopyAction, -1, -1, target));
    std::unique_ptr<QMimeData> outside(vxe::MakeLibraryDrag(
        {vx::ItemKind::Arrangement, QString::fromStdString((program.folder / "STUDIO.SET").string()), 4000}));
    QVERIFY(model->dropMimeData(outside.get(), Qt::CopyAction, -1, -1, target));
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QCOMPARE(answerer.boxes[0].title + "|" + answerer.boxes[0].text,
             "Warning|The set " + gone + " is not there any more.");
    QCOMPARE(QString::fromStdString(session.Data(live).arr.arr[1].Name()), QString(16, ' '));
    answerer.boxes.clear();

    answerer.answers = {QMessageBox::No};
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));

    // The one program LIVE lacks is asked about (No keeps its number); Strings is found by name.
    QCOMPARE(answerer.boxes.size(), std::size_t{1});
    QCOMPARE(answerer.boxes[0].text, QString("Track 'PERC' of Arrangement 'Zqx Ballad' calls Program 'Zqx Piano' "
                                             "non-existent in 'LIVE'\nRedirect this track to an existing Program?"));
    const vx::ArrangementRecord& copied = session.Data(live).arr.arr[1];
    QCOMPARE(QString::fromStdString(copied.Name()), QString("Zqx Ballad      "));
    QCOMPARE(copied.TrackProgram(0), kProgramNumber + 7);
    QCOMPARE(copied.TrackProgram(1), kProgramNumber + 5);
    QCOMPARE(QString::fromStdString(session.Data(live).arr.arr[0].Name()), QString("Zqx Waltz       "));
    QCOMPARE(grid->currentIndex(), target);
    // The set read for the drop is gone again, untouched and never locked.
    QCOMPARE(program.SetOf("STUDIO"), 0);
    QVERIFY(Files(program.folder / "STUDIO.SET") == before);
    // What it held went with it: there is nothing to paste.
    QVERIFY(program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).Empty());
    // Undo takes the copy back.
    program.main->findChild<QAction*>("mnuEUndo")->trigger();
    QCOMPARE(QString::fromStdString(session.Data(live).arr.arr[1].Name()), QString(16, ' '));

    // With STUDIO open in a window, the drop is the drag from that window: its set is the source,
    // and the clipboard keeps the item of the open set.
    const int studio = session.OpenOrNewSet(false, (program.folder / "STUDIO.SET").string());
    QVERIFY(studio > 0);
    program.main->MdiArea()->setActiveSubWindow(program.main->MdiArea()->subWindowList().value(0));
    answerer.answers = {QMessageBox::No};
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, target));
    QCOMPARE(answerer.boxes.size(), std::size_t{2});
    QCOMPARE(answerer.boxes[1].text, answerer.boxes[0].text);
    QCOMPARE(session.Data(live).arr.arr[1].TrackProgram(0), kProgramNumber + 7);
    QCOMPARE(program.main->Editing()->ClipboardOf(vx::ItemKind::Arrangement).set, studio);
}

void LibraryWindowTest::cancelledRescanLeavesTheWindowUsable() {
    Program program(24);
    QVERIFY(program.AddFolder());
    auto* find = Child<QLineEdit>(*program.library, "txtFind");
    QTest::keyClicks(find, "zqx b");
    QCOMPARE(Child<QLabel>(*program.library, "lblCount")->text(), QString("25 items in 25 sets"));

    // Every set changed since: a rescan reads them all again, unless it is cancelled. Cancelled
    // at once, it stops before it has read them, and the results stay as they were.
    const auto later = fs::file_time_type::clock::now() + std::chrono::hours(1);
    for (const auto& set : fs::directory_iterator(program.folder))
        for (const auto& file : fs::directory_iterator(set.path())) fs::last_write_time(file.path(), later);
    QSignalSpy finished(program.library, &vxe::FLibrary::ScanFinished);
    QVERIFY(program.library->Rescan());
    QVERIFY(!Child<QPushButton>(*program.library, "cmdRescan")->isEnabled());
    QVERIFY(!Child<QProgressBar>(*program.library, "prgScan")->isHidden());
    program.library->CancelScan();
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    const QString said = Child<QLabel>(*program.library, "lblScan")->text();
    QVERIFY2(said.startsWith("Rescan cancelled: ") && said != "Rescan cancelled: 26 read, 0 unchanged.",
             qPrintable(said));
    QCOMPARE(Child<QLabel>(*program.library, "lblCount")->text(), QString("25 items in 25 sets"));
    QVERIFY(Child<QProgressBar>(*program.library, "prgScan")->isHidden());
    QVERIFY(Child<QPushButton>(*program.library, "cmdRescan")->isEnabled());
    find->clear();
    QTest::keyClicks(find, "zqx w");
    QCOMPARE(program.Rows(), QString("LIVE.SET C11 Zqx Waltz Arrangement"));

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
