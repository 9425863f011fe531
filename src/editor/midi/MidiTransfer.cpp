#include "editor/midi/MidiTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QObject>

#include "RtMidiDevices.h"
#include "core/interaction/Interaction.h"
#include "core/midi/MidiDump.h"
#include "core/midi/MidiLink.h"
#include "core/storage/Session.h"
#include "editor/midi/FMidStup.h"

namespace vxe {

namespace {

// A dump holds one block of user styles, so a preset style says nothing about which.
bool StyleChosen(vx::Interaction& ui, vx::ItemKind kind, int styleSlot) {
    if (kind != vx::ItemKind::Style || styleSlot >= 0) return true;
    ui.ShowMessage({"Select a user style (bank C): its block of four styles is sent.", "", vx::MessageIcon::Exclamation,
                    vx::MessageButtons::OK, vx::Answer::OK});
    return false;
}

// Lives as long as the application, so that the ports and the log close with it.
class ProgramMidi : public QObject {
public:
    ProgramMidi(vx::Interaction& ui, vx::MidiBackend* backend, vx::MidiClock& clock)
        : QObject(QCoreApplication::instance()),
          devices("vxeditr"),
          link(backend ? *backend : devices, ui, clock, QDir::currentPath().toStdString()) {
        setObjectName("ProgramMidi");
    }
    vxm::RtMidiDevices devices;
    vx::MidiLink link;
};

ProgramMidi* FindProgramMidi() {
    return static_cast<ProgramMidi*>(
        QCoreApplication::instance()->findChild<QObject*>("ProgramMidi", Qt::FindDirectChildrenOnly));
}

}  // namespace

vx::MidiLink& ProgramMidiLink(vx::Interaction& ui) {
    ProgramMidi* midi = FindProgramMidi();
    if (!midi) midi = new ProgramMidi(ui, nullptr, vx::SystemMidiClock());
    midi->link.UseInteraction(ui);
    return midi->link;
}

void UseMidiPortsForTesting(vx::Interaction& ui, vx::MidiBackend& backend, vx::MidiClock& clock) {
    delete FindProgramMidi();
    new ProgramMidi(ui, &backend, clock);
}

bool RunMidiSetup(vx::Session& session, QWidget* parent) {
    vx::MidiLink& link = ProgramMidiLink(session.Ui());
    MidiSetup(link, parent);
    return link.ready;
}

void SendKindToInstrument(vx::Session& session, int set, vx::ItemKind kind, int styleSlot, QWidget* parent) {
    if (!StyleChosen(session.Ui(), kind, styleSlot)) return;
    vx::MidiLink& link = ProgramMidiLink(session.Ui());
    if (!link.ready) MidiSetup(link, parent);
    if (!link.ready) return;
    vx::SendKindToInstrument(link, session.Data(set), kind, styleSlot);
}

void SendKindToSysExFile(vx::Session& session, int set, vx::ItemKind kind, int styleSlot) {
    if (!StyleChosen(session.Ui(), kind, styleSlot)) return;
    const vx::MidiLink& link = ProgramMidiLink(session.Ui());
    vx::SaveKindToSysExFile(session.Ui(), link.header, session.Data(set), kind, styleSlot, session.Slot(set).directory);
}

}  // namespace vxe
