#include "core/storage/TemplateSet.h"

#include <algorithm>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/interaction/Interaction.h"
#include "core/text/KindErrors.h"

namespace vx {

namespace {

constexpr int kBlankCategory = 15;
constexpr std::size_t kFirstKbdSetOffset = kArkHeaderSize;

// The style blank is the record at offset 224 of the template's style file. A template
// without styles ends at 224, and a read past the end of a file gives zero bytes, so the
// record is then all zeros apart from what makes it an empty user style.
void PrepareStyleBlank(const ItemFile& file, StyleSlot& blank) {
    blank.record = StyleRecord{};
    if (file.Size() > static_cast<std::size_t>(kStyDataStart)) {
        const std::size_t present =
            std::min(file.Size() - static_cast<std::size_t>(kStyDataStart), std::size_t{StyleRecord::kSize});
        file.Read(kStyDataStart, present, blank.record.bytes.data());
    }
    blank.record.SetName(kBlankName);
    blank.record.SetCategory(kBlankCategory);
    blank.slotByte = 0;
    blank.used = 1;
    blank.size = static_cast<std::uint16_t>(kEmptyStyleSize);
    // Its event bytes are really there, so a paste of the blank writes what its size promises.
    blank.events.assign(kEmptyStyleSize - StyleRecord::kSize, 0);
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

    // A file that cannot be opened is told first, then the load error.
    const auto refuse = [&ui](const LoadError& error) -> std::optional<CatalogueState> {
        if (error.WholeFile()) ShowError(ui, error.Text());
        ShowLoadError(ui, error.kind, error.Detail());
        return std::nullopt;
    };
    {
        const auto styles = OpenItemFile(state.templateBase, ItemKind::Style);
        if (!styles) return refuse(styles.Error());
        PrepareStyleBlank(*styles, state.blank.style);
    }
    PrepareZeroBlanks(state.blank);

    {
        const auto kbdSets = OpenItemFile(state.templateBase, ItemKind::KbdSet);
        if (!kbdSets) return refuse(kbdSets.Error());
        if (!kbdSets->Read(kFirstKbdSetOffset, KbdSetRecord::kSize, state.blank.kbdSet.bytes.data()))
            return refuse(kbdSets->ReadFault(ItemKind::KbdSet, kFirstKbdSetOffset, KbdSetRecord::kSize, "the first KBD set"));
    }

    state.modeMessage = {0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7};
    return state;
}

}  // namespace vx
