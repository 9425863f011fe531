// The answer vx50 gives each question under each of its options. The questions are worded here
// in ways the program never uses, some with the very words that once chose answers: an answer
// follows what is asked, never how.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliInteraction.h"

namespace vx {
namespace {

const char* AnswerName(Answer answer) {
    switch (answer) {
        case Answer::OK:
            return "OK";
        case Answer::Cancel:
            return "Cancel";
        case Answer::Yes:
            return "Yes";
        case Answer::No:
            return "No";
        case Answer::Reload:
            return "default";  // the default button every question below is given
        case Answer::Overwrite:
            return "Overwrite";
    }
    return "?";
}

const char* LinkWriteName(LinkWrite write) {
    switch (write) {
        case LinkWrite::ReplaceLink:
            return "ReplaceLink";
        case LinkWrite::WriteThrough:
            return "WriteThrough";
        case LinkWrite::Cancel:
            return "Cancel";
    }
    return "?";
}

TEST(Vx50Answers, EveryQuestionIsAnsweredByWhatItAsksUnderEachOption) {
    const std::vector<std::function<void(vxcli::CliInteraction&)>> options = {
        [](vxcli::CliInteraction&) {},
        [](vxcli::CliInteraction& ui) { ui.answerYes = true; },
        [](vxcli::CliInteraction& ui) { ui.redirectTo = 300; },
        [](vxcli::CliInteraction& ui) { ui.failOnMissing = true; },
        [](vxcli::CliInteraction& ui) { ui.followLinks = true; },
    };
    // A question's name, then its answer with no option, --yes, --redirect, --missing fail and --follow-links.
    struct Row {
        QuestionId question;
        std::string line;
    };
    const std::string agreedOK = " default OK default default default";
    const std::string agreedYes = " default Yes default default default";
    const std::vector<Row> rows = {
        {QuestionId::None, "None default default default default default"},
        {QuestionId::ReferencedBy, "ReferencedBy No No Yes No No"},
        {QuestionId::MissingCall, "MissingCall No No No Cancel No"},
        {QuestionId::InsertBefore, "InsertBefore Yes Yes Yes Yes Yes"},
        {QuestionId::EraseBank, "EraseBank" + agreedOK},
        {QuestionId::NameInUse, "NameInUse" + agreedOK},
        {QuestionId::CreateMissingFile, "CreateMissingFile" + agreedOK},
        {QuestionId::OverwriteSet, "OverwriteSet" + agreedOK},
        {QuestionId::OverwriteTemplate, "OverwriteTemplate" + agreedYes},
        {QuestionId::SaveChanges, "SaveChanges" + agreedYes},
        {QuestionId::InterruptedSave, "InterruptedSave" + agreedYes},
        {QuestionId::ReloadChangedSet, "ReloadChangedSet" + agreedYes},
        {QuestionId::SaveOverChangedSet, "SaveOverChangedSet Cancel Cancel Cancel Cancel Cancel"},
        {QuestionId::LinkWrite, "LinkWrite Cancel Cancel Cancel Cancel WriteThrough"},
        {QuestionId::OverwriteFile, "OverwriteFile" + agreedYes},
        {QuestionId::IncludePresetArrangements, "IncludePresetArrangements" + agreedYes},
        {QuestionId::ExportBank, "ExportBank" + agreedYes},
        {QuestionId::UpdatePresetList, "UpdatePresetList" + agreedYes},
        {QuestionId::UpdatePresetArrangements, "UpdatePresetArrangements" + agreedYes},
        {QuestionId::SendDump, "SendDump" + agreedOK},
        {QuestionId::SmallScreen, "SmallScreen" + agreedYes},
    };
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kQuestionIdCount)) << "a row for every question";

    const std::string wordings[] = {"Reworded?", "Insert A' non-existent in 'B is referenced by C ?"};
    for (const std::string& text : wordings) {
        SCOPED_TRACE(text);
        // The link question is told on standard error, whatever keeps the other messages.
        std::ostringstream linkTold;
        std::streambuf* const standardError = std::cerr.rdbuf(linkTold.rdbuf());
        std::string expected, answered;
        for (const Row& row : rows) {
            expected += row.line + "\n";
            answered += row.line.substr(0, row.line.find(' '));
            for (const auto& option : options) {
                vxcli::CliInteraction ui;
                option(ui);
                std::vector<std::string> kept;
                ui.keptMessages = &kept;
                // A default button no question has, so that taking it shows.
                Message message{text, "", MessageIcon::Question, MessageButtons::YesNo, Answer::Reload};
                message.question = row.question;
                const bool link = row.question == QuestionId::LinkWrite;
                answered += std::string(" ") +
                            (link ? LinkWriteName(ui.AskAboutLink(message)) : AnswerName(ui.ShowMessage(message)));
            }
            answered += "\n";
        }
        std::cerr.rdbuf(standardError);
        EXPECT_EQ(answered, expected);
        std::string refusals;
        for (int declined = 0; declined < 4; ++declined)
            refusals += "Not saved: " + text + " --follow-links writes through it.\n";
        EXPECT_EQ(linkTold.str(), refusals);
    }

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

}  // namespace
}  // namespace vx
