#include "catalogue/CatalogueInit.h"

#include "catalogue/Catalogue.h"
#include "document/KindErrors.h"
#include "interaction/Interaction.h"
#include "format/ItemFile.h"

namespace vx {

namespace {

constexpr int kBlankCategory = 15;
constexpr std::size_t kFirstKbdSetOffset = kArkHeaderSize;

// The style blank keeps the template's parameters; only what makes it an empty user style
// is set here. Its event bytes are really there, so a paste of the blank writes what its
// size promises.
bool PrepareStyleBlank(const ItemFile& file, StyleSlot& blank) {
    if (!file.Read(kStyDataStart, StyleRecord::kSize, blank.record.bytes.data())) return false;
    blank.record.SetName(kBlankName);
    blank.record.SetCategory(kBlankCategory);
    blank.slotByte = 0;
    blank.used = 1;
    blank.size = static_cast<std::uint16_t>(kEmptyStyleSize);
    blank.events.assign(kEmptyStyleSize - StyleRecord::kSize, 0);
    return true;
}

void PrepareZeroBlanks(BlankItems& blank) {
    blank.arrangement = ArrangementRecord{};
    blank.arrangement.SetName(kBlankName);
    blank.arrangement.SetCategory(kBlankCategory);
    blank.program = ProgramRecord{};
    blank.program.SetName(kBlankName);
    blank.program.SetCategory(kBlankCategory);
    blank.backingSequence = BsqEntry{};
    blank.backingSequence.record.SetName(kBlankName);
    blank.song = SongEntry{};
    blank.song.record.SetName(kBlankName);
}

}  // namespace

std::string TempDir(const std::string& programDirectory, const char* tempVariable) {
    if (tempVariable != nullptr && tempVariable[0] != '\0') return tempVariable;
    return programDirectory;
}

std::string TemplateDirectory(const std::string& programDirectory) {
    return programDirectory + "/" + std::string(kTemplateName) + ".SET";
}

std::string TemplateBase(const std::string& programDirectory) {
    return TemplateDirectory(programDirectory) + "/" + std::string(kTemplateName);
}

std::optional<CatalogueState> InitCatalogue(const std::string& programDirectory, const char* tempVariable,
                                            Interaction& ui) {
    BusyPointer busy(ui);

    CatalogueState state;
    state.programDirectory = programDirectory;
    state.tempDirectory = TempDir(programDirectory, tempVariable);
    state.tempFilePath = state.tempDirectory + "/" + std::string(kTempFileName);
    state.templateBase = TemplateBase(programDirectory);

    {
        // OpenItemFile has told the user what is wrong with the file; the load error follows.
        const auto styles = OpenItemFile(state.templateBase, ItemKind::Style, ui);
        if (!styles || !PrepareStyleBlank(*styles, state.blank.style)) {
            ShowLoadError(ui, ItemKind::Style, "");
            return std::nullopt;
        }
    }
    PrepareZeroBlanks(state.blank);

    {
        const auto kbdSets = OpenItemFile(state.templateBase, ItemKind::KbdSet, ui);
        if (!kbdSets || !kbdSets->Read(kFirstKbdSetOffset, KbdSetRecord::kSize, state.blank.kbdSet.bytes.data())) {
            ShowLoadError(ui, ItemKind::KbdSet, "");
            return std::nullopt;
        }
    }

    state.modeMessage = {0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7};
    return state;
}

}  // namespace vx
