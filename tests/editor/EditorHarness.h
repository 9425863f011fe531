// What the editor tests share: a session on the shipped template with its sets in their windows,
// a shell that records what the windows ask of it, an installation to start the whole program in,
// an answerer for the modal windows the editor shows, and what a test saw, compared with a file.
#pragma once

#include <QtWidgets>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "core/editing/EditScheme.h"
#include "core/storage/Session.h"
#include "editor/document/FDoc.h"
#include "editor/shell/EditActions.h"
#include "editor/shell/FMain.h"
#include "editor/shell/ShellServices.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vxt {

template <typename T>
T* Child(QObject& parent, const char* name) {
    if (T* child = parent.findChild<T*>(name)) return child;
    qFatal("no child %s", name);
}

inline QString Name16(const QString& name) { return name.leftJustified(16); }
QString Text(QAbstractItemView* view, int row, int column = 0);
// What the named children show, joined by "|": a combo box its current text, a list its lines
// joined by "/", anything else its text. "name@N" is its entry N, "name#" its number of entries,
// "name/" its entries joined by "/", "name?" 1 when it (a widget or action) is enabled, "name*" 1 when it is checked.
QString Shown(QWidget& parent, const QStringList& names);
// Takes the steps on window w in turn, then a dialog's OK if it is still shown. Steps are
// "name=value" (or "name" alone) separated by ";". Name is a child's: an action is triggered, a
// line edit typed into (a value with a line break is pasted; "\r" is Return), a combo box or tab
// widget set to the entry numbered (none: a combo box's current one activated again), a check or
// option button set ("1"), a push button clicked, a list's row double-clicked, anything else
// double-clicked. Or name is "?" to read the children listed (see Shown), "tip" the tooltip
// shown, "close" to close w by its frame. Returns w's object name and caption, and what was
// read, joined by "|".
QString Take(QWidget& w, const QString& steps);
// The bytes of a record that differ, as "offset: before>after" in hex, or "none".
template <typename Record>
QString Changed(const Record& before, const Record& after) {
    QStringList changed;
    for (std::size_t i = 0; i < before.bytes.size(); ++i)
        if (before.bytes[i] != after.bytes[i])
            changed << QString::asprintf("%zu: %02X>%02X", i, before.bytes[i], after.bytes[i]);
    return changed.isEmpty() ? "none" : changed.join(", ");
}

// What a test observes, one "what: value" line each (line breaks as \n), compared by Check
// with tests/data/editor/NAME.txt; VX_UPDATE_GOLDEN=1 rewrites the file from what was seen.
class Observed {
public:
    explicit Observed(std::string name) : name_(std::move(name)) {}
    template <typename T>
    Observed& operator()(const QString& what, const T& value) {
        QString line = what + ": " + Str(value).replace('\r', "\\r").replace('\n', "\\n");
        for (const auto& [text, name] : hidden_) line.replace(text, name);
        lines_ << line;
        return *this;
    }
    // From now on text, as a temporary directory that differs from run to run, is written as name.
    void Hide(const QString& text, const QString& name) { hidden_.emplace_back(text, name); }
    void Check() const;

private:
    static QString Str(const QString& text) { return text; }
    static QString Str(const char* text) { return QString::fromUtf8(text); }
    static QString Str(const std::string& text) { return QString::fromStdString(text); }
    static QString Str(bool yes) { return yes ? "yes" : "no"; }
    static QString Str(const QStringList& list) { return list.join(" / "); }
    template <typename N, typename = std::enable_if_t<std::is_arithmetic_v<N>>>
    static QString Str(N number) {
        return QString::number(number);
    }
    std::string name_;
    QStringList lines_;
    std::vector<std::pair<QString, QString>> hidden_;
};

// "fits" when every column is as wide as its widest text and the columns end at the grid's edge.
QString ColumnsFit(QTableView* grid);
// The Edit menu's enabled commands, named without their "mnuE", after showing tab when given.
QString EnabledEdits(vxe::FDoc& doc, int tab = -1);
// The window's tabs, after showing tab when given.
QTabWidget* Tabs(vxe::FDoc& doc, int tab = -1);

// The main window's side of a document window: its commands are recorded by name.
class RecordingShell : public vxe::ShellServices {
public:
    QStringList calls;
    vxe::EditActions edits;
    vx::EditScheme* scheme = nullptr;
    void NewSet() override { calls << "NewSet"; }
    void OpenSet() override { calls << "OpenSet"; }
    void Exit() override { calls << "Exit"; }
    void ShowHelpContents() override { calls << "Help"; }
    void ShowTipOfTheDay() override { calls << "Tip"; }
    void ShowAbout() override { calls << "About"; }
    void ShowOptions() override { calls << "Options"; }
    void Cascade() override { calls << "Cascade"; }
    void Tile() override { calls << "Tile"; }
    void ArrangeIcons() override { calls << "ArrangeIcons"; }
    vx::EditScheme* Editing() override { return scheme; }
    QMenu* EditMenu() override { return edits.Menu(); }
};

// A session on the shipped template with new sets 1 to sets, answered by a scripted interaction.
// Without editing the shell offers no edit commands, as where they are not built.
struct Editor {
    vx::test::ScriptedInteraction ui;
    vx::Options options;
    vx::test::TempDirectory temp;
    std::unique_ptr<vx::Session> session;
    std::unique_ptr<vx::EditScheme> scheme;
    RecordingShell shell;
    std::vector<std::unique_ptr<vxe::FDoc>> docs;

    explicit Editor(int sets = 1, const vx::PresetTables& presets = {}, bool editing = true);
    ~Editor();
    vx::SetData& Data(int set = 1) { return session->Data(set); }
    // A window on set showing tab mode, filled unless told otherwise; the Edit menu acts on it.
    vxe::FDoc& Open(int set = 1, int mode = 0, bool fill = true);
    // The window the Edit menu acts on, as when it becomes the active one.
    vxe::FDoc& Activate(std::size_t window);
    QAction* Edit(const char* name) { return Child<QAction>(*shell.edits.Menu(), name); }
    void Publish(const vx::SetChange& change);
    // Saves set as DIR.SET/DIR in the temporary directory; returns the set's directory.
    std::string SaveAs(int set, const std::string& name);
};

// A program directory with a copy of the shipped data, and a settings file and sets beside it.
struct Installation {
    vx::test::TempDirectory root;
    std::filesystem::path program = root.Path() / "program";
    QString settings = QString::fromStdString((root.Path() / "settings.ini").string());

    Installation();
    QString ProgramDir() const { return QString::fromStdString(program.string()); }
    // NAME.SET among the sets, a copy of the set directory from, each file renamed.
    QString CopySet(const std::filesystem::path& from, const std::string& name) const;
    QString MakeSet(const std::string& name) const { return CopySet(program / "X50EMPTY.SET", name); }
    QSettings Store() const { return QSettings(settings, QSettings::IniFormat); }
};

// Starts main as from the command line with no tips and the sets named; returns RunStartup's code.
int Start(vxe::FMain& main, const QStringList& sets = {});

// Answers the modal windows shown while it lives, looking every 10 ms. A message box is recorded
// and clicked with the answer scripted for its question, else its default button; any other
// dialog is recorded by its title and goes to onDialog, which must close it (closed if none).
class ModalAnswerer : public QObject {
public:
    struct Box {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };
    std::vector<Box> boxes;
    std::function<void(QWidget*)> onDialog;
    QStringList dialogTitles;

    ModalAnswerer();
    // Every box asking question gets button until told otherwise.
    void AnswerTo(vx::QuestionId question, QMessageBox::StandardButton button) { answers_[question] = button; }
    // The boxes shown, each as "title|text".
    QStringList Said() const;

private:
    void Answer();
    std::map<vx::QuestionId, QMessageBox::StandardButton> answers_;
    QTimer timer_;
    QPointer<QWidget> last_;
};

}  // namespace vxt
