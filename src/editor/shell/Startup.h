#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "core/details/ItemAddress.h"

namespace vx {
class Interaction;
class Session;
struct Options;
}  // namespace vx

namespace vxe {

class FMain;

struct StartupArgs {
    QStringList setPaths;    // absolute: the program directory becomes the current one later
    QStringList typedPaths;  // the same as typed, for messages
    QString screenshotFile;  // absolute; empty: a normal run
    // What a screenshot shows: the tab (-1: the ModeId setting), the bank letter of a bank tab
    // (empty: the tab's first user bank), twin view, and the main window's size.
    int tab = -1;
    QString bank;
    bool twin = false;
    QSize size;
    QString dialog;  // with --screenshot: the dialog to render instead of the main window
    bool noTips = false;
    bool showVersion = false;
    bool showHelp = false;
    QString error;  // a bad command line
};

// The command line after the program's name: set directories, --screenshot FILE with --tab
// NAME, --bank LETTER, --twin, --size WIDTHxHEIGHT and --dialog WHAT, --no-tips, --version,
// --help. Relative paths are taken from currentDir.
StartupArgs ParseArguments(const QStringList& arguments, const QString& currentDir);
QString UsageText();

// The warning for screens below 800 x 600; false when the user chooses to end.
bool ScreenCheck(vx::Interaction& ui, const QSize& screen);

// The catalogue from the template set and the preset names; nullptr after the messages when
// either cannot be read (the program then ends with exit code 1).
std::unique_ptr<vx::Session> CreateSession(const QString& programDir, vx::Options& options, vx::Interaction& ui);

// Why a set directory named on the command line cannot be opened ("" when it may be): it does
// not exist, or it holds none of a set's files. The path is shown as typed.
QString CommandLineSetProblem(const QString& path, const QString& typed);

// The start of the program, up to the first sets opened. Returns -1 when the program goes on
// running, else its exit code.
int RunStartup(FMain& main, const StartupArgs& args);

// The item of a --dialog argument: "global", "arrangement-global" or "details:" and an item.
std::optional<vx::ItemAddress> DialogAddress(const QString& dialog);

// After the first paint, the main window (or, with a window named, that window: a dialog or the
// report of the first open set, MIDI Setup, Options, About or the tip of the day) is saved to
// file as PNG and the program ends (exit code 0, or 1 when the file cannot be written or the
// window cannot be shown).
void ScheduleScreenshot(FMain& main, const QString& file, const QString& dialog = {});

}  // namespace vxe
