// vx50 --help, each command's own --help and the manual's section on vx50 describe every command
// with the same one line, so that none of the three can drift from the others.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/TestPaths.h"

namespace vx {
namespace {

struct Output {
    int status = -1;
    std::string text;
};

Output RunVx50(const std::string& arguments) {
    const std::string command = test::ProgramDir() + "/vx50 " + arguments + " 2>&1";
    Output output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.text.append(buffer, got);
    const int raw = ::pclose(pipe);
    output.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

// The commands and their descriptions as the tool's own help lists them.
std::map<std::string, std::string> ListedCommands(const std::string& help) {
    std::map<std::string, std::string> commands;
    const auto section = help.find("\nSubcommands:\n");
    if (section == std::string::npos) return commands;
    const std::regex line(R"(^  ([a-z][a-z-]*) +(\S.*)$)");
    std::size_t start = section + 14;
    while (start < help.size()) {
        const std::size_t end = std::min(help.find('\n', start), help.size());
        const std::string text = help.substr(start, end - start);
        std::smatch match;
        if (!std::regex_match(text, match, line)) break;
        commands[match[1]] = match[2];
        start = end + 1;
    }
    return commands;
}

// The manual's section on vx50 as plain text: tags dropped, entities read, blanks collapsed.
std::string ManualSection() {
    const auto bytes = test::ReadFileBytes(std::string(VX_SOURCE_DIR) + "/data/manual/index.html");
    const std::string html(bytes.begin(), bytes.end());
    const auto start = html.find("<h2 id=\"vx50\">");
    if (start == std::string::npos) return {};
    const auto end = std::min(html.find("<h2", start + 1), html.find("</body>", start));
    std::string text = std::regex_replace(html.substr(start, end - start), std::regex("<[^>]*>"), " ");
    for (const auto& [entity, character] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&minus;", "-"}, {"&amp;", "&"}})
        text = std::regex_replace(text, std::regex(entity), character);
    return std::regex_replace(text, std::regex(R"(\s+)"), " ");
}

TEST(Vx50Help, EveryCommandSaysTheSameInTheToolsHelpItsOwnHelpAndTheManual) {
    const Output help = RunVx50("--help");
    ASSERT_EQ(help.status, 0) << help.text;
    const auto commands = ListedCommands(help.text);

    // Every command group is listed, the MIDI commands among the others.
    std::string names;
    for (const char* name :
         {"info",  "new",        "save-as",      "import", "copy",          "move",          "delete", "insert",
          "cut",   "erase-bank", "paste-xstyle", "report", "subset-report", "export-preset", "show",   "rename",
          "ports", "detect",     "sysex",        "send",   "check",         "restore",       "batch"})
        if (commands.count(name) == 0) names += std::string(name) + " ";
    EXPECT_EQ(names, "") << "missing from vx50 --help:\n" << help.text;
    EXPECT_EQ(commands.at("sysex"), "writes the dump of one kind of a set to a .SYX file");

    const std::string manual = ManualSection();
    ASSERT_NE(manual, "");
    for (const auto& [name, description] : commands) {
        SCOPED_TRACE(name);
        const Output own = RunVx50(name + " --help");
        EXPECT_EQ(own.status, 0);
        EXPECT_EQ(own.text.substr(0, own.text.find('\n')), description);
        EXPECT_NE(manual.find("vx50 " + name + " "), std::string::npos) << "the manual has no row for vx50 " << name;
        EXPECT_NE(manual.find(description), std::string::npos) << "the manual does not say: " << description;
    }
}

}  // namespace
}  // namespace vx
