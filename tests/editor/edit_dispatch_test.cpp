#include <QtTest>
#include <QtWidgets>

#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/shell/EditActions.h"
#include "editor/shell/FMain.h"
#include "editor/shell/ShellServices.h"
#include "editor/shell/Startup.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

class Shell : public vxe::ShellServices {
public:
    vx::EditScheme* scheme = nullptr;
    vxe::EditActions edits;
    void NewSet() override {}
    void OpenSet() override {}
    void Exit() override {}
    void ShowHelpContents() override {}
    void ShowTipOfTheDay() override {}
    void ShowAbout() override {}
    void ShowOptions() override {}
    void Cascade() override {}
    void Tile() override {}
    void ArrangeIcons() override {}
    vx::EditScheme* Editing() override { return scheme; }
    QMenu* EditMenu() override { return edits.Menu(); }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qFatal("no child %s", name);
    return child;
}

// Two new sets, each in its window showing the arrangements.
struct TwoSets {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;
    Shell shell;
    std::unique_ptr<vxe::FDoc> docs[2];

    TwoSets() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        if (!catalogue) return;
        session = std::make_unique<vx::Session>(std::move(*catalogue), vx::PresetTables{}, options, ui);
        scheme = std::make_unique<vx::EditScheme>(*session);
        shell.scheme = scheme.get();
        options.ModeId = 0;
        for (auto& doc : docs) {
            const int set = session->OpenOrNewSet(true, "");
            doc = std::make_unique<vxe::FDoc>(*session, shell, set);
            doc->Fill();
        }
    }
    vx::SetData& Data(int set) { return session->Data(set); }
    // The window the Edit menu acts on, as when it becomes the active one.
    vxe::FDoc& Activate(int index) {
        shell.edits.SetDocument(docs[index].get());
        return *docs[index];
    }
    QAction* Edit(const char* name) { return Child<QAction>(*shell.edits.Menu(), name); }
};

QString EnabledEdits(vxe::FDoc& doc) {
    QStringList names;
    for (QAction* action : doc.Menus()[1]->actions())
        if (!action->isSeparator() && action->isEnabled()) names << action->objectName().mid(4);
    return names.join(' ');
}

// An XStyle file: the five magic letters, then the record with its name at its start.
QString WriteXStyleFile(const QString& path, const char* name, int recordBytes) {
    QByteArray bytes("VEMOX");
    bytes += QByteArray(name).leftJustified(16, ' ');
    bytes += QByteArray(recordBytes - 16, '\0');
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
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
    void importLeavesNothingToUndo();
};

void EditDispatchTest::dragBetweenWindowsCopiesAndUndoRestores() {
    TwoSets sets;
    QVERIFY(sets.session);
    sets.Data(1).arr.arr[0].SetName("Travelling");
    sets.Data(2).arr.arr[1].SetName("Old One");
    sets.Activate(1);
    auto* from = Child<QTableView>(*sets.docs[0], "grdArr");
    auto* to = Child<QTableView>(*sets.docs[1], "grdArr");
    std::unique_ptr<QMimeData> drag(from->model()->mimeData({from->model()->index(0, 0)}));
    QVERIFY(drag);
    // Another kind's grid refuses it, as do the lists.
    for (const char* name : {"grdPrg", "grdArk", "lstBsq", "lstSng"}) {
        auto* view = Child<QAbstractItemView>(*sets.docs[1], name);
        QVERIFY2(!view->model()->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, view->model()->index(0, 0)), name);
    }

    QVERIFY(to->model()->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, to->model()->index(0, 1)));
    QCOMPARE(to->model()->index(0, 1).data().toString(), "C12 Travelling       (A11)");
    QCOMPARE(QString::fromStdString(sets.Data(1).arr.arr[0].Name()), "Travelling      ");
    QCOMPARE(sets.Edit("mnuEUndo")->text(), QString("&Undo"));
    QVERIFY(sets.Edit("mnuEUndo")->isEnabled());
    QCOMPARE(sets.scheme->UndoOf(vx::ItemKind::Arrangement).op, 5);
    // The source window has nothing to undo.
    sets.Activate(0);
    QCOMPARE(sets.Edit("mnuEUndo")->text() + QString::number(sets.Edit("mnuEUndo")->isEnabled()), "Can't Undo0");

    sets.Activate(1);
    sets.Edit("mnuEUndo")->trigger();
    QCOMPARE(to->model()->index(0, 1).data().toString(), "C12 Old One          (A11)");
    QCOMPARE(sets.Edit("mnuEUndo")->text(), QString("Can't Undo"));
}

void EditDispatchTest::menuCommandsFollowTheActiveWindow() {
    TwoSets sets;
    QVERIFY(sets.session);
    // No window: the menu and every entry are off.
    sets.shell.edits.SetDocument(nullptr);
    QVERIFY(!sets.shell.edits.Menu()->menuAction()->isEnabled());
    QCOMPARE(EnabledEdits(*sets.docs[0]), QString());

    vxe::FDoc& doc = sets.Activate(0);
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    QString shown;
    for (int tab : {0, 1, 2, 3, 4, 5}) {
        tabs->setCurrentIndex(tab);
        shown += QString::number(tab) + ":" + EnabledEdits(doc) + " ";
    }
    // Empty clipboards: nothing to paste or insert. XStyle files hold arrangements, styles and programs.
    QCOMPARE(shown, QString("0:Cut Copy Delete XStyle Details EraseBnk Import "
                            "1:Cut Copy XStyle Details EraseBnk Import "
                            "2:Cut Copy Delete XStyle Details EraseBnk Import "
                            "3:Cut Copy Delete Details EraseBnk Import "
                            "4:Cut Copy Delete Details EraseBnk Import "
                            "5:Copy EraseBnk Import "));

    // Copy and Paste of a program through the menu: the slot selected is the one written.
    tabs->setCurrentIndex(2);
    sets.Data(1).prg.records[0].SetName("Piano");
    doc.GoToNumber(vx::BankedKind::Program, 768);
    sets.Edit("mnuECopy")->trigger();
    QCOMPARE(EnabledEdits(doc), QString("Cut Copy Paste Delete Insert XStyle Details EraseBnk Import"));
    doc.GoToNumber(vx::BankedKind::Program, 771);
    sets.Edit("mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[3].Name()), "Piano           ");
    QCOMPARE(sets.ui.Texts(), std::vector<std::string>{"Program duplicate name\nF14 - F11  (Piano)"});
    QVERIFY(sets.Edit("mnuEUndo")->isEnabled());

    // The other window shares the clipboard; its Undo is its own, and the entries act on it.
    vxe::FDoc& other = sets.Activate(1);
    Child<QTabWidget>(other, "tabMode")->setCurrentIndex(2);
    QCOMPARE(EnabledEdits(other), QString("Cut Copy Paste Delete Insert XStyle Details EraseBnk Import"));
    other.GoToNumber(vx::BankedKind::Program, 769);
    sets.Edit("mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(sets.Data(2).prg.records[1].Name()), "Piano           ");
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[1].Name()), QString(16, ' '));
    // A drum kit slot is a user slot too; a preset is only browsed.
    other.GoToNumber(vx::BankedKind::Program, 1056);
    QCOMPARE(EnabledEdits(other), QString("Undo Cut Copy Paste Delete Insert XStyle Details EraseBnk Import"));
    other.GoToNumber(vx::BankedKind::Program, 0);
    QCOMPARE(EnabledEdits(other), QString("Undo Details Import"));
}

void EditDispatchTest::sequenceListsDragThroughTheirModels() {
    TwoSets sets;
    QVERIFY(sets.session);
    for (int n = 0; n < vx::kSequenceCount; ++n)
        sets.Data(1).bsq.entries[static_cast<std::size_t>(n)].record.SetName("Seq " + std::to_string(n));
    vxe::FDoc& doc = sets.Activate(0);
    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(3);
    auto* list = Child<QListView>(doc, "lstBsq");
    QAbstractItemModel* model = list->model();
    auto rows = [model] {
        QStringList names;
        for (int r = 0; r < model->rowCount(); ++r) names << model->index(r, 0).data().toString().mid(8, 6).trimmed();
        return names.join(',');
    };
    QCOMPARE(model->index(3, 0).data().toString(), QString("BSeq 3: Seq 3            :    0"));
    std::unique_ptr<QMimeData> drag(model->mimeData({model->index(3, 0)}));
    QVERIFY(drag);
    // The song list and the grids refuse a backing sequence.
    for (const char* name : {"lstSng", "grdArr", "grdArk"}) {
        auto* view = Child<QAbstractItemView>(doc, name);
        QVERIFY2(!view->model()->canDropMimeData(drag.get(), Qt::CopyAction, -1, -1, view->model()->index(0, 0)), name);
    }
    // No: nothing moves.
    sets.ui.AnswerTo(vx::QuestionId::InsertBefore, vx::Answer::No);
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(6, 0)));
    QCOMPARE(rows(), QString("Seq 0,Seq 1,Seq 2,Seq 3,Seq 4,Seq 5,Seq 6,Seq 7,Seq 8,Seq 9"));
    QCOMPARE(sets.Edit("mnuEUndo")->isEnabled(), false);
    // Yes: 3 goes before 6, the list repaints from the change notice, and Undo puts it back.
    sets.ui.AnswerTo(vx::QuestionId::InsertBefore, vx::Answer::Yes);
    QVERIFY(model->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, model->index(6, 0)));
    QCOMPARE(sets.ui.Texts(), (std::vector<std::string>{"Insert Backing Sequence 3 before 6 ?",
                                                        "Insert Backing Sequence 3 before 6 ?"}));
    QCOMPARE(rows(), QString("Seq 0,Seq 1,Seq 2,Seq 4,Seq 5,Seq 3,Seq 6,Seq 7,Seq 8,Seq 9"));
    QCOMPARE(model->index(5, 0).data().toString(), QString("BSeq 5: Seq 3            :    0"));
    QCOMPARE(list->currentIndex().row(), 5);
    sets.Edit("mnuEUndo")->trigger();
    QCOMPARE(rows(), QString("Seq 0,Seq 1,Seq 2,Seq 3,Seq 4,Seq 5,Seq 6,Seq 7,Seq 8,Seq 9"));

    // An empty entry has nothing to drag. Into the other set's song list: a copy; the source stays.
    QAbstractItemModel* songs = Child<QListView>(doc, "lstSng")->model();
    QVERIFY(!songs->mimeData({songs->index(0, 0)}));
    sets.Data(1).sng.entries[0].record.SetName("Opening");
    std::unique_ptr<QMimeData> song(songs->mimeData({songs->index(0, 0)}));
    auto* target = Child<QListView>(*sets.docs[1], "lstSng")->model();
    QVERIFY(target->dropMimeData(song.get(), Qt::CopyAction, -1, -1, target->index(2, 0)));
    QCOMPARE(target->index(2, 0).data().toString().left(15), QString("Song 2: Opening"));
    QCOMPARE(Child<QListView>(*sets.docs[1], "lstSng")->currentIndex().row(), 2);
    QCOMPARE(QString::fromStdString(sets.Data(1).sng.entries[0].record.Name()), "Opening         ");
}

void EditDispatchTest::pasteFromXStyleThroughTheMenu() {
    TwoSets sets;
    QVERIFY(sets.session);
    QTemporaryDir dir;
    vxe::FDoc& doc = sets.Activate(0);
    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(2);
    sets.Data(1).prg.records[2].SetName("Before");
    doc.GoToNumber(vx::BankedKind::Program, 770);
    // Cancelled: nothing is shown and nothing changes.
    sets.Edit("mnuEXStyle")->trigger();
    QCOMPARE(sets.ui.fileRequests.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(sets.ui.fileRequests[0].title), QString("Load one Program from .XPF file..."));
    QCOMPARE(QString::fromStdString(sets.ui.fileRequests[0].filter), QString("XPF|*.XPF"));
    QVERIFY(sets.ui.messages.empty());
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[2].Name()), "Before          ");

    // A program of 172 bytes after the magic letters lands in F13; Undo brings the old one back.
    sets.ui.fileAnswers.push_back(WriteXStyleFile(dir.filePath("LEAD.XPF"), "Lead Synth", 172).toStdString());
    sets.Edit("mnuEXStyle")->trigger();
    QCOMPARE(Child<QTableView>(doc, "grdPrg")->currentIndex().data().toString(), "F13 Lead Synth      ");
    QVERIFY(sets.ui.messages.empty());
    QCOMPARE(sets.scheme->UndoOf(vx::ItemKind::Program).op, 3);
    // The item stays in the clipboard for other slots.
    QCOMPARE(sets.scheme->ClipboardOf(vx::ItemKind::Program).set, -1);
    sets.Edit("mnuEUndo")->trigger();
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[2].Name()), "Before          ");

    // A drum kit slot asks for a drum kit file; one cut short is refused with the file's messages.
    doc.GoToNumber(vx::BankedKind::Program, 1056);
    sets.ui.fileAnswers.push_back(WriteXStyleFile(dir.filePath("KIT.XDK"), "Kit", 172).toStdString());
    sets.Edit("mnuEXStyle")->trigger();
    QCOMPARE(QString::fromStdString(sets.ui.fileRequests.back().title), QString("Load one Program from .XDK file..."));
    QCOMPARE(sets.ui.Texts().back(), std::string("Error getting Program data.\n"));
    QCOMPARE(QString::fromStdString(sets.Data(1).prg.records[128].Name()), QString(16, ' '));

    // The entry is off where no XStyle file fits.
    for (int tab : {3, 4, 5}) {
        Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(tab);
        QVERIFY(!sets.Edit("mnuEXStyle")->isEnabled());
    }
}

void EditDispatchTest::mainWindowOwnsTheOneEditMenu() {
    QTemporaryDir dir;
    vxe::FMain main(QString::fromStdString(vx::test::ProgramDir()), dir.filePath("settings.ini"));
    main.LoadSettings();
    main.AttachSession(vxe::CreateSession(main.ProgramDir(), main.Opts(), main.Ui()));
    QVERIFY(main.Session());
    QCOMPARE(main.findChildren<QAction*>("mnuECut").size(), 1);
    QVERIFY(!main.EditMenu()->menuAction()->isEnabled());

    const int first = main.Session()->OpenOrNewSet(true, "");
    const int second = main.Session()->OpenOrNewSet(true, "");
    QVERIFY(first > 0 && second > 0);
    QCOMPARE(main.findChildren<QAction*>("mnuECut").size(), 1);
    QCOMPARE(main.menuBar()->actions().value(1), main.EditMenu()->menuAction());
    // The second window is active; its KBD sets have no Cut. The first shows arrangements.
    Child<QTabWidget>(*main.Doc(second), "tabMode")->setCurrentIndex(5);
    auto* cut = main.findChild<QAction*>("mnuECut");
    QVERIFY(!cut->isEnabled());
    QMdiSubWindow* firstWindow = nullptr;
    for (QMdiSubWindow* sub : main.MdiArea()->subWindowList())
        if (sub->widget() == main.Doc(first)) firstWindow = sub;
    main.MdiArea()->setActiveSubWindow(firstWindow);
    QVERIFY(cut->isEnabled());
    QCOMPARE(main.menuBar()->actions().value(1), main.EditMenu()->menuAction());

    // Copy in the first window; the second, active again, can paste it.
    main.Session()->Data(first).arr.arr[0].SetName("Shared");
    main.findChild<QAction*>("mnuECopy")->trigger();
    main.MdiArea()->activateNextSubWindow();
    Child<QTabWidget>(*main.Doc(second), "tabMode")->setCurrentIndex(0);
    main.Doc(second)->GoToNumber(vx::BankedKind::Arrangement, 258);
    main.findChild<QAction*>("mnuEPaste")->trigger();
    QCOMPARE(QString::fromStdString(main.Session()->Data(second).arr.arr[2].Name()), "Shared          ");
    QCOMPARE(main.findChild<QAction*>("mnuEUndo")->text(), QString("&Undo"));

    // Every window closed: the main window's own menus, and the Edit entries are off.
    main.Session()->Opts().WarnDupl = 0;
    for (QMdiSubWindow* sub : main.MdiArea()->subWindowList()) {
        main.Session()->Slot(qobject_cast<vxe::FDoc*>(sub->widget())->SetNumber()).dirty.fill(false);
        QVERIFY(sub->close());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QVERIFY(!cut->isEnabled() && !main.EditMenu()->menuAction()->isEnabled());
}

void EditDispatchTest::importLeavesNothingToUndo() {
    TwoSets sets;
    QVERIFY(sets.session);
    QTemporaryDir dir;
    sets.Data(2).arr.arr[0].SetName("Imported");
    QVERIFY(sets.session->SaveSet(2, dir.filePath("SRC.SET/SRC").toStdString(), true));
    vxe::FDoc& doc = sets.Activate(0);
    sets.Data(1).arr.arr[0].SetName("Cut Me");
    sets.Edit("mnuECut")->trigger();
    QCOMPARE(sets.Edit("mnuEUndo")->text() + QString::number(sets.Edit("mnuEUndo")->isEnabled()), "&Undo1");
    // The cut arrangement would come back over the imported ones: Undo is gone with the import.
    sets.ui.fileAnswers.push_back(dir.filePath("SRC.SET/SRC.ARR").toStdString());
    sets.Edit("mnuEImport")->trigger();
    QCOMPARE(Child<QTableView>(doc, "grdArr")->model()->index(0, 0).data().toString().left(12), "C11 Imported");
    QVERIFY(sets.scheme->UndoOf(vx::ItemKind::Arrangement).Empty());
    QCOMPARE(sets.Edit("mnuEUndo")->text() + QString::number(sets.Edit("mnuEUndo")->isEnabled()), "Can't Undo0");
    // The clipboard still holds the cut item for a paste.
    QVERIFY(sets.Edit("mnuEPaste")->isEnabled());
}

QTEST_MAIN(EditDispatchTest)
#include "edit_dispatch_test.moc"
