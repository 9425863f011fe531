#pragma once

#include <functional>
#include <string>

namespace CLI {
class App;
}
namespace vx {
class Session;
}

namespace vxcli {

class CliInteraction;

// Work on an open set; the exit status.
using SetWork = std::function<int(vx::Session&, int set)>;

// What the report and preset commands need from the tool: the interaction, and a way to run
// work on a set directory in a session on the program's catalogue and preset names (the
// failure status when the set cannot be opened).
struct ReportContext {
    CliInteraction& ui;
    std::function<int(const std::string& setPath, const SetWork& work)> withSet;
    int status = 0;  // the exit status of the command that ran
};

// report, subset-report and export-preset.
void AddReportCommands(CLI::App& app, ReportContext& context);
bool IsReportCommand(const std::string& name);

}  // namespace vxcli
