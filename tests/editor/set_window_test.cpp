// The set's window: its tabs, menus, grids, lists, status and layout; the Edit menu and drag and
// drop acting on the active window's set, Import, and File, Load SysEx File; how windows tile.
// Most of what a test sees is compared with its file in tests/data/editor.
#include <QtTest>

#include "EditorHarness.h"
#include "core/changes/SetChange.h"
#include "core/midi/DumpMessage.h"
#include "editor/shell/Startup.h"
#include "editor/views/ColumnFitter.h"
#include "support/SetBuilder.h"

using namespace vxt;

namespace {
// A cell's text and colour, as "text #rrggbb".
QString Cell(QTableView* grid, int row, int column) {
    return Text(grid, row, column) + " " +
           grid->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>().name();
}

// Where a row of a grid starts, in the window's coordinates.
int RowTop(QTableView* grid, int row, QWidget& window) {
    return grid->viewport()->mapTo(&window, grid->visualRect(grid->model()->index(row, 0)).topLeft()).y();
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

class SetWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void contentTabsAndMenus();
    void gridsAndListsShowTheSet();
    void gridsFitTheirWidthAndLineUp();
    void statusMarkerAndClosing();
    void editCommandsDragAndDropImport();
};

void SetWindowTest::contentTabsAndMenus() {
    Editor editor;
    Observed seen("set_window_menus");
    editor.Data().prg.records[64].SetName("Second Bank");
    vxe::FDoc& doc = editor.Open(1, 0, false);
    auto* tabs = Tabs(doc);
    for (int i = 0; i < tabs->count(); ++i) seen("tab", tabs->tabText(i));
    for (const char* name : {"cboArrBnk", "cboStyBnk", "cboPrgBnk"})
        seen(name, Shown(doc, {name + QString("/")}) + "|" + Child<QComboBox>(doc, name)->toolTip());
    seen("free label", Child<QLabel>(doc, "lblFreeS")->text());
    // The menu bar: each menu with the number of its entries (separators included), and
    // Options, a command without a popup.
    for (QAction* entry : doc.MenuBarEntries())
        seen("menu " + entry->text(), entry->menu() ? QString::number(entry->menu()->actions().size()) : "no popup");
    seen("XStyle entry", editor.Edit("mnuEXStyle")->text());
    // The shell's commands; the window arrangement moves the check mark.
    Take(doc, "mnuFNew;mnuFOpen;mnuFExit;mnuHTopics;mnuHTips;mnuHAbout;mnuWCascade;mnuWArrange");
    doc.MenuBarEntries()[2]->trigger();
    seen("shell calls", editor.shell.calls)("checked cascade, tile", Shown(doc, {"mnuWCascade*", "mnuWTile*"}));
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    // No caption yet: a tab change neither fills nor stores anything.
    Take(doc, "tabMode=1");
    seen("ModeId", editor.options.ModeId);
    Take(doc, "tabMode=0");
    seen("rows, Edit menu on",
         QString("%1 %2").arg(grdArr->model()->rowCount()).arg(doc.Menus()[1]->menuAction()->isEnabled()));
    // The tab already shown at opening is still filled.
    doc.Fill();
    seen("filled", doc.windowTitle() + " " + Text(grdArr, 0));
    // Each tab: ModeId and the Edit commands. Empty clipboards: nothing to paste or insert; XStyle
    // files hold arrangements, styles and programs; styles never delete or insert; KBD sets have no Details.
    for (int tab : {1, 2, 3, 4, 5, 0}) {
        const QString edits = EnabledEdits(doc, tab);
        seen(QString("tab %1 ModeId").arg(tab), QString::number(editor.options.ModeId) + ":" + edits);
    }
    seen("global buttons on", Shown(doc, {"cmdArg?", "cmdGbl?"}));
    // With a program copied: a twin grid offers no Erase Bank and no Import, a preset position
    // is only browsed.
    Take(doc, "tabMode=2");
    editor.Edit("mnuECopy")->trigger();
    seen("copied", EnabledEdits(doc));
    Take(doc, "chkTwin_2=1");
    seen("twin", Text(Child<QTableView>(doc, "grdPrg"), 16) + "|" + EnabledEdits(doc));
    seen("styles", EnabledEdits(doc, 1))("twin again", EnabledEdits(doc, 2));
    Take(doc, "cboPrgBnk=0");
    seen("bank A", EnabledEdits(doc));
    // R has no twin, and holds presets and, from R51, user drum kits.
    Take(doc, "cboPrgBnk=7");
    doc.GoToNumber(vx::BankedKind::Program, 1056);
    seen("R51", QString::number(doc.CurrentNumber(vx::BankedKind::Program)) + " " + EnabledEdits(doc));
    // Arrangement D11 in twin view goes to bank C's grid, row 16, column 0.
    Take(doc, "tabMode=0;chkTwin_0=1;cboArrBnk=0");
    doc.GoToNumber(vx::BankedKind::Arrangement, 320);
    seen("D11", Child<QComboBox>(doc, "cboArrBnk")->currentText() + " " + EnabledEdits(doc));
    QCOMPARE(grdArr->currentIndex(), grdArr->model()->index(16, 0));
    seen.Check();
}

void SetWindowTest::gridsAndListsShowTheSet() {
    vx::PresetTables presets;
    presets.programsAB[0].name = Name16("Grand Piano").toStdString();
    presets.programsAB[1].name = Name16("Bright Piano").toStdString();
    presets.arrangements[0].name = Name16("Preset Arr").toStdString();
    presets.arrangements[0].style = 5;
    Editor editor(1, presets);
    vx::SetData& data = editor.Data();
    for (auto& kbd : data.ark.records)
        for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    data.prg.records[0].SetName("My Piano");
    data.ark.records[0].SetTrackProgram(4, 768);
    data.ark.records[3].SetTrackProgram(1, 770);  // F13 is empty: blue whatever calls it
    data.sng.entries[0].record.SetName("Song");
    data.sng.entries[0].total = 3;
    for (int t = 0; t < vx::SongRecord::kTrackCount; ++t)
        data.sng.entries[0].record.SetTrackProgram(t, t == 4 ? 0 : -1);
    data.arr.arr[0].SetName("Pop Ballad");
    data.arr.arr[0].SetStyle(257);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) data.arr.arr[0].SetTrackProgram(t, 0x7FFF);
    vx::BsqRecord& bsq = data.bsq.entries[2].record;
    bsq.SetName("Intro");
    bsq.SetArrangement(256);
    bsq.SetStyle(-1);
    for (int t = 0; t < vx::BsqRecord::kTrackCount; ++t) bsq.SetTrackProgram(t, -1);
    data.bsq.entries[2].total = 5;
    data.sng.patternOffsets[0] = 1000;
    data.sng.endOffset = 1010;
    auto& slots = data.sty.slots;
    slots[4].record.SetName("Slow Rock");
    slots[4].used = slots[5].used = 1;
    slots[4].size = 1176 + 4 * 100;
    slots[5].size = 1176;
    vxe::FDoc& doc = editor.Open(1, 2);
    Observed seen("set_window_grids");
    seen("progress", editor.ui.progressTitles.back());
    // Red: a called user item, dark red: a called preset, blue: a user item nobody calls, teal: a preset.
    auto* grdPrg = Child<QTableView>(doc, "grdPrg");
    auto* cboPrgBnk = Child<QComboBox>(doc, "cboPrgBnk");
    seen("F11, F13", Cell(grdPrg, 0, 0) + "|" + Cell(grdPrg, 0, 2));
    cboPrgBnk->setCurrentIndex(0);
    seen("A11, A12", Cell(grdPrg, 0, 0) + "|" + Cell(grdPrg, 0, 1));
    auto* tabs = Tabs(doc, 0);
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    seen("C11", Cell(grdArr, 0, 0));
    // The backing sequence is emptied: after the change notice C11 is no longer called.
    bsq.SetName("");
    editor.Publish(vx::SetChange::Item(1, vx::ItemKind::BackingSequence, 2));
    seen("C11 uncalled", Cell(grdArr, 0, 0));
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    seen("A11", Cell(grdArr, 0, 0));
    // Style events, what each block of four slots has left, and calls by arrangement C11.
    tabs->setCurrentIndex(1);
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    auto* grdFreeS = Child<QTableView>(doc, "grdFreeS");
    seen("C11, C12", Cell(grdSty, 0, 0) + "|" + Cell(grdSty, 0, 1))("C15", Text(grdSty, 1, 0));
    seen("free rows, second block",
         QString::number(grdFreeS->model()->rowCount()) + " " + Text(grdFreeS, 1, 0) + " " + Text(grdFreeS, 1, 1));
    slots[5].size = 1176 + 4 * 1000;
    editor.Publish(vx::SetChange::Item(1, vx::ItemKind::Style, 261));
    seen("second block free", Text(grdFreeS, 1, 1));
    // HighCall off: black for user items, the grey text colour for presets, and no scan.
    const auto progressCount = editor.ui.progressTitles.size();
    editor.options.HighCall = 0;
    doc.OnOptionsChanged();
    seen("HighCall off, C11", Cell(grdSty, 0, 0));
    tabs->setCurrentIndex(2);
    QCOMPARE(Cell(grdPrg, 0, 0).right(7), QApplication::palette().color(QPalette::Disabled, QPalette::Text).name());
    cboPrgBnk->setCurrentIndex(5);
    seen("HighCall off, F11 F13", Cell(grdPrg, 0, 0) + "|" + Cell(grdPrg, 0, 2));
    QCOMPARE(editor.ui.progressTitles.size(), progressCount);
    // A renamed program is shown after its change notice, in its grid and in the KBD sets.
    data.prg.records[0].SetName("Renamed");
    editor.Publish(vx::SetChange::Item(1, vx::ItemKind::Program, 768));
    seen("renamed", Text(grdPrg, 0, 0));
    tabs->setCurrentIndex(5);
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    for (int c = 0; c < grdArk->model()->columnCount(); ++c)
        seen("KBD set 11 " + grdArk->model()->headerData(c, Qt::Horizontal).toString(), Text(grdArk, 0, c));
    seen("last row", Text(grdArk, 63, 0));
    // The sequence lists and the counters on both their tabs follow a change of either kind.
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    seen("BSeq 2", Text(lstBsq, 2))("Song 0", Text(Child<QListView>(doc, "lstSng"), 0));
    data.bsq.entries[2].total = 6;
    editor.Publish(vx::SetChange::Kind(1, vx::ItemKind::BackingSequence));
    seen("BSeq 2", Text(lstBsq, 2));
    for (int tab : {3, 4})
        for (QLabel* label : tabs->widget(tab)->findChildren<QLabel*>(QRegularExpression("^lblEvCnt_")))
            seen(QString("tab %1 counter").arg(tab), label->text());
    seen.Check();
}

void SetWindowTest::gridsFitTheirWidthAndLineUp() {
    Editor editor;
    Observed seen("set_window_layout");
    for (int slot : {0, 5, 47}) vx::test::UseStyle(editor.Data(), slot, "Sixteen letters!", 1176 + 4 * 10000);
    vxe::FDoc& doc = editor.Open(1, 1);
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    auto* grdFreeS = Child<QTableView>(doc, "grdFreeS");
    seen("C68", Text(grdSty, 11, 3));
    const int rowHeight = grdSty->rowHeight(0);
    int pixels = 0;
    // Each block's free events are level with the block's row of styles. Narrower, the text
    // keeps its room: the font steps down first, the rows keep their height; far too narrow, the
    // smallest font, and the grid scrolls sideways instead of cutting a column.
    for (int width : {1000, 800, 300}) {
        doc.resize(width, 700);
        doc.show();
        QCoreApplication::processEvents();
        const QString at = QString("width %1: ").arg(width);
        QString level;
        for (int row : {0, 1, 11}) level += QString::number(RowTop(grdFreeS, row, doc) == RowTop(grdSty, row, doc));
        const int now = QFontInfo(grdSty->font()).pixelSize();
        seen(at + "free events level", level)(
            at + "columns",
            ColumnsFit(grdSty).replace(QString::number(4 * grdSty->columnWidth(0)) + " of", "4 columns of"));
        seen(at + "font smaller, smallest",
             QString("%1 %2").arg(pixels > now).arg(now == vxe::ColumnFitter::kSmallestPixelSize));
        seen(at + "row height kept", grdSty->rowHeight(0) == rowHeight);
        pixels = now;
    }
    // Arrangements: the rows keep their height from the first fill through bank changes and twin view.
    doc.resize(1000, 700);
    auto* tabs = Tabs(doc, 0);
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    const int first = grdArr->rowHeight(0);
    Take(doc, "cboArrBnk=0;chkTwin_0=1");
    QCoreApplication::processEvents();
    seen("twin rows 0 31 as high as at first", grdArr->rowHeight(0) == first && grdArr->rowHeight(31) == first);
    seen("twin columns", ColumnsFit(grdArr));
    // The KBD sets: every column, the five tracks sharing the room.
    tabs->setCurrentIndex(5);
    QCoreApplication::processEvents();
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    seen("KBD set columns", ColumnsFit(grdArk))("tracks alike", grdArk->columnWidth(2) == grdArk->columnWidth(5));
    // The sequence lists are as tall as their ten rows.
    tabs->setCurrentIndex(3);
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    seen("ten rows high", lstBsq->height() == 2 * lstBsq->frameWidth() + 10 * lstBsq->sizeHintForRow(0));
    // Tiling: windows, the frame's size and the width each needs give columns x rows.
    const int tiles[][4] = {{1, 800, 500, 820},  {2, 1024, 650, 820}, {2, 1920, 950, 820}, {3, 1920, 950, 820},
                            {5, 1920, 950, 600}, {4, 1024, 650, 0},   {0, 1024, 650, 820}};
    for (const auto& [windows, width, height, needed] : tiles) {
        const vxe::TileGrid grid = vxe::TileGridFor(windows, QSize(width, height), needed);
        seen(QString("tile %1 in %2x%3 needing %4").arg(windows).arg(width).arg(height).arg(needed),
             QString("%1x%2").arg(grid.columns).arg(grid.rows));
    }
    seen.Check();
}

void SetWindowTest::statusMarkerAndClosing() {
    Editor editor;
    Observed seen("set_window_status");
    editor.Data().arr.arr[0].SetName("Pop Ballad");
    editor.Data().bsq.entries[2].record.SetName("Intro");
    vxe::FDoc& doc = editor.Open();
    QSignalSpy changes(&doc, &vxe::FDoc::StatusChanged);
    auto status = [&doc] { return doc.StatusItem() + "|" + doc.StatusDirty() + (doc.isWindowModified() ? "|*" : "|"); };
    // A new set has every kind changed.
    seen("new", status());
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    grdArr->setCurrentIndex(grdArr->model()->index(0, 1));
    seen("C12", status())("status signals", changes.count());
    // Saved: no marker; the caption keeps the marker's place.
    const std::string directory = editor.SaveAs(1, "LIVE");
    doc.RefreshCaption();
    seen("saved", doc.windowTitle() + "|" + status());
    QCOMPARE(doc.StatusDirectory(), QDir::toNativeSeparators(QString::fromStdString(directory)));
    // A change of one kind marks the window; the status names the kind of the tab shown.
    editor.session->MarkDirty(1, vx::ItemKind::BackingSequence);
    editor.Publish(vx::SetChange::Kind(1, vx::ItemKind::BackingSequence));
    seen("sequences changed", status());
    auto* tabs = Tabs(doc, 3);
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    lstBsq->setCurrentIndex(lstBsq->model()->index(2, 0));
    seen("BSeq 2", status());
    lstBsq->setCurrentIndex(lstBsq->model()->index(3, 0));
    seen("BSeq 3", status());
    tabs->setCurrentIndex(5);
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    grdArk->setCurrentIndex(grdArk->model()->index(9, 3));
    seen("KBD set", status());
    // A letter of a tab alone shows the tab; one of the menu bar alone is left to the menu bar.
    seen("Alt+A taken", doc.TakeMnemonic(QKeySequence(Qt::ALT | Qt::Key_A)).handled)("tab", tabs->currentIndex());
    seen("Alt+F taken", doc.TakeMnemonic(QKeySequence(Qt::ALT | Qt::Key_F)).handled);
    // Closing the changed set asks: Cancel keeps the set and its window, No closes both (what Yes
    // saves is the session's, see session_test); a closed window closes again without asking.
    doc.show();
    for (const vx::Answer answer : {vx::Answer::Cancel, vx::Answer::No}) {
        editor.ui.AnswerTo(vx::QuestionId::SaveChanges, answer);
        Child<QAction>(doc, "mnuFClose")->trigger();
        seen("closed, asked", editor.ui.TakeTranscript())(
            "set open, window shown", QString("%1 %2").arg(editor.session->Sets().IsOpen(1)).arg(doc.isVisible()));
    }
    doc.close();
    seen("closed again, asked", editor.ui.TakeTranscript());
    seen.Check();
}

void SetWindowTest::editCommandsDragAndDropImport() {
    Editor editor(2);
    Observed seen("set_window_edits");
    // An arrangement dragged to the other set's window: a copy there, Undo only in that window.
    editor.Data(1).arr.arr[0].SetName("Travelling");
    editor.Data(2).arr.arr[1].SetName("Old One");
    vxe::FDoc& source = editor.Open(1);
    vxe::FDoc& target = editor.Open(2);
    auto* to = Child<QTableView>(target, "grdArr");
    QAbstractItemModel* from = Child<QTableView>(source, "grdArr")->model();
    std::unique_ptr<QMimeData> drag(from->mimeData({from->index(0, 0)}));
    QVERIFY(drag);
    seen("arrangement taken by", TakenBy(target, drag.get(), {"grdArr", "grdPrg", "grdArk", "lstBsq", "lstSng"}));
    QVERIFY(to->model()->dropMimeData(drag.get(), Qt::CopyAction, -1, -1, to->model()->index(0, 1)));
    seen("dropped", Text(to, 0, 1))("source", editor.Data(1).arr.arr[0].Name())("undo", UndoEntry(editor));
    editor.Activate(0);
    seen("source window undo", UndoEntry(editor));
    editor.Activate(1);
    editor.Edit("mnuEUndo")->trigger();
    seen("undone", Text(to, 0, 1))("undo", UndoEntry(editor));
    // Paste from XStyle acts on the slot shown: a program file for F13, a drum kit file for R51
    // (what the files hold and how they are refused is the edit scheme's, see edit_styles_test).
    // An XStyle file: the five magic letters, then the record with its name at its start.
    Tabs(source, 2);
    editor.Activate(0);
    source.GoToNumber(vx::BankedKind::Program, 770);
    std::string bytes = "VEMOX" + Name16("Lead Synth").toStdString() + std::string(172 - 16, '\0');
    vx::test::WriteFileBytes(editor.temp.Str() + "/LEAD.XPF", vx::Bytes(bytes.begin(), bytes.end()));
    editor.ui.fileAnswers = {editor.temp.Str() + "/LEAD.XPF", std::nullopt};
    editor.Edit("mnuEXStyle")->trigger();
    seen("loaded", Child<QTableView>(source, "grdPrg")->currentIndex().data().toString() + "|" +
                       editor.ui.fileRequests.back().title.c_str() + "|" + editor.ui.TakeTranscript().c_str());
    seen("undo", UndoEntry(editor));
    editor.Edit("mnuEUndo")->trigger();
    source.GoToNumber(vx::BankedKind::Program, 1056);
    editor.Edit("mnuEXStyle")->trigger();
    seen("kit asks", editor.ui.fileRequests.back().title);
    // A backing sequence dragged in its list: asked first (No is the edit scheme's); Yes moves 3
    // before 6, the list repaints from the change notice, and Undo puts it back.
    for (int n = 0; n < vx::kSequenceCount; ++n)
        editor.Data(1).bsq.entries[std::size_t(n)].record.SetName("Seq " + std::to_string(n));
    auto* list = Child<QListView>(*Tabs(source, 3), "lstBsq");
    QAbstractItemModel* model = list->model();
    auto rows = [model] {
        QStringList names;
        for (int r = 0; r < model->rowCount(); ++r) names << model->index(r, 0).data().toString().mid(8, 6).trimmed();
        return names.join(',');
    };
    seen("BSeq 3", Text(list, 3));
    std::unique_ptr<QMimeData> sequence(model->mimeData({model->index(3, 0)}));
    QVERIFY(sequence);
    seen("sequence taken by", TakenBy(source, sequence.get(), {"lstSng", "grdArr", "grdArk", "lstBsq"}));
    editor.ui.AnswerTo(vx::QuestionId::InsertBefore, vx::Answer::Yes);
    QVERIFY(model->dropMimeData(sequence.get(), Qt::CopyAction, -1, -1, model->index(6, 0)));
    seen("Yes", rows() + "|" + UndoEntry(editor));
    seen("asked", editor.ui.TakeTranscript())("BSeq 5, current row",
                                              Text(list, 5) + "|" + QString::number(list->currentIndex().row()));
    editor.Edit("mnuEUndo")->trigger();
    seen("undone", rows());
    // An empty song has nothing to drag. Into the other set's song list: a copy; the source stays.
    QAbstractItemModel* songs = Child<QListView>(source, "lstSng")->model();
    seen("empty song dragged", songs->mimeData({songs->index(0, 0)}) != nullptr);
    editor.Data(1).sng.entries[0].record.SetName("Opening");
    std::unique_ptr<QMimeData> song(songs->mimeData({songs->index(0, 0)}));
    auto* into = Child<QListView>(*Tabs(target, 4), "lstSng");
    QVERIFY(into->model()->dropMimeData(song.get(), Qt::CopyAction, -1, -1, into->model()->index(2, 0)));
    seen("song dropped", Text(into, 2).left(15) + "|" + QString::number(into->currentIndex().row()));
    seen("source song", editor.Data(1).sng.entries[0].record.Name());
    seen.Check();

    // Import, and File, Load SysEx File, in the source window on its arrangements.
    Observed imports("set_window_import_and_sysex");
    editor.Data(2).arr.arr[0].SetName("Imported");
    const std::string arrangements = editor.SaveAs(2, "SRC") + "/SRC.ARR";
    vx::SetData programs = editor.Data(1);
    programs.prg.records[0].SetName("ORGAN");
    vx::Bytes message;
    std::string error;
    QVERIFY(vx::BuildDumpMessage(programs, vx::ItemKind::Program, 0, vx::SysExHeader{}, message, error));
    const std::string file = editor.temp.Str() + "/PRG.SYX";
    vx::test::WriteFileBytes(file, message);
    vxe::FDoc& doc = editor.Activate(0);
    Tabs(doc, 0);
    editor.ui.fileRequests.clear();
    editor.ui.TakeTranscript();
    editor.Data(1).prg.records[0].SetName("");
    editor.Data(1).arr.arr[0].SetName("Cut Me");
    editor.Edit("mnuECut")->trigger();
    imports("cut, undo", UndoEntry(editor));
    // A cancelled import changes nothing, not even what Undo could restore.
    editor.Edit("mnuEImport")->trigger();
    imports("import asks", editor.ui.fileRequests.back().title)("undo", UndoEntry(editor));
    // The cut arrangement would come back over the imported ones: Undo is gone with the import.
    editor.session->Slot(1).dirty.fill(false);
    editor.ui.fileAnswers.push_back(arrangements);
    editor.Edit("mnuEImport")->trigger();
    imports("imported", Text(Child<QTableView>(doc, "grdArr"), 0).left(12))("arrangements to write",
                                                                            editor.session->Slot(1).dirty[0]);
    imports("nothing to undo", editor.scheme->UndoOf(vx::ItemKind::Arrangement).Empty())("undo", UndoEntry(editor));
    // The clipboard still holds the cut item for a paste.
    imports("paste on", editor.Edit("mnuEPaste")->isEnabled());
    // File, Load SysEx File: the kind it holds, shown on its tab; Undo restores it.
    editor.ui.fileAnswers = {file};
    Child<QAction>(doc, "mnuFLoadSysex")->trigger();
    imports("SysEx asks", editor.ui.fileRequests.back().title)("requests", editor.ui.fileRequests.size());
    imports("said", editor.ui.TakeTranscript())("F11", editor.Data().prg.records[0].Name())("tab",
                                                                                            Tabs(doc)->currentIndex());
    imports("programs to write", editor.session->Slot(1).dirty[2])("undo on", editor.Edit("mnuEUndo")->isEnabled());
    editor.Edit("mnuEUndo")->trigger();
    imports("undone", editor.Data().prg.records[0].Name());
    // Without the edit commands the entry is off.
    Editor plain(1, {}, false);
    imports("without edit commands, on", Child<QAction>(plain.Open(), "mnuFLoadSysex")->isEnabled());
    imports.Check();
}

QTEST_MAIN(SetWindowTest)
#include "set_window_test.moc"
