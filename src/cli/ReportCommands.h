#pragma once

#include <functional>
#include <memory>
#include <string>

namespace CLI {
class App;
}
namespace vx {
class Session;
}

namespace vxcli {

class CliInteraction;

// What the report and preset commands need from the tool: the interaction, a session on the
// program's catalogue and preset names, and a way to open a set directory (0 when it fails).
struct ReportContext {
    CliInteraction& ui;
    std::function<std::unique_ptr<vx::Session>()> startSession;
    std::function<int(vx::Session&, const std::string&)> openSet;
    int status = 0;  // the exit status of the command that ran
};

// report, subset-report and export-preset.
void AddReportCommands(CLI::App& app, ReportContext& context);
bool IsReportCommand(const std::string& name);

}  // namespace vxcli
