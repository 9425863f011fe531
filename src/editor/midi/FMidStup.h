#pragma once

#include <QDialog>
#include <string>

namespace vx {
class MidiLink;
struct MidiPortLists;
}  // namespace vx

class QComboBox;
class QPushButton;

namespace vxe {

// MIDI Setup: the output and input the instrument is on, and the interface they belong to.
// OK runs the detection on them. Without ports the dialog still opens and says what to do.
class FMidStup : public QDialog {
    Q_OBJECT

public:
    FMidStup(vx::MidiLink& link, const vx::MidiPortLists& lists, const std::string& problem, QWidget* parent = nullptr);

private:
    void cmdOK_Click();

    vx::MidiLink& link_;
    QComboBox* cboMidOut_ = nullptr;
    QComboBox* cboMidIn_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

// The setup as the menu runs it: lists the ports, shows the dialog (with what to do when there
// are none), and leaves link.ready true only after a successful detection.
void MidiSetup(vx::MidiLink& link, QWidget* parent);

}  // namespace vxe
