#pragma once

#include <string>
#include <vector>

#include "core/interaction/Interaction.h"

namespace vxcli {

// Talks to the person through standard error. Questions take the answer given on the command
// line (--yes) or else their default button; pickers and choosers are cancelled, except the
// set destination, which the command names.
class CliInteraction : public vx::Interaction {
public:
    bool answerYes = false;
    // A save writes through a set's link that leads outside the set or nowhere only with --follow-links.
    bool followLinks = false;
    std::string destination;  // base path returned by ChooseSetDestination
    // The edit commands' questions: an item's callers are redirected (Yes) to redirectTo when it
    // is an item number, else kept (No); a call the destination set cannot satisfy is kept (No)
    // unless failOnMissing (Cancel); a drop within a set is inserted (Yes).
    int redirectTo = -1;
    bool failOnMissing = false;
    // When set, the messages' texts are kept here instead of being written to standard error.
    std::vector<std::string>* keptMessages = nullptr;
    std::string saveFile;  // file returned by ChooseSaveFile; empty: cancelled

    vx::Answer ShowMessage(const vx::Message& message) override;
    // The answer the options give to the message's question, whatever its words.
    vx::Answer AnswerFor(const vx::Message& message) const;
    vx::LinkWrite AskAboutLink(const vx::Message& question) override;
    int PickArrangement(int, int, const std::string&) override { return redirectTo; }
    int PickStyle(int, int, const std::string&) override { return redirectTo; }
    int PickProgram(int, int, const std::string&) override { return redirectTo; }
    int PickNote(const std::string&, const std::string&, const std::vector<std::string>&, int) override { return -1; }
    int PickMidiChannel(const std::string&, const std::vector<std::string>&, int) override { return -1; }
    int PickPresetBank(const std::string&, const std::vector<std::string>&, int) override { return -1; }
    std::optional<std::string> ChooseOpenFile(const vx::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const vx::FileRequest&) override;
    std::string ChooseSetToOpen() override { return {}; }
    std::string ChooseSetDestination(const std::string&) override { return destination; }
    std::unique_ptr<vx::ProgressWindow> BeginProgress(const std::string&, const std::string&, double, double) override;
    void SetBusy(bool) override {}
    void Pause(double seconds) override;
    // A notice is a message line, as the editor's status bar shows it.
    void Notice(const std::string& text) override;
};

}  // namespace vxcli
