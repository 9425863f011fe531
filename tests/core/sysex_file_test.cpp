#include <gtest/gtest.h>

#include "core/format/ItemFileSave.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/MidiDump.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

struct SysExFileBench {
    SetData set = test::EmptySet();
    test::TempDirectory dir;
    test::ScriptedInteraction ui;
    std::filesystem::path file = dir.Path() / "ARG.SYX";

    bool Save(ItemKind kind = ItemKind::ArrangementGlobal) {
        ui.fileAnswers.push_back(file.string());
        return SaveKindToSysExFile(ui, SysExHeader{}, set, kind, 0, dir.Str());
    }
    Bytes Expected(ItemKind kind = ItemKind::ArrangementGlobal) {
        Bytes message;
        std::string error;
        EXPECT_TRUE(BuildDumpMessage(set, kind, 0, SysExHeader{}, message, error));
        return message;
    }
};

TEST(SysExFile, ChooserIsSetUpForTheKindAndTheFileHoldsTheMessageOnly) {
    SysExFileBench bench;
    ASSERT_TRUE(bench.Save());
    const Bytes written = test::ReadFileBytes(bench.file);
    EXPECT_EQ(written.size(), 61u);
    EXPECT_EQ(written, bench.Expected());
    const FileRequest& request = bench.ui.fileRequests.at(0);
    EXPECT_EQ(request.title, "Save Arrangement Global to SysEx File...");
    EXPECT_EQ(request.initialDirectory, bench.dir.Str());
    EXPECT_EQ(request.initialName, "*.SYX");
    EXPECT_EQ(request.filter, "SysEx (*.SYX)|*.SYX");
    EXPECT_EQ(request.defaultExtension, ".SYX");

    bench.file = bench.dir.Path() / "STY.SYX";
    ASSERT_TRUE(bench.Save(ItemKind::Style));
    EXPECT_EQ(bench.ui.fileRequests.at(1).title, "Save current Style Block to SysEx File...");

    // Cancel in the chooser ends silently.
    EXPECT_FALSE(SaveKindToSysExFile(bench.ui, SysExHeader{}, bench.set, ItemKind::Global, 0, bench.dir.Str()));
    EXPECT_TRUE(bench.ui.messages.empty());
}

TEST(SysExFile, AnExistingFileIsReplacedOnlyWhenAgreedAndOnlyWhole) {
    const std::pair<Answer, SaveStep> cases[] = {{Answer::No, SaveStep::None},
                                                 {Answer::Yes, SaveStep::None},
                                                 {Answer::Yes, SaveStep::Write},
                                                 {Answer::Yes, SaveStep::Rename}};
    for (const auto& [answer, fault] : cases) {
        SysExFileBench bench;
        const Bytes old = {0xF0, 0x01, 0x02, 0xF7};
        test::WriteFileBytes(bench.file, old);
        bench.ui.AnswerTo(QuestionId::OverwriteFile, answer);
        SetSaveFaultForTesting(fault);
        const bool replaced = answer == Answer::Yes && fault == SaveStep::None;
        EXPECT_EQ(bench.Save(), replaced);
        SetSaveFaultForTesting(SaveStep::None);
        // The error names the file as chosen, in its own case, and the reason, which names it again.
        const std::string file = bench.file.string();
        std::string said = "  [, exclamation, YesNo, No] Overwrite existing file?\n";
        if (fault == SaveStep::Write)
            said += "  [Error, critical, OK, OK] Error saving SysEx data to file " + file +
                    "\\nError writing the temporary file for " + file + ": No space left on device\n";
        if (fault == SaveStep::Rename)
            said += "  [Error, critical, OK, OK] Error saving SysEx data to file " + file + "\\nCan't replace " + file +
                    ": Input/output error\n";
        EXPECT_EQ(bench.ui.TakeTranscript(), said);
        EXPECT_EQ(test::ReadFileBytes(bench.file), replaced ? bench.Expected() : old);
        // Nothing is left beside the file.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bench.dir.Path()), {}), 1);
    }
}

}  // namespace
}  // namespace vx
