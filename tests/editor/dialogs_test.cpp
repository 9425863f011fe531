// The dialogs: an item's parameters and the pickers, run modally as from the Edit menu and
// answered by the test, with what reaches the set checked byte by byte; the frame's own
// dialogs and message boxes; settings, recent sets and command-line arguments.
#include <QtTest>
#include <fstream>

#include "EditorHarness.h"
#include "core/catalogue/Catalogue.h"
#include "editor/details/Details.h"
#include "editor/selection/FInBanked.h"
#include "editor/selection/FInNote.h"
#include "editor/selection/SelectionDialogs.h"
#include "editor/shell/FAbout.h"
#include "editor/shell/FHelp.h"
#include "editor/shell/FOptions.h"
#include "editor/shell/FTip.h"
#include "editor/shell/QtInteraction.h"
#include "editor/shell/RecentSets.h"
#include "editor/shell/SetDialogs.h"
#include "editor/shell/Settings.h"
#include "editor/shell/Startup.h"

using namespace vxt;
namespace fs = std::filesystem;

namespace {
using Kind = vx::ItemKind;

// A step of Fixture::Run on a control.
void Take(QWidget& control, const QString& value) {
    if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        if (value == "\r") return QTest::keyClick(edit, Qt::Key_Return);
        if (value.contains('\n')) return edit->setText(value);
        edit->clear();
        QTest::keyClicks(edit, value);
    } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        value.isEmpty() ? Q_EMIT combo->activated(combo->currentIndex()) : combo->setCurrentIndex(value.toInt());
    } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        button->isCheckable() ? button->setChecked(value == "1") : button->click();
    } else if (auto* list = qobject_cast<QListWidget*>(&control)) {
        Q_EMIT list->itemDoubleClicked(list->item(value.toInt()));
    } else {
        QTest::mouseDClick(&control, Qt::LeftButton);
    }
}

// A new set with a few items, nothing to be written, whose changes are followed as events.
struct Fixture : Editor {
    Fixture() {
        ui.Follow(session->Changes());
        session->Slot(1).dirty = {};  // a new set starts with every kind to be written
        vx::SetData& data = Data();
        data.prg.records[0].SetName("Grand Piano");
        data.prg.records[64].SetName("Slap Bass");
        data.sty.slots[0].used = 1;
        data.sty.slots[0].size = 1176 + 400;
        data.sty.slots[0].record.SetName("Ballad");
        data.sty.slots[0].record.SetTrackProgram(1, 768);
        ui.events.clear();
    }
    // The bytes changed from before, the kinds to be written and the events since the last call.
    template <typename Record>
    QString Written(const Record& before, const Record& now) {
        QStringList dirty;
        for (int kind = 0; kind < vx::kSetKindCount; ++kind)
            if (session->Slot(1).dirty[std::size_t(kind)])
                dirty << QString::fromStdString(std::string(vx::KindName(vx::KindFromIndex(kind))));
        QStringList events;
        for (const std::string& event : ui.events) events << QString::fromStdString(event);
        ui.events.clear();
        return Changed(before, now) + "; dirty " + (dirty.isEmpty() ? "none" : dirty.join(", ")) + "; events " +
               (events.isEmpty() ? "none" : events.join(", "));
    }
    // Runs Details on an item; act gets the dialog once it shows and must close it.
    void Details(const vx::ItemAddress& item, std::function<void(QDialog&)> act) {
        // Stopped afterwards, so that a Details without a dialog leaves nothing to the next one.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [act] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) act(*dialog);
        });
        timer.start(0);
        vxe::ShowDetails(*scheme, *session, 1, item, nullptr);
    }
    // Shows item's dialog and takes the steps in turn, then OK if it is still open. A step on a
    // line edit types its text (one with a line break is pasted; "\r" is Return), on a combo box
    // chooses the entry numbered (none: the current one again), on a check or option button sets
    // it ("1"), clicks a push button, double-clicks a list's row or a label. "?" reads the
    // children listed (see Shown), "tip" the tooltip shown, "close" closes by the frame.
    // Returns the dialog's object name and caption, and what was read, joined by "|".
    QString Run(const vx::ItemAddress& item, std::initializer_list<std::pair<const char*, QString>> steps) {
        QStringList seen{"no dialog"};
        Details(item, [&seen, steps](QDialog& d) {
            seen = QStringList{d.objectName() + ":" + d.windowTitle()};
            for (const auto& [name, value] : steps) {
                if (name == QString("?"))
                    seen << Shown(d, value.split(','));
                else if (name == QString("tip"))
                    seen << QToolTip::text();
                else if (name == QString("close"))
                    d.close();
                else
                    Take(*Child<QWidget>(d, name), value);
            }
            if (d.isVisible()) Child<QPushButton>(d, "cmdOK")->click();
        });
        return seen.join('|');
    }
    // The arrangements' split keys, each with the number of arrangements that have it.
    QString Splits() {
        std::map<int, int> splits;
        for (const vx::ArrangementRecord& r : Data().arr.arr) ++splits[r.Split()];
        QStringList shown;
        for (const auto& [key, count] : splits) shown << QString("%1 x%2").arg(key).arg(count);
        return shown.join(", ");
    }
};

QString Caption(QWidget* dialog) { return dialog->objectName() + ":" + dialog->windowTitle(); }
// Clicks a button of the modal dialog once it shows; no button: closes it by its frame.
void ClickWhenShown(const char* button, std::function<void(QWidget*)> before = {}) {
    QTimer::singleShot(0, [button, before] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && before) before(dialog);
        if (dialog) button ? Child<QPushButton>(*dialog, button)->click() : void(dialog->close());
    });
}

// A set directory NAME.SET made from the template's files, without the kinds listed in skip.
void MakeSet(const fs::path& directory, const std::string& name, const std::vector<std::string>& skip = {}) {
    fs::create_directories(directory);
    for (const char* ext : {".ARR", ".STY", ".PRG", ".BSQ", ".SNG", ".ARK", ".ARG", ".GBL"})
        if (std::find(skip.begin(), skip.end(), ext) == skip.end())
            fs::copy_file(fs::path(vx::test::ProgramDir()) / "X50EMPTY.SET" / (std::string("X50EMPTY") + ext),
                          directory / (name + ext));
}
// PathNam|OldSetNam|WArrangeMode ModeId ShowTips HighCall WarnDupl StartOld
QString Dump(const vx::Options& o) {
    QStringList numbers;
    for (int n : {o.WArrangeMode, o.ModeId, o.ShowTips, o.HighCall, o.WarnDupl, o.StartOld})
        numbers << QString::number(n);
    return QString::fromStdString(o.PathNam + "|" + o.OldSetNam + "|") + numbers.join(' ');
}
}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arrangementDialog();
    void styleAndProgramDialogs();
    void sequenceDialogs();
    void arrangementGlobalDialog();
    void globalDialog();
    void pickDialogs();
    void aboutHelpTipsAndOptions();
    void messageBoxesBusyPointerAndPause();
    void setDialogs();
    void settingsUnderExactKeysAndBadValuesFallBack();
    void arguments();
    void recentSetsNewestFirstAtMostEight();
    void screenCheckWarnsBelow800x600();
    void fileFiltersOfferBothCases();
};

void DialogsTest::arrangementDialog() {
    Fixture f;
    Observed seen("arrangement_dialog");
    vx::ArrangementRecord& arr = f.Data().arr.arr[0];
    arr.SetName("Pop Song");
    arr.SetStyle(256);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 768);
    arr.SetByte(21, 90);
    arr.SetByte(23, 30);    // below the split list
    arr.SetByte(28, 0xC1);  // Lower (Normal)
    arr.SetByte(24, 12);    // beyond the ensemble list
    f.Data().bsq.entries[2].record.SetName("Intro");
    f.Data().bsq.entries[2].record.SetArrangement(256);
    const vx::ArrangementRecord before = arr;
    // Shown as stored; OK without a change writes nothing.
    seen("shown", f.Run({Kind::Arrangement, 256},
                        {{"?", "cboSplit,cboEnsemble,cboChScan,txtTempo,lblSty,lstPrg@1,lstCalled,cboSplit#"}}));
    seen("OK unchanged", f.Written(before, arr));
    // On a track line Enter and F2 choose, as a double-click does (the picker is cancelled),
    // and the dialog stays; a Called by list without callers is still four lines high.
    QStringList keys;
    f.Details({Kind::Arrangement, 257}, [&keys, &f](QDialog& d) {
        auto* tracks = Child<QListWidget>(d, "lstPrg");
        auto* called = Child<QListWidget>(d, "lstCalled");
        tracks->setCurrentRow(1);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2}) {
            QTest::keyClick(tracks, key);
            keys << QString::number(f.ui.picks.size()) + (d.isVisible() ? " open" : " closed");
        }
        keys << QString::number(called->count()) +
                    (called->maximumHeight() >= 4 * called->fontMetrics().height() ? " tall" : " thin");
        keys << "keyboard combo hidden " + QString::number(Child<QComboBox>(d, "cboKbdAss")->isHidden());
        Child<QPushButton>(d, "cmdOK")->click();
    });
    seen("track keys", keys)("after the keys", f.Written(before, arr));
    f.ui.picks.clear();
    // Every control read back; out-of-range texts corrected as they are left.
    f.ui.pickAnswers = {832, 300};
    seen("typed", f.Run({Kind::Arrangement, 256},
                        {{"txtNam", "  Jazz Waltz Extended"}, {"txtTempo", "250"}, {"txtXpose", "-5"},
                         {"txtTempo", "\r"}, {"lstPrg", "2"}, {"lblSty", ""}, {"?", "txtNam,txtTempo,lstPrg@2,lblSty"},
                         {"cboChScan", "1"}, {"cboDrMap_3", "7"}, {"cboFillVar_1", "12"}, {"chkFullKbd", "1"}}));
    seen("program picked", f.ui.picks.at(0).caption)("every control", f.Written(before, arr));
    seen("can undo", f.scheme->Available({vx::EditCommand::Undo, Kind::Arrangement, 1, 0}));
    // Cancel and the close box discard every change.
    const vx::ArrangementRecord edited = arr;
    for (const char* close : {"cmdCancel", "close"}) {
        f.Run({Kind::Arrangement, 256}, {{"txtNam", "Lost"}, {"cboKick", "3"}, {close, ""}});
        seen(close, f.Written(edited, arr));
    }
    // A preset has no dialog.
    seen("preset", f.Run({Kind::Arrangement, 5}, {}))("beeps", f.ui.beeps);
    seen.Check();
}

void DialogsTest::styleAndProgramDialogs() {
    Fixture f;
    Observed seen("style_and_program_dialogs");
    auto& arr = f.Data().arr.arr[3];
    arr.SetName("Caller");
    arr.SetStyle(256);
    arr.SetTrackProgram(6, 768);
    auto& style = f.Data().sty.slots[0];
    const vx::StyleRecord styleBefore = style.record;
    seen("style", f.Run({Kind::Style, 256}, {{"?", "lblUsed,lblFree,lstCalled,lstPrg@1"}, {"cboCat", "4"}}));
    seen("style written", f.Written(styleBefore, style.record))("its size", style.size);
    // A slot without a style has nothing to edit; a preset program is shown only.
    seen("empty slot", f.Run({Kind::Style, 257}, {}))("beeps", f.ui.beeps);
    seen("preset program", f.Run({Kind::Program, 0}, {{"?", "txtNam?,cboCat?"}}));
    // "Call another Program" moves every caller at once, even when the dialog is cancelled.
    const vx::ProgramRecord pianoBefore = f.Data().prg.records[0];
    f.ui.pickAnswers = {832};
    seen("call another", f.Run({Kind::Program, 768}, {{"?", "lstCalled"}, {"txtNam", "Renamed"}, {"cmdReplPrg", ""},
                                                     {"?", "lstCalled#"}, {"cmdCancel", ""}}));
    seen("calls now", QString("Arr C14 MainKBD %1, Sty C11 PERC %2").arg(arr.TrackProgram(6)).arg(style.record.TrackProgram(1)));
    seen("F11 kept", f.Written(pianoBefore, f.Data().prg.records[0]));
    const vx::ProgramRecord programBefore = f.Data().prg.records[64];
    // A pasted line break or accented letter is left out, and the tip says why.
    seen("pasted", f.Run({Kind::Program, 832}, {{"txtNam", "   Fret\nless\u00e9"}, {"tip", ""}, {"cboCat", "5"}}));
    seen("G11 written", f.Written(programBefore, f.Data().prg.records[64]));
    seen.Check();
}

void DialogsTest::sequenceDialogs() {
    Fixture f;
    Observed seen("sequence_dialogs");
    vx::BsqRecord& bsq = f.Data().bsq.entries[1].record;
    bsq.SetName("Verse");
    bsq.SetByte(79, 12);
    bsq.SetByte(80, 0xF0);
    bsq.SetArrangement(5);
    const vx::BsqRecord before = bsq;
    f.ui.pickAnswers = {257};
    seen("backing sequence", f.Run({Kind::BackingSequence, 1}, {{"?", "chkChain,txtNxt,txtNxt?,chkAuto?,lstPrg@7"},
                                                               {"chkChain", "1"}, {"lblSty", ""}, {"?", "txtNxt?,lblSty"}}));
    seen("its bytes", f.Written(before, bsq));
    vx::SongRecord& song = f.Data().sng.entries[3].record;
    song.SetName("Finale");
    song.SetByte(53, 0x03);
    const vx::SongRecord songBefore = song;
    seen("song", f.Run({Kind::Song, 3}, {{"?", "chkChain,lstPrg#,lstPrg@15"}, {"chkAuto", "0"}, {"txtNxt", "7"}}));
    seen("its bytes", f.Written(songBefore, song));
    seen.Check();
}

void DialogsTest::arrangementGlobalDialog() {
    Fixture f;
    Observed seen("arrangement_global_dialog");
    vx::ArgRecord& arg = f.Data().arg.record;
    for (int i = 0; i < 16; ++i) arg.SetChannel(i, i);
    arg.SetChannel(0, 255);
    arg.SetChannel(12, 255);
    arg.SetByte(20, 0xF0);
    for (vx::ArrangementRecord& r : f.Data().arr.arr) r.SetSplit(60);
    f.Data().arr.arr[0].SetSplit(80);
    const vx::ArgRecord before = arg;
    // Opening and OK write nothing: the differing split keys stay as they are; nor does a
    // split key picked in a cancelled dialog.
    const vx::ItemAddress item{Kind::ArrangementGlobal, 0};
    seen("shown", f.Run(item, {{"?", "lstMidi@0,lstMidi@10,lstMidi@12,cboSplit,cmdSend,cmdSend?,optRecog_2*"}}));
    seen("OK unchanged", f.Written(before, arg))("splits", f.Splits());
    f.Run(item, {{"cboSplit", "0"}, {"cmdCancel", ""}});
    seen("cancelled", f.Written(before, arg))("splits", f.Splits());
    // Channels through the MIDI channel picker, switches and options into their bits, the
    // split key into every arrangement.
    f.ui.pickAnswers = {16, 3};
    seen("picked", f.Run(item, {{"lstMidi", "11"}, {"lstMidi", "0"}, {"?", "lstMidi@11,lstMidi@0"}, {"chkTempoLock", "1"},
                                {"chkSync_1", "1"}, {"optHarmo_1", "1"}, {"optVelo_3", "1"}, {"optRecog_2", "1"},
                                {"cboSplit", "12"}}));
    for (const auto& pick : f.ui.picks) seen("picker", QString("%1, %2 entries").arg(pick.caption.c_str()).arg(pick.entries.size()));
    seen("written", f.Written(before, arg))("splits", f.Splits());
    // Import counts as a change and then asks for the file.
    f.session->Slot(1).dirty = {};
    const vx::ArgRecord edited = arg;
    f.ui.fileAnswers = {std::nullopt};
    f.Run(item, {{"cmdImport", ""}});
    seen("import asks", f.ui.fileRequests.at(0).title)("import", f.Written(edited, arg));
    // The shared split key is shown up to C 7; while they differ, choosing the greyed C 4
    // itself is a choice.
    for (vx::ArrangementRecord& r : f.Data().arr.arr) r.SetSplit(96);
    seen("shared 96", f.Run(item, {{"?", "cboSplit"}}));
    f.Data().arr.arr[5].SetSplit(40);
    seen("differing", f.Run(item, {{"?", "cboSplit"}, {"cboSplit", ""}}))("splits", f.Splits());
    seen.Check();
}

void DialogsTest::globalDialog() {
    Fixture f;
    Observed seen("global_dialog");
    vx::GblRecord& gbl = f.Data().gbl.record;
    gbl.SetByte(15, 60);  // beyond the switches' functions
    gbl.SetByte(3, 60);
    gbl.SetByte(17, 12);
    const vx::GblRecord before = gbl;
    const vx::ItemAddress item{Kind::Global, 0};
    seen("shown", f.Run(item, {{"?", "cboPeds_7,cboPeds_5,cboPeds_5#,cboPeds_0#,cboCurv_0,cboDmpr@1"}}));
    seen("OK unchanged", f.Written(before, gbl));
    f.Run(item, {{"cboCurv_1", "7"}});
    seen("curve", f.Written(before, gbl));
    // The SysEx file button closes the dialog, writes the record back, then asks for the file.
    f.session->Slot(1).dirty = {};
    const vx::GblRecord edited = gbl;
    f.ui.fileAnswers = {std::nullopt};
    f.Run(item, {{"cmdSysex2File", ""}});
    seen("SysEx asks", f.ui.fileRequests.at(0).title)("SysEx", f.Written(edited, gbl));
    seen.Check();
}

void DialogsTest::pickDialogs() {
    vx::PresetTables presets;
    presets.programsAB[0] = {"Grand Piano     ", 0};
    presets.programsAB[1] = {"Bright Piano    ", 14};
    presets.programsCD[3] = {"Timpani         ", 14};
    presets.drumKitsR[0] = {"Std Kit         ", 14};
    Editor editor(1, presets);
    vx::Session& session = *editor.session;
    auto& programs = editor.Data().prg.records;
    for (auto& program : programs) program.SetCategory(15);
    programs[64].SetName("Congas");
    programs[64].SetCategory(14);
    programs[129].SetName("My Kit");
    programs[130].SetCategory(14);
    vxe::FInBanked prg(session, 1, vx::BankedKind::Program, 1057, "for track 'Trk  1'");
    QCOMPARE(Caption(&prg) + "|" + Items(Child<QComboBox>(prg, "cboBnk")).join("") + "|" +
                 Shown(prg, {"cboCat@14", "cboRef"}),
             "FInPrg:Select a Program for track 'Trk  1'|ABCDEFGR|Drum/Perc.|R52 " + Name16("My Kit"));
    for (int number : {2000, -1, 128, 896}) {
        vxe::FInBanked dialog(session, 1, vx::BankedKind::Program, number, "");
        QCOMPARE(Child<QComboBox>(dialog, "cboRef")->currentText(), "A11 " + Name16("Grand Piano"));
    }
    // The category filter lists every bank in number order.
    Child<QComboBox>(prg, "cboCat")->setCurrentIndex(14);
    QCOMPARE(Items(Child<QComboBox>(prg, "cboRef")),
             (QStringList{"A12 " + Name16("Bright Piano"), "C14 " + Name16("Timpani"), "G11 " + Name16("Congas"),
                          "R11 " + Name16("Std Kit"), "R53 " + Name16("")}));
    Child<QComboBox>(prg, "cboRef")->setCurrentIndex(2);
    Child<QPushButton>(prg, "cmdOK")->click();
    QCOMPARE(prg.Chosen(), 832);
    // Another bank lists its own slots again and forgets the category.
    Child<QComboBox>(prg, "cboBnk")->setCurrentIndex(4);
    QCOMPARE(Child<QComboBox>(prg, "cboCat")->currentIndex(), -1);
    QCOMPARE(Child<QComboBox>(prg, "cboRef")->currentData().toInt(), 512);
    // A category without items leaves nothing to choose: OK gives no program.
    Child<QComboBox>(prg, "cboCat")->setCurrentIndex(9);
    Child<QPushButton>(prg, "cmdOK")->click();
    QCOMPARE(prg.Chosen(), -1);
    ClickWhenShown("cmdCancel");
    QCOMPARE(vxe::FInPrgPick(session, 1, 259, "", nullptr), -1);
    QString caption;
    ClickWhenShown("cmdOK", [&caption](QWidget* dialog) {
        caption = Caption(dialog) + ":" + Child<QComboBox>(*dialog, "cboBnk")->currentText();
        Child<QComboBox>(*dialog, "cboRef")->setCurrentIndex(5);
    });
    QCOMPARE(vxe::FInArrPick(session, 1, 320, "", nullptr), 325);
    QCOMPARE(caption, QString("FInArr:Select an Arrangement:D"));
    ClickWhenShown(nullptr, [&caption](QWidget* dialog) { caption = Caption(dialog); });
    QCOMPARE(vxe::FInStyPick(session, 1, 0, "", nullptr), -1);
    QCOMPARE(caption, QString("FInSty:Select a Style"));
    vxe::FInNote note("Set All KBD Sets Split Key", "Split Key", {"C2", "C#2", "D2"}, -1);
    note.show();
    Child<QPushButton>(note, "cmdOK")->click();  // nothing selected yet: OK does nothing
    QVERIFY(note.isVisible());
    Child<QComboBox>(note, "cboNote")->setCurrentIndex(2);
    Child<QPushButton>(note, "cmdOK")->click();
    QVERIFY(!note.isVisible() && note.Chosen() == 2);
    ClickWhenShown("cmdOK");
    QCOMPARE(vxe::FInNotePick("Set KBD Set 11 Split Key", "Split Key", {"C2", "C#2"}, 1, nullptr), 1);
    ClickWhenShown("cmdOK", [&caption](QWidget* dialog) {
        caption = Caption(dialog);
        Child<QComboBox>(*dialog, "cboMidCh")->setCurrentIndex(15);
    });
    QCOMPARE(vxe::FInMidChPick("", QString("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16").split(' '), 0, nullptr), 15);
    QCOMPARE(caption, QString("FInMidCh:MIDI Channel Selection"));
}

void DialogsTest::aboutHelpTipsAndOptions() {
    vxe::FAbout about;
    QCOMPARE(about.windowTitle() + "|" + Shown(about, {"lblTitle", "lblVersion", "lblDescription", "lblDisclaimer"}),
             QString("About Vemo-x50 File Editor|Vemo-x50 File Editor|Version 1.06|This Program helps customizing "
                     "Vemo-x50 file sets, e.g. clear, copy, paste and move \nArrangements, Styles, Programs etc. "
                     "inside a file set or between different file sets,\nwhile preserving calls consistency inside "
                     "each set - and much more!|CAUTION: Apply this program to COPIES, never to original files!"));
    vx::test::TempDirectory dir;
    const QString programDir = QString::fromStdString(dir.Str());
    QCOMPARE(vxe::FHelp(programDir).Browser()->toPlainText(), QString("Can't find manual/index.html"));
    vxe::FTip missing(programDir, true);
    missing.cmdNext_Click();
    QCOMPARE(missing.windowTitle() + "|" +
                 Shown(missing, {"lblDidYouKnow", "chkLoadTipsAtStartup", "cmdNextTip", "cmdOK"}) + "|" +
                 missing.CurrentTip(),
             QString("Tip of the Day|Did you know...|&Show Tips at Start-up|&Next Tip|&Close|Can't find X50TIPS.TXT"));
    // Next goes through the file in order and wraps from the last line to the first.
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::binary) << "First tip\r\nSecond tip\nThird <b>tip</b>\n";
    vxe::FTip tip(programDir, false);
    QString seen;
    for (int step = 0; step < 4; ++step, tip.cmdNext_Click()) seen += tip.CurrentTip() + "|";
    QVERIFY2(QString("First tip|Second tip|Third <b>tip</b>|").repeated(3).contains(seen), qPrintable(seen));
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::trunc);
    vxe::FTip empty(programDir, true);
    empty.cmdNext_Click();
    QCOMPARE(QString::number(empty.TipCount()) + empty.CurrentTip(), QString("0"));
    vx::Options options;
    vxe::FOptions dialog(options);
    QCOMPARE(dialog.windowTitle() + "|" + Shown(dialog, {"chkStartOld", "chkWarnDupl", "chkHighCall", "cmdClose"}),
             QString("Options|Open last Set at Start-up|Duplicate name warning|Highlight called Items|&Close"));
    QCOMPARE(Shown(dialog, {"chkStartOld*", "chkWarnDupl*", "chkHighCall*"}), QString("0|1|1"));
    for (auto* box : dialog.findChildren<QCheckBox*>()) box->toggle();
    // Closing by the frame is Close: the dialog is hidden and the values are taken.
    dialog.show();
    dialog.close();
    QVERIFY(!dialog.isVisible() && dialog.result() == QDialog::Accepted);
    dialog.ReadBack(options);
    QCOMPARE(QString("%1%2%3").arg(options.StartOld).arg(options.WarnDupl).arg(options.HighCall), QString("100"));
}

void DialogsTest::messageBoxesBusyPointerAndPause() {
    // How a box looks; answered with click (NoButton: Escape), it must give the expected answer.
    vxe::QtInteraction ui;
    auto ask = [&ui](vx::MessageIcon icon, vx::MessageButtons buttons, vx::Answer defaultButton,
                     QMessageBox::StandardButton click, vx::Answer expected) {
        QString look;
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            const QMetaEnum names = QMetaEnum::fromType<QMessageBox::StandardButtons>();
            look = QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())) + " " +
                   QString(names.valueToKeys(int(box->standardButtons()))).remove("|FirstButton") + " " +
                   names.valueToKey(box->standardButton(box->defaultButton())) +
                   (box->textFormat() == Qt::PlainText ? " " : " rich ") + box->windowTitle() + "|" + box->text();
            click ? box->button(click)->click() : QTest::keyClick(box, Qt::Key_Escape);
        });
        // A name's bytes are Latin-1, as in every view.
        const vx::Message message{"<b>A.SET</b> exists.\nOverwrite 'Caf\xE9'?", "Save a Set", icon, buttons,
                                  defaultButton};
        return look + (ui.ShowMessage(message) == expected ? "" : " (wrong answer)");
    };
    QCOMPARE(
        ask(vx::MessageIcon::Exclamation, vx::MessageButtons::YesNoCancel, vx::Answer::Cancel, QMessageBox::No,
            vx::Answer::No),
        QString("Warning Yes|No|Cancel Cancel Save a Set|<b>A.SET</b> exists.\nOverwrite 'Caf") + QChar(0xE9) + "'?");
    QCOMPARE(ask(vx::MessageIcon::Question, vx::MessageButtons::YesNo, vx::Answer::No, QMessageBox::NoButton,
                 vx::Answer::No),
             QString("Question Yes|No No Save a Set|<b>A.SET</b> exists.\nOverwrite 'Caf") + QChar(0xE9) + "'?");

    // Busy periods nest; an unmatched end leaves other people's pointers alone.
    QApplication::setOverrideCursor(Qt::IBeamCursor);
    for (bool busy : {true, true, false}) ui.SetBusy(busy);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    for (int i = 0; i < 2; ++i) ui.SetBusy(false);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::IBeamCursor);
    QApplication::restoreOverrideCursor();
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    ui.Pause(0.1);
    QVERIFY(fired);
    // Waits that make no sense return instead of hanging.
    ui.Pause(-1);
    ui.Pause(std::numeric_limits<double>::quiet_NaN());
}

void DialogsTest::setDialogs() {
    Editor editor(0);
    const fs::path sets = editor.temp.Path() / "sets";
    MakeSet(sets / "LIVE.SET", "LIVE");
    MakeSet(sets / "gigs.set", "GIGS", {".GBL"});
    vx::test::ScriptedInteraction& ui = editor.ui;
    vx::Options& options = editor.options;
    options.PathNam = sets.string();
    vx::Session& session = *editor.session;
    auto path = [](const fs::path& p) { return QString::fromStdString(p.string()); };

    vxe::FSetDialog open(session, vxe::FSetDialog::Mode::Open);
    auto* ok = open.findChild<QPushButton*>("cmdOK");
    auto* list = open.findChild<QListWidget*>("lstDir");
    QStringList entries{open.CurrentDirectory()};
    for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
    QCOMPARE(entries.join('|'), path(sets) + "|..|gigs.set|LIVE.SET");
    QVERIFY(ok->isHidden());
    // A set with a missing file: refusing to create it leaves OK hidden; agreeing creates it from
    // the template and offers OK.
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::Cancel);
    open.lstDir_DblClick(list->item(1));
    QVERIFY(ok->isHidden());
    QCOMPARE(ui.Last().title + "|" + ui.Last().text, std::string("Open a Set|GIGS.GBL is missing.\nCreate it?"));
    open.ChangeDirectory(path(sets));
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::OK);
    open.ChangeDirectory(path(sets / "gigs.set"));
    QVERIFY(!ok->isHidden() && fs::exists(sets / "gigs.set" / "GIGS.GBL"));
    // A set's name typed in any case; its directory is remembered.
    open.ChangeDirectory(path(sets));
    open.findChild<QLineEdit*>("txtSetName")->clear();
    QTest::keyClicks(open.findChild<QLineEdit*>("txtSetName"), "live");
    open.cmdOK_Click();
    QCOMPARE(open.Result() + "|" + options.PathNam, (sets / "LIVE.SET").string() + "|" + sets.string());
    // A typed or pasted path: to a set, to a file in one (both keep their case), to a plain
    // directory (shown, nothing chosen), or to nothing (said, as typed).
    const struct {
        QString typed;
        std::string result;
        QString shown;
        std::string message;
    } typedPaths[] = {
        {path(sets / "gigs.set"), (sets / "gigs.set").string(), path(sets / "gigs.set"), ""},
        {path(sets / "gigs.set" / "GIGS.ARR") + " ", (sets / "gigs.set").string(), path(sets / "gigs.set"), ""},
        {path(sets) + "/", "", path(sets), ""},
        {path(sets / "Gone" / "x.SET"), "", path(sets),
         "There is no directory " + (sets / "Gone" / "x.SET").string() + "."},
    };
    for (const auto& row : typedPaths) {
        ui.messages.clear();
        vxe::FSetDialog typed(session, vxe::FSetDialog::Mode::Open);
        typed.findChild<QLineEdit*>("txtSetName")->setText(row.typed);
        typed.cmdOK_Click();
        QCOMPARE(typed.Result() + "|" + typed.CurrentDirectory().toStdString() + "|" +
                     (ui.messages.empty() ? std::string() : ui.Last().text),
                 row.result + "|" + row.shown.toStdString() + "|" + row.message);
    }
    // The same set cannot be opened twice; the list goes back to the parent.
    QCOMPARE(session.OpenOrNewSet(false, (sets / "LIVE.SET").string()), 1);
    vxe::FSetDialog again(session, vxe::FSetDialog::Mode::Open);
    again.ChangeDirectory(path(sets / "LIVE.SET"));
    again.cmdOK_Click();
    QCOMPARE(again.Result() + ui.Last().text, (sets / "LIVE.SET").string() + " is already open");
    QCOMPARE(again.CurrentDirectory(), path(sets));
    // Saving over an existing set asks first; a new name gets its directory.
    vxe::FSetDialog save(session, vxe::FSetDialog::Mode::Save);
    QCOMPARE(save.windowTitle() + "|" + Shown(save, {"cmdOK"}),
             QString("Select a Vemo-x50 *.SET destination directory|&Save"));
    auto* name = save.findChild<QLineEdit*>("txtSetName");
    save.ChangeDirectory(path(sets / "LIVE.SET"));
    QCOMPARE(name->text(), QString("LIVE"));
    ui.AnswerTo(vx::QuestionId::OverwriteSet, vx::Answer::Cancel);
    save.cmdOK_Click();
    QCOMPARE(save.Result() + ui.Last().text, std::string("This Set already exists.\nOverwrite it?"));
    name->setText("fresh");
    save.cmdOK_Click();
    QCOMPARE(save.Result(), (sets / "FRESH.SET" / "FRESH").string());
    QVERIFY(fs::is_directory(sets / "FRESH.SET"));
    // A PathNam that is gone starts in the home directory, never beside the template.
    options.PathNam = (editor.temp.Path() / "gone").string();
    vxe::FSetDialog fallback(session, vxe::FSetDialog::Mode::Open);
    QCOMPARE(fallback.CurrentDirectory(), QDir::homePath());
}

void DialogsTest::settingsUnderExactKeysAndBadValuesFallBack() {
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/store.ini";
    QCOMPARE(Dump(vxe::ReadSettings(file, "/opt/vx")), QString("/opt/vx||1 0 1 1 1 0"));
    const vx::Options options{"/chosen", "/sets/LIVE.SET", 0, 4, 0, 0, 0, 1};
    vxe::WriteSettings(file, options);
    QSettings store(file, QSettings::IniFormat);
    QCOMPARE(store.childGroups(), QStringList{"Options"});
    store.beginGroup("Options");
    QStringList pairs;
    for (const QString& key : store.childKeys()) pairs << key + "=" + store.value(key).toString();
    pairs.sort();
    QCOMPARE(pairs, (QStringList{"HighCall=0", "ModeId=4", "OldSetNam=/sets/LIVE.SET", "PathNam=/chosen",
                                 "Show Tips at Startup=0", "StartOld=1", "WArrangeMode=0", "WarnDupl=0"}));
    QCOMPARE(Dump(vxe::ReadSettings(file, "/elsewhere")), Dump(options));
    // Values stored by hand: what is read back. PathNam never stored is the directory of the
    // last set, else the directory given.
    const char* cases[][3] = {{"ModeId", "5", "/p||1 5 1 1 1 0"},
                              {"ModeId", " 3 ", "/p||1 3 1 1 1 0"},
                              {"ModeId", "6", "/p||1 0 1 1 1 0"},
                              {"ModeId", "-1", "/p||1 0 1 1 1 0"},
                              {"ModeId", "two", "/p||1 0 1 1 1 0"},
                              {"WArrangeMode", "2", "/p||1 0 1 1 1 0"},
                              {"WArrangeMode", "0", "/p||0 0 1 1 1 0"},
                              {"StartOld", "", "/p||1 0 1 1 1 0"},
                              {"HighCall", "0x1", "/p||1 0 1 1 1 0"},
                              {"Show Tips at Startup", "99999", "/p||1 0 1 1 1 0"},
                              {"OldSetNam", "/sets/LIVE.SET", "/sets|/sets/LIVE.SET|1 0 1 1 1 0"},
                              {"PathNam", "/chosen", "/chosen||1 0 1 1 1 0"}};
    for (const auto& c : cases) {
        QSettings hand(QString::fromStdString(dir.Str()) + "/" + c[0] + c[1] + ".ini", QSettings::IniFormat);
        hand.setValue(QString("Options/") + c[0], QString(c[1]));
        QCOMPARE(Dump(vxe::ReadSettings(hand, "/p")), QString(c[2]));
    }
}

void DialogsTest::arguments() {
    auto args = vxe::ParseArguments(
        {"vxeditr", "sets/LIVE.SET", "/abs/GIGS.SET", "--no-tips", "--screenshot", "out/shot.png", "../up/X.SET"},
        "/home/me/work");
    QCOMPARE(args.setPaths, (QStringList{"/home/me/work/sets/LIVE.SET", "/abs/GIGS.SET", "/home/me/up/X.SET"}));
    QCOMPARE(args.screenshotFile, QString("/home/me/work/out/shot.png"));
    QVERIFY(args.noTips && args.error.isEmpty());
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--screenshot"}, "/").error, QString("--screenshot needs a file name"));
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--frobnicate", "A.SET"}, "/").error,
             QString("Unknown option --frobnicate"));
    QVERIFY(vxe::ParseArguments({"vxeditr", "--version"}, "/").showVersion);
    // What a screenshot shows: the tab by its caption, a bank letter, twin view, the size.
    args = vxe::ParseArguments({"vxeditr", "--tab", "backing seq", "--bank", "d", "--twin", "--size", "800x600"}, "/");
    QCOMPARE(QString("%1 %2 %3 %4x%5 %6")
                 .arg(args.tab)
                 .arg(args.bank)
                 .arg(args.twin)
                 .arg(args.size.width())
                 .arg(args.size.height())
                 .arg(args.error),
             QString("3 D 1 800x600 "));
    const char* bad[][3] = {{"--tab", "Options", "Unknown tab Options"},
                            {"--tab", "&Songs", "Unknown tab &Songs"},
                            {"--bank", "CD", "Unknown bank CD"},
                            {"--bank", "1", "Unknown bank 1"},
                            {"--size", "800", "--size needs WIDTHxHEIGHT, at least 200x200"},
                            {"--size", "100x600", "--size needs WIDTHxHEIGHT, at least 200x200"},
                            {"--size", "wide x high", "--size needs WIDTHxHEIGHT, at least 200x200"}};
    for (const auto& c : bad) QCOMPARE(vxe::ParseArguments({"vxeditr", c[0], c[1]}, "/").error, QString(c[2]));
    QCOMPARE(vxe::ParseArguments({"vxeditr", "--tab"}, "/").error, QString("--tab needs a value"));
}

void DialogsTest::recentSetsNewestFirstAtMostEight() {
    QStringList sets;
    for (int i = 1; i <= 9; ++i) sets = vxe::WithRecentSet(sets, QString("/sets/S%1.SET").arg(i));
    QCOMPARE(sets.size(), 8);
    QCOMPARE(sets.first() + " " + sets.last(), QString("/sets/S9.SET /sets/S2.SET"));
    // Opened again, a set moves to the top once; a path's spelling is cleaned, not its case.
    sets = vxe::WithRecentSet(sets, "/sets/./S5.SET/");
    QCOMPARE(sets.mid(0, 3), (QStringList{"/sets/S5.SET", "/sets/S9.SET", "/sets/S8.SET"}));
    QCOMPARE(sets.count("/sets/S5.SET"), 1);
    QCOMPARE(vxe::WithRecentSet(sets, "/sets/s5.set").value(0), QString("/sets/s5.set"));
    // Written and read back; a store holding more, empty or repeated entries gives eight at most.
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/settings.ini";
    vxe::WriteRecentSets(file, sets);
    QCOMPARE(vxe::ReadRecentSets(file), sets);
    QSettings(file, QSettings::IniFormat).setValue("Recent/Sets", QStringList{"", "/a", "/a", "/b"} + sets);
    QCOMPARE(vxe::ReadRecentSets(file), (QStringList{"/a", "/b"} + sets).mid(0, 8));
}

void DialogsTest::screenCheckWarnsBelow800x600() {
    vx::test::ScriptedInteraction ui;
    ui.AnswerTo(vx::QuestionId::SmallScreen, {vx::Answer::Yes, vx::Answer::No});
    QVERIFY(vxe::ScreenCheck(ui, {800, 600}));
    QVERIFY(vxe::ScreenCheck(ui, {799, 600}));
    QVERIFY(!vxe::ScreenCheck(ui, {800, 599}));
    QCOMPARE(ui.messages.size(), std::size_t{2});
    QCOMPARE(ui.Last().text, std::string("For a correct display, the screen resolution\nshould be at least 800x600 "
                                         "pixels!\nContinue anyway?"));
    QCOMPARE(ui.Last().title, std::string("Warning"));
    QVERIFY(ui.Last().icon == vx::MessageIcon::Exclamation && ui.Last().buttons == vx::MessageButtons::YesNo);
    // Enter alone does not go on with a display too small: the question defaults to No.
    QVERIFY(!vxe::ScreenCheck(ui, {640, 480}));
    QVERIFY(ui.Last().defaultButton == vx::Answer::No);
}

void DialogsTest::fileFiltersOfferBothCases() {
    const char* cases[][2] = {{"Arrangement|*.ARR", "Arrangement (*.ARR *.arr)"},
                              {"XStyle|*.XAF;*.xsf|All|*.*", "XStyle (*.XAF *.xaf *.xsf *.XSF);;All (*.*)"},
                              {"Report (*.TXT)|*.TXT", "Report (*.TXT *.txt)"},
                              {"Broken", ""}};
    for (const auto& c : cases) QCOMPARE(vxe::QtFileFilter(c[0]), QString(c[1]));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
