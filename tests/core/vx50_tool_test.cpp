// Drives the built vx50 program as a user would. Most of it is transcripts under tests/data/tool:
// each "$ " line (with its "> " continuation lines) is run by bash in a scratch directory, "@" in
// what it prints, and followed by its standard output, its standard error ("! " lines), its exit
// status and the files it wrote or removed there. "% " lines build the sets and files a
// transcript needs; "# " lines are comments. VX_UPDATE_GOLDEN=1 rewrites the transcripts. vx50 is
// the build's, $BUILT its directory, $SOURCE the source tree, $XDG_DATA_HOME the scratch data/; poke FILE AT BYTES
// [TIMES] writes BYTES (printf's escapes) TIMES over at byte AT of FILE.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "cli/CliInteraction.h"
#include "core/storage/SetData.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    const Bytes bytes = test::ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

// poke, as the header says.
const std::string kPoke =
    "poke() { printf \"$3%.0s\" $(seq ${4:-1}) | dd of=\"$1\" bs=1 seek=\"$2\" conv=notrunc status=none; }\n";

// "% WHAT PATH [ARGUMENTS]": a set directory PATH (NAME.SET) or an XStyle file PATH. A set of
// tests/data/tool/sets/WHAT.sh is an empty set changed by that script, run in its directory.
void MakeFixture(const fs::path& scratch, const std::string& line) {
    std::istringstream words(line.substr(2));
    std::string what, path, argument;
    words >> what >> path >> std::ws;
    std::getline(words, argument);
    const fs::path at = scratch / path;
    const std::string name = at.stem().string();
    if (what == "empty") return test::WriteSet(test::EmptySet(), at.string(), name);
    if (what == "random")  // SEED, and "full" for every style slot used
        return test::WriteSet(test::RandomSet(static_cast<std::uint32_t>(std::stoul(argument)),
                                              {.styleUsedPercent = argument.ends_with("full") ? 100 : 75}),
                              at.string(), name);
    const std::string script = test::SourceDir() + "/tests/data/tool/sets/" + what + ".sh";
    if (fs::exists(script)) {
        test::WriteSet(test::EmptySet(), at.string(), name);
        const std::string run = "cd " + at.string() + " && N=" + name + " bash -ec '" + kPoke + ". " + script + "'";
        ASSERT_EQ(std::system(run.c_str()), 0) << line;
        return;
    }
    if (what == "demo") {
        fs::create_directories(at);
        for (const std::string& extension : test::SetFileExtensions())
            fs::copy_file(test::SourceDir() + "/examples/DEMO.SET/DEMO" + extension, at / (name + extension));
        return;
    }
    // An XStyle file: "VEMOX", the item's name, zeros to the item's size (arr, sty, prg or kit).
    ASSERT_EQ(what, "xstyle") << line;
    std::string kind = argument.substr(0, 3), itemName = argument.substr(4);
    const std::map<std::string, std::size_t> sizes = {{"arr", ArrangementRecord::kSize},
                                                      {"sty", 70 + 8},
                                                      {"prg", ProgramRecord::kSize},
                                                      {"kit", ProgramRecord::kSize + kDrumKitDataSize}};
    Bytes bytes(5 + sizes.at(kind), 0);
    std::copy_n("VEMOX", 5, bytes.begin());
    std::copy(itemName.begin(), itemName.end(), bytes.begin() + 5);
    test::WriteFileBytes(at, bytes);
}

// What lies in the scratch directory: a link's target, "fifo", "file", or "written" for a file
// written since the last look, told by its time, which is then set far back.
std::map<std::string, std::string> Snapshot(const fs::path& scratch) {
    static const fs::file_time_type longAgo =
        std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() - std::chrono::hours(24 * 3650));
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
        std::string& kind = files[entry.path().lexically_relative(scratch).string()];
        if (entry.is_symlink())
            kind = "-> " + fs::read_symlink(entry.path()).string();
        else if (entry.is_fifo())
            kind = "fifo";
        else if (!entry.is_regular_file())
            files.erase(entry.path().lexically_relative(scratch).string());
        else if (entry.last_write_time() == longAgo)
            kind = "file";
        else {
            kind = "written";
            fs::last_write_time(entry.path(), longAgo);
        }
    }
    return files;
}

// "; new A.SET/A.{ARR,STY}, wrote B": the files of each stem grouped as bash would write them.
std::string Changes(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after) {
    std::map<std::string, std::map<std::string, std::vector<std::string>>> groups;  // how, stem, extensions
    for (const auto& [path, kind] : after) {
        const std::string was = before.count(path) ? before.at(path) : "";
        if (was.empty() || kind == "written" || kind != (was == "written" ? "file" : was))
            groups[was.empty() ? "new" : "wrote"][fs::path(path).replace_extension().string()].push_back(
                fs::path(path).extension().string());
    }
    for (const auto& [path, kind] : before)
        if (!after.count(path)) groups["removed"][path].push_back("");
    std::string text;
    for (const auto& [how, stems] : groups) {
        text += (text.empty() ? "; " : ", ") + how;
        for (const auto& [stem, extensions] : stems) {
            std::string list;
            for (const std::string& extension : extensions)
                list += (list.empty() ? "" : ",") + extension.substr(extension.empty() ? 0 : 1);
            text += " " + stem + (extensions.size() == 1 ? extensions[0] : ".{" + list + "}");
        }
    }
    return text;
}

// Control characters but line ends shown as ^X, as cat -v shows them.
std::string Visible(const std::string& text, const std::string& prefix) {
    std::string shown;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at == 0 || text[at - 1] == '\n') shown += prefix;
        const auto c = static_cast<unsigned char>(text[at]);
        if ((c < ' ' && c != '\n' && c != '\t') || c == 127)
            shown += std::string("^") + char(c ^ 64);
        else
            shown += text[at];
    }
    return shown.empty() || shown.back() == '\n' ? shown : shown + "\n[no newline]\n";
}

std::string RunTranscript(const std::string& name) {
    test::TempDirectory scratch, run;
    const std::string expected = ReadText(test::SourceDir() + "/tests/data/tool/" + name);
    std::istringstream lines(expected);
    std::string transcript;
    bool output = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("[exit ") || line.starts_with("$ ") || line.starts_with("% ")) output = false;
        if (output || line.empty() || line.starts_with("[exit ")) continue;
        if (line.starts_with("% ")) MakeFixture(scratch.Path(), line);
        transcript += line + "\n";
        if (!line.starts_with("$ ")) continue;
        std::string command = line.substr(2);
        while (lines.peek() == '>' && std::getline(lines, line)) {
            command += "\n" + (line.size() > 2 ? line.substr(2) : "");
            transcript += line + "\n";
        }
        const std::string script = kPoke + command + "\n";
        test::WriteFileBytes(run.Path() / "command", Bytes(script.begin(), script.end()));
        const auto before = Snapshot(scratch.Path());
        const std::string shell = "cd " + scratch.Str() + " && LC_ALL=C PATH=" + test::ProgramDir() +
                                  ":$PATH BUILT=" + test::ProgramDir() + " SOURCE=" + test::SourceDir() +
                                  " XDG_DATA_HOME=" + scratch.Str() + "/data bash -o pipefail " + run.Str() +
                                  "/command >" + run.Str() + "/out 2>" + run.Str() + "/err";
        const int raw = std::system(shell.c_str());
        std::string printed = Visible(ReadText(run.Path() / "out"), "") + Visible(ReadText(run.Path() / "err"), "! ");
        printed = test::Shorten(printed, scratch.Str(), "@");
        transcript += printed + "[exit " + std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1) +
                      Changes(before, Snapshot(scratch.Path())) + "]\n\n";
        output = true;
    }
    return transcript;
}

void ExpectTranscript(const std::string& name) {
    const std::string transcript = RunTranscript(name);
    EXPECT_EQ(transcript, test::Golden("tool/" + name, transcript));
}

TEST(Vx50Tool, Sets) { ExpectTranscript("sets.txt"); }
TEST(Vx50Tool, Refusals) { ExpectTranscript("refusals.txt"); }
TEST(Vx50Tool, Edits) { ExpectTranscript("edits.txt"); }
TEST(Vx50Tool, Batch) { ExpectTranscript("batch.txt"); }
TEST(Vx50Tool, Reports) { ExpectTranscript("reports.txt"); }
TEST(Vx50Tool, NamesFile) { ExpectTranscript("names.txt"); }
TEST(Vx50Tool, Show) { ExpectTranscript("show.txt"); }
TEST(Vx50Tool, RecordFiles) { ExpectTranscript("records.txt"); }
TEST(Vx50Tool, PlantedJournals) { ExpectTranscript("journals.txt"); }
TEST(Vx50Tool, Library) { ExpectTranscript("library.txt"); }
TEST(Vx50Tool, HeldItemsFollowTheChangesOfTheirSet) { ExpectTranscript("held.txt"); }
TEST(Vx50Tool, AsANormalUser) {
    if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "needs root and setpriv";
    ExpectTranscript("nobody.txt");
}

// The answer vx50 gives each question under each of its options (tests/data/tool/answers.txt),
// the question worded in ways the program never uses, one with the very words that once chose
// answers: an answer follows what is asked, never how. The link question is told on standard
// error whatever keeps the other messages.
TEST(Vx50Tool, EveryQuestionIsAnsweredByWhatItAsksUnderEachOption) {
    std::istringstream names(  // in the order of QuestionId
        "None ReferencedBy MissingCall InsertBefore EraseBank NameInUse CreateMissingFile OverwriteSet "
        "OverwriteTemplate SaveChanges InterruptedSave ReloadChangedSet SaveOverChangedSet LinkWrite OverwriteFile "
        "IncludePresetArrangements ExportBank UpdatePresetList UpdatePresetArrangements SendDump SmallScreen");
    const std::vector<std::string> questions{std::istream_iterator<std::string>(names), {}};
    ASSERT_EQ(questions.size(), static_cast<std::size_t>(kQuestionIdCount));
    const char* const answers[] = {"OK", "Cancel", "Yes", "No", "default", "Overwrite"};  // default: Reload
    const char* const linkWrites[] = {"ReplaceLink", "WriteThrough", "Cancel"};
    const std::function<void(vxcli::CliInteraction&)> options[] = {
        [](vxcli::CliInteraction&) {},
        [](vxcli::CliInteraction& ui) { ui.answerYes = true; },
        [](vxcli::CliInteraction& ui) { ui.redirectTo = 300; },
        [](vxcli::CliInteraction& ui) { ui.failOnMissing = true; },
        [](vxcli::CliInteraction& ui) { ui.followLinks = true; },
    };
    std::string table = "# question: no option, --yes, --redirect, --missing fail, --follow-links\n";
    for (const std::string text : {"Reworded?", "Insert A' non-existent in 'B is referenced by C ?"}) {
        std::ostringstream told;
        std::streambuf* const standardError = std::cerr.rdbuf(told.rdbuf());
        table += "# " + text + "\n";
        for (int q = 0; q < kQuestionIdCount; ++q) {
            table += questions[static_cast<std::size_t>(q)] + ":";
            for (const auto& option : options) {
                vxcli::CliInteraction ui;
                option(ui);
                std::vector<std::string> kept;
                ui.keptMessages = &kept;
                const Message message{
                    text, "", MessageIcon::Question, MessageButtons::YesNo, Answer::Reload, static_cast<QuestionId>(q)};
                table += std::string(" ") + (message.question == QuestionId::LinkWrite
                                                 ? linkWrites[static_cast<int>(ui.AskAboutLink(message))]
                                                 : answers[static_cast<int>(ui.ShowMessage(message))]);
            }
            table += "\n";
        }
        std::cerr.rdbuf(standardError);
        table += Visible(told.str(), "! ");
    }
    EXPECT_EQ(table, test::Golden("tool/answers.txt", table));

    // A save over files changed on disk is told in one line, with its refusal; any other message
    // whole, without its empty last line.
    vxcli::CliInteraction ui;
    std::vector<std::string> kept;
    ui.keptMessages = &kept;
    for (const QuestionId question : {QuestionId::SaveOverChangedSet, QuestionId::ReloadChangedSet})
        ui.ShowMessage({"LIVE.ARR changed on disk.\nReload?\n", "", MessageIcon::Exclamation,
                        MessageButtons::ReloadOverwriteCancel, Answer::Cancel, question});
    EXPECT_EQ(kept, (std::vector<std::string>{"LIVE.ARR changed on disk. Nothing was saved.",
                                              "LIVE.ARR changed on disk.\nReload?"}));
}

// Two edits of one set started at once, as this user and, given root, as nobody: each on a fresh
// copy of the editable set in a directory of the user's. An edit may be refused with the in-use or
// the changed-on-disk message but is never lost silently; in some runs the second waits for the
// first and both are made.
void ExpectNoEditLostSilently(const std::string& runAs, int runs) {
    const struct {
        std::string edits[2];
        std::size_t slots[2];  // of the arrangements each edit names
        std::string names[2];
    } races[] = {
        {{"rename @ arr:C11 ONE", "rename @ arr:C14 TWO"}, {0, 3}, {"ONE", "TWO"}},
        // The copy of C11 into D11 beside the delete of C13, after which C14 is C13.
        {{"copy @ arr:C11 @ arr:D11", "delete @ arr:C13"}, {64, 2}, {"Arr 0", "Arr 3"}},
    };
    test::TempDirectory temp;
    fs::permissions(temp.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    for (const auto& race : races) {
        int bothDone = 0;
        for (int run = 0; run < runs; ++run) {
            const fs::path directory = temp.Path() / (race.names[0].substr(0, 3) + std::to_string(run));
            const std::string live = (directory / "LIVE.SET").string();
            MakeFixture(directory, "% editable LIVE.SET");
            if (!runAs.empty()) {
                ASSERT_EQ(std::system(("chown -R 65534:65534 " + directory.string()).c_str()), 0);
            }
            std::string both;
            for (const int i : {0, 1}) {
                std::string edit = race.edits[i];
                edit = test::Shorten(edit, "@", live);
                const std::string tag = (directory / std::to_string(i)).string();
                both += "(" + runAs + test::ProgramDir() + "/vx50 " + edit + " >/dev/null 2>" + tag + "; echo $? >" +
                        tag + ".status) & ";
            }
            ASSERT_EQ(std::system((both + "wait").c_str()), 0);
            const std::string arrangements = ReadText(directory / "LIVE.SET" / "LIVE.ARR");
            bool done[2];
            for (const int i : {0, 1}) {
                const std::string name = arrangements.substr(32 + race.slots[i] * ArrangementRecord::kSize, 16);
                done[i] = name == race.names[i] + std::string(16 - race.names[i].size(), ' ');
                const std::string err = ReadText(directory / std::to_string(i));
                const bool refused = ReadText(directory / (std::to_string(i) + ".status")) != "0\n" &&
                                     (err.find(" is in use by ") != std::string::npos ||
                                      err.find(" changed on disk after ") != std::string::npos);
                EXPECT_TRUE(done[i] || refused) << race.edits[i] << " beside " << race.edits[1 - i] << " lost: " << err;
            }
            bothDone += done[0] && done[1];
        }
        EXPECT_GT(bothDone, 0) << race.edits[0] << " beside " << race.edits[1];
    }
}

TEST(Vx50Tool, TwoEditsOfOneSetAtOnceNeverLoseOneSilently) {
    ExpectNoEditLostSilently("", 15);
    if (::geteuid() == 0 && std::system("command -v setpriv >/dev/null") == 0)
        ExpectNoEditLostSilently("setpriv --reuid=65534 --regid=65534 --clear-groups ", 6);
}

}  // namespace
}  // namespace vx
