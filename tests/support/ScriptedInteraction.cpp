#include "support/ScriptedInteraction.h"

namespace vx::test {

namespace {
class NullProgress : public ProgressWindow {
public:
    void SetValue(double) override {}
};
// The next scripted answer, taken from the queue, or `none` when none is left.
template <typename T>
T Next(std::deque<T>& answers, T none) {
    if (answers.empty()) return none;
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
}  // namespace

std::vector<std::string> ScriptedInteraction::Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

std::string ScriptedInteraction::TakeTranscript() {
    static const char* const kIcons[] = {"no icon", "critical", "question", "exclamation", "information"};
    static const char* const kButtons[] = {"OK", "OKCancel", "YesNo", "YesNoCancel", "ReloadOverwriteCancel"};
    static const char* const kAnswers[] = {"OK", "Cancel", "Yes", "No", "Reload", "Overwrite"};
    std::string text;
    for (const Message& m : messages) {
        text += "  [" + m.title + ", " + kIcons[static_cast<int>(m.icon)] + ", " +
                kButtons[static_cast<int>(m.buttons)] + ", " + kAnswers[static_cast<int>(m.defaultButton)] + "] ";
        for (char c : m.text) text += c == '\n' ? std::string("\\n") : std::string(1, c);
        text += "\n";
    }
    for (const std::string& event : events) text += "  " + event + "\n";
    messages.clear();
    events.clear();
    return text;
}

Answer ScriptedInteraction::ShowMessage(const Message& message) {
    messages.push_back(message);
    return Next(answers_[message.question],
                message.buttons == MessageButtons::OK ? Answer::OK : message.defaultButton);
}

int ScriptedInteraction::NextPick(PickCall call) {
    picks.push_back(std::move(call));
    return Next(pickAnswers, -1);
}

int ScriptedInteraction::PickArrangement(int set, int start, const std::string& addition) {
    return NextPick({"Arrangement", set, start, addition, {}});
}
int ScriptedInteraction::PickStyle(int set, int start, const std::string& addition) {
    return NextPick({"Style", set, start, addition, {}});
}
int ScriptedInteraction::PickProgram(int set, int start, const std::string& addition) {
    return NextPick({"Program", set, start, addition, {}});
}
int ScriptedInteraction::PickNote(const std::string& caption, const std::string& /*label*/,
                                  const std::vector<std::string>& entries, int preselected) {
    return NextPick({"Note", 0, preselected, caption, entries});
}
int ScriptedInteraction::PickMidiChannel(const std::string& caption, const std::vector<std::string>& entries,
                                         int preselected) {
    return NextPick({"MidiChannel", 0, preselected, caption, entries});
}
int ScriptedInteraction::PickPresetBank(const std::string& caption, const std::vector<std::string>& entries,
                                        int preselected) {
    return NextPick({"PresetBank", 0, preselected, caption, entries});
}

std::optional<std::string> ScriptedInteraction::ChooseOpenFile(const FileRequest& request) {
    fileRequests.push_back(request);
    return Next(fileAnswers, std::optional<std::string>());
}
std::optional<std::string> ScriptedInteraction::ChooseSaveFile(const FileRequest& request) {
    return ChooseOpenFile(request);
}

std::string ScriptedInteraction::ChooseSetToOpen() {
    events.push_back("ChooseSetToOpen");
    return Next(setAnswers, std::string());
}
std::string ScriptedInteraction::ChooseSetDestination(const std::string& proposedName) {
    events.push_back("ChooseSetDestination " + proposedName);
    return Next(setAnswers, std::string());
}

std::unique_ptr<ProgressWindow> ScriptedInteraction::BeginProgress(const std::string& title, const std::string& text,
                                                                   double, double) {
    progressTitles.push_back(text.empty() ? title : title + " | " + text);
    return std::make_unique<NullProgress>();
}

void ScriptedInteraction::Follow(ChangeFeed& feed) {
    changes_ = feed.Subscribe([this](const SetChange& change) {
        static const char* const kWhat[] = {"SetOpened ", "SetRenamed ", "SetClosed ", "", "Undo "};
        std::string set = kWhat[static_cast<int>(change.what)] + std::to_string(change.set);
        if (change.what == SetChange::What::UndoAvailability) set += change.undoAvailable ? " on" : " off";
        if (change.what != SetChange::What::Items) return events.push_back(set);
        for (int k = 0; k < kSetKindCount; ++k)
            if (change.Names(KindFromIndex(k)))
                events.push_back((change.item == SetChange::kWholeKind ? "KindChanged " : "ItemChanged ") + set + " " +
                                 std::to_string(k) +
                                 (change.item == SetChange::kWholeKind ? "" : " " + std::to_string(change.item)));
    });
}

}  // namespace vx::test
