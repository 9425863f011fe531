// The Utilities menu: the set report (shown, printed, saved), Check Set, MIDI Setup, sending to
// the instrument and SysEx files.
#include <QtTest>

#include <QPrinter>

#include "EditorHarness.h"
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
    Observed seen("report_lines");
    const std::string report = vx::CreateSetReport(*editor.session, 1, kDate);
    vxe::FReport window(*editor.session, 1, report);
    auto* txtRep = Child<QPlainTextEdit>(window, "txtRep");
    seen("title", window.windowTitle())("text as made",
                                        txtRep->toPlainText() == QString::fromLatin1(report.data()).remove('\r'));
    // A fixed width that shows a whole 100-column line.
    const int width = window.width();
    const int line = QFontMetrics(txtRep->font()).horizontalAdvance(QString(100, 'M'));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(width + 200, 500);
    QCoreApplication::processEvents();
    seen("wide enough, fixed",
         QString("%1 %2 %3")
             .arg(width >= vxe::TwipsToPixels(window, 11085))
             .arg(window.width() == width)
             .arg(txtRep->viewport()->width() - 2 * txtRep->document()->documentMargin() >= line));
    // Saved as it is, under the set's name.
    const std::string file = editor.temp.Str() + "/SAVED.TXT";
    editor.ui.fileAnswers = {file};
    seen("saved", window.cmdSave_Click())(
        "as made", vx::test::ReadFileBytes(file) == std::vector<std::uint8_t>(report.begin(), report.end()));
    seen("offered name", editor.ui.fileRequests.at(0).initialName);
    // Printed with the heading; the title stands on the fifth line of the page: four empty lines come first.
    const QString pdf = QString::fromStdString(editor.temp.Str()) + "/report.pdf";
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(pdf);
    seen("printed", window.cmdPrint_Click())("said", editor.ui.TakeTranscript());
    const QStringList pages = PdfText(pdf, {"-layout"}).split('\f', Qt::SkipEmptyParts);
    seen("more than a page", pages.size() > 1);
    for (const QString& text : pages[0].split('\n').mid(0, 12)) seen("page 1", text.simplified());
    seen("calls heading printed", pages.join("").contains("CALLS to User ARRANGEMENTS in NEWSET01"));
    const QString boxes = PdfText(pdf, {"-bbox", "-f", "1", "-l", "1"});
    auto top = [&](const QString& word) {
        const auto match = QRegularExpression("yMin=\"([0-9.]+)\"[^>]*>" + word + "<").match(boxes);
        return match.hasMatch() ? match.captured(1).toDouble() : -1.0;
    };
    const double title = top("Vemo-x50"), lineHeight = (top("NEWSET01") - title) / 3;
    const double margin = window.Printer().pageLayout().paintRect(QPageLayout::Point).top();
    seen("title on line", title > 0 && lineHeight > 0 ? int((title - margin) / lineHeight) + 1 : -1);

    // Call lines longer than the paper go on under their item.
    const std::pair<QString, int> lines[] = {
        {"F11: A11 Upper1, A12 Upper2, A13 Lower", 20}, {QString(25, 'x'), 10}, {QString(100, '_'), 100}, {"", 100}};
    for (const auto& [text, columns] : lines)
        seen(QString("%1 in %2").arg(text).arg(columns), vxe::PrintedLines(text, columns));
    // A program called 20 times: 174 characters on one line, every caller on paper.
    QStringList callers;
    for (int i = 0; i < 20; ++i) callers << QString("C%1%2 Upper1").arg(1 + i / 8).arg(1 + i % 8);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(vxe::PrintReportText("CALLS\nF11: " + callers.join(", ") + "\n", vxe::FixedPitchFont(), printer));
    const QString text = PdfText(pdf, {"-layout"});
    for (const QString& caller : callers) QVERIFY2(text.contains(caller), qPrintable(caller + " missing in:\n" + text));
    seen.Check();
}

void UtilitiesTest::entriesReportCheckAndSend() {
    Editor editor;
    Observed seen("utilities");
    editor.Data().arr.arr[0].SetName("POP");
    editor.Data().arr.arr[0].SetStyle(vx::StyNumberOfUserIndex(1));
    vxe::FDoc& doc = editor.Open();
    // Each tab: the entries enabled (E), disabled (d) or hidden (-). The subset report exists for tabs 0 to 2 only.
    for (int tab = 0; tab < 6; ++tab) {
        Tabs(doc, tab);
        QString shown;
        for (const char* name : {"mnuUReport", "mnuUSSRep", "mnuUSwapPreset", "mnuUExPreset", "mnuUCheck",
                                 "mnuUMidStup", "mnuUMidSend", "mnuUSysex2File"}) {
            auto* action = Child<QAction>(doc, name);
            shown += !action->isVisible() ? "-" : action->isEnabled() ? "E" : "d";
        }
        seen(QString("tab %1").arg(tab), shown);
    }
    vxe::FReport* report = doc.mnuUReport_Click();
    QVERIFY(report != nullptr && report->isVisible());
    seen("report", report->windowTitle())("progress", editor.ui.progressTitles.back());
    report->close();

    // SysEx files: the tab's kind, named by the chooser (what the file holds: see item_file_test).
    const std::string file = editor.temp.Str() + "/KBD.SYX";
    editor.ui.fileAnswers.push_back(file);
    Child<QAction>(doc, "mnuUSysex2File")->trigger();
    seen("SysEx file asks", editor.ui.fileRequests.at(0).title)("written", std::filesystem::exists(file));
    // On the style tab a preset style names no block of the set.
    Tabs(doc, 1);
    doc.GoToNumber(vx::BankedKind::Style, 5);
    Child<QAction>(doc, "mnuUSysex2File")->trigger();
    seen("preset style", editor.ui.Last().text)("file requests", editor.ui.fileRequests.size());

    // Check Set lists the findings and checks again.
    Child<QAction>(doc, "mnuUCheck")->trigger();
    auto* window = Child<vxe::FCheck>(doc, "FCheck");
    auto* list = Child<QTreeWidget>(*window, "lstCheck");
    seen("check", window->windowTitle() + "|" + Shown(*window, {"lblCheck"}));
    for (int c = 0; c < 3; ++c) seen("finding", list->topLevelItem(0)->text(c));
    // A double-click on the finding shows the arrangement it names.
    auto* tabs = Tabs(doc, 4);
    Q_EMIT list->itemDoubleClicked(list->topLevelItem(0), 0);
    seen("shown", QString("tab %1, %2").arg(tabs->currentIndex()).arg(doc.CurrentNumber(vx::BankedKind::Arrangement)));
    editor.Data().arr.arr[0].SetStyle(0);
    Child<QPushButton>(*window, "cmdRecheck")->click();
    seen("checked again", Shown(*window, {"lblCheck"}))("findings", list->topLevelItemCount());
    window->close();
    // The item a finding names, if it names one: its kind and slot.
    for (const char* item : {"Arrangement C11 'POP'", "Style C12 'Funk'", "KBD Set 12", "Event memory",
                             "Style block C11-C14", "Arrangement Z99 'X'"}) {
        const auto found = vxe::FindingItem(item);
        seen(item, found ? QString("%1 %2").arg(vx::KindIndex(found->first)).arg(found->second) : "none");
    }

    // Send follows the last MIDI Setup and reaches the instrument.
    Tabs(doc, 2);
    Instrument device(7);
    vxe::UseMidiPortsForTesting(editor.ui, device.ports, device.clock);
    ModalAnswerer answerer;
    QString button = "cmdOK";
    answerer.onDialog = [&button](QWidget* dialog) { Child<QPushButton>(*dialog, qPrintable(button))->click(); };
    auto* send = Child<QAction>(doc, "mnuUMidSend");
    Child<QAction>(doc, "mnuUMidStup")->trigger();
    seen("dialogs", answerer.dialogTitles)("send on", send->isEnabled());
    editor.ui.AnswerTo(vx::QuestionId::SendDump, vx::Answer::OK);
    send->trigger();
    seen("dumps", device.instrument.Dumps().size())("function", device.instrument.Dumps().at(0).functionCode);
    seen("device byte", int(device.ports.sent.back()[2]))("send on", send->isEnabled());
    // Cancel leaves no instrument detected, whatever an earlier setup found.
    button = "cmdCancel";
    Child<QAction>(doc, "mnuUMidStup")->trigger();
    seen("dialogs", answerer.dialogTitles)("send on", send->isEnabled())("ready",
                                                                         vxe::ProgramMidiLink(editor.ui).ready);
    seen.Check();
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
    seen.Check();
}

QTEST_MAIN(UtilitiesTest)
#include "utilities_test.moc"
