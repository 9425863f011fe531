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
    struct Case {
        Answer answer;
        SaveStep fault;
        bool replaced;
        std::vector<std::string> texts;
    };
    const std::string failed = "Error saving SysEx data to file ";
    const std::vector<Case> cases = {
        {Answer::No, SaveStep::None, false, {"Overwrite existing file?"}},
        {Answer::Yes, SaveStep::None, true, {"Overwrite existing file?"}},
        {Answer::Yes,
         SaveStep::Write,
         false,
         {"Overwrite existing file?", failed, "\nError writing the temporary file for "}},
        {Answer::Yes, SaveStep::Rename, false, {"Overwrite existing file?", failed, "\nCan't replace "}},
    };
    for (const Case& c : cases) {
        SysExFileBench bench;
        const Bytes old = {0xF0, 0x01, 0x02, 0xF7};
        test::WriteFileBytes(bench.file, old);
        bench.ui.AnswerTo(QuestionId::OverwriteFile, c.answer);
        SetSaveFaultForTesting(c.fault);
        EXPECT_EQ(bench.Save(), c.replaced);
        SetSaveFaultForTesting(SaveStep::None);

        std::vector<std::string> texts = c.texts;
        // The error names the file as chosen, in its own case, and the reason, which names it again.
        if (texts.size() == 3) {
            texts[1] += bench.file.string() + texts[2] + bench.file.string() +
                        (c.fault == SaveStep::Write ? ": No space left on device" : ": Input/output error");
            texts.pop_back();
        }
        EXPECT_EQ(bench.ui.Texts(), texts);
        EXPECT_EQ(bench.ui.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(bench.ui.messages[0].defaultButton, Answer::No);
        EXPECT_EQ(test::ReadFileBytes(bench.file), c.replaced ? bench.Expected() : old);
        // Nothing is left beside the file.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bench.dir.Path()), {}), 1);
    }
}

}  // namespace
}  // namespace vx
