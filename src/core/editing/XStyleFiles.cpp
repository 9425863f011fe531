#include "core/editing/XStyleFiles.h"

#include <memory>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace vx {

namespace {

constexpr std::size_t kRecordStart = 5;  // right after "VEMOX"
constexpr int kFirstDrumKitSlot = 128;

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

template <typename Record>
bool ReadRecord(const ItemFile& file, Record& record) {
    return file.Read(kRecordStart, Record::kSize, record.bytes.data());
}

std::optional<EditItem> ReadStyle(const ItemFile& file, Interaction& ui, bool& reported) {
    StyleSlot style;
    if (!ReadRecord(file, style.record)) return std::nullopt;
    const std::size_t eventsAt = kRecordStart + StyleRecord::kSize;
    const std::size_t eventBytes = file.Size() - eventsAt;
    // Cutting the events to what fits would paste a different style without a word.
    if (eventBytes > static_cast<std::size_t>(kMaxStyleEventBytes)) {
        ShowError(ui, "The Style in " + FileNameOf(file.Path()) + " has " + std::to_string(eventBytes) +
                          " bytes of events;\na Style holds at most " + std::to_string(kMaxStyleEventBytes) + ".");
        reported = true;
        return std::nullopt;
    }
    if (!file.ReadInto(eventsAt, eventBytes, style.events)) return std::nullopt;
    style.used = 1;
    style.size = static_cast<std::uint16_t>(eventBytes + StyleRecord::kSize);
    return style;
}

}  // namespace

std::optional<ItemKind> XStyleKindFor(ItemKind kind, int slot) {
    switch (kind) {
        case ItemKind::Arrangement:
            return ItemKind::XStyleArrangement;
        case ItemKind::Style:
            return ItemKind::XStyleStyle;
        case ItemKind::Program:
            return slot >= kFirstDrumKitSlot ? ItemKind::XStyleDrumKit : ItemKind::XStyleProgram;
        default:
            return std::nullopt;
    }
}

namespace {

// What each XStyle kind holds, with its article: "an Arrangement".
std::string XStyleContent(ItemKind xstyleKind) {
    switch (xstyleKind) {
        case ItemKind::XStyleArrangement:
            return "an Arrangement";
        case ItemKind::XStyleStyle:
            return "a Style";
        case ItemKind::XStyleProgram:
            return "a Program";
        default:
            return "a Drum Kit";
    }
}

}  // namespace

std::optional<std::string> XStyleFileMisfit(const std::string& path, ItemKind slotXStyleKind,
                                            const std::string& slotLabel) {
    const std::string name = FileNameOf(path);
    const std::size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : ToUpper(name.substr(dot));
    const std::string slot = slotLabel + " is " + XStyleContent(slotXStyleKind) + " slot.";
    for (const ItemKind kind :
         {ItemKind::XStyleArrangement, ItemKind::XStyleStyle, ItemKind::XStyleProgram, ItemKind::XStyleDrumKit}) {
        if (extension != KindExtension(kind)) continue;
        if (kind == slotXStyleKind) return std::nullopt;
        return name + " holds " + XStyleContent(kind) + "; " + slot;
    }
    return name + " is not an XStyle file (.XAF, .XSF, .XPF or .XDK); " + slot;
}

FileRequest XStyleFileRequest(ItemKind destinationKind, ItemKind xstyleKind, const std::string& startDirectory) {
    const std::string ext(KindExtension(xstyleKind));
    FileRequest request;
    request.title = "Load one " + std::string(KindName(destinationKind)) + " from " + ext + " file...";
    request.initialDirectory = startDirectory;
    request.initialName = "*" + ext;
    request.filter = ext.substr(1) + "|*" + ext;
    request.defaultExtension = ext;
    request.mustExist = true;
    return request;
}

namespace {

std::optional<EditItem> ReadItem(const std::string& path, ItemKind xstyleKind, Interaction& ui, bool& reported) {
    // The file named, whatever its extension says: the caller has checked that it fits.
    const auto file = OpenItemFileNamed(path, xstyleKind);
    if (!file) {
        ShowError(ui, file.Error().Text());
        return std::nullopt;
    }
    switch (xstyleKind) {
        case ItemKind::XStyleArrangement: {
            ArrangementRecord record;
            if (!ReadRecord(*file, record)) break;
            return record;
        }
        case ItemKind::XStyleStyle:
            return ReadStyle(*file, ui, reported);
        case ItemKind::XStyleProgram:
        case ItemKind::XStyleDrumKit: {
            ProgramItem item;
            if (!ReadRecord(*file, item.record)) break;
            if (xstyleKind == ItemKind::XStyleDrumKit) {
                DrumKitData drumKit{};
                if (!file->Read(kRecordStart + ProgramRecord::kSize, drumKit.size(), drumKit.data())) break;
                item.drumKit = std::make_shared<const DrumKitData>(drumKit);
            }
            return item;
        }
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace

std::optional<EditItem> ReadXStyleItem(const std::string& path, ItemKind xstyleKind, Interaction& ui) {
    bool reported = false;
    auto item = ReadItem(path, xstyleKind, ui, reported);
    if (!item && !reported) {
        const ItemKind kind = xstyleKind == ItemKind::XStyleArrangement ? ItemKind::Arrangement
                              : xstyleKind == ItemKind::XStyleStyle     ? ItemKind::Style
                                                                        : ItemKind::Program;
        ShowLoadError(ui, kind, "");
    }
    return item;
}

}  // namespace vx
