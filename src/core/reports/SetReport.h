#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct SetData;
struct PresetTables;
class Session;
class Interaction;

// Who calls the user items of one kind: for each user position in order, the descriptions of
// its callers in the order the call scan finds them.
using CallerLists = std::vector<std::vector<std::string>>;
struct ReportCallers {
    CallerLists programs;      // user programs 0-135
    CallerLists styles;        // user styles 0-47
    CallerLists arrangements;  // user arrangements 0-127
};

inline constexpr int kReportWidth = 100;
// What a call line's further lines start with.
inline constexpr std::string_view kReportContinuation = "     ";

// "5-Dec-2026 02:07:30": day without a leading zero, English month, 24-hour time.
std::string ReportDateText(const std::tm& time);
std::string ReportDateNow();

// The heading: title, rule, empty line, the set name with the date flush with column 100, rule.
std::string SetReportHeading(const std::string& setName, const std::string& date);
// The item and sequence sections, in report order: user arrangements, user programs, user
// styles, backing sequences, songs.
std::string SetReportItemSections(const SetData& data, const PresetTables& presets, const std::string& setName);
// The three call sections in report order: programs, styles, arrangements. Each lists every
// called user item with its callers, ten on the first line and eleven on each further one, or
// "None" when nothing of the kind is called.
std::string SetReportCallSections(const ReportCallers& callers, const std::string& setName);

// The callers of every user program, style and arrangement of a set, each described as its
// reference and, for a call from a track, the track's name ("Arr C11 DRUMS", "BSeq  3").
ReportCallers CollectReportCallers(const SetData& data);

// The whole report of an open set, built as the report window shows it: busy pointer and the
// progress window "Creating Set Report...". The date is the text to print in the heading.
std::string CreateSetReport(Session& session, int set, const std::string& date);

// The report window's Save: file chooser in the set directory proposing NAME.TXT, the
// overwrite question, then the text written as it is. A failure is reported; false when
// cancelled or failed.
bool SaveReportToFile(Interaction& ui, const std::string& setDirectory, const std::string& setName,
                      const std::string& text);

}  // namespace vx
