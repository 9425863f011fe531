#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "catalogue/CatalogueInit.h"
#include "document/FDoc.h"
#include "presets/PresetNames.h"
#include "shell/ShellServices.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

class StubShell : public vxe::ShellServices {
public:
    QStringList calls;
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

// A session with the shipped template and preset names, and a new set in which nothing calls
// anything until a test says so.
struct Editor {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    StubShell shell;
    int set = 0;

    Editor() {
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        vx::PresetTables presets;
        vx::ReadPresetNames(vx::test::ProgramDir() + "/X50PRSTS.TXT", presets);
        options.PathNam = temp.Str();
        if (catalogue) session = std::make_unique<vx::Session>(std::move(*catalogue), presets, options, ui);
        if (session) set = session->OpenOrNewSet(true, "");
        if (set > 0) Quieten();
    }

    vx::SetData& Data() { return session->Data(set); }

    void Quieten() {
        vx::SetData& data = Data();
        for (auto& arr : data.arr.arr) arr.SetName("");
        for (auto& style : data.sty.slots) style.record.SetName("");
        for (auto& program : data.prg.records) program.SetName("");
        for (auto& bsq : data.bsq.entries) bsq.record.SetName("");
        for (auto& song : data.sng.entries) song.record.SetName("");
        for (auto& kbd : data.ark.records)
            for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    }

    // The set written to disk as dir/NAME.SET, clean afterwards.
    std::string SaveAs(const std::string& name) {
        const std::string directory = temp.Str() + "/" + name + ".SET";
        session->SaveSet(set, directory + "/" + name, true);
        return directory;
    }
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(name);
    if (!child) qWarning("no child %s", name);
    return child;
}

bool Enabled(vxe::FDoc& doc, const char* action) { return Child<QAction>(doc, action)->isEnabled(); }

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class DocumentWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void contentAndMenusAsNamed();
    void tabsStoreModeIdAndSetMenuStates();
    void twinViewFoldsBanksAndDisablesBankCommands();
    void cellTextsAndColoursFollowCallsAndHighCall();
    void kbdGridAndStyleEvents();
    void listsAndCounters();
    void importReplacesTheKindAndUndoFollows();
    void closingAChangedSetAsks();
};

void DocumentWindowTest::contentAndMenusAsNamed() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);

    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    QVERIFY(tabs);
    const QStringList captions{"&Arrangements", "&Styles", "&Programs", "&Backing Seq", "S&ongs", "&KBD Sets"};
    QCOMPARE(tabs->count(), 6);
    for (int i = 0; i < 6; ++i) QCOMPARE(tabs->tabText(i), captions[i]);

    struct Combo {
        const char* name;
        QString letters;
        QString tip;
        int lastOfLast;
    };
    const Combo combos[] = {{"cboArrBnk", "ABCD", "Select Arrangement Bank here", 63},
                            {"cboStyBnk", "ABC", "Select Style Bank here", 47},
                            {"cboPrgBnk", "ABCDEFGR", "Select Program Bank here", 39}};
    for (const Combo& c : combos) {
        auto* combo = Child<QComboBox>(doc, c.name);
        QVERIFY(combo);
        QString letters;
        for (int i = 0; i < combo->count(); ++i) letters += combo->itemText(i);
        QCOMPARE(letters, c.letters);
        QCOMPARE(combo->toolTip(), c.tip);
        QCOMPARE(combo->itemData(combo->count() - 1).toInt(), c.lastOfLast);
    }
    QCOMPARE(Child<QCheckBox>(doc, "chkTwin_0")->text(), QString("Twin View"));
    QCOMPARE(Child<QCheckBox>(doc, "chkTwin_2")->text(), QString("Twin View"));
    QCOMPARE(Child<QPushButton>(doc, "cmdArg")->text(), QString("&Arrangement Global"));
    QVERIFY(!Child<QPushButton>(doc, "cmdGbl")->isEnabled());
    QCOMPARE(Child<QLabel>(doc, "lblFreeS")->text(), QString("      Events  ...used          free"));
    QVERIFY(Child<QTableView>(doc, "grdFreeS"));
    QVERIFY(Child<QTableView>(doc, "grdArk"));
    QVERIFY(Child<QListWidget>(doc, "lstBsq")->font().fixedPitch());
    QVERIFY(Child<QListWidget>(doc, "lstSng")->font().fixedPitch());

    const QList<QMenu*> menus = doc.Menus();
    QStringList menuNames;
    for (QMenu* menu : menus) menuNames << menu->objectName() + "=" + menu->title();
    QCOMPARE(menuNames, (QStringList{"mnuFile=&File", "mnuEdit=&Edit", "mnuOptions=&Options", "mnuWindow=&Window",
                                     "mnuUtil=&Utilities", "mnuHelp=&Help"}));
    QStringList entries;
    for (QMenu* menu : menus)
        for (QAction* action : menu->actions())
            entries << (action->isSeparator() ? "-" : action->objectName() + "=" + action->text());
    QCOMPARE(entries, (QStringList{"mnuFNew=&New",
                                   "mnuFOpen=&Open...",
                                   "mnuFClose=&Close",
                                   "mnuFSave=&Save",
                                   "mnuFSaveAs=Sa&ve As...",
                                   "-",
                                   "mnuFExit=E&xit",
                                   "mnuEUndo=Can't Undo",
                                   "-",
                                   "mnuECut=Cu&t",
                                   "mnuECopy=&Copy",
                                   "mnuEPaste=&Paste",
                                   "mnuEDelete=&Delete",
                                   "mnuEInsert=In&sert",
                                   "mnuEXStyle=Paste from &XStyle...",
                                   "-",
                                   "mnuEDetails=Detai&ls",
                                   "-",
                                   "mnuEEraseBnk=&Erase Bank",
                                   "mnuEImport=I&mport...",
                                   "mnuWCascade=&Cascade",
                                   "mnuWTile=&Tile",
                                   "mnuWArrange=&Arrange Icons",
                                   "mnuUReport=Display Set &Report",
                                   "mnuUSSRep=Create Su&bset Report File...",
                                   "mnuUSwapPreset=Update &Preset Data...",
                                   "mnuUExPreset=E&xport to Preset File...",
                                   "-",
                                   "mnuUMidStup=&MIDI Setup...",
                                   "mnuUMidSend=Send to &Vemo-x50",
                                   "mnuUSysex2File=Send SysE&x to File...",
                                   "mnuHTopics=&Contents",
                                   "-",
                                   "mnuHTips=Ti&p of the Day...",
                                   "-",
                                   "mnuHAbout=&About this File Editor..."}));
    QCOMPARE(Child<QAction>(doc, "mnuFOpen")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(Child<QAction>(doc, "mnuECopy")->shortcut(), QKeySequence(QKeySequence::Copy));
    QCOMPARE(Child<QAction>(doc, "mnuHTopics")->shortcut(), QKeySequence(Qt::Key_F1));

    // The shell's commands, and the window arrangement with its check marks.
    editor.options.WArrangeMode = 1;
    doc.OnOptionsChanged();
    QVERIFY(Child<QAction>(doc, "mnuWTile")->isChecked());
    for (const char* name :
         {"mnuFNew", "mnuFOpen", "mnuFExit", "mnuHTopics", "mnuHTips", "mnuHAbout", "mnuWCascade", "mnuWArrange"})
        Child<QAction>(doc, name)->trigger();
    QCOMPARE(editor.shell.calls,
             (QStringList{"NewSet", "OpenSet", "Exit", "Help", "Tip", "About", "Cascade", "ArrangeIcons"}));
    QCOMPARE(editor.options.WArrangeMode, 0);
    QVERIFY(Child<QAction>(doc, "mnuWCascade")->isChecked());
    QVERIFY(!Child<QAction>(doc, "mnuWTile")->isChecked());
    QVERIFY(!Enabled(doc, "mnuUReport"));

    // The Options menu has no entries: choosing it opens the options dialog, once.
    doc.Menus()[2]->menuAction()->trigger();
    Q_EMIT doc.Menus()[2]->aboutToShow();
    QTRY_COMPARE(editor.shell.calls.count("Options"), 1);
    QTest::qWait(20);
    QCOMPARE(editor.shell.calls.count("Options"), 1);
}

void DocumentWindowTest::tabsStoreModeIdAndSetMenuStates() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    auto* grdArr = Child<QTableView>(doc, "grdArr");

    // No caption yet: a tab change neither fills nor stores anything.
    editor.options.ModeId = 0;
    tabs->setCurrentIndex(1);
    QCOMPARE(editor.options.ModeId, 0);
    tabs->setCurrentIndex(0);
    QCOMPARE(grdArr->model()->rowCount(), 0);
    QVERIFY(!doc.Menus()[1]->menuAction()->isEnabled());

    // The tab already shown at opening is still filled.
    doc.Fill();
    QCOMPARE(doc.windowTitle(), QString("NEWSET01"));
    QCOMPARE(grdArr->model()->rowCount(), 16);
    QCOMPARE(grdArr->model()->index(0, 0).data().toString(), QString("C11 ") + QString(16, ' '));
    QVERIFY(doc.Menus()[1]->menuAction()->isEnabled());

    struct TabCase {
        int tab;
        bool swapPreset;
        bool exportPreset;
    };
    for (const TabCase c : {TabCase{1, false, false}, TabCase{2, false, true}, TabCase{3, false, false},
                            TabCase{4, false, false}, TabCase{5, false, false}, TabCase{0, true, true}}) {
        tabs->setCurrentIndex(c.tab);
        QCOMPARE(editor.options.ModeId, c.tab);
        QCOMPARE(Child<QAction>(doc, "mnuUSwapPreset")->isVisible(), c.swapPreset);
        QCOMPARE(Child<QAction>(doc, "mnuUExPreset")->isVisible(), c.exportPreset);
        QVERIFY(Child<QAction>(doc, "mnuUReport")->isVisible());
        // Only Import is built so far; everything else stays disabled whatever the state.
        QVERIFY(Enabled(doc, "mnuEImport"));
        for (const char* name : {"mnuEUndo", "mnuECut", "mnuECopy", "mnuEPaste", "mnuEDelete", "mnuEInsert",
                                 "mnuEXStyle", "mnuEDetails", "mnuEEraseBnk"})
            QVERIFY2(!Enabled(doc, name), name);
    }

    // With every command built, the states show: Styles never delete or insert, a preset
    // position is only browsed, a user position is fully editable.
    doc.SetBuiltCommands(vxe::EditCommandSet().set());
    tabs->setCurrentIndex(1);
    QCOMPARE(doc.CurrentEditState(), vxe::EditState::Style);
    QVERIFY(Enabled(doc, "mnuECut") && Enabled(doc, "mnuEPaste") && Enabled(doc, "mnuEEraseBnk"));
    QVERIFY(!Enabled(doc, "mnuEDelete") && !Enabled(doc, "mnuEInsert"));
    tabs->setCurrentIndex(2);
    QCOMPARE(doc.CurrentEditState(), vxe::EditState::All);
    QVERIFY(Enabled(doc, "mnuEDelete") && Enabled(doc, "mnuEInsert") && Enabled(doc, "mnuEXStyle"));
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(0);
    QCOMPARE(doc.CurrentEditState(), vxe::EditState::Browse);
    QVERIFY(Enabled(doc, "mnuEDetails") && Enabled(doc, "mnuEImport"));
    for (const char* name :
         {"mnuECut", "mnuECopy", "mnuEPaste", "mnuEDelete", "mnuEInsert", "mnuEXStyle", "mnuEEraseBnk"})
        QVERIFY2(!Enabled(doc, name), name);
    // Bank R holds presets and, from R51, user drum kits.
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(7);
    doc.GoToNumber(vx::BankedKind::Program, 1056);
    QCOMPARE(doc.CurrentNumber(vx::BankedKind::Program), 1056);
    QCOMPARE(doc.CurrentEditState(), vxe::EditState::All);
    tabs->setCurrentIndex(4);
    QCOMPARE(doc.CurrentEditState(), vxe::EditState::All);

    doc.SetUndoAvailable(true);
    QCOMPARE(Child<QAction>(doc, "mnuEUndo")->text(), QString("&Undo"));
    QVERIFY(Enabled(doc, "mnuEUndo"));
    doc.SetUndoAvailable(false);
    QCOMPARE(Child<QAction>(doc, "mnuEUndo")->text(), QString("Can't Undo"));
    QVERIFY(!Enabled(doc, "mnuEUndo"));
}

void DocumentWindowTest::twinViewFoldsBanksAndDisablesBankCommands() {
    Editor editor;
    QVERIFY(editor.set > 0);
    editor.Data().prg.records[64].SetName("Second Bank");
    editor.options.ModeId = 2;
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    doc.Fill();
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    auto* grdPrg = Child<QTableView>(doc, "grdPrg");
    auto* cboPrgBnk = Child<QComboBox>(doc, "cboPrgBnk");
    auto* chkTwin2 = Child<QCheckBox>(doc, "chkTwin_2");
    QCOMPARE(cboPrgBnk->currentText(), QString("F"));
    QCOMPARE(grdPrg->model()->rowCount(), 16);

    chkTwin2->setChecked(true);
    QCOMPARE(grdPrg->model()->rowCount(), 32);
    QCOMPARE(grdPrg->model()->index(16, 0).data().toString(),
             QString("G11 ") + QString::fromStdString(Name16("Second Bank")));
    QVERIFY(!Enabled(doc, "mnuEImport"));
    tabs->setCurrentIndex(1);
    QVERIFY(Enabled(doc, "mnuEImport"));
    tabs->setCurrentIndex(2);
    QVERIFY(!Enabled(doc, "mnuEImport"));

    // E and R have no twin; their grids have 16 and 10 rows and the box is hidden.
    cboPrgBnk->setCurrentIndex(4);
    QCOMPARE(grdPrg->model()->rowCount(), 16);
    QVERIFY(chkTwin2->isHidden());
    QVERIFY(Enabled(doc, "mnuEImport"));
    cboPrgBnk->setCurrentIndex(7);
    QCOMPARE(grdPrg->model()->rowCount(), 10);
    QCOMPARE(grdPrg->model()->index(9, 3).data().toString().left(3), QString("R58"));
    // G with twin on shows the pair from F.
    cboPrgBnk->setCurrentIndex(6);
    QVERIFY(!chkTwin2->isHidden());
    QCOMPARE(cboPrgBnk->currentText(), QString("F"));
    QCOMPARE(grdPrg->model()->rowCount(), 32);

    // Arrangement D11 goes to bank C's grid, row 16, column 0.
    tabs->setCurrentIndex(0);
    Child<QCheckBox>(doc, "chkTwin_0")->setChecked(true);
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    doc.GoToNumber(vx::BankedKind::Arrangement, 320);
    QCOMPARE(Child<QComboBox>(doc, "cboArrBnk")->currentText(), QString("C"));
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    QCOMPARE(grdArr->currentIndex().row(), 16);
    QCOMPARE(grdArr->currentIndex().column(), 0);
    QVERIFY(!Enabled(doc, "mnuEImport"));
    Child<QCheckBox>(doc, "chkTwin_0")->setChecked(false);
    QCOMPARE(grdArr->model()->rowCount(), 16);
    QVERIFY(Enabled(doc, "mnuEImport"));
}

void DocumentWindowTest::cellTextsAndColoursFollowCallsAndHighCall() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vx::PresetTables presets = editor.session->Presets();
    presets.programsAB[0].name = Name16("Grand Piano");
    presets.programsAB[1].name = Name16("Bright Piano");
    presets.arrangements[0].name = Name16("Preset Arr");
    presets.arrangements[0].style = 5;
    editor.session->SetPresets(presets);

    vx::SetData& data = editor.Data();
    data.prg.records[0].SetName("My Piano");
    data.prg.records[1].SetName("My Organ");
    data.ark.records[3].SetTrackProgram(0, 768);
    data.ark.records[3].SetTrackProgram(1, 770);  // F13 is empty: blue whatever calls it
    data.sng.entries[0].record.SetName("Song");
    for (int t = 0; t < vx::SongRecord::kTrackCount; ++t) data.sng.entries[0].record.SetTrackProgram(t, -1);
    data.sng.entries[0].record.SetTrackProgram(4, 0);
    data.arr.arr[0].SetName("Pop Ballad");
    data.arr.arr[0].SetStyle(257);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) data.arr.arr[0].SetTrackProgram(t, 0x7FFF);
    data.arr.arr[1].SetName("Quiet One");
    data.arr.arr[1].SetStyle(3);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) data.arr.arr[1].SetTrackProgram(t, 0x7FFF);
    data.bsq.entries[0].record.SetName("Intro");
    data.bsq.entries[0].record.SetArrangement(256);
    data.bsq.entries[0].record.SetStyle(-1);
    for (int t = 0; t < vx::BsqRecord::kTrackCount; ++t) data.bsq.entries[0].record.SetTrackProgram(t, -1);

    editor.options.HighCall = 1;
    editor.options.ModeId = 2;
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    doc.Fill();
    const QString progress =
        "Checking Program Calls... | If this delay is intolerable, you can disable the'Highlight called Items' "
        "checkbox in 'Options' menu";
    QCOMPARE(editor.ui.progressTitles.back(), progress.toStdString());

    auto* grdPrg = Child<QTableView>(doc, "grdPrg");
    auto cell = [](QTableView* grid, int row, int column) { return grid->model()->index(row, column); };
    auto colour = [](const QModelIndex& index) { return index.data(Qt::ForegroundRole).value<QColor>(); };
    const QColor red(255, 0, 0), darkRed(128, 0, 0), blue(0, 0, 255), teal(0, 0x80, 0x7F), black(0, 0, 0);
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);

    QCOMPARE(cell(grdPrg, 0, 0).data().toString(), QString::fromStdString("F11 " + Name16("My Piano")));
    QCOMPARE(colour(cell(grdPrg, 0, 0)), red);
    QCOMPARE(colour(cell(grdPrg, 0, 1)), blue);
    QCOMPARE(cell(grdPrg, 0, 2).data().toString(), QString("F13 ") + QString(16, ' '));
    QCOMPARE(colour(cell(grdPrg, 0, 2)), blue);
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(0);
    QCOMPARE(cell(grdPrg, 0, 0).data().toString(), QString::fromStdString("A11 " + Name16("Grand Piano")));
    QCOMPARE(colour(cell(grdPrg, 0, 0)), darkRed);
    QCOMPARE(colour(cell(grdPrg, 0, 1)), teal);

    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(0);
    auto* grdArr = Child<QTableView>(doc, "grdArr");
    QCOMPARE(cell(grdArr, 0, 0).data().toString(), QString::fromStdString("C11 " + Name16("Pop Ballad") + " (C12)U"));
    QCOMPARE(colour(cell(grdArr, 0, 0)), red);
    QCOMPARE(cell(grdArr, 0, 1).data().toString(), QString::fromStdString("C12 " + Name16("Quiet One") + " (A14)"));
    QCOMPARE(colour(cell(grdArr, 0, 1)), blue);
    // The backing sequence is emptied: after the change notice C11 is no longer called.
    data.bsq.entries[0].record.SetName("");
    doc.OnItemChanged(vx::ItemKind::BackingSequence, 0);
    QCOMPARE(colour(cell(grdArr, 0, 0)), blue);
    Child<QComboBox>(doc, "cboArrBnk")->setCurrentIndex(0);
    QCOMPARE(cell(grdArr, 0, 0).data().toString(), QString::fromStdString("A11 " + Name16("Preset Arr") + " (A16)"));
    QCOMPARE(colour(cell(grdArr, 0, 0)), teal);

    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(1);
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    QCOMPARE(grdSty->model()->rowCount(), 12);
    QCOMPARE(colour(cell(grdSty, 0, 1)), red);  // C12, called by arrangement C11
    QCOMPARE(colour(cell(grdSty, 0, 0)), blue);

    // HighCall off: black for user items, the grey text colour for presets, and no scan.
    const auto progressCount = editor.ui.progressTitles.size();
    editor.options.HighCall = 0;
    doc.OnOptionsChanged();
    QCOMPARE(colour(cell(grdSty, 0, 1)), black);
    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(2);
    QCOMPARE(colour(cell(grdPrg, 0, 0)), grey);
    Child<QComboBox>(doc, "cboPrgBnk")->setCurrentIndex(5);
    QCOMPARE(colour(cell(grdPrg, 0, 0)), black);
    QCOMPARE(colour(cell(grdPrg, 0, 2)), blue);
    QCOMPARE(editor.ui.progressTitles.size(), progressCount);
    // A renamed program is shown after its change notice.
    data.prg.records[0].SetName("Renamed");
    doc.OnItemChanged(vx::ItemKind::Program, 768);
    QCOMPARE(cell(grdPrg, 0, 0).data().toString(), QString::fromStdString("F11 " + Name16("Renamed")));
}

void DocumentWindowTest::kbdGridAndStyleEvents() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vx::SetData& data = editor.Data();
    data.prg.records[0].SetName("My Piano");
    data.ark.records[0].SetSplit(60);
    data.ark.records[0].SetTrackProgram(4, 768);
    data.sty.slots[4].record.SetName("Slow Rock");
    data.sty.slots[4].size = 1176 + 4 * 100;
    for (int slot = 5; slot < 8; ++slot) data.sty.slots[static_cast<std::size_t>(slot)].size = 1176;

    editor.options.ModeId = 5;
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    doc.Fill();
    auto* grdArk = Child<QTableView>(doc, "grdArk");
    QStringList header;
    for (int c = 0; c < grdArk->model()->columnCount(); ++c)
        header << grdArk->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(header, (QStringList{"KS", "Sp", "Main KBD", "Sub KBD", "Lower KBD", "Harmony", "K.Bass"}));
    QCOMPARE(grdArk->model()->rowCount(), 64);
    QCOMPARE(grdArk->model()->index(0, 0).data().toString(), QString("11"));
    QCOMPARE(grdArk->model()->index(63, 0).data().toString(), QString("88"));
    QCOMPARE(grdArk->model()->index(0, 1).data().toString(), QString("C4"));
    QCOMPARE(grdArk->model()->index(0, 6).data().toString(), QString::fromStdString("F11 " + Name16("My Piano")));
    QCOMPARE(grdArk->model()->index(0, 2).data().toString(), QString(" "));
    data.ark.records[0].SetSplit(36);
    doc.OnItemChanged(vx::ItemKind::KbdSet, 0);
    QCOMPARE(grdArk->model()->index(0, 1).data().toString(), QString("C2"));

    Child<QTabWidget>(doc, "tabMode")->setCurrentIndex(1);
    auto* grdSty = Child<QTableView>(doc, "grdSty");
    QCOMPARE(grdSty->model()->index(1, 0).data().toString(),
             QString::fromStdString("C15 " + Name16("Slow Rock") + ":100"));
    auto* grdFreeS = Child<QTableView>(doc, "grdFreeS");
    QCOMPARE(grdFreeS->model()->rowCount(), 12);
    QCOMPARE(grdFreeS->model()->index(1, 0).data().toString(), QString("100"));
    QCOMPARE(grdFreeS->model()->index(1, 1).data().toString(), QString("15100"));
    data.sty.slots[5].size = 1176 + 4 * 1000;
    doc.OnItemChanged(vx::ItemKind::Style, 261);
    QCOMPARE(grdFreeS->model()->index(1, 1).data().toString(), QString("14100"));
}

void DocumentWindowTest::listsAndCounters() {
    Editor editor;
    QVERIFY(editor.set > 0);
    vx::SetData& data = editor.Data();
    data.bsq.entries[2].record.SetName("Intro");
    data.bsq.entries[2].total = 5;
    data.sng.entries[1].record.SetName("My Song");
    data.sng.entries[1].total = 3;
    data.sng.patternOffsets[0] = 1000;
    data.sng.endOffset = 1010;

    editor.options.ModeId = 3;
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    doc.Fill();
    auto* lstBsq = Child<QListWidget>(doc, "lstBsq");
    QCOMPARE(lstBsq->count(), 10);
    QCOMPARE(lstBsq->item(2)->text(), QString("BSeq 2: Intro            :   20"));
    QCOMPARE(lstBsq->item(9)->text(), QString("BSeq 9:                  :    0"));
    const QStringList counters{"BackSeqs: 20", "Songs: 12", "Patterns: 40", "Total: 72", "Free: 65464"};
    auto* tabs = Child<QTabWidget>(doc, "tabMode");
    for (int tab : {3, 4}) {
        tabs->setCurrentIndex(tab);
        for (int i = 0; i < 5; ++i) {
            auto* label = tabs->widget(tab)->findChild<QLabel*>(QString("lblEvCnt_%1").arg(i));
            QVERIFY(label);
            QCOMPARE(label->text(), counters[i]);
        }
    }
    QCOMPARE(Child<QListWidget>(doc, "lstSng")->item(1)->text(), QString("Song 1: My Song          :   12"));

    // Both lists and both counter frames follow a change of either kind.
    data.bsq.entries[2].total = 6;
    doc.OnKindChanged(vx::ItemKind::BackingSequence);
    QCOMPARE(lstBsq->item(2)->text(), QString("BSeq 2: Intro            :   24"));
    QCOMPARE(tabs->widget(4)->findChild<QLabel*>("lblEvCnt_0")->text(), QString("BackSeqs: 24"));
}

void DocumentWindowTest::importReplacesTheKindAndUndoFollows() {
    Editor source;
    QVERIFY(source.set > 0);
    source.Data().arr.arr[0].SetName("Imported");
    const std::string sourceDirectory = source.SaveAs("SRC");

    Editor editor;
    QVERIFY(editor.set > 0);
    editor.options.ModeId = 0;
    vxe::FDoc doc(*editor.session, editor.shell, editor.set);
    doc.Fill();
    doc.SetUndoAvailable(true);

    // A cancelled import changes nothing, not even what Undo could restore.
    Child<QAction>(doc, "mnuEImport")->trigger();
    QCOMPARE(editor.ui.fileRequests.back().title, std::string("Import all Arrangement from..."));
    QCOMPARE(Child<QAction>(doc, "mnuEUndo")->text(), QString("&Undo"));

    editor.ui.fileAnswers.push_back(sourceDirectory + "/SRC.ARR");
    Child<QAction>(doc, "mnuEImport")->trigger();
    QCOMPARE(Child<QTableView>(doc, "grdArr")->model()->index(0, 0).data().toString().left(20),
             QString::fromStdString("C11 " + Name16("Imported")));
    QCOMPARE(Child<QAction>(doc, "mnuEUndo")->text(), QString("Can't Undo"));
    QVERIFY(editor.session->Slot(editor.set).dirty[0]);
}

void DocumentWindowTest::closingAChangedSetAsks() {
    struct Case {
        vx::Answer answer;
        bool closes;
        bool saved;
    };
    for (const Case c : {Case{vx::Answer::Cancel, false, false}, Case{vx::Answer::No, true, false},
                         Case{vx::Answer::Yes, true, true}}) {
        Editor editor;
        QVERIFY(editor.set > 0);
        const std::string directory = editor.SaveAs("LIVE");
        const std::string prg = directory + "/LIVE.PRG";
        const auto before = FileBytes(prg);
        editor.Data().prg.records[0].SetName("Changed");
        editor.session->MarkDirty(editor.set, vx::ItemKind::Program);

        vxe::FDoc doc(*editor.session, editor.shell, editor.set);
        doc.Fill();
        doc.show();
        editor.ui.answers.push_back(c.answer);
        Child<QAction>(doc, "mnuFClose")->trigger();

        QCOMPARE(editor.ui.messages.size(), std::size_t{1});
        const vx::Message& asked = editor.ui.messages.front();
        QCOMPARE(asked.text, std::string("Save the changes in LIVE ?"));
        QCOMPARE(asked.buttons, vx::MessageButtons::YesNoCancel);
        QCOMPARE(asked.defaultButton, vx::Answer::Cancel);
        QCOMPARE(asked.icon, vx::MessageIcon::Exclamation);
        QCOMPARE(editor.session->Sets().IsOpen(editor.set), !c.closes);
        QCOMPARE(doc.isVisible(), !c.closes);
        const auto after = FileBytes(prg);
        QCOMPARE(after != before, c.saved);
        if (c.saved) QCOMPARE(std::string(after.begin() + 48, after.begin() + 55), std::string("Changed"));

        // A closed window closes again without asking.
        doc.close();
        QCOMPARE(editor.ui.messages.size(), std::size_t{c.closes ? 1u : 2u});
    }
}

QTEST_MAIN(DocumentWindowTest)
#include "document_window_test.moc"
