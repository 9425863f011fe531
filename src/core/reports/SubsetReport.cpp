#include "core/reports/SubsetReport.h"

#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"
#include "core/programs/ProgramNumbers.h"
#include "core/reports/ReportFile.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr int kArrangementTab = 0;
constexpr int kStyleTab = 1;
constexpr int kProgramTab = 2;
constexpr int kPresetArrangements = 128;

std::string CategoryText(const std::array<std::string_view, 16>& names, int category) {
    return category >= 0 && category < 16 ? std::string(names[static_cast<std::size_t>(category)]) : std::string();
}

std::string ProgramCell(const SetData& data, const PresetTables& presets, int number) {
    const std::string label = ProgramLabel(number);
    if (label.empty()) return {};
    const std::string name = TrimBlanks(ProgramNameOf(data.prg, presets, number));
    return name.empty() ? label : label + " " + name;
}

void AppendLine(std::string& text, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) text += '\t';
        text += fields[i];
    }
    text += "\r\n";
}

std::vector<std::string> Heading(std::string_view kind, int tracks) {
    std::vector<std::string> fields = {"Set", std::string(kind), std::string(kind) + " Name",
                                       std::string(kind) + " Cat"};
    for (int t = 0; t < tracks; ++t) fields.push_back(TrimBlanks(StyleTrackName[static_cast<std::size_t>(t)]));
    return fields;
}

std::string ArrangementReport(const SetData& data, const PresetTables& presets, const std::string& setName,
                              bool withPresets) {
    std::vector<std::string> heading = {"Set", "Arr", "Arr Name", "Arr Cat", "Sty", "Sty Name", "Sty Cat"};
    for (std::string_view track : StyleTrackName) heading.push_back(TrimBlanks(track));
    std::string text;
    AppendLine(text, heading);

    std::vector<int> numbers;
    if (withPresets)
        for (int n = 0; n < kPresetArrangements; ++n) numbers.push_back(n);
    for (int i = 0; i < kUserArrangements; ++i) numbers.push_back(ArrNumberOfUserIndex(i));

    for (int number : numbers) {
        const int user = ArrUserIndexOf(number);
        const int style = user >= 0 ? data.arr.arr[static_cast<std::size_t>(user)].Style()
                                    : presets.arrangements[static_cast<std::size_t>(number)].style;
        std::vector<std::string> fields = {setName,
                                           ArrLabel(number),
                                           TrimBlanks(ArrNameOf(data.arr, presets, number)),
                                           CategoryText(ArrCategoryName, ArrCategoryOf(data.arr, presets, number)),
                                           StyLabel(style),
                                           TrimBlanks(StyNameOf(data.sty, presets, style)),
                                           CategoryText(StyCategoryName, StyCategoryOf(data.sty, presets, style))};
        // The preset arrangements' tracks are not known here.
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t)
            fields.push_back(
                user >= 0 ? ProgramCell(data, presets, data.arr.arr[static_cast<std::size_t>(user)].TrackProgram(t))
                          : std::string());
        AppendLine(text, fields);
    }
    return text;
}

std::string StyleReport(const SetData& data, const PresetTables& presets, const std::string& setName) {
    std::string text;
    AppendLine(text, Heading("Sty", StyleRecord::kTrackCount));
    for (int i = 0; i < kUserStyles; ++i) {
        const int number = StyNumberOfUserIndex(i);
        const StyleRecord& record = data.sty.slots[static_cast<std::size_t>(i)].record;
        std::vector<std::string> fields = {setName, StyLabel(number), TrimBlanks(StyNameOf(data.sty, presets, number)),
                                           CategoryText(StyCategoryName, StyCategoryOf(data.sty, presets, number))};
        for (int t = 0; t < StyleRecord::kTrackCount; ++t)
            fields.push_back(ProgramCell(data, presets, record.TrackProgram(t)));
        AppendLine(text, fields);
    }
    return text;
}

std::string ProgramReport(const SetData& data, const PresetTables& presets, const std::string& setName) {
    std::string text;
    AppendLine(text, Heading("Prg", 0));
    for (int i = 0; i < kUserPrograms; ++i) {
        const int number = NumberOfUserIndex(i);
        AppendLine(text, {setName, ProgramLabel(number), TrimBlanks(UserProgramName(data.prg, i)),
                          CategoryText(PrgCategoryName, ProgramCategoryOf(data.prg, presets, number))});
    }
    return text;
}

}  // namespace

bool SubsetReportAvailable(int tab) { return tab >= kArrangementTab && tab <= kProgramTab; }

std::string SubsetReportText(const SetData& data, const PresetTables& presets, const std::string& setName, int tab,
                             bool withPresets) {
    switch (tab) {
        case kArrangementTab:
            return ArrangementReport(data, presets, setName, withPresets);
        case kStyleTab:
            return StyleReport(data, presets, setName);
        case kProgramTab:
            return ProgramReport(data, presets, setName);
        default:
            return {};
    }
}

bool CreateSubsetReportFile(Session& session, int set, int tab) {
    // Other tabs have no subset report; the command is not offered there.
    if (!SubsetReportAvailable(tab)) return false;
    Interaction& ui = session.Ui();
    const SetSlot& slot = session.Slot(set);
    FileRequest request;
    request.title = "Save " + std::string(KindName(KindFromIndex(tab))) + " Report to File...";
    request.initialDirectory = slot.directory;
    request.filter = "Excel (*.XLS)|*.XLS|All|*.*";
    request.defaultExtension = ".XLS";
    const auto chosen = ui.ChooseSaveFile(request);
    if (!chosen || !MayOverwrite(ui, *chosen)) return false;

    bool withPresets = false;
    if (tab == kArrangementTab)
        withPresets = ui.ShowMessage({"Include Preset Arrangements?", "", MessageIcon::Question, MessageButtons::YesNo,
                                      Answer::No, QuestionId::IncludePresetArrangements}) == Answer::Yes;
    const std::string text = SubsetReportText(session.Data(set), session.Presets(), slot.name, tab, withPresets);
    return WriteReportFile(ui, *chosen, text, "Error saving Subset Report to file ");
}

}  // namespace vx
