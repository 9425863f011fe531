#pragma once

#include <QDialog>

namespace vx {
class MidiLink;
struct MidiPortLists;
}  // namespace vx

class QComboBox;
class QPushButton;

namespace vxe {

// MIDI Setup: the output and input the instrument is on. OK runs the detection on them.
class FMidStup : public QDialog {
    Q_OBJECT

public:
    FMidStup(vx::MidiLink& link, const vx::MidiPortLists& lists, QWidget* parent = nullptr);

private:
    void cmdOK_Click();

    vx::MidiLink& link_;
    QComboBox* cboMidOut_ = nullptr;
    QComboBox* cboMidIn_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

// The setup as the menu runs it: lists the ports (telling the user when there are none), shows
// the dialog, and leaves link.ready true only after a successful detection.
void MidiSetup(vx::MidiLink& link, QWidget* parent);

}  // namespace vxe
