// The Edit menu and drag and drop acting on the active window's set, Import, and File, Load
// SysEx File.
#include <QtTest>

#include "EditorHarness.h"
#include "core/changes/SetChange.h"
#include "core/midi/DumpMessage.h"
#include "editor/shell/Startup.h"

using namespace vxt;

namespace {
// An XStyle file: the five magic letters, then the record with its name at its start.
std::string WriteXStyleFile(const std::string& path, const char* name, int recordBytes) {
    std::string bytes = "VEMOX" + Name16(name).toStdString() + std::string(std::size_t(recordBytes - 16), '\0');
    vx::test::WriteFileBytes(path, vx::Bytes(bytes.begin(), bytes.end()));
    return path;
}

QString UndoEntry(Editor& editor) {
    return editor.Edit("mnuEUndo")->text() + QString::number(editor.Edit("mnuEUndo")->isEnabled());
}

// Whether any of the named views of a window would take the drag.
QString TakenBy(vxe::FDoc& doc, QMimeData* drag, std::initializer_list<const char*> views) {
    QStringList taken;
    for (const char* name : views) {
        QAbstractItemModel* model = Child<QAbstractItemView>(doc, name)->model();
        if (model->canDropMimeData(drag, Qt::CopyAction, -1, -1, model->index(0, 0))) taken << name;
    }
    return taken.join(' ');
}
}  // namespace

class EditDispatchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dragBetweenWindowsCopiesAndUndoRestores();
    void menuCommandsFollowTheActiveWindow();
    void sequenceListsDragThroughTheirModels();
    void pasteFromXStyleThroughTheMenu();
    void mainWindowOwnsTheOneEditMenu();
    void importReplacesTheKindAndLeavesNothingToUndo();
    void loadSysExFileRestoresTheKindAndCanBeUndone();
};

void EditDispatchTest::dragBetweenWindowsCopiesAndUndoRestores() {
    Editor editor(2);
    editor.Data(1).arr.arr[0].SetName("Travelling");
    editor.Data(2).arr.arr[1].SetName("Old One");
    vxe::FDoc& source = editor.Open(1);
    vxe::FDoc& target = editor.Open(2);
    auto* from = Child<QTableView>(source, "grdArr");
    auto* to = Child<QTableView>(target, "grdArr");
    std::unique_ptr<QMimeData> drag(from->model()->mimeData({from->model()->index(0, 0)}));
    QVERIFY(drag);
    // Another kind's grid refuses it, as do the lists.
    QCOMPARE(TakenBy(target, drag.get(), {"grdArr", "grdPrg", "grdArk", "lstBsq", "lstSng"}), QString("grdArr"));
    QVERIFY(to->model()->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, to->model()->index(0, 1)));
    QCOMPARE(Text(to, 0, 1), "C12 Travelling       (A11)");
    QCOMPARE(QString::fromStdString(editor.Data(1).arr.arr[0].Name()), "Travelling      ");
    QCOMPARE(UndoEntry(editor), QString("&Undo1"));
    QCOMPARE(editor.scheme->UndoOf(vx::ItemKind::Arrangement).op, 5);
    // The source window has nothing to undo.
    editor.Activate(0);
    QCOMPARE(UndoEntry(editor), QString("Can't Undo0"));
    editor.Activate(1);
    editor.Edit("mnuEUndo")->trigger();
    QCOMPARE(Text(to, 0, 1), "C12 Old One          (A11)");
    QCOMPARE(UndoEntry(editor), QString("Can't Undo0"));
}

void EditDispatchTest::menuCommandsFollowTheActiveWindow() {
    Editor editor(2);
    vxe::FDoc& doc = editor.Open(1, 2);
    vxe::FDoc& other = editor.Open(2, 2);
    // Copy and Paste of a program through the menu: the slot selected is the one written.
    editor.Activate(0);
    editor.Data(1).prg.records[0].SetName("Piano");
    doc.GoToNumber(vx::BankedKind::Program, 768);
    editor.Edit("mnuECopy")->trigger();
    doc.GoToNumber(vx::BankedKind::Program, 771);
    editor.Edit("mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(editor.Data(1).prg.records[3].Name()), "Piano           ");
    QCOMPARE(editor.ui.Texts(), std::vector<std::string>{"Program duplicate name\nF14 - F11  (Piano)"});
    QVERIFY(editor.Edit("mnuEUndo")->isEnabled());
    // The other window shares the clipboard; its Undo is its own, and the entries act on it.
    editor.Activate(1);
    other.GoToNumber(vx::BankedKind::Program, 769);
    QCOMPARE(EnabledEdits(other), QString("Cut Copy Paste Delete Insert XStyle Details EraseBnk Import"));
    editor.Edit("mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(editor.Data(2).prg.records[1].Name()), "Piano           ");
    QCOMPARE(QString::fromStdString(editor.Data(1).prg.records[1].Name()), QString(16, ' '));
    // A drum kit slot is a user slot too; a preset is only browsed.
    other.GoToNumber(vx::BankedKind::Program, 1056);
    QCOMPARE(EnabledEdits(other), QString("Undo Cut Copy Paste Delete Insert XStyle Details EraseBnk Import"));
    other.GoToNumber(vx::BankedKind::Program, 0);
    QCOMPARE(EnabledEdits(other), QString("Undo Details Import"));
}

void EditDispatchTest::sequenceListsDragThroughTheirModels() {
    Editor editor(2);
    for (int n = 0; n < vx::kSequenceCount; ++n)
        editor.Data(1).bsq.entries[static_cast<std::size_t>(n)].record.SetName("Seq " + std::to_string(n));
    vxe::FDoc& other = editor.Open(2, 4);
    vxe::FDoc& doc = editor.Open(1, 3);
    auto* list = Child<QListView>(doc, "lstBsq");
    QAbstractItemModel* model = list->model();
    auto rows = [model] {
        QStringList names;
        for (int r = 0; r < model->rowCount(); ++r) names << model->index(r, 0).data().toString().mid(8, 6).trimmed();
        return names.join(',');
    };
    const QString unmoved = "Seq 0,Seq 1,Seq 2,Seq 3,Seq 4,Seq 5,Seq 6,Seq 7,Seq 8,Seq 9";
    QCOMPARE(Text(list, 3), QString("BSeq 3: Seq 3            :    0"));
    std::unique_ptr<QMimeData> drag(model->mimeData({model->index(3, 0)}));
    QVERIFY(drag);
    // The song list and the grids refuse a backing sequence.
    QCOMPARE(TakenBy(doc, drag.get(), {"lstSng", "grdArr", "grdArk", "lstBsq"}), QString("lstBsq"));
    // No: nothing moves.
    editor.ui.AnswerTo(vx::QuestionId::InsertBefore, vx::Answer::No);
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(6, 0)));
    QCOMPARE(rows(), unmoved);
    QVERIFY(!editor.Edit("mnuEUndo")->isEnabled());
    // Yes: 3 goes before 6, the list repaints from the change notice, and Undo puts it back.
    editor.ui.AnswerTo(vx::QuestionId::InsertBefore, vx::Answer::Yes);
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(6, 0)));
    QCOMPARE(editor.ui.Texts(), std::vector<std::string>(2, "Insert Backing Sequence 3 before 6 ?"));
    QCOMPARE(rows(), QString("Seq 0,Seq 1,Seq 2,Seq 4,Seq 5,Seq 3,Seq 6,Seq 7,Seq 8,Seq 9"));
    QCOMPARE(Text(list, 5) + QString::number(list->currentIndex().row()), QString("BSeq 5: Seq 3            :    05"));
    editor.Edit("mnuEUndo")->trigger();
    QCOMPARE(rows(), unmoved);
    // An empty entry has nothing to drag. Into the other set's song list: a copy; the source stays.
    QAbstractItemModel* songs = Child<QListView>(doc, "lstSng")->model();
    QVERIFY(!songs->mimeData({songs->index(0, 0)}));
    editor.Data(1).sng.entries[0].record.SetName("Opening");
    std::unique_ptr<QMimeData> song(songs->mimeData({songs->index(0, 0)}));
    auto* target = Child<QListView>(other, "lstSng");
    QVERIFY(target->model()->dropMimeData(song.get(), Qt::CopyAction, -1, -1, target->model()->index(2, 0)));
    QCOMPARE(Text(target, 2).left(15) + QString::number(target->currentIndex().row()), QString("Song 2: Opening2"));
    QCOMPARE(QString::fromStdString(editor.Data(1).sng.entries[0].record.Name()), "Opening         ");
}

void EditDispatchTest::pasteFromXStyleThroughTheMenu() {
    Editor editor;
    vxe::FDoc& doc = editor.Open(1, 2);
    editor.Data().prg.records[2].SetName("Before");
    doc.GoToNumber(vx::BankedKind::Program, 770);
    // Cancelled: nothing is shown and nothing changes.
    editor.Edit("mnuEXStyle")->trigger();
    QCOMPARE(editor.ui.fileRequests.size(), std::size_t{1});
    QCOMPARE(editor.ui.fileRequests[0].title + "|" + editor.ui.fileRequests[0].filter,
             std::string("Load one Program from .XPF file...|XPF|*.XPF"));
    QVERIFY(editor.ui.messages.empty());
    QCOMPARE(editor.Data().prg.records[2].Name(), std::string("Before          "));
    // A program of 172 bytes after the magic letters lands in F13; Undo brings the old one back.
    editor.ui.fileAnswers.push_back(WriteXStyleFile(editor.temp.Str() + "/LEAD.XPF", "Lead Synth", 172));
    editor.Edit("mnuEXStyle")->trigger();
    QCOMPARE(Child<QTableView>(doc, "grdPrg")->currentIndex().data().toString(), "F13 Lead Synth      ");
    QVERIFY(editor.ui.messages.empty());
    QCOMPARE(editor.scheme->UndoOf(vx::ItemKind::Program).op, 3);
    // The item stays in the clipboard for other slots.
    QCOMPARE(editor.scheme->ClipboardOf(vx::ItemKind::Program).set, -1);
    editor.Edit("mnuEUndo")->trigger();
    QCOMPARE(editor.Data().prg.records[2].Name(), std::string("Before          "));
    // A drum kit slot asks for a drum kit file; one cut short is refused with the file's messages.
    doc.GoToNumber(vx::BankedKind::Program, 1056);
    editor.ui.fileAnswers.push_back(WriteXStyleFile(editor.temp.Str() + "/KIT.XDK", "Kit", 172));
    editor.Edit("mnuEXStyle")->trigger();
    QCOMPARE(editor.ui.fileRequests.back().title, std::string("Load one Program from .XDK file..."));
    QCOMPARE(editor.ui.Texts().back(), std::string("Error getting Program data.\n"));
    QCOMPARE(editor.Data().prg.records[128].Name(), std::string(16, ' '));
}

void EditDispatchTest::mainWindowOwnsTheOneEditMenu() {
    QTemporaryDir dir;
    vxe::FMain main(QString::fromStdString(vx::test::ProgramDir()), dir.filePath("settings.ini"));
    main.LoadSettings();
    main.AttachSession(vxe::CreateSession(main.ProgramDir(), main.Opts(), main.Ui()));
    QVERIFY(!main.EditMenu()->menuAction()->isEnabled());
    const int first = main.Session()->OpenOrNewSet(true, "");
    const int second = main.Session()->OpenOrNewSet(true, "");
    QCOMPARE(main.findChildren<QAction*>("mnuECut").size(), 1);
    QCOMPARE(main.menuBar()->actions().value(1), main.EditMenu()->menuAction());
    // The second window is active; its KBD sets have no Cut. The first shows arrangements.
    Tabs(*main.Doc(second), 5);
    auto* cut = main.findChild<QAction*>("mnuECut");
    QVERIFY(!cut->isEnabled());
    for (QMdiSubWindow* sub : main.MdiArea()->subWindowList())
        if (sub->widget() == main.Doc(first)) main.MdiArea()->setActiveSubWindow(sub);
    QVERIFY(cut->isEnabled());
    QCOMPARE(main.menuBar()->actions().value(1), main.EditMenu()->menuAction());
    // Copy in the first window; the second, active again, can paste it.
    main.Session()->Data(first).arr.arr[0].SetName("Shared");
    main.findChild<QAction*>("mnuECopy")->trigger();
    main.MdiArea()->activateNextSubWindow();
    Tabs(*main.Doc(second), 0);
    main.Doc(second)->GoToNumber(vx::BankedKind::Arrangement, 258);
    main.findChild<QAction*>("mnuEPaste")->trigger();
    QCOMPARE(main.Session()->Data(second).arr.arr[2].Name(), std::string("Shared          "));
    QCOMPARE(main.findChild<QAction*>("mnuEUndo")->text(), QString("&Undo"));
    // Every window closed: the main window's own menus, and the Edit entries are off.
    for (QMdiSubWindow* sub : main.MdiArea()->subWindowList()) {
        main.Session()->Slot(qobject_cast<vxe::FDoc*>(sub->widget())->SetNumber()).dirty.fill(false);
        QVERIFY(sub->close());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(!cut->isEnabled() && !main.EditMenu()->menuAction()->isEnabled());
}

void EditDispatchTest::importReplacesTheKindAndLeavesNothingToUndo() {
    Editor editor(2);
    editor.Data(2).arr.arr[0].SetName("Imported");
    const std::string source = editor.SaveAs(2, "SRC") + "/SRC.ARR";
    vxe::FDoc& doc = editor.Open(1);
    editor.Data(1).arr.arr[0].SetName("Cut Me");
    editor.Edit("mnuECut")->trigger();
    QCOMPARE(UndoEntry(editor), QString("&Undo1"));
    // A cancelled import changes nothing, not even what Undo could restore.
    editor.Edit("mnuEImport")->trigger();
    QCOMPARE(editor.ui.fileRequests.back().title, std::string("Import all Arrangement from..."));
    QCOMPARE(UndoEntry(editor), QString("&Undo1"));
    // The cut arrangement would come back over the imported ones: Undo is gone with the import.
    editor.session->Slot(1).dirty.fill(false);
    editor.ui.fileAnswers.push_back(source);
    editor.Edit("mnuEImport")->trigger();
    QCOMPARE(Text(Child<QTableView>(doc, "grdArr"), 0).left(12), QString("C11 Imported"));
    QVERIFY(editor.scheme->UndoOf(vx::ItemKind::Arrangement).Empty());
    QCOMPARE(UndoEntry(editor), QString("Can't Undo0"));
    QVERIFY(editor.session->Slot(1).dirty[0]);
    // The clipboard still holds the cut item for a paste.
    QVERIFY(editor.Edit("mnuEPaste")->isEnabled());
}

void EditDispatchTest::loadSysExFileRestoresTheKindAndCanBeUndone() {
    Editor editor;
    vx::SetData source = editor.Data();
    source.prg.records[0].SetName("ORGAN");
    vx::Bytes message;
    std::string error;
    QVERIFY(vx::BuildDumpMessage(source, vx::ItemKind::Program, 0, vx::SysExHeader{}, message, error));
    const std::string file = editor.temp.Str() + "/PRG.SYX";
    vx::test::WriteFileBytes(file, message);
    vxe::FDoc& doc = editor.Open();
    editor.ui.fileAnswers = {file};
    Child<QAction>(doc, "mnuFLoadSysex")->trigger();
    QCOMPARE(editor.ui.fileRequests.size(), std::size_t{1});
    QCOMPARE(editor.ui.fileRequests[0].title, std::string("Load SysEx File..."));
    QVERIFY(editor.ui.messages.empty());
    QCOMPARE(editor.Data().prg.records[0].Name(), std::string("ORGAN           "));
    QCOMPARE(Tabs(doc)->currentIndex(), 2);
    QVERIFY(editor.session->Slot(1).dirty[2]);
    QVERIFY(editor.Edit("mnuEUndo")->isEnabled());
    editor.Edit("mnuEUndo")->trigger();
    QCOMPARE(editor.Data().prg.records[0].Name(), std::string(16, ' '));
    // Without the edit commands the entry is off.
    Editor plain(1, {}, false);
    QVERIFY(!Child<QAction>(plain.Open(), "mnuFLoadSysex")->isEnabled());
}

QTEST_MAIN(EditDispatchTest)
#include "edit_dispatch_test.moc"
