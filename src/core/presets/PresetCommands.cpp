#include "core/presets/PresetCommands.h"

#include <filesystem>
#include <optional>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/format/PathLookup.h"
#include "core/interaction/Interaction.h"
#include "core/presets/PresetData.h"
#include "core/presets/PresetNamesWriter.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace fs = std::filesystem;

namespace vx {

namespace {

constexpr int kArrBankC = 2;
constexpr int kArrBankD = 3;
constexpr int kArrBankA = 0;

Message Question(QuestionId question, std::string text, std::string title = {}) {
    return {std::move(text), std::move(title), MessageIcon::Question, MessageButtons::YesNo, Answer::No, question};
}

ItemKind ItemKindOf(BankedKind kind) { return KindFromIndex(static_cast<int>(kind)); }

}  // namespace

std::string PresetNamesPath(const Session& session) {
    const std::string path = session.Catalogue().programDirectory + "/" + std::string(kPresetNamesFile);
    return FindPathIgnoringCase(path).value_or(path);
}

bool ReloadPresetNames(Session& session, ItemKind kind) {
    Interaction& ui = session.Ui();
    PresetTables tables;
    std::vector<int> skippedLines;
    const std::string path = PresetNamesPath(session);
    {
        const BusyPointer busy(ui);
        if (!ReadPresetNames(path, tables, &skippedLines)) {
            // The sets open now may hold unsaved work: the program goes on with the lists it has.
            ShowError(ui, "Error getting Preset names from file " + std::string(kPresetNamesFile));
            return false;
        }
    }
    if (!skippedLines.empty())
        ui.ShowMessage({SkippedNamesLinesText(path, skippedLines), "Warning", MessageIcon::Exclamation,
                        MessageButtons::OK, Answer::OK});
    session.SetPresets(std::move(tables));
    for (int set = 1; set <= session.Sets().HighestNumber(); ++set)
        if (session.Sets().IsOpen(set)) session.Changes().Publish(SetChange::Kind(set, kind));
    return true;
}

bool SavePresetBankNames(Session& session, int set, BankedKind kind, int firstBank, int lastBank, int destination,
                         const StagedWrite* alongside) {
    const auto entries = UserBankEntries(session.Data(set), kind, firstBank, lastBank);
    if (!SavePresetNames(session.Ui(), PresetNamesPath(session), PresetSectionTitle(kind, firstBank, destination),
                         entries, alongside))
        return false;
    return ReloadPresetNames(session, ItemKindOf(kind));
}

bool ExportToPresetFile(Session& session, int set, BankedKind kind, int shownBank) {
    Interaction& ui = session.Ui();
    if (kind == BankedKind::Style) return false;
    const std::string kindName(KindName(ItemKindOf(kind)));
    if (!IsExportableBank(kind, shownBank)) {
        ui.ShowMessage({"Only a bank of user " + kindName + "s can be exported to a Preset File.", "Warning",
                        MessageIcon::Exclamation, MessageButtons::OK, Answer::OK});
        return false;
    }
    const auto destinations = PresetDestinations(kind, shownBank);
    const int destination = ui.PickPresetBank(
        kind == BankedKind::Arrangement ? "Select Destination Arrangement Bank" : "Select Destination Program Bank",
        destinations, 0);
    if (destination < 0 || destination >= static_cast<int>(destinations.size())) return false;

    FileRequest request;
    request.title = "Export Bank " + kindName + " to Preset File...";
    request.initialDirectory = session.Slot(set).directory;
    request.initialName = "*.PRD";
    request.filter = "Preset Data (*.PRD)|*.PRD";
    request.defaultExtension = ".PRD";
    const auto file = ui.ChooseSaveFile(request);
    if (!file) return false;

    const std::string fileName = fs::path(*file).filename().string();
    const std::string source(BankLetter(static_cast<int>(kind), shownBank));
    const std::string to = kind == BankedKind::Program ? "\nto Bank " : " to Bank ";
    if (ui.ShowMessage(Question(QuestionId::ExportBank,
                                "Export Bank " + source + " of " + session.Slot(set).name + to +
                                    destinations[static_cast<std::size_t>(destination)] + " of " + fileName + "?",
                                "Export Bank to Preset File")) != Answer::Yes)
        return false;

    std::string error;
    std::optional<StagedWrite> staged;
    {
        const BusyPointer busy(ui);
        staged = StagePresetData(*file, ExportRanges(session.Data(set), kind, shownBank, destination), error);
    }
    if (!staged) {
        ShowError(ui, "Error exporting to Preset file " + *file + "\n" + error);
        return false;
    }
    // The preset data file is staged, not yet replaced: with the names it changes together or not at all.
    if (ui.ShowMessage(Question(QuestionId::UpdatePresetList,
                                "Update the Preset " + kindName + " list accordingly?")) == Answer::Yes)
        return SavePresetBankNames(session, set, kind, shownBank, shownBank, destination, &*staged);
    if (CommitStagedWrites({*staged}, error)) return true;
    ShowError(ui, "Error exporting to Preset file " + *file + "\n" + error);
    return false;
}

bool UpdatePresetArrangements(Session& session, int set) {
    if (session.Ui().ShowMessage(Question(QuestionId::UpdatePresetArrangements,
                                          "Update Preset Arrangements (banks A & B) list\n with banks C & D of " +
                                              session.Slot(set).name + "?")) != Answer::Yes)
        return false;
    return SavePresetBankNames(session, set, BankedKind::Arrangement, kArrBankC, kArrBankD, kArrBankA);
}

}  // namespace vx
