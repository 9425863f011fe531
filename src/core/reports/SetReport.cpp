#include "core/reports/SetReport.h"

#include <array>
#include <cstdio>

#include "core/catalogue/Catalogue.h"
#include "core/editing/Callers.h"
#include "core/interaction/Interaction.h"
#include "core/programs/ProgramNumbers.h"
#include "core/reports/ReportFile.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kItemCellsPerLine = 4;
constexpr int kSequenceCellsPerLine = 5;
constexpr int kCallersOnFirstLine = 10;
constexpr int kCallersPerLine = 11;
constexpr std::string_view kContinuation = kReportContinuation;

const std::string& RuleLine() {
    static const std::string rule = std::string(kReportWidth, '_') + std::string(kLineEnd);
    return rule;
}

std::string SectionTitle(std::string_view title, const std::string& setName) {
    return std::string(kLineEnd) + std::string(title) + setName + std::string(kLineEnd) + std::string(kLineEnd);
}

// Cells of a fixed width, a line break after every perLine cells.
template <typename CellOf>
std::string Cells(int count, int perLine, CellOf cellOf) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += cellOf(i);
        if ((i + 1) % perLine == 0) text += kLineEnd;
    }
    // A last line that is not full still ends.
    if (count % perLine != 0) text += kLineEnd;
    return text;
}

std::string ItemCell(const std::string& label, const std::string& name) { return label + " " + name + "     "; }

std::string SequenceCell(int number, const std::string& name) { return std::to_string(number) + ": " + name + " "; }

std::string ArrLabelOfUserIndex(int index) { return ArrLabel(ArrNumberOfUserIndex(index)); }
std::string StyLabelOfUserIndex(int index) { return StyLabel(StyNumberOfUserIndex(index)); }

std::string CallSection(std::string_view title, const std::string& setName, const CallerLists& callers,
                        std::string (*labelOf)(int)) {
    std::string text = SectionTitle(title, setName);
    bool any = false;
    for (std::size_t index = 0; index < callers.size(); ++index) {
        const auto& list = callers[index];
        if (list.empty()) continue;
        any = true;
        text += labelOf(static_cast<int>(index)) + ": ";
        for (std::size_t c = 0; c < list.size(); ++c) {
            text += list[c];
            if (c + 1 == list.size()) break;
            text += ", ";
            // Callers 9, 20, 31 ... end their line.
            if (c + 1 >= kCallersOnFirstLine && (c + 1 - kCallersOnFirstLine) % kCallersPerLine == 0) {
                text += kLineEnd;
                text += kContinuation;
            }
        }
        text += kLineEnd;
    }
    if (!any) text += "None" + std::string(kLineEnd);
    return text + RuleLine();
}

}  // namespace

std::string ReportDateText(const std::tm& time) {
    static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[48];
    const int month = time.tm_mon >= 0 && time.tm_mon < 12 ? time.tm_mon : 0;
    std::snprintf(text, sizeof text, "%d-%s-%04d %02d:%02d:%02d", time.tm_mday,
                  kMonths[static_cast<std::size_t>(month)], time.tm_year + 1900, time.tm_hour, time.tm_min,
                  time.tm_sec);
    return text;
}

std::string ReportDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return ReportDateText(local);
}

std::string SetReportHeading(const std::string& setName, const std::string& date) {
    std::string text = std::string(40, ' ') + std::string(kInstrumentName) + " Set Report" + std::string(kLineEnd);
    text += RuleLine();
    text += kLineEnd;
    // A name too long for the line still keeps one blank before the date.
    const std::size_t room = kReportWidth > static_cast<int>(date.size()) ? kReportWidth - date.size() : 0;
    text += setName + std::string(room > setName.size() ? room - setName.size() : 1, ' ') + date;
    text += kLineEnd;
    return text + RuleLine();
}

std::string SetReportItemSections(const SetData& data, const PresetTables& presets, const std::string& setName) {
    std::string text = SectionTitle("User ARRANGEMENTS in ", setName);
    text += Cells(kUserArrangements, kItemCellsPerLine, [&](int i) {
        return ItemCell(ArrLabelOfUserIndex(i), data.arr.arr[static_cast<std::size_t>(i)].Name());
    });
    text += RuleLine();

    text += SectionTitle("User PROGRAMS in ", setName);
    text += Cells(kUserPrograms, kItemCellsPerLine,
                  [&](int i) { return ItemCell(ProgramLabelOfUserIndex(i), UserProgramName(data.prg, i)); });
    text += RuleLine();

    text += SectionTitle("User STYLES in ", setName);
    text += Cells(kUserStyles, kItemCellsPerLine, [&](int i) {
        const int number = StyNumberOfUserIndex(i);
        return ItemCell(StyLabel(number), StyNameOf(data.sty, presets, number));
    });
    text += RuleLine();

    text += SectionTitle("BACKING SEQUENCES in ", setName);
    text += Cells(kSequenceCount, kSequenceCellsPerLine,
                  [&](int i) { return SequenceCell(i, data.bsq.entries[static_cast<std::size_t>(i)].record.Name()); });
    text += RuleLine();

    text += SectionTitle("SONGS in ", setName);
    text += Cells(kSequenceCount, kSequenceCellsPerLine,
                  [&](int i) { return SequenceCell(i, data.sng.entries[static_cast<std::size_t>(i)].record.Name()); });
    return text + RuleLine();
}

std::string SetReportCallSections(const ReportCallers& callers, const std::string& setName) {
    return CallSection("CALLS to User PROGRAMS in ", setName, callers.programs, ProgramLabelOfUserIndex) +
           CallSection("CALLS to User STYLES in ", setName, callers.styles, StyLabelOfUserIndex) +
           CallSection("CALLS to User ARRANGEMENTS in ", setName, callers.arrangements, ArrLabelOfUserIndex);
}

ReportCallers CollectReportCallers(const SetData& data) {
    auto describe = [&](ItemKind kind, int number) {
        std::vector<std::string> descriptions;
        for (const CallerEntry& entry : CallersOf(data, kind, number)) {
            const std::string track = TrimBlanks(entry.track);
            descriptions.push_back(track.empty() ? entry.reference : entry.reference + " " + track);
        }
        return descriptions;
    };
    ReportCallers callers;
    for (int i = 0; i < kUserPrograms; ++i)
        callers.programs.push_back(describe(ItemKind::Program, NumberOfUserIndex(i)));
    for (int i = 0; i < kUserStyles; ++i) callers.styles.push_back(describe(ItemKind::Style, StyNumberOfUserIndex(i)));
    for (int i = 0; i < kUserArrangements; ++i)
        callers.arrangements.push_back(describe(ItemKind::Arrangement, ArrNumberOfUserIndex(i)));
    return callers;
}

std::string CreateSetReport(Session& session, int set, const std::string& date) {
    Interaction& ui = session.Ui();
    const BusyPointer busy(ui);
    const std::string& name = session.Slot(set).name;
    std::string text = SetReportHeading(name, date);
    auto progress = ui.BeginProgress("Creating Set Report...", "", 0, 2);
    ui.Pause(0.1);
    const SetData& data = session.Data(set);
    text += SetReportItemSections(data, session.Presets(), name);
    progress->SetValue(1);
    text += SetReportCallSections(CollectReportCallers(data), name);
    progress->SetValue(2);
    return text;
}

bool SaveReportToFile(Interaction& ui, const std::string& setDirectory, const std::string& setName,
                      const std::string& text) {
    FileRequest request;
    request.title = "Save Report to File...";
    request.initialDirectory = setDirectory;
    request.initialName = setName + ".TXT";
    request.filter = "Report (*.TXT)|*.TXT";
    request.defaultExtension = ".TXT";
    const auto chosen = ui.ChooseSaveFile(request);
    if (!chosen) return false;
    if (!MayOverwrite(ui, *chosen)) return false;
    return WriteReportFile(ui, *chosen, text, "Error saving Report to file ");
}

}  // namespace vx
