#include <QtTest>
#include <QtWidgets>

#include "core/changes/SetChange.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/shell/EditActions.h"
#include "editor/shell/ShellServices.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"
#include "editor/views/ColumnFitter.h"

namespace {
QString Name16(const char* name) { return QString(name).leftJustified(16); }

class StubShell : public vxe::ShellServices {
public:
    QStringList calls;
    vxe::EditActions edits;
    QMenu* EditMenu() override { return edits.Menu(); }
    void NewSet() override { calls << "NewSet"; }
    void OpenSet() override { calls << "OpenSet"; }
    void Exit() override { calls << "Exit"; }
    void ShowHelpContents() override { calls << "Help"; }
    void ShowTipOfTheDay() override { calls << "Tip"; }
    void ShowAbout() override { calls << "About"; }
    void ShowOptions() override { calls << "Options"; }
    void Cascade() override { calls << "Cascade"; }
    void Tile() override { calls << "Tile"; }
    void ArrangeIcons() override { calls << "ArrangeIcons"; }
};

// A session with the shipped template and blank preset names, and a new set in which nothing
// calls anything until a test says so.
struct Editor {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    StubShell shell;
    int set = 0;
    std::unique_ptr<vxe::FDoc> doc;

    explicit Editor(const vx::PresetTables& presets = {}) {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        if (catalogue) session = std::make_unique<vx::Session>(std::move(*catalogue), presets, options, ui);
        if (session) set = session->OpenOrNewSet(true, "");
        if (set > 0)
            for (auto& kbd : Data().ark.records)
                for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    }
    vx::SetData& Data() { return session->Data(set); }
    // The set's window showing tab mode, filled unless told otherwise.
    vxe::FDoc& Open(int mode, bool fill = true) {
        options.ModeId = mode;
        doc = std::make_unique<vxe::FDoc>(*session, shell, set);
        shell.edits.SetDocument(doc.get());
        if (fill) doc->Fill();
        return *doc;
    }
    QAction* Edit(const char* name) {
        if (QAction* action = shell.edits.Menu()->findChild<QAction*>(name)) return action;
        qFatal("no entry %s", name);
    }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    if (T* child = parent.findChild<T*>(name)) return child;
    qFatal("no child %s", name);
}

QString Text(QTableView* grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }

// A cell's text and colour, as "text #rrggbb".
QString Cell(QTableView* grid, int row, int column) {
    const QVariant colour = grid->model()->index(row, column).data(Qt::ForegroundRole);
    return Text(grid, row, column) + " " + colour.value<QColor>().name();
}

// The Edit menu's enabled commands, named without their "mnuE", after showing tab when given.
QString EnabledEdits(vxe::FDoc& doc, int tab = -1) {
    if (tab >= 0) doc.findChild<QTabWidget*>("tabMode")->setCurrentIndex(tab);
    QStringList names;
    for (QAction* action : doc.Menus()[1]->actions())
        if (!action->isSeparator() && action->isEnabled()) names << action->objectName().mid(4);
    return names.join(' ');
}
}  // namespace

class DocumentWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void contentAndMenusAsNamed();
    void tabsAndMenuStates();
    void gridsAndListsShowTheSet();
    void importReplacesTheKindAndUndoFollows();
    void closingAChangedSetAsks();
    void gridsFitTheirWidthAndLineUp();
    void statusAndMarkerFollowTheSet();
};

void DocumentWindowTest::contentAndMenusAsNamed() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vxe::FDoc& doc = editor.Open(0, false);
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    for (const char* name : {"cboArrBnk", "cboStyBnk", "cboPrgBnk"}) {
        auto* combo = Child<QComboBox>(doc, name);
        texts << combo->itemText(0) + "-" + combo->itemText(combo->count() - 1) + " " + combo->toolTip();
    }
    texts << Child<QLabel>(doc, "lblFreeS")->text();
    QCOMPARE(texts.join('|'), QString("&Arrangements|&Styles|&Programs|&Backing Seq|S&ongs|&KBD Sets|A-D Select "
                                      "Arrangement Bank here|A-C Select Style Bank here|A-R Select Program Bank "
                                      "here|      Events  ...used          free"));
    // The menu bar: each menu with the number of its entries (separators included), and
    // Options, a command without a popup.
    texts.clear();
    for (QAction* entry : doc.MenuBarEntries())
        texts << entry->text() + (entry->menu() ? QString::number(entry->menu()->actions().size()) : "!");
    QCOMPARE(texts.join('|'), QString("&File10|&Edit13|&Options!|&Window3|&Utilities9|&Help5"));
    QCOMPARE(editor.Edit("mnuEXStyle")->text(), QString("Paste from &XStyle..."));
    // The shell's commands; the window arrangement moves the check mark.
    for (const char* name :
         {"mnuFNew", "mnuFOpen", "mnuFExit", "mnuHTopics", "mnuHTips", "mnuHAbout", "mnuWCascade", "mnuWArrange"})
        Child<QAction>(doc, name)->trigger();
    QCOMPARE(editor.shell.calls.join(' '), QString("NewSet OpenSet Exit Help Tip About Cascade ArrangeIcons"));
    QVERIFY(Child<QAction>(doc, "mnuWCascade")->isChecked() && !Child<QAction>(doc, "mnuWTile")->isChecked());
    doc.MenuBarEntries()[2]->trigger();
    QCOMPARE(editor.shell.calls.count("Options"), 1);
}

void DocumentWindowTest::tabsAndMenuStates() {
    Editor editor;
    QVERIFY(editor.set > 0);
    editor.Data().prg.records[64].SetName("Second Bank");
    vxe::FDoc& doc = editor.Open(0, false);
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    // No caption yet: a tab change neither fills nor stores anything.
    tabs->setCurrentIndex(1);
    QCOMPARE(editor.options.ModeId, 0);
    tabs->setCurrentIndex(0);
    QVERIFY(grdArr->model()->rowCount() == 0 && !doc.Menus()[1]->menuAction()->isEnabled());
    // The tab already shown at opening is still filled.
    doc.Fill();
    QCOMPARE(doc.windowTitle() + " " + Text(grdArr, 0, 0), "NEWSET01[*] C11 " + Name16(""));
    QVERIFY(doc.Menus()[1]->menuAction()->isEnabled());
    // Each tab: ModeId, Update Preset (U) and Export to Preset (E) when shown, and the Edit
    // commands, of which Details and Import are built here (KBD sets have no Details).
    QString shown;
    for (int tab : {1, 2, 3, 4, 5, 0}) {
        tabs->setCurrentIndex(tab);
        shown += QString::number(editor.options.ModeId) +
                 (Child<QAction>(doc, "mnuUSwapPreset")->isVisible() ? "U" : "") +
                 (Child<QAction>(doc, "mnuUExPreset")->isVisible() ? "E" : "") + EnabledEdits(doc) + " ";
    }
    QCOMPARE(shown, QString("1Details Import 2EDetails Import 3Details Import 4Details Import 5Import "
                            "0UEDetails Import "));
    QVERIFY(Child<QPushButton>(doc, "cmdArg")->isEnabled() && Child<QPushButton>(doc, "cmdGbl")->isEnabled());
    // With every command built: Styles never delete or insert, a twin grid offers no Erase Bank
    // and no Import, a preset position is only browsed.
    const QString all = "Cut Copy Paste Delete Insert XStyle Details EraseBnk Import";
    const QString twin = "Cut Copy Paste Delete Insert XStyle Details";
    const QString styles = "Cut Copy Paste XStyle Details EraseBnk Import";
    doc.SetBuiltCommands(vxe::EditCommandSet().set());
    QCOMPARE(EnabledEdits(doc, 1), styles);
    QCOMPARE(EnabledEdits(doc, 2), all);
    Child<QCheckBox>(doc, "chkTwin_2")->setChecked(true);
    QCOMPARE(Text(Child<QTableView>(doc, "grdPrg"), 16, 0) + "|" + EnabledEdits(doc),
             "G11 " + Name16("Second Bank") + "|" + twin);
    QCOMPARE(EnabledEdits(doc, 1), styles);
    QCOMPARE(EnabledEdits(doc, 2), twin);
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(0);
    QCOMPARE(EnabledEdits(doc), QString("Details"));
    // R has no twin, and holds presets and, from R51, user drum kits.
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(7);
    doc.GoToNumber(vx::BankedKind::Program, 1056);
    QCOMPARE(QString::number(doc.CurrentNumber(vx::BankedKind::Program)) + " " + EnabledEdits(doc), "1056 " + all);
    // Arrangement D11 in twin view goes to bank C's grid, row 16, column 0.
    tabs->setCurrentIndex(0);
    Child<QCheckBox>(doc, "chkTwin_0")->setChecked(true);
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    doc.GoToNumber(vx::BankedKind::Arrangement, 320);
    QCOMPARE(Child<QComboBox>(doc, "cboArrBnk")->currentText() + " " + EnabledEdits(doc), "C " + twin);
    QCOMPARE(grdArr->currentIndex(), grdArr->model()->index(16, 0));
}

void DocumentWindowTest::gridsAndListsShowTheSet() {
    vx::PresetTables presets;
    presets.programsAB[0].name = Name16("Grand Piano").toStdString();
    presets.programsAB[1].name = Name16("Bright Piano").toStdString();
    presets.arrangements[0].name = Name16("Preset Arr").toStdString();
    presets.arrangements[0].style = 5;
    Editor editor(presets);
    QVERIFY(editor.set > 0);
    vx::SetData& data = editor.Data();
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
    vxe::FDoc& doc = editor.Open(2);
    QCOMPARE(editor.ui.progressTitles.back(),
             std::string("Checking Program Calls... | If this delay is intolerable, you can disable the'Highlight "
                         "called Items' checkbox in 'Options' menu"));
    // Red: a called user item, dark red: a called preset, blue: a user item nobody calls, teal: a preset.
    auto* grdPrg = Child<QTableView>(doc, "grdPrg");
    QCOMPARE(Cell(grdPrg, 0, 0), "F11 " + Name16("My Piano") + " #ff0000");
    QCOMPARE(Cell(grdPrg, 0, 2), "F13 " + Name16("") + " #0000ff");
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(0);
    QCOMPARE(Cell(grdPrg, 0, 0), "A11 " + Name16("Grand Piano") + " #800000");
    QCOMPARE(Cell(grdPrg, 0, 1), "A12 " + Name16("Bright Piano") + " #00807f");
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    tabs->setCurrentIndex(0);
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    QCOMPARE(Cell(grdArr, 0, 0), "C11 " + Name16("Pop Ballad") + " (C12)U #ff0000");
    // The backing sequence is emptied: after the change notice C11 is no longer called.
    bsq.SetName("");
    editor.session->Changes().Publish(vx::SetChange::Item(editor.set, vx::ItemKind::BackingSequence, 2));
    QCOMPARE(Cell(grdArr, 0, 0).right(7), QString("#0000ff"));
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    QCOMPARE(Cell(grdArr, 0, 0), "A11 " + Name16("Preset Arr") + " (A16) #00807f");
    // Style events, what each block of four slots has left, and calls by arrangement C11.
    tabs->setCurrentIndex(1);
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    QCOMPARE(Cell(grdSty, 0, 1).right(7) + Cell(grdSty, 0, 0).right(7), QString("#ff0000#0000ff"));
    QCOMPARE(Text(grdSty, 1, 0), "C15 " + Name16("Slow Rock") + ":100");
    auto* grdFreeS = Child<QTableView>(doc, "grdFreeS");
    QCOMPARE(QString::number(grdFreeS->model()->rowCount()) + " " + Text(grdFreeS, 1, 0) + " " + Text(grdFreeS, 1, 1),
             QString("12 100 15100"));
    slots[5].size = 1176 + 4 * 1000;
    editor.session->Changes().Publish(vx::SetChange::Item(editor.set, vx::ItemKind::Style, 261));
    QCOMPARE(Text(grdFreeS, 1, 1), QString("14100"));
    // HighCall off: black for user items, the grey text colour for presets, and no scan.
    const auto progressCount = editor.ui.progressTitles.size();
    editor.options.HighCall = 0;
    doc.OnOptionsChanged();
    QCOMPARE(Cell(grdSty, 0, 0).right(7), QString("#000000"));
    tabs->setCurrentIndex(2);
    QCOMPARE(Cell(grdPrg, 0, 0).right(7), QApplication::palette().color(QPalette::Disabled, QPalette::Text).name());
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(5);
    QCOMPARE(Cell(grdPrg, 0, 0).right(7) + Cell(grdPrg, 0, 2).right(7), QString("#000000#0000ff"));
    QCOMPARE(editor.ui.progressTitles.size(), progressCount);
    // A renamed program is shown after its change notice, in its grid and in the KBD sets.
    data.prg.records[0].SetName("Renamed");
    editor.session->Changes().Publish(vx::SetChange::Item(editor.set, vx::ItemKind::Program, 768));
    QCOMPARE(Text(grdPrg, 0, 0), "F11 " + Name16("Renamed"));
    tabs->setCurrentIndex(5);
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    QStringList texts;
    for (int c = 0; c < grdArk->model()->columnCount(); ++c)
        texts << grdArk->model()->headerData(c, Qt::Horizontal).toString() + "=" + Text(grdArk, 0, c);
    QCOMPARE(texts.join('|') + "|" + Text(grdArk, 63, 0),
             "KS=11|Sp=C4|Main KBD= |Sub KBD= |Lower KBD= |Harmony= |K.Bass=F11 " + Name16("Renamed") + "|88");
    // The sequence lists and the counters on both their tabs follow a change of either kind.
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    QCOMPARE(lstBsq->model()->index(2, 0).data().toString(), QString("BSeq 2:                  :   20"));
    QCOMPARE(Child<QListView>(doc, "lstSng")->model()->index(0, 0).data().toString(),
             QString("Song 0: Song             :   12"));
    data.bsq.entries[2].total = 6;
    editor.session->Changes().Publish(vx::SetChange::Kind(editor.set, vx::ItemKind::BackingSequence));
    QCOMPARE(lstBsq->model()->index(2, 0).data().toString(), QString("BSeq 2:                  :   24"));
    for (int tab : {3, 4}) {
        QStringList labels;
        for (QLabel* label : tabs->widget(tab)->findChildren<QLabel*>(QRegularExpression("^lblEvCnt_")))
            labels << label->text();
        QCOMPARE(labels.join('|'), QString("BackSeqs: 24|Songs: 12|Patterns: 40|Total: 76|Free: 65460"));
    }
}

void DocumentWindowTest::importReplacesTheKindAndUndoFollows() {
    Editor editor;
    QVERIFY(editor.set > 0);
    editor.Data().arr.arr[0].SetName("Imported");
    editor.session->SaveSet(editor.set, editor.temp.Str() + "/SRC.SET/SRC", true);
    editor.Data().arr.arr[0].SetName("");
    vxe::FDoc& doc = editor.Open(0);
    editor.session->Changes().Publish(vx::SetChange::Undo(editor.set, true));
    // A cancelled import changes nothing, not even what Undo could restore.
    editor.Edit("mnuEImport")->trigger();
    QCOMPARE(editor.ui.fileRequests.back().title, std::string("Import all Arrangement from..."));
    QCOMPARE(editor.Edit("mnuEUndo")->text(), QString("&Undo"));
    editor.ui.fileAnswers.push_back(editor.temp.Str() + "/SRC.SET/SRC.ARR");
    editor.Edit("mnuEImport")->trigger();
    QCOMPARE(Text(Child<QTableView>(doc, "grdArr"), 0, 0).left(20), "C11 " + Name16("Imported"));
    QCOMPARE(editor.Edit("mnuEUndo")->text(), QString("Can't Undo"));
    QVERIFY(editor.session->Slot(editor.set).dirty[0]);
}

void DocumentWindowTest::closingAChangedSetAsks() {
    const struct {
        vx::Answer answer;
        bool closes, saved;
    } cases[] = {{vx::Answer::Cancel, false, false}, {vx::Answer::No, true, false}, {vx::Answer::Yes, true, true}};
    for (const auto& c : cases) {
        Editor editor;
        QVERIFY(editor.set > 0);
        const std::string prg = editor.temp.Str() + "/LIVE.SET/LIVE.PRG";
        editor.session->SaveSet(editor.set, editor.temp.Str() + "/LIVE.SET/LIVE", true);
        const auto before = vx::test::ReadFileBytes(prg);
        editor.Data().prg.records[0].SetName("Changed");
        editor.session->MarkDirty(editor.set, vx::ItemKind::Program);
        vxe::FDoc& doc = editor.Open(0);
        doc.show();
        editor.ui.AnswerTo(vx::QuestionId::SaveChanges, c.answer);
        Child<QAction>(doc, "mnuFClose")->trigger();
        QCOMPARE(editor.ui.Texts(), std::vector<std::string>{"Save the changes in LIVE ?"});
        QVERIFY(editor.ui.Last().buttons == vx::MessageButtons::YesNoCancel &&
                editor.ui.Last().defaultButton == vx::Answer::Cancel);
        QVERIFY(editor.session->Sets().IsOpen(editor.set) != c.closes && doc.isVisible() != c.closes);
        const auto after = vx::test::ReadFileBytes(prg);
        QCOMPARE(std::string(after.begin() + 48, after.begin() + 55) == "Changed", c.saved);
        QVERIFY(c.saved || after == before);
        // A closed window closes again without asking.
        doc.close();
        QCOMPARE(editor.ui.messages.size(), std::size_t{c.closes ? 1u : 2u});
    }
}

// Where a row of a grid starts, in the window's coordinates.
int RowTop(QTableView* grid, int row, QWidget& window) {
    return grid->viewport()->mapTo(&window, grid->visualRect(grid->model()->index(row, 0)).topLeft()).y();
}

// Whether every column is as wide as its widest text, and the columns end at the grid's edge.
QString ColumnsFit(QTableView* grid) {
    const QFontMetrics metrics(grid->font());
    int total = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        total += grid->columnWidth(c);
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            if (metrics.horizontalAdvance(Text(grid, r, c)) > grid->columnWidth(c))
                return QString("%1 cut in row %2 column %3").arg(grid->objectName()).arg(r).arg(c);
    }
    return total == grid->viewport()->width() ? "fits" : QString("%1 of %2").arg(total).arg(grid->viewport()->width());
}

void DocumentWindowTest::gridsFitTheirWidthAndLineUp() {
    Editor editor;
    QVERIFY(editor.set > 0);
    for (int slot : {0, 5, 47}) {
        editor.Data().sty.slots[slot].record.SetName("Sixteen letters!");
        editor.Data().sty.slots[slot].used = 1;
        editor.Data().sty.slots[slot].size = 1176 + 4 * 10000;
    }
    vxe::FDoc& doc = editor.Open(1);
    doc.resize(1000, 700);
    doc.show();
    QCoreApplication::processEvents();
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    auto* grdFreeS = Child<QTableView>(doc, "grdFreeS");
    QCOMPARE(Text(grdSty, 11, 3), "C68 " + Name16("Sixteen letters!") + ":10000");
    // Each block's free events are level with the block's row of styles.
    for (int row : {0, 1, 11}) QCOMPARE(RowTop(grdFreeS, row, doc), RowTop(grdSty, row, doc));
    QCOMPARE(ColumnsFit(grdSty), QString("fits"));
    // Narrower: the text keeps its room; the font steps down first, the rows keep their height.
    const int rowHeight = grdSty->rowHeight(0);
    const int pixels = QFontInfo(grdSty->font()).pixelSize();
    doc.resize(800, 700);
    QCoreApplication::processEvents();
    QCOMPARE(ColumnsFit(grdSty), QString("fits"));
    QVERIFY(QFontInfo(grdSty->font()).pixelSize() < pixels);
    QCOMPARE(grdSty->rowHeight(0), rowHeight);
    QCOMPARE(RowTop(grdFreeS, 11, doc), RowTop(grdSty, 11, doc));
    // Far too narrow: the smallest font, and the grid scrolls sideways instead of cutting a column.
    doc.resize(300, 700);
    QCoreApplication::processEvents();
    QCOMPARE(QFontInfo(grdSty->font()).pixelSize(), vxe::ColumnFitter::kSmallestPixelSize);
    QVERIFY(ColumnsFit(grdSty).startsWith(QString::number(4 * grdSty->columnWidth(0)) + " of "));
    // Arrangements: the rows keep their height from the first fill through bank changes and twin view.
    doc.resize(1000, 700);
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    tabs->setCurrentIndex(0);
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    const int first = grdArr->rowHeight(0);
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    Child<QCheckBox>(doc, "chkTwin_0")->setChecked(true);
    QCoreApplication::processEvents();
    QCOMPARE(QString("%1 %2").arg(grdArr->rowHeight(0)).arg(grdArr->rowHeight(31)), QString("%1 %1").arg(first));
    QCOMPARE(ColumnsFit(grdArr), QString("fits"));
    // The KBD sets: every column, the five tracks sharing the room.
    tabs->setCurrentIndex(5);
    QCoreApplication::processEvents();
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    QCOMPARE(ColumnsFit(grdArk), QString("fits"));
    QCOMPARE(grdArk->columnWidth(2), grdArk->columnWidth(5));
    // The sequence lists are as tall as their ten rows.
    tabs->setCurrentIndex(3);
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    QCOMPARE(lstBsq->height(), 2 * lstBsq->frameWidth() + 10 * lstBsq->sizeHintForRow(0));
}

void DocumentWindowTest::statusAndMarkerFollowTheSet() {
    Editor editor;
    QVERIFY(editor.set > 0);
    editor.Data().arr.arr[0].SetName("Pop Ballad");
    editor.Data().bsq.entries[2].record.SetName("Intro");
    vxe::FDoc& doc = editor.Open(0);
    QSignalSpy changes(&doc, &vxe::FDoc::StatusChanged);
    auto status = [&doc] { return doc.StatusItem() + "|" + doc.StatusDirty() + (doc.isWindowModified() ? "|*" : "|"); };
    // A new set has every kind changed.
    QCOMPARE(status(), QString("C11 Pop Ballad|Arrangement: changed, not saved|*"));
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    grdArr->setCurrentIndex(grdArr->model()->index(0, 1));
    QCOMPARE(status(), QString("C12 (empty)|Arrangement: changed, not saved|*"));
    QCOMPARE(changes.count(), 1);
    // Saved: no marker; the caption keeps the marker's place.
    const std::string base = editor.temp.Str() + "/LIVE.SET/LIVE";
    QVERIFY(editor.session->SaveSet(editor.set, base, true));
    doc.RefreshCaption();
    QCOMPARE(doc.windowTitle() + "|" + status(), QString("LIVE[*]|C12 (empty)|Arrangement: saved|"));
    QCOMPARE(doc.StatusDirectory(), QDir::toNativeSeparators(QString::fromStdString(editor.temp.Str() + "/LIVE.SET")));
    // A change of one kind marks the window; the status names the kind of the tab shown.
    editor.session->MarkDirty(editor.set, vx::ItemKind::BackingSequence);
    editor.session->Changes().Publish(vx::SetChange::Kind(editor.set, vx::ItemKind::BackingSequence));
    QCOMPARE(status(), QString("C12 (empty)|Arrangement: saved|*"));
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    tabs->setCurrentIndex(3);
    auto* lstBsq = Child<QListView>(doc, "lstBsq");
    lstBsq->setCurrentIndex(lstBsq->model()->index(2, 0));
    QCOMPARE(status(), QString("BSeq 2 Intro|Backing Sequence: changed, not saved|*"));
    lstBsq->setCurrentIndex(lstBsq->model()->index(3, 0));
    QCOMPARE(doc.StatusItem(), QString("BSeq 3 (empty)"));
    tabs->setCurrentIndex(5);
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    grdArk->setCurrentIndex(grdArk->model()->index(9, 3));
    QCOMPARE(status(), QString("KBD Set 22|KBD Set: saved|*"));
    // Alt+O: the Songs tab, and on the Songs tab the Options entry of the menu bar.
    const QKeySequence altO(Qt::ALT | Qt::Key_O);
    vxe::FDoc::MnemonicResult result = doc.TakeMnemonic(altO);
    QVERIFY(result.handled && result.entry == nullptr && tabs->currentIndex() == 4);
    result = doc.TakeMnemonic(altO);
    QVERIFY(result.handled && result.entry == doc.MenuBarEntries()[2] && tabs->currentIndex() == 4);
    // A letter of a tab alone shows the tab; one of the menu bar alone is left to the menu bar.
    QVERIFY(doc.TakeMnemonic(QKeySequence(Qt::ALT | Qt::Key_K)).handled && tabs->currentIndex() == 5);
    QVERIFY(!doc.TakeMnemonic(QKeySequence(Qt::ALT | Qt::Key_F)).handled);
}

QTEST_MAIN(DocumentWindowTest)
#include "document_window_test.moc"
