#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/changes/ChangeFeed.h"
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
    std::vector<std::string> events;  // notices and followed changes, as "KindChanged 1 0"
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
    // What the person saw since the last call, one line each, and the events: a message as
    // "[title, icon, buttons, default] text" with its line breaks as "\n". Both lists are emptied.
    std::string TakeTranscript();

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

    void Notice(const std::string& text) override { events.push_back("Notice " + text); }
    // From now on the feed's changes are events too, one a kind: "KindChanged 1 0", "Undo 1 on".
    void Follow(ChangeFeed& feed);

private:
    int NextPick(PickCall call);

    ChangeFeed::Subscription changes_;
    std::map<QuestionId, std::deque<Answer>> answers_;
};

}  // namespace vx::test
