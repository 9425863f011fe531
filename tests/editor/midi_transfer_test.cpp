#include <QtTest>
#include <QtWidgets>

#include "core/midi/DumpMessage.h"
#include "core/midi/MidiLink.h"
#include "editor/document/FDoc.h"
#include "editor/midi/FMidStup.h"
#include "editor/midi/MidiTransfer.h"
#include "editor/shell/ShellServices.h"
#include "shell_modal_answerer.h"
#include "core/storage/Session.h"
#include "support/MidiLoopback.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace {

class NoShell : public vxe::ShellServices {
public:
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
};

template <typename T>
T* Child(QObject& parent, const char* name) {
    if (T* child = parent.findChild<T*>(name)) return child;
    qFatal("no child %s", name);
}

QStringList Items(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

}  // namespace

class MidiTransferTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void setupDialogDetectsTheInstrumentOnTheChosenPorts() {
        vxi::InstrumentOptions options;
        options.deviceId = 5;
        vxi::SimulatedInstrument instrument(options);
        vx::test::FakeClock clock;
        vx::test::LoopbackPorts ports(instrument, clock);
        vx::test::ScriptedInteraction ui;
        vx::test::TempDirectory logDir;
        vx::MidiLink link(ports, ui, clock, logDir.Str());
        vx::MidiPortLists lists;
        QVERIFY(link.ListPorts(lists));

        vxe::FMidStup dialog(link, lists, "");
        QCOMPARE(dialog.windowTitle(), QString("MIDI Setup"));
        QStringList labels;
        for (auto* label : dialog.findChildren<QLabel*>()) labels << label->text();
        QCOMPARE(labels, (QStringList{"MIDI Out Device", "MIDI In Device", "MIDI interface: Loopback"}));
        auto* out = Child<QComboBox>(dialog, "cboMidOut");
        QCOMPARE(Items(out), (QStringList{"Midi Through", "Vemo-x50 Simulator:in"}));
        QCOMPARE(out->currentIndex(), 1);
        QCOMPARE(Child<QComboBox>(dialog, "cboMidIn")->currentIndex(), 0);
        QCOMPARE(Child<QPushButton>(dialog, "cmdCancel")->text(), QString("&Cancel"));

        Child<QPushButton>(dialog, "cmdOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(link.ready);
        QCOMPARE(int(link.header.bytes[2]), 0x35);
        QCOMPARE(link.outputIndex, 1);
        QVERIFY(ui.messages.empty());
    }

    // Without ports (no ALSA sequencer, no JACK server) the dialog still opens and says what to do.
    void setupWithoutPortsOpensAndSaysWhatToDo() {
        vxi::SimulatedInstrument instrument({});
        vx::test::FakeClock clock;
        vx::test::LoopbackPorts ports(instrument, clock);
        ports.interfaceName.clear();
        ports.outputs.clear();
        ports.inputs.clear();
        ports.libraryMessages = {"RtMidi: MidiOutAlsa::initialize: error creating ALSA sequencer client object."};
        vx::test::ScriptedInteraction ui;
        vx::test::TempDirectory logDir;
        vx::MidiLink link(ports, ui, clock, logDir.Str());
        ModalAnswerer answerer;
        QString problem;
        bool okEnabled = true;
        answerer.onDialog = [&](QWidget* dialog) {
            problem = Child<QLabel>(*dialog, "lblProblem")->text();
            okEnabled = Child<QPushButton>(*dialog, "cmdOK")->isEnabled();
            QCOMPARE(Child<QLabel>(*dialog, "lblInterface")->text(), QString("MIDI interface: none opened"));
            Child<QPushButton>(*dialog, "cmdCancel")->click();
        };
        vxe::MidiSetup(link, nullptr);
        QCOMPARE(answerer.dialogTitles, QStringList{"MIDI Setup"});
        const QString log = QString::fromStdString((logDir.Path() / "VXEDITR.LOG").string());
        QCOMPARE(problem,
                 "No MIDI driver is present\n\nLoad the ALSA sequencer (modprobe snd-seq) or start a JACK "
                 "server, then open MIDI Setup again. What the MIDI interfaces reported is in " +
                     log + ".");
        QVERIFY(!okEnabled);
        QVERIFY(ui.messages.empty());
        const vx::Bytes logged = vx::test::ReadFileBytes(log.toStdString());
        QCOMPARE(
            QString::fromLatin1(reinterpret_cast<const char*>(logged.data()), int(logged.size())),
            QString("Vemo-x50 File Editor v.1.0.6\r\nMIDI Setup: No MIDI driver is present (interface: none "
                    "opened)\r\nRtMidi: MidiOutAlsa::initialize: error creating ALSA sequencer client object.\r\n"));
        QVERIFY(!link.ready);
    }

    void utilitiesWriteTheCurrentTabsKindToASysExFile() {
        vx::test::ScriptedInteraction ui;
        vx::Options options;
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        QVERIFY(catalogue.has_value());
        vx::Session session(std::move(*catalogue), {}, options, ui);
        const int set = session.OpenOrNewSet(true, "");
        QVERIFY(set > 0);
        NoShell shell;
        options.ModeId = 5;
        vxe::FDoc doc(session, shell, set);
        doc.Fill();

        QStringList enabled;
        for (QAction* action : doc.findChild<QMenu*>("mnuUtil")->actions())
            if (!action->isSeparator() && action->isEnabled()) enabled << action->objectName();
        QCOMPARE(enabled, (QStringList{"mnuUReport", "mnuUCheck", "mnuUMidStup", "mnuUMidSend", "mnuUSysex2File"}));

        vx::test::TempDirectory dir;
        const std::string file = (dir.Path() / "KBD.SYX").string();
        ui.fileAnswers.push_back(file);
        Child<QAction>(doc, "mnuUSysex2File")->trigger();
        vx::Bytes expected;
        std::string error;
        QVERIFY(vx::BuildDumpMessage(session.Data(set), vx::ItemKind::KbdSet, 0, vx::SysExHeader{}, expected, error));
        QVERIFY(vx::test::ReadFileBytes(file) == expected);
        QCOMPARE(QString::fromStdString(ui.fileRequests.at(0).title), QString("Save KBD Set to SysEx File..."));

        // On the style tab a preset style names no block of the set.
        doc.findChild<QTabWidget*>("tabMode")->setCurrentIndex(1);
        doc.GoToNumber(vx::BankedKind::Style, 5);
        Child<QAction>(doc, "mnuUSysex2File")->trigger();
        QCOMPARE(QString::fromStdString(ui.Last().text),
                 QString("Select a user style (bank C): its block of four styles is sent."));
        QCOMPARE(ui.fileRequests.size(), std::size_t(1));
    }

    void sendFollowsTheLastSetupAndReachesTheInstrument() {
        vx::test::ScriptedInteraction ui;
        vx::Options options;
        auto catalogue = vx::InitCatalogue(vx::test::ProgramDir(), nullptr, ui);
        QVERIFY(catalogue.has_value());
        vx::Session session(std::move(*catalogue), {}, options, ui);
        const int set = session.OpenOrNewSet(true, "");
        options.ModeId = 2;
        NoShell shell;
        vxe::FDoc doc(session, shell, set);
        doc.Fill();
        vxi::InstrumentOptions instrumentOptions;
        instrumentOptions.deviceId = 7;
        vxi::SimulatedInstrument instrument(instrumentOptions);
        vx::test::FakeClock clock;
        vx::test::LoopbackPorts ports(instrument, clock);
        vxe::UseMidiPortsForTesting(ui, ports, clock);

        ModalAnswerer answerer;
        QString button = "cmdOK";
        answerer.onDialog = [&button](QWidget* dialog) { Child<QPushButton>(*dialog, qPrintable(button))->click(); };
        auto* send = Child<QAction>(doc, "mnuUMidSend");
        Child<QAction>(doc, "mnuUMidStup")->trigger();
        QCOMPARE(answerer.dialogTitles, QStringList{"MIDI Setup"});
        QVERIFY(send->isEnabled());

        ui.AnswerTo(vx::QuestionId::SendDump, vx::Answer::OK);
        send->trigger();
        QCOMPARE(instrument.Dumps().size(), std::size_t(1));
        QCOMPARE(instrument.Dumps()[0].functionCode, 0x4C);
        QCOMPARE(int(ports.sent.back()[2]), 0x37);
        QVERIFY(send->isEnabled());

        // Cancel leaves no instrument detected, whatever an earlier setup found.
        button = "cmdCancel";
        Child<QAction>(doc, "mnuUMidStup")->trigger();
        QCOMPARE(answerer.dialogTitles.size(), 2);
        QVERIFY(!send->isEnabled());
        QVERIFY(!vxe::ProgramMidiLink(ui).ready);
    }
};

QTEST_MAIN(MidiTransferTest)
#include "midi_transfer_test.moc"
