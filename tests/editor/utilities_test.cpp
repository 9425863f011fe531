// The Utilities menu: the set report (shown, printed, saved), Check Set, MIDI Setup, sending to
// the instrument and SysEx files.
#include <QtTest>

#include <QPrinter>

#include "EditorHarness.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/MidiLink.h"
#include "core/reports/SetReport.h"
#include "core/selection/ItemNumbers.h"
#include "editor/check/FCheck.h"
#include "editor/midi/FMidStup.h"
#include "editor/midi/MidiTransfer.h"
#include "editor/reports/FReport.h"
#include "editor/views/ViewSetup.h"
#include "support/MidiLoopback.h"

using namespace vxt;

namespace {
const std::string kDate = "5-Dec-2026 02:07:30";

QString PdfText(const QString& pdf, const QStringList& options) {
    QProcess process;
    process.start("pdftotext", options + QStringList{pdf, "-"});
    process.waitForFinished(30000);
    return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

// The simulated instrument behind loopback ports, on a clock of the test's own.
struct Instrument {
    vxi::SimulatedInstrument instrument;
    vx::test::FakeClock clock;
    vx::test::LoopbackPorts ports{instrument, clock};
    explicit Instrument(int deviceId) : instrument(Options(deviceId)) {}
    static vxi::InstrumentOptions Options(int deviceId) {
        vxi::InstrumentOptions options;
        options.deviceId = deviceId;
        return options;
    }
};
}  // namespace

class UtilitiesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportShowsSavesPrintsAndKeepsItsLayout();
    void entriesReportCheckAndSend();
    void midiSetupDetectsTheInstrumentOrSaysWhatToDo();
};

void UtilitiesTest::reportShowsSavesPrintsAndKeepsItsLayout() {
    Editor editor;
    const std::string report = vx::CreateSetReport(*editor.session, 1, kDate);
    vxe::FReport window(*editor.session, 1, report);
    QCOMPARE(window.windowTitle(), QString("Report on NEWSET01"));
    auto* txtRep = Child<QPlainTextEdit>(window, "txtRep");
    QCOMPARE(txtRep->toPlainText(), QString::fromLatin1(report.data()).remove('\r'));
    // A fixed width that shows a whole 100-column line.
    const int width = window.width();
    const int line = QFontMetrics(txtRep->font()).horizontalAdvance(QString(100, 'M'));
    QVERIFY(width >= vxe::TwipsToPixels(window, 11085));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(width + 200, 500);
    QCoreApplication::processEvents();
    QCOMPARE(window.width(), width);
    QVERIFY2(txtRep->viewport()->width() - 2 * txtRep->document()->documentMargin() >= line,
             qPrintable(QString("%1 < %2").arg(txtRep->viewport()->width()).arg(line)));
    // Saved as it is, under the set's name.
    const std::string file = editor.temp.Str() + "/SAVED.TXT";
    editor.ui.fileAnswers = {file};
    QVERIFY(window.cmdSave_Click());
    QCOMPARE(vx::test::ReadFileBytes(file), std::vector<std::uint8_t>(report.begin(), report.end()));
    QCOMPARE(editor.ui.fileRequests.at(0).initialName, std::string("NEWSET01.TXT"));
    // Printed with the heading.
    const QString pdf = QString::fromStdString(editor.temp.Str()) + "/report.pdf";
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(pdf);
    QVERIFY(window.cmdPrint_Click());
    QVERIFY(editor.ui.messages.empty());
    const QStringList pages = PdfText(pdf, {"-layout"}).split('\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() > 1);
    QCOMPARE(pages[0].trimmed().section('\n', 0, 0).trimmed(), QString("Vemo-x50 Set Report"));
    QVERIFY(pages[0].contains(QRegularExpression("\nNEWSET01 +5-Dec-2026 02:07:30\n")));
    QVERIFY(pages[0].contains(QRegularExpression("\nC11 +C12 +C13 +C14 *\n")));
    QVERIFY(pages.join("").contains("CALLS to User ARRANGEMENTS in NEWSET01"));
    // The title stands on the fifth line of the page: four empty lines come first.
    const QString boxes = PdfText(pdf, {"-bbox", "-f", "1", "-l", "1"});
    auto top = [&](const QString& word) {
        const auto match = QRegularExpression("yMin=\"([0-9.]+)\"[^>]*>" + word + "<").match(boxes);
        return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    };
    const double title = top("Vemo-x50");
    const double lineHeight = (top("NEWSET01") - title) / 3;
    const double margin = window.Printer().pageLayout().paintRect(QPageLayout::Point).top();
    QVERIFY(title > 0 && lineHeight > 0);
    QCOMPARE(static_cast<int>((title - margin) / lineHeight), 4);

    // Call lines longer than the paper go on under their item.
    Observed seen("report_lines");
    for (const auto& [text, columns] : {std::pair{QString("F11: A11 Upper1, A12 Upper2, A13 Lower"), 20},
                                        {QString(25, 'x'), 10},
                                        {QString(100, '_'), 100},
                                        {QString(), 100}})
        seen(QString("%1 in %2").arg(text).arg(columns), vxe::PrintedLines(text, columns));
    seen.Check();
    // A program called 20 times: 174 characters on one line, every caller on paper.
    QStringList callers;
    for (int i = 0; i < 20; ++i) callers << QString("C%1%2 Upper1").arg(1 + i / 8).arg(1 + i % 8);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(vxe::PrintReportText("CALLS\nF11: " + callers.join(", ") + "\n", vxe::FixedPitchFont(), printer));
    const QString text = PdfText(pdf, {"-layout"});
    for (const QString& caller : callers) QVERIFY2(text.contains(caller), qPrintable(caller + " missing in:\n" + text));
}

void UtilitiesTest::entriesReportCheckAndSend() {
    Editor editor;
    editor.Data().arr.arr[0].SetName("POP");
    editor.Data().arr.arr[0].SetStyle(vx::StyNumberOfUserIndex(1));
    vxe::FDoc& doc = editor.Open();
    QString shown;
    for (int tab = 0; tab < 6; ++tab) {
        Tabs(doc, tab);
        for (const char* name : {"mnuUReport", "mnuUSSRep", "mnuUSwapPreset", "mnuUExPreset", "mnuUCheck",
                                 "mnuUMidStup", "mnuUMidSend", "mnuUSysex2File"}) {
            auto* action = Child<QAction>(doc, name);
            shown += !action->isVisible() ? "-" : action->isEnabled() ? "E" : "d";
        }
        shown += " ";
    }
    // The subset report exists for tabs 0 to 2 only.
    QCOMPARE(shown, QString("EEEEEEEE EE--EEEE EE-EEEEE Ed--EEEE Ed--EEEE Ed--EEEE "));
    vxe::FReport* report = doc.mnuUReport_Click();
    QVERIFY(report != nullptr && report->isVisible());
    QCOMPARE(report->windowTitle(), QString("Report on NEWSET01"));
    QCOMPARE(editor.ui.progressTitles.back(), std::string("Creating Set Report..."));
    report->close();

    // SysEx files: the tab's kind, by the bytes a dump of it sends.
    const std::string file = editor.temp.Str() + "/KBD.SYX";
    editor.ui.fileAnswers.push_back(file);
    Child<QAction>(doc, "mnuUSysex2File")->trigger();
    vx::Bytes expected;
    std::string error;
    QVERIFY(vx::BuildDumpMessage(editor.Data(), vx::ItemKind::KbdSet, 0, vx::SysExHeader{}, expected, error));
    QVERIFY(vx::test::ReadFileBytes(file) == expected);
    QCOMPARE(editor.ui.fileRequests.at(0).title, std::string("Save KBD Set to SysEx File..."));
    // On the style tab a preset style names no block of the set.
    Tabs(doc, 1);
    doc.GoToNumber(vx::BankedKind::Style, 5);
    Child<QAction>(doc, "mnuUSysex2File")->trigger();
    QCOMPARE(editor.ui.Last().text, std::string("Select a user style (bank C): its block of four styles is sent."));
    QCOMPARE(editor.ui.fileRequests.size(), std::size_t(1));

    // Check Set lists the findings and checks again.
    Child<QAction>(doc, "mnuUCheck")->trigger();
    auto* window = Child<vxe::FCheck>(doc, "FCheck");
    auto* list = Child<QTreeWidget>(*window, "lstCheck");
    auto* label = Child<QLabel>(*window, "lblCheck");
    QStringList rows{window->windowTitle(), label->text()};
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        for (int c = 0; c < 3; ++c) rows << list->topLevelItem(i)->text(c);
    QCOMPARE(rows,
             (QStringList{"Check of NEWSET01", "1 finding in NEWSET01.", "Arrangement C11 'POP'",
                          "It calls Style C12, which is empty.", "Put a style into C12 or make it call another one."}));
    // A double-click on the finding shows the arrangement it names.
    auto* tabs = Tabs(doc, 4);
    Q_EMIT list->itemDoubleClicked(list->topLevelItem(0), 0);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(doc.CurrentNumber(vx::BankedKind::Arrangement), vx::ArrNumberOfUserIndex(0));
    editor.Data().arr.arr[0].SetStyle(0);
    Child<QPushButton>(*window, "cmdRecheck")->click();
    QCOMPARE(label->text() + QString::number(list->topLevelItemCount()),
             QString("No findings: NEWSET01 is consistent.0"));
    window->close();
    // The item a finding names, if it names one: its kind and slot.
    QStringList named;
    for (const char* item : {"Arrangement C11 'POP'", "Style C12 'Funk'", "KBD Set 12", "Event memory",
                             "Style block C11-C14", "Arrangement Z99 'X'"}) {
        const auto found = vxe::FindingItem(item);
        named << (found ? QString("%1 %2").arg(vx::KindIndex(found->first)).arg(found->second) : "none");
    }
    QCOMPARE(named.join(", "), QString("0 0, 1 1, 5 1, none, none, none"));

    // Send follows the last MIDI Setup and reaches the instrument.
    Tabs(doc, 2);
    Instrument device(7);
    vxe::UseMidiPortsForTesting(editor.ui, device.ports, device.clock);
    ModalAnswerer answerer;
    QString button = "cmdOK";
    answerer.onDialog = [&button](QWidget* dialog) { Child<QPushButton>(*dialog, qPrintable(button))->click(); };
    auto* send = Child<QAction>(doc, "mnuUMidSend");
    Child<QAction>(doc, "mnuUMidStup")->trigger();
    QCOMPARE(answerer.dialogTitles, QStringList{"MIDI Setup"});
    QVERIFY(send->isEnabled());
    editor.ui.AnswerTo(vx::QuestionId::SendDump, vx::Answer::OK);
    send->trigger();
    QCOMPARE(device.instrument.Dumps().size(), std::size_t(1));
    QCOMPARE(device.instrument.Dumps()[0].functionCode, 0x4C);
    QCOMPARE(int(device.ports.sent.back()[2]), 0x37);
    QVERIFY(send->isEnabled());
    // Cancel leaves no instrument detected, whatever an earlier setup found.
    button = "cmdCancel";
    Child<QAction>(doc, "mnuUMidStup")->trigger();
    QCOMPARE(answerer.dialogTitles.size(), 2);
    QVERIFY(!send->isEnabled() && !vxe::ProgramMidiLink(editor.ui).ready);
}

void UtilitiesTest::midiSetupDetectsTheInstrumentOrSaysWhatToDo() {
    Instrument device(5);
    Observed seen("midi_setup");
    vx::test::ScriptedInteraction ui;
    vx::test::TempDirectory logDir;
    seen.Hide(QString::fromStdString(logDir.Str()), "LOGDIR");
    vx::MidiLink link(device.ports, ui, device.clock, logDir.Str());
    vx::MidiPortLists lists;
    QVERIFY(link.ListPorts(lists));
    vxe::FMidStup dialog(link, lists, "");
    for (auto* label : dialog.findChildren<QLabel*>()) seen("label", label->text());
    seen("dialog", dialog.windowTitle() + "|" + Shown(dialog, {"cboMidOut/", "cboMidOut", "cboMidIn"}));
    Child<QPushButton>(dialog, "cmdOK")->click();
    seen("accepted", dialog.result() == QDialog::Accepted)("said", ui.TakeTranscript());
    seen("ready, output, device byte",
         QString("%1 %2 %3").arg(link.ready).arg(link.outputIndex).arg(link.header.bytes[2], 2, 16));
    // Without ports (no ALSA sequencer, no JACK server) the dialog still opens and says what to do.
    Instrument none(0);
    none.ports.interfaceName.clear();
    none.ports.outputs.clear();
    none.ports.inputs.clear();
    none.ports.libraryMessages = {"RtMidi: MidiOutAlsa::initialize: error creating ALSA sequencer client object."};
    vx::MidiLink bare(none.ports, ui, none.clock, logDir.Str());
    ModalAnswerer answerer;
    answerer.onDialog = [&seen](QWidget* setup) {
        seen("without ports", Shown(*setup, {"lblProblem", "lblInterface", "cmdOK?"}));
        Child<QPushButton>(*setup, "cmdCancel")->click();
    };
    vxe::MidiSetup(bare, nullptr);
    seen("dialogs", answerer.dialogTitles)("said", ui.TakeTranscript())("ready", bare.ready);
    const vx::Bytes logged = vx::test::ReadFileBytes(logDir.Path() / "VXEDITR.LOG");
    seen("log", QString::fromLatin1(reinterpret_cast<const char*>(logged.data()), int(logged.size())));
    seen.Check();
}

QTEST_MAIN(UtilitiesTest)
#include "utilities_test.moc"
