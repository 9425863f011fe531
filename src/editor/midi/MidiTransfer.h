#pragma once

#include "core/catalogue/ItemKind.h"

class QWidget;

namespace vx {
class Interaction;
class MidiBackend;
class MidiClock;
class MidiLink;
class Session;
}  // namespace vx

namespace vxe {

// The program's one MIDI connection: the chosen ports and the detected instrument stay for
// the whole run, shared by every set window. ui is the interaction of the window that asks.
vx::MidiLink& ProgramMidiLink(vx::Interaction& ui);
// Starts the program's connection afresh on other ports, for tests without MIDI hardware.
void UseMidiPortsForTesting(vx::Interaction& ui, vx::MidiBackend& backend, vx::MidiClock& clock);

// The send commands of the document windows and of the parameter dialogs. Send runs the MIDI
// setup first when no detection has succeeded; styleSlot (0-47) picks the style block.
void SendKindToInstrument(vx::Session& session, int set, vx::ItemKind kind, int styleSlot, QWidget* parent);
void SendKindToSysExFile(vx::Session& session, int set, vx::ItemKind kind, int styleSlot);
// The MIDI Setup menu entry; true when the instrument was detected.
bool RunMidiSetup(vx::Session& session, QWidget* parent);

}  // namespace vxe
