#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/interaction/Interaction.h"

namespace vx::test {

// Records every message exactly as a user would see it and plays back scripted answers.
// Questions are answered by what they ask (AnswerTo), each taking the next answer scripted for
// it; a message box with no answer left gets its default button. A picker or chooser with no
// scripted answer is cancelled.
class ScriptedInteraction : public Interaction {
public:
    struct PickCall {
        std::string what;  // "Arrangement", "Style", "Program", "Note", "MidiChannel", "PresetBank"
        int set = 0;
        int start = 0;
        std::string caption;
        std::vector<std::string> entries;
    };

    std::vector<Message> messages;
    std::vector<PickCall> picks;
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> progressTitles;
    std::vector<std::string> events;  // notifications, as "KindChanged 1 0" and the like
    int beeps = 0;
    int busyDepth = 0;

    std::deque<int> pickAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::string> setAnswers;

    // The answers the question gets, in turn, the next times it is asked (instead of any left).
    void AnswerTo(QuestionId question, Answer answer) { answers_[question] = {answer}; }
    void AnswerTo(QuestionId question, std::deque<Answer> answers) { answers_[question] = std::move(answers); }
    // The texts of the messages shown so far.
    std::vector<std::string> Texts() const;
    const Message& Last() const { return messages.back(); }

    Answer ShowMessage(const Message& message) override;
    void Beep() override { ++beeps; }
    int PickArrangement(int set, int start, const std::string& addition) override;
    int PickStyle(int set, int start, const std::string& addition) override;
    int PickProgram(int set, int start, const std::string& addition) override;
    int PickNote(const std::string& caption, const std::string& label, const std::vector<std::string>& entries,
                 int preselected) override;
    int PickMidiChannel(const std::string& caption, const std::vector<std::string>& entries, int preselected) override;
    int PickPresetBank(const std::string& caption, const std::vector<std::string>& entries, int preselected) override;
    std::optional<std::string> ChooseOpenFile(const FileRequest& request) override;
    std::optional<std::string> ChooseSaveFile(const FileRequest& request) override;
    std::string ChooseSetToOpen() override;
    std::string ChooseSetDestination(const std::string& proposedName) override;
    std::unique_ptr<ProgressWindow> BeginProgress(const std::string& title, const std::string& text, double minimum,
                                                  double maximum) override;
    void SetBusy(bool busy) override { busyDepth += busy ? 1 : -1; }

    void SetOpened(int set) override { events.push_back("SetOpened " + std::to_string(set)); }
    void SetRenamed(int set) override { events.push_back("SetRenamed " + std::to_string(set)); }
    void SetClosed(int set) override { events.push_back("SetClosed " + std::to_string(set)); }
    void KindChanged(int set, ItemKind kind) override;
    void ItemChanged(int set, ItemKind kind, int number) override;
    void UndoAvailabilityChanged(int set, bool available) override;
    void Notice(const std::string& text) override { events.push_back("Notice " + text); }

private:
    int NextPick(PickCall call);

    std::map<QuestionId, std::deque<Answer>> answers_;
};

}  // namespace vx::test
