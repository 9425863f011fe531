#pragma once

#include <QString>
#include <QStringList>

#include "core/interaction/Interaction.h"

class QWidget;

namespace vx {
class Session;
}

namespace vxe {

// The core's way to the user, through Qt's dialogs.
class QtInteraction : public vx::Interaction {
public:
    explicit QtInteraction(QWidget* mainWindow = nullptr);

    void SetSession(vx::Session* session) { session_ = session; }
    // Unattended (the screenshot run): nothing waits for a person; every message is written to
    // standard error and answered with its default button, every chooser and picker cancelled.
    void SetUnattended(bool unattended) { unattended_ = unattended; }
    bool Unattended() const { return unattended_; }

    vx::Answer ShowMessage(const vx::Message& message) override;
    vx::LinkWrite AskAboutLink(const vx::Message& question) override;
    void Beep() override;
    int PickArrangement(int set, int startNumber, const std::string& captionAddition) override;
    int PickStyle(int set, int startNumber, const std::string& captionAddition) override;
    int PickProgram(int set, int startNumber, const std::string& captionAddition) override;
    int PickNote(const std::string& caption, const std::string& label, const std::vector<std::string>& entries,
                 int preselected) override;
    int PickMidiChannel(const std::string& caption, const std::vector<std::string>& entries, int preselected) override;
    int PickPresetBank(const std::string& caption, const std::vector<std::string>& entries, int preselected) override;
    std::optional<std::string> ChooseOpenFile(const vx::FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const vx::FileRequest& request) override;
    std::string ChooseSetToOpen() override;
    std::string ChooseSetDestination(const std::string& proposedName) override;
    std::unique_ptr<vx::ProgressWindow> BeginProgress(const std::string& title, const std::string& text, double minimum,
                                                      double maximum) override;
    std::unique_ptr<vx::ProgressWindow> BeginCancellableProgress(const std::string& title, const std::string& text,
                                                                 double minimum, double maximum) override;
    void SetBusy(bool busy) override;
    void Pause(double seconds) override;

    // Shown in the main window's status bar for a while.
    void Notice(const std::string& text) override;

    // The window a dialog belongs to: the modal dialog shown, else the active window, else the main window.
    QWidget* DialogParent() const;

private:
    std::optional<std::string> ChooseFile(const vx::FileRequest& request, bool save);

    QWidget* mainWindow_;
    vx::Session* session_ = nullptr;
    bool unattended_ = false;
    int busyDepth_ = 0;
};

// "Arrangement|*.ARR" pairs to Qt's "Arrangement (*.ARR *.arr)" entries joined by ";;". Each
// pattern is offered in upper and lower case, since sets come from case-insensitive disks.
QString QtFileFilter(const std::string& filter);

}  // namespace vxe
