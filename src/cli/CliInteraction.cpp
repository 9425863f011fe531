#include "CliInteraction.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "core/text/NameText.h"

namespace vxcli {

namespace {
class SilentProgress : public vx::ProgressWindow {
public:
    void SetValue(double) override {}
};
}  // namespace

void CliInteraction::Notice(const std::string& text) {
    if (keptMessages != nullptr)
        keptMessages->push_back(text);
    else
        std::cerr << vx::NameTextToUtf8(text) << '\n';
}

vx::Answer CliInteraction::ShowMessage(const vx::Message& message) {
    std::string text = message.text;
    // A message that ends in its (empty) detail line would leave a blank line on the terminal.
    while (!text.empty() && text.back() == '\n') text.pop_back();
    // A set changed on disk by another program is never overwritten from the command line: the
    // fact is told and the save refused.
    if (message.buttons == vx::MessageButtons::ReloadOverwriteCancel) {
        const std::string told = text.substr(0, text.find('\n')) + " Nothing was saved.";
        if (keptMessages != nullptr)
            keptMessages->push_back(told);
        else
            std::cerr << vx::NameTextToUtf8(told) << '\n';
        return vx::Answer::Cancel;
    }
    if (keptMessages != nullptr)
        keptMessages->push_back(text);
    else
        std::cerr << vx::NameTextToUtf8(text) << '\n';
    if (text.find(" is referenced by") != std::string::npos) return redirectTo >= 0 ? vx::Answer::Yes : vx::Answer::No;
    if (text.find("' non-existent in '") != std::string::npos)
        return failOnMissing ? vx::Answer::Cancel : vx::Answer::No;
    if (text.rfind("Insert ", 0) == 0 && message.buttons == vx::MessageButtons::YesNo) return vx::Answer::Yes;
    switch (message.buttons) {
        case vx::MessageButtons::OK:
            return vx::Answer::OK;
        case vx::MessageButtons::OKCancel:
            return answerYes ? vx::Answer::OK : message.defaultButton;
        case vx::MessageButtons::YesNo:
        case vx::MessageButtons::YesNoCancel:
            return answerYes ? vx::Answer::Yes : message.defaultButton;
        case vx::MessageButtons::ReloadOverwriteCancel:
            break;
    }
    return message.defaultButton;
}

vx::LinkWrite CliInteraction::AskAboutLink(const vx::Message& question) {
    if (followLinks) return vx::LinkWrite::WriteThrough;
    // The question's first line names the link and where it leads.
    std::cerr << "Not saved: " << question.text.substr(0, question.text.find('\n'))
              << " --follow-links writes through it.\n";
    return vx::LinkWrite::Cancel;
}

std::unique_ptr<vx::ProgressWindow> CliInteraction::BeginProgress(const std::string&, const std::string&, double,
                                                                  double) {
    return std::make_unique<SilentProgress>();
}

std::optional<std::string> CliInteraction::ChooseSaveFile(const vx::FileRequest&) {
    if (saveFile.empty()) return std::nullopt;
    return saveFile;
}

void CliInteraction::Pause(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace vxcli
