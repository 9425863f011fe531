#include "core/midi/SysExFile.h"

#include <filesystem>

#include "core/catalogue/Catalogue.h"
#include "core/format/OutputFile.h"
#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"

namespace vx {

bool SaveSysExFile(Interaction& ui, ItemKind kind, const std::string& setDirectory, const Bytes& message) {
    FileRequest request;
    request.title = kind == ItemKind::Style ? "Save current Style Block to SysEx File..."
                                            : "Save " + std::string(KindName(kind)) + " to SysEx File...";
    request.initialDirectory = setDirectory;
    request.defaultExtension = ".SYX";
    request.initialName = "*.SYX";
    request.filter = "SysEx (*.SYX)|*.SYX";
    const auto chosen = ui.ChooseSaveFile(request);
    if (!chosen || chosen->empty()) return false;

    std::error_code error;
    if (std::filesystem::exists(*chosen, error) &&
        ui.ShowMessage({"Overwrite existing file?", "", MessageIcon::Exclamation, MessageButtons::YesNo, Answer::No,
                        QuestionId::OverwriteFile}) != Answer::Yes)
        return false;

    BusyPointer busy(ui);
    std::string reason;
    if (WriteOutputFile(*chosen, message, reason)) return true;
    ui.ShowMessage({"Error saving SysEx data to file " + *chosen + "\n" + reason, "Error", MessageIcon::Critical,
                    MessageButtons::OK, Answer::OK});
    return false;
}

}  // namespace vx
