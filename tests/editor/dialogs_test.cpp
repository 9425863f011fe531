// The dialogs: an item's parameters and the pickers, run modally as from the Edit menu and
// answered by the test through a table of steps, with what reaches the set checked byte by byte;
// the frame's own dialogs and message boxes; settings, recent sets and command-line arguments.
// What each test sees is compared with its file in tests/data/editor.
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
#include "support/SetBuilder.h"

using namespace vxt;
namespace fs = std::filesystem;

namespace {
using Kind = vx::ItemKind;

// The next modal dialog gets the steps; what they read goes to seen.
void WhenShown(QString& seen, const QString& steps) {
    QTimer::singleShot(0, [&seen, steps] {
        if (QWidget* dialog = QApplication::activeModalWidget()) seen = Take(*dialog, steps);
    });
}

// A new set with a few items, nothing to be written, whose changes are followed as events.
struct Fixture : Editor {
    Fixture() {
        ui.Follow(session->Changes());
        session->Slot(1).dirty = {};  // a new set starts with every kind to be written
        vx::SetData& data = Data();
        data.prg.records[0].SetName("Grand Piano");
        data.prg.records[64].SetName("Slap Bass");
        vx::test::UseStyle(data, 0, "Ballad", 1176 + 400);
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
    // Nothing to be written, no picks, file requests or events: the next dialog starts afresh.
    void Next() {
        session->Slot(1).dirty = {};
        ui.events.clear();
        ui.picks.clear();
        ui.fileRequests.clear();
    }
    // Runs Details on an item; act gets the dialog once it shows and must close it. The answerer
    // goes with the call: a Details without a dialog leaves nothing to the next one.
    void Details(const vx::ItemAddress& item, std::function<void(QWidget*)> act) {
        ModalAnswerer answerer;
        answerer.onDialog = std::move(act);
        vxe::ShowDetails(*scheme, *session, 1, item, nullptr);
    }
    // Shows item's dialog and takes the steps on it (see Take).
    QString Run(const vx::ItemAddress& item, const QString& steps) {
        QString seen = "no dialog";
        Details(item, [&seen, &steps](QWidget* d) { seen = Take(*d, steps); });
        return seen;
    }
    // Run, then what reached record (see Written), as "what was read => what was written".
    template <typename Record>
    QString Edit(Record& record, const vx::ItemAddress& item, const QString& steps) {
        const Record before = record;
        const QString read = Run(item, steps);
        return read + " => " + Written(before, record);
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
    void itemDialogs();
    void pickDialogs();
    void aboutHelpTipsOptionsAndMessages();
    void setDialogs();
    void settingsRecentSetsAndArguments();
};

void DialogsTest::itemDialogs() {
    Fixture f;
    Observed seen("item_dialogs");
    f.Next();  // A style and programs.
    auto& caller = f.Data().arr.arr[3];
    caller.SetName("Caller");
    caller.SetStyle(256);
    caller.SetTrackProgram(6, 768);
    auto& style = f.Data().sty.slots[0];
    seen("style", f.Edit(style.record, {Kind::Style, 256}, "?=lblUsed,lblFree,lstCalled,lstPrg@1;cboCat=4"));
    seen("its size", style.size);
    // A slot without a style has nothing to edit; a preset program is shown only.
    seen("empty slot", f.Run({Kind::Style, 257}, {}))("beeps", f.ui.beeps);
    seen("preset program", f.Run({Kind::Program, 0}, "?=txtNam?,cboCat?"));
    // "Call another Program" moves every caller at once, even when the dialog is cancelled.
    f.ui.pickAnswers = {832};
    seen("call another", f.Edit(f.Data().prg.records[0], {Kind::Program, 768},
                                "?=lstCalled;txtNam=Renamed;cmdReplPrg;?=lstCalled#;cmdCancel"));
    seen("calls now",
         QString("Arr C14 MainKBD %1, Sty C11 PERC %2").arg(caller.TrackProgram(6)).arg(style.record.TrackProgram(1)));
    // A pasted line break or accented letter is left out, and the tip says why.
    seen("pasted", f.Edit(f.Data().prg.records[64], {Kind::Program, 832}, "txtNam=   Fret\nless\u00e9;tip;cboCat=5"));

    f.Next();  // A backing sequence and a song.
    vx::BsqRecord& bsq = f.Data().bsq.entries[1].record;
    bsq.SetName("Verse");
    bsq.SetByte(79, 12);
    bsq.SetByte(80, 0xF0);
    bsq.SetArrangement(5);
    f.ui.pickAnswers = {257};
    seen("backing sequence", f.Edit(bsq, {Kind::BackingSequence, 1},
                                    "?=chkChain,txtNxt,txtNxt?,chkAuto?,lstPrg@7;chkChain=1;lblSty;?=txtNxt?,lblSty"));
    vx::SongRecord& song = f.Data().sng.entries[3].record;
    song.SetName("Finale");
    song.SetByte(53, 0x03);
    seen("song", f.Edit(song, {Kind::Song, 3}, "?=chkChain,lstPrg#,lstPrg@15;chkAuto=0;txtNxt=7"));

    f.Next();  // Arrangement Global.
    vx::ArgRecord& arg = f.Data().arg.record;
    for (int i = 0; i < 16; ++i) arg.SetChannel(i, i);
    arg.SetChannel(0, 255);
    arg.SetChannel(12, 255);
    arg.SetByte(20, 0xF0);
    for (vx::ArrangementRecord& r : f.Data().arr.arr) r.SetSplit(60);
    f.Data().arr.arr[0].SetSplit(80);
    // Opening and OK write nothing: the differing split keys stay as they are; nor does a
    // split key picked in a cancelled dialog.
    const vx::ItemAddress argItem{Kind::ArrangementGlobal, 0};
    seen("shown", f.Edit(arg, argItem, "?=lstMidi@0,lstMidi@10,lstMidi@12,cboSplit,cmdSend,cmdSend?,optRecog_2*"));
    seen("splits", f.Splits())("cancelled", f.Edit(arg, argItem, "cboSplit=0;cmdCancel"))("splits", f.Splits());
    // Channels through the MIDI channel picker, switches and options into their bits, the
    // split key into every arrangement.
    f.ui.pickAnswers = {16, 3};
    seen("picked", f.Edit(arg, argItem,
                          "lstMidi=11;lstMidi=0;?=lstMidi@11,lstMidi@0;chkTempoLock=1;chkSync_1=1;optHarmo_1=1;optVelo_"
                          "3=1;optRecog_2=1;cboSplit=12"));
    for (const auto& pick : f.ui.picks)
        seen("picker", QString("%1, %2 entries").arg(pick.caption.c_str()).arg(pick.entries.size()));
    seen("splits", f.Splits());
    // Import counts as a change and then asks for the file.
    f.session->Slot(1).dirty = {};
    f.ui.fileAnswers = {std::nullopt};
    seen("import", f.Edit(arg, argItem, "cmdImport"))("asks", f.ui.fileRequests.at(0).title);
    // The shared split key is shown up to C 7; while they differ, choosing the greyed C 4
    // itself is a choice.
    for (vx::ArrangementRecord& r : f.Data().arr.arr) r.SetSplit(96);
    seen("shared 96", f.Run(argItem, "?=cboSplit"));
    f.Data().arr.arr[5].SetSplit(40);
    seen("differing", f.Run(argItem, "?=cboSplit;cboSplit"))("splits", f.Splits());

    f.Next();  // Global.
    vx::GblRecord& gbl = f.Data().gbl.record;
    gbl.SetByte(15, 60);  // beyond the switches' functions
    gbl.SetByte(3, 60);
    gbl.SetByte(17, 12);
    const vx::ItemAddress gblItem{Kind::Global, 0};
    seen("shown", f.Edit(gbl, gblItem, "?=cboPeds_7,cboPeds_5,cboPeds_5#,cboPeds_0#,cboCurv_0,cboDmpr@1"));
    seen("curve", f.Edit(gbl, gblItem, "cboCurv_1=7"));
    // The SysEx file button closes the dialog, writes the record back, then asks for the file.
    f.session->Slot(1).dirty = {};
    f.ui.fileAnswers = {std::nullopt};
    seen("SysEx", f.Edit(gbl, gblItem, "cmdSysex2File"))("asks", f.ui.fileRequests.at(0).title);

    f.Next();  // An arrangement, last: it calls programs renamed above.
    vx::ArrangementRecord& arr = f.Data().arr.arr[0];
    arr.SetName("Pop Song");
    arr.SetStyle(256);
    for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 768);
    arr.SetByte(21, 90);
    arr.SetByte(23, 30);    // below the split list
    arr.SetByte(28, 0xC1);  // Lower (Normal)
    arr.SetByte(24, 12);    // beyond the ensemble list
    arr.SetByte(40, 0x83);  // the first track's call, with its flag in bit 7 of the word
    f.Data().bsq.entries[2].record.SetName("Intro");
    f.Data().bsq.entries[2].record.SetArrangement(256);
    // Shown as stored; OK without a change writes nothing.
    seen("shown", f.Edit(arr, {Kind::Arrangement, 256},
                         "?=cboSplit,cboEnsemble,cboChScan,txtTempo,lblSty,lstPrg@1,lstCalled,cboSplit#"));
    const vx::ArrangementRecord arrBefore = arr;
    // On a track line Enter and F2 choose, as a double-click does (the picker is cancelled),
    // and the dialog stays; a Called by list without callers is still four lines high.
    QStringList keys;
    f.Details({Kind::Arrangement, 257}, [&keys, &f](QWidget* dialog) {
        QWidget& d = *dialog;
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
        Take(d, "cmdOK");
    });
    seen("track keys", keys)("after the keys", f.Written(arrBefore, arr));
    f.ui.picks.clear();
    // Every control read back; out-of-range texts corrected as they are left.
    f.ui.pickAnswers = {1056, 300};
    seen("typed", f.Edit(arr, {Kind::Arrangement, 256},
                         "txtNam=  Jazz Waltz "
                         "Extended;txtTempo=250;txtXpose=-5;txtTempo=\r;lstPrg=0;lblSty;?=txtNam,txtTempo,lstPrg@0,"
                         "lblSty;cboChScan=1;cboDrMap_3=7;cboFillVar_1=12;chkFullKbd=1"));
    seen("program picked", f.ui.picks.at(0).caption);
    // Cancel and the close box discard every change.
    for (const char* close : {"cmdCancel", "close"})
        seen(close, f.Edit(arr, {Kind::Arrangement, 256}, "txtNam=Lost;cboKick=3;" + QString(close)));
    // A preset has no dialog.
    seen("preset", f.Run({Kind::Arrangement, 5}, {}))("beeps", f.ui.beeps);
    seen.Check();
}

void DialogsTest::pickDialogs() {
    Observed seen("pick_dialogs");
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
    seen("program picker", Take(prg, "?=cboBnk/,cboCat@14,cboRef"));
    for (int number : {2000, -1, 128, 896})
        seen(QString("from %1").arg(number),
             Take(*std::make_unique<vxe::FInBanked>(session, 1, vx::BankedKind::Program, number, ""), "?=cboRef"));
    // The category filter lists every bank in number order. Another bank lists its own slots
    // again and forgets the category. A category without items leaves nothing: OK gives none.
    seen("category 14", Take(prg, "cboCat=14;?=cboRef/;cboRef=2;cmdOK"))("chosen", prg.Chosen());
    seen("bank E", Take(prg, "cboBnk=4;?=cboCat,cboRef"));
    seen("empty category", Take(prg, "cboCat=9;?=cboRef#;cmdOK"))("chosen", prg.Chosen());
    // The pickers as the editor shows them.
    QString shown;
    WhenShown(shown, "cmdCancel");
    seen("program", vxe::FInPrgPick(session, 1, 259, "", nullptr));
    WhenShown(shown, "?=cboBnk;cboRef=5");
    seen("arrangement", vxe::FInArrPick(session, 1, 320, "", nullptr))("its dialog", shown);
    WhenShown(shown, "close");
    seen("style", vxe::FInStyPick(session, 1, 0, "", nullptr))("its dialog", shown);
    vxe::FInNote note("Set All KBD Sets Split Key", "Split Key", {"C2", "C#2", "D2"}, -1);
    note.show();
    Child<QPushButton>(note, "cmdOK")->click();  // nothing selected yet: OK does nothing
    seen("note, OK without a choice: shown", note.isVisible());
    Take(note, "cboNote=2;cmdOK");
    seen("note, shown", note.isVisible())("chosen", note.Chosen());
    WhenShown(shown, {});
    seen("note picker", vxe::FInNotePick("Set KBD Set 11 Split Key", "Split Key", {"C2", "C#2"}, 1, nullptr));
    WhenShown(shown, "cboMidCh=15");
    seen("channel picker",
         vxe::FInMidChPick("", QString("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16").split(' '), 0, nullptr));
    seen("its dialog", shown);
    seen.Check();
}

void DialogsTest::aboutHelpTipsOptionsAndMessages() {
    Observed seen("about_help_tips_options");
    vxe::FAbout about;
    seen("about", Take(about, "?=lblTitle,lblVersion,lblDescription,lblDisclaimer"));
    vx::test::TempDirectory dir;
    const QString programDir = QString::fromStdString(dir.Str());
    seen("no manual", vxe::FHelp(programDir).Browser()->toPlainText());
    vxe::FTip missing(programDir, true);
    missing.cmdNext_Click();
    seen("no tips",
         Take(missing, "?=lblDidYouKnow,chkLoadTipsAtStartup,cmdNextTip,cmdOK") + "|" + missing.CurrentTip());
    // Next goes through the file in order and wraps from the last line to the first.
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::binary) << "First tip\r\nSecond tip\nThird <b>tip</b>\n";
    vxe::FTip tip(programDir, false);
    QString tips;
    for (int step = 0; step < 4; ++step, tip.cmdNext_Click()) tips += tip.CurrentTip() + "|";
    QVERIFY2(QString("First tip|Second tip|Third <b>tip</b>|").repeated(3).contains(tips), qPrintable(tips));
    std::ofstream(dir.Path() / "X50TIPS.TXT", std::ios::trunc);
    vxe::FTip empty(programDir, true);
    empty.cmdNext_Click();
    seen("empty file", QString::number(empty.TipCount()) + "|" + empty.CurrentTip());
    vx::Options options;
    vxe::FOptions dialog(options);
    seen("options",
         Take(dialog, "?=chkStartOld,chkWarnDupl,chkHighCall,cmdClose,chkStartOld*,chkWarnDupl*,chkHighCall*"));
    for (auto* box : dialog.findChildren<QCheckBox*>()) box->toggle();
    // Closing by the frame is Close: the dialog is hidden and the values are taken.
    dialog.show();
    dialog.close();
    dialog.ReadBack(options);
    seen("closed by the frame: shown", dialog.isVisible())("accepted", dialog.result() == QDialog::Accepted);
    seen("StartOld WarnDupl HighCall",
         QString("%1 %2 %3").arg(options.StartOld).arg(options.WarnDupl).arg(options.HighCall));
    seen.Check();

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
    Observed boxes("messages_and_file_filters");
    boxes("Exclamation, Yes No Cancel", ask(vx::MessageIcon::Exclamation, vx::MessageButtons::YesNoCancel,
                                            vx::Answer::Cancel, QMessageBox::No, vx::Answer::No));
    boxes("Question, Yes No", ask(vx::MessageIcon::Question, vx::MessageButtons::YesNo, vx::Answer::No,
                                  QMessageBox::NoButton, vx::Answer::No));
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
    // The screen check warns below 800x600; Enter alone does not go on: the question defaults to No.
    vx::test::ScriptedInteraction scripted;
    scripted.AnswerTo(vx::QuestionId::SmallScreen, {vx::Answer::Yes, vx::Answer::No});
    for (const QSize size : {QSize(800, 600), QSize(799, 600), QSize(800, 599), QSize(640, 480)})
        boxes(QString("screen %1x%2").arg(size.width()).arg(size.height()),
              QString("%1 %2").arg(vxe::ScreenCheck(scripted, size)).arg(scripted.TakeTranscript().c_str()));
    // File filters offer both cases.
    for (const char* filter : {"Arrangement|*.ARR", "XStyle|*.XAF;*.xsf|All|*.*", "Report (*.TXT)|*.TXT", "Broken"})
        boxes(filter, vxe::QtFileFilter(filter));
    boxes.Check();
}

void DialogsTest::setDialogs() {
    Editor editor(0);
    Observed seen("set_dialogs");
    const fs::path sets = editor.temp.Path() / "sets";
    seen.Hide(QString::fromStdString(sets.string()), "SETS");
    vx::test::WriteSet(vx::test::EmptySet(), (sets / "LIVE.SET").string(), "LIVE");
    vx::test::WriteSet(vx::test::EmptySet(), (sets / "gigs.set").string(), "GIGS");
    fs::remove(sets / "gigs.set" / "GIGS.GBL");
    vx::test::ScriptedInteraction& ui = editor.ui;
    vx::Options& options = editor.options;
    options.PathNam = sets.string();
    vx::Session& session = *editor.session;
    auto path = [](const fs::path& p) { return QString::fromStdString(p.string()); };

    vxe::FSetDialog open(session, vxe::FSetDialog::Mode::Open);
    auto* ok = open.findChild<QPushButton*>("cmdOK");
    seen("open", open.CurrentDirectory() + "|" + Shown(open, {"lstDir"}))("OK hidden", ok->isHidden());
    // A set with a missing file: refusing to create it leaves OK hidden; agreeing creates it from
    // the template and offers OK.
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::Cancel);
    open.lstDir_DblClick(open.findChild<QListWidget*>("lstDir")->item(1));
    seen("refused, OK hidden", ok->isHidden())("asked", ui.TakeTranscript());
    open.ChangeDirectory(path(sets));
    ui.AnswerTo(vx::QuestionId::CreateMissingFile, vx::Answer::OK);
    open.ChangeDirectory(path(sets / "gigs.set"));
    seen("agreed, OK hidden", ok->isHidden())("GIGS.GBL made", fs::exists(sets / "gigs.set" / "GIGS.GBL"));
    // A set's name typed in any case; its directory is remembered.
    open.ChangeDirectory(path(sets));
    Take(open, "txtSetName=live;cmdOK");
    seen("typed live", open.Result() + " in " + options.PathNam);
    // A typed or pasted path: to a set, to a file in one (both keep their case), to a plain
    // directory (shown, nothing chosen), or to nothing (said, as typed).
    for (const QString& typed : {path(sets / "gigs.set"), path(sets / "gigs.set" / "GIGS.ARR") + " ", path(sets) + "/",
                                 path(sets / "Gone" / "x.SET")}) {
        ui.messages.clear();
        vxe::FSetDialog dialog(session, vxe::FSetDialog::Mode::Open);
        dialog.findChild<QLineEdit*>("txtSetName")->setText(typed);
        dialog.cmdOK_Click();
        seen("pasted " + typed, dialog.Result() + "|" + dialog.CurrentDirectory().toStdString() + "|" +
                                    (ui.messages.empty() ? std::string() : ui.Last().text));
    }
    // The same set cannot be opened twice; the list goes back to the parent.
    QCOMPARE(session.OpenOrNewSet(false, (sets / "LIVE.SET").string()), 1);
    vxe::FSetDialog again(session, vxe::FSetDialog::Mode::Open);
    again.ChangeDirectory(path(sets / "LIVE.SET"));
    again.cmdOK_Click();
    seen("opened twice", again.Result() + ui.Last().text)("back to", again.CurrentDirectory());
    // Saving over an existing set asks first; a new name gets its directory.
    vxe::FSetDialog save(session, vxe::FSetDialog::Mode::Save);
    save.ChangeDirectory(path(sets / "LIVE.SET"));
    seen("save", Take(save, "?=cmdOK,txtSetName"));
    ui.AnswerTo(vx::QuestionId::OverwriteSet, vx::Answer::Cancel);
    save.cmdOK_Click();
    seen("over LIVE", save.Result() + ui.Last().text);
    save.findChild<QLineEdit*>("txtSetName")->setText("fresh");
    save.cmdOK_Click();
    seen("fresh", save.Result())("its directory made", fs::is_directory(sets / "FRESH.SET"));
    // A PathNam that is gone starts in the home directory, never beside the template.
    options.PathNam = (editor.temp.Path() / "gone").string();
    vxe::FSetDialog fallback(session, vxe::FSetDialog::Mode::Open);
    QCOMPARE(fallback.CurrentDirectory(), QDir::homePath());
    seen.Check();
}

void DialogsTest::settingsRecentSetsAndArguments() {
    Observed seen("settings_and_arguments");
    vx::test::TempDirectory dir;
    const QString file = QString::fromStdString(dir.Str()) + "/store.ini";
    seen("none stored", Dump(vxe::ReadSettings(file, "/opt/vx")));
    const vx::Options options{"/chosen", "/sets/LIVE.SET", 0, 4, 0, 0, 0, 1};
    vxe::WriteSettings(file, options);
    QSettings store(file, QSettings::IniFormat);
    seen("groups", store.childGroups());
    store.beginGroup("Options");
    QStringList keys = store.childKeys();
    keys.sort();
    for (const QString& key : keys) seen("stored " + key, store.value(key).toString());
    QCOMPARE(Dump(vxe::ReadSettings(file, "/elsewhere")), Dump(options));
    // Values stored by hand: what is read back. PathNam never stored is the directory of the
    // last set, else the directory given.
    int n = 0;
    for (const QString pair :
         {"ModeId=5", "ModeId= 3 ", "ModeId=6", "ModeId=-1", "ModeId=two", "WArrangeMode=2", "WArrangeMode=0",
          "StartOld=", "HighCall=0x1", "Show Tips at Startup=99999", "OldSetNam=/sets/LIVE.SET", "PathNam=/chosen"}) {
        QSettings hand(QString::fromStdString(dir.Str()) + QString("/%1.ini").arg(++n), QSettings::IniFormat);
        hand.setValue("Options/" + pair.section('=', 0, 0), pair.section('=', 1));
        seen("read " + pair, Dump(vxe::ReadSettings(hand, "/p")));
    }
    // Recent sets: newest first, eight at most.
    QStringList sets;
    for (int i = 1; i <= 9; ++i) sets = vxe::WithRecentSet(sets, QString("/sets/S%1.SET").arg(i));
    seen("nine opened", sets);
    // Opened again, a set moves to the top once; a path's spelling is cleaned, not its case.
    sets = vxe::WithRecentSet(sets, "/sets/./S5.SET/");
    seen("S5 again", sets)("then s5.set", vxe::WithRecentSet(sets, "/sets/s5.set").value(0));
    // Written and read back; a store holding more, empty or repeated entries gives eight at most.
    const QString recent = QString::fromStdString(dir.Str()) + "/recent.ini";
    vxe::WriteRecentSets(recent, sets);
    QCOMPARE(vxe::ReadRecentSets(recent), sets);
    QSettings(recent, QSettings::IniFormat).setValue("Recent/Sets", QStringList{"", "/a", "/a", "/b"} + sets);
    seen("read from a store with more", vxe::ReadRecentSets(recent));
    // Command-line arguments.
    auto args = vxe::ParseArguments(
        {"vxeditr", "sets/LIVE.SET", "/abs/GIGS.SET", "--no-tips", "--screenshot", "out/shot.png", "../up/X.SET"},
        "/home/me/work");
    seen("sets", args.setPaths)("screenshot", args.screenshotFile)("no tips", args.noTips)("error", args.error);
    seen("--version", vxe::ParseArguments({"vxeditr", "--version"}, "/").showVersion);
    // What a screenshot shows: the tab by its caption, a bank letter, twin view, the size.
    args = vxe::ParseArguments({"vxeditr", "--tab", "backing seq", "--bank", "d", "--twin", "--size", "800x600"}, "/");
    seen("tab", args.tab)("bank", args.bank)("twin", args.twin)("error", args.error);
    seen("size", QString("%1x%2").arg(args.size.width()).arg(args.size.height()));
    for (const QString bad : {"--screenshot", "--frobnicate|A.SET", "--tab|Options", "--tab|&Songs", "--bank|CD",
                              "--bank|1", "--size|800", "--size|100x600", "--size|wide x high", "--tab"})
        seen(bad, vxe::ParseArguments(QStringList{"vxeditr"} + bad.split('|'), "/").error);
    seen.Check();
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
