// vx50: the command-line tool. Works on set directories with the same code as the editor.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "BatchCommands.h"
#include "CheckCommands.h"
#include "CliContext.h"
#include "Commands.h"
#include "LibraryCommands.h"
#include "MidiCommands.h"
#include "ReportCommands.h"
#include "core/storage/DataDirectory.h"

namespace fs = std::filesystem;

namespace {

std::string ProgramDirectory(const char* argv0) {
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0, error);
    return self.parent_path().string();
}

}  // namespace

int main(int argc, char** argv) {
    vxcli::CliContext context(vx::FindDataDirectory(ProgramDirectory(argv[0])));
    CLI::App app("Works on Vemo-x50 sets: directories NAME.SET holding the eight files of a set.", "vx50");
    app.set_version_flag("--version", std::string("vx50 ") + VX_VERSION_TEXT);
    app.add_flag("--yes", context.ui.answerYes,
                 "answer questions with Yes/OK (for example to overwrite an existing set)");
    app.add_flag("--follow-links", context.ui.followLinks,
                 "save through an item file that is a link leading outside its set directory or nowhere");
    app.fallthrough();
    app.require_subcommand(1);
    vxcli::AddSetCommands(app, context);
    vxcli::AddEditCommands(app, context);
    vxcli::AddBatchCommand(app, context);
    vxcli::ReportContext reports{context.ui, [&context](const std::string& path, const vxcli::SetWork& work) {
                                     const int set = context.OpenExisting(path);
                                     return set ? work(*context.Session(), set) : vxcli::kExitFailure;
                                 }};
    vxcli::AddReportCommands(app, reports);
    vxcli::AddDetailCommands(app, context);
    vxcli::AddMidiCommands(app, context);
    vxcli::AddCheckCommands(app, context);
    vxcli::AddLibraryCommands(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version end well; everything else the tool did not understand is a usage error.
        const int status = app.exit(error);
        return status == 0 ? vxcli::kExitSuccess : vxcli::kExitUsage;
    }
    // Only the command that ran set its status.
    return context.exitStatus != vxcli::kExitSuccess ? context.exitStatus : reports.status;
}
