#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/storage/SetData.h"

namespace vx {

// What a check of a set can find.
enum class FindingType {
    CallToEmptySlot,   // a call into a user slot that holds no item
    CallOutsideBanks,  // a call to a number no bank has
    StyleBlockOverBudget,
    EventMemoryFull,  // backing sequences, songs and patterns take more than the memory holds
    OffsetsOverlap,   // memory regions that overlap or run backwards
    MapMismatch,      // a table of the sequence or song file that disagrees with its offsets
    ChainOutOfRange,  // a chain number above 9
    DuplicateName,
};

// One thing found: the item by its label, what is wrong and what to do about it.
struct Finding {
    FindingType type = FindingType::CallToEmptySlot;
    std::string item;     // "Arrangement C11 'POP 1'", "Style block C11-C14", "Event memory"
    std::string problem;  // one sentence
    std::string advice;   // one sentence
    std::string Text() const { return item + ": " + problem + " " + advice; }
};

// The short name of a finding type in reports and JSON: "call-to-empty-slot", ...
std::string FindingTypeName(FindingType type);

// Looks at a set as it is in memory and lists what the instrument would trip over, in a
// fixed order: calls (in the order of the call walk), style blocks, the event memory and its
// maps, chains, duplicate names. Reads only; an empty list means the set is consistent.
// unsaved marks the kinds changed since they were read: the tables a save writes afresh from
// the items (the backing sequences' size table) are not compared for them.
std::vector<Finding> CheckSet(const SetData& data, const std::array<bool, kSetKindCount>& unsaved = {});

// The findings as lines of text, then a closing line: "No findings: SET is consistent." or
// "N finding(s) in SET.".
std::string CheckReportText(const std::string& setName, const std::vector<Finding>& findings);

}  // namespace vx
