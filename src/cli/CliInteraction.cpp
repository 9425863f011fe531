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
    Notice(message.question == vx::QuestionId::SaveOverChangedSet
               ? text.substr(0, text.find('\n')) + " Nothing was saved."
               : text);
    return AnswerFor(message);
}

vx::Answer CliInteraction::AnswerFor(const vx::Message& message) const {
    using vx::Answer;
    using vx::QuestionId;
    // Every question is listed, so that a new one can't go without an answer of its own.
    switch (message.question) {
        case QuestionId::None:
            return message.defaultButton;
        case QuestionId::ReferencedBy:
            return redirectTo >= 0 ? Answer::Yes : Answer::No;
        case QuestionId::MissingCall:
            return failOnMissing ? Answer::Cancel : Answer::No;
        case QuestionId::InsertBefore:
            return Answer::Yes;
        case QuestionId::SaveOverChangedSet:
            return Answer::Cancel;
        case QuestionId::LinkWrite:
            return Answer::Cancel;  // asked through AskAboutLink, which --follow-links answers
        // Agreed to with --yes only; else their default button.
        case QuestionId::EraseBank:
        case QuestionId::NameInUse:
        case QuestionId::CreateMissingFile:
        case QuestionId::OverwriteSet:
        case QuestionId::SendDump:
            return answerYes ? Answer::OK : message.defaultButton;
        case QuestionId::OverwriteTemplate:
        case QuestionId::SaveChanges:
        case QuestionId::InterruptedSave:
        case QuestionId::ReloadChangedSet:
        case QuestionId::OverwriteFile:
        case QuestionId::IncludePresetArrangements:
        case QuestionId::ExportBank:
        case QuestionId::UpdatePresetList:
        case QuestionId::UpdatePresetArrangements:
        case QuestionId::SmallScreen:
            return answerYes ? Answer::Yes : message.defaultButton;
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
