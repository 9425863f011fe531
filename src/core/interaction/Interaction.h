#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/interaction/QuestionId.h"

namespace vx {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { OK, OKCancel, YesNo, YesNoCancel, ReloadOverwriteCancel };
enum class Answer { OK, Cancel, Yes, No, Reload, Overwrite };
// What a save does with an item file that is a link to something other than a file of its set
// directory, or to nothing: replace the link by a file of its own, write where it leads, or stop.
enum class LinkWrite { ReplaceLink, WriteThrough, Cancel };

// One message box as the user sees it. Line breaks inside text are "\n". A question names
// itself, so that it is answered by what it asks and not by its words.
struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::OK;
    Answer defaultButton = Answer::OK;
    QuestionId question = QuestionId::None;
};

// A file chooser's set-up. The filter is "Description|*.EXT" pairs joined by "|".
struct FileRequest {
    std::string title;
    std::string initialDirectory;
    std::string initialName;
    std::string filter;
    std::string defaultExtension;
    bool mustExist = false;
};

// A progress window; it closes when destroyed.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void SetValue(double value) = 0;
    // True once the user asked to stop (only windows opened with a Cancel button can).
    virtual bool CancelRequested() { return false; }
};

// The only way the core reaches a person. The editor implements it with dialogs, the
// command-line tool with standard error and flags, the tests with a scripted double.
class Interaction {
public:
    virtual ~Interaction() = default;

    // Modal message box; returns the button pressed (OK for a single OK button).
    virtual Answer ShowMessage(const Message& message) = 0;
    virtual void Beep() {}
    // The question a save asks before it would write through such a link; its first line names
    // the link and where it leads. By default the question box, OK replacing the link.
    virtual LinkWrite AskAboutLink(const Message& question) {
        return ShowMessage(question) == Answer::OK ? LinkWrite::ReplaceLink : LinkWrite::Cancel;
    }

    // Selection dialogs: the chosen item number, or -1 when cancelled. The caption is the
    // kind's ("Select a Program ") followed by the caption addition.
    virtual int PickArrangement(int set, int startNumber, const std::string& captionAddition) = 0;
    virtual int PickStyle(int set, int startNumber, const std::string& captionAddition) = 0;
    virtual int PickProgram(int set, int startNumber, const std::string& captionAddition) = 0;
    // Pick-one lists: the chosen entry's index, or -1 when cancelled.
    virtual int PickNote(const std::string& caption, const std::string& label, const std::vector<std::string>& entries,
                         int preselected) = 0;
    virtual int PickMidiChannel(const std::string& caption, const std::vector<std::string>& entries,
                                int preselected) = 0;
    // The preset bank dialog (label "Preset Bank"): the chosen entry's index, or -1 when cancelled.
    virtual int PickPresetBank(const std::string& caption, const std::vector<std::string>& entries,
                               int preselected) = 0;

    // File choosers: the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> ChooseOpenFile(const FileRequest& request) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileRequest& request) = 0;
    // The set dialogs: a set directory to open, or a base path (set directory, separator,
    // name) to save into; empty when cancelled.
    virtual std::string ChooseSetToOpen() = 0;
    virtual std::string ChooseSetDestination(const std::string& proposedName) = 0;

    virtual std::unique_ptr<ProgressWindow> BeginProgress(const std::string& title, const std::string& text,
                                                          double minimum, double maximum) = 0;
    // The same window with a Cancel button, for work that can stop cleanly part way.
    virtual std::unique_ptr<ProgressWindow> BeginCancellableProgress(const std::string& title, const std::string& text,
                                                                     double minimum, double maximum) {
        return BeginProgress(title, text, minimum, maximum);
    }
    virtual void SetBusy(bool busy) = 0;
    // Waits while the user interface stays alive.
    virtual void Pause(double seconds) { (void)seconds; }

    // A short notice the user need not answer (the editor's status bar, a line of the
    // command-line tool's output).
    virtual void Notice(const std::string& text) { (void)text; }
};

// Shows the busy pointer for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(Interaction& ui) : ui_(ui) { ui_.SetBusy(true); }
    ~BusyPointer() { ui_.SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Interaction& ui_;
};

}  // namespace vx
