#include "core/reports/ReportFile.h"

#include <filesystem>
#include <system_error>

#include "core/format/OutputFile.h"
#include "core/format/PathLookup.h"
#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace fs = std::filesystem;

namespace vx {

bool MayOverwrite(Interaction& ui, const std::string& path) {
    std::error_code ec;
    if (!fs::exists(ResolveForWrite(path), ec)) return true;
    return ui.ShowMessage({"Overwrite existing file?", "", MessageIcon::Question, MessageButtons::YesNo, Answer::No,
                           QuestionId::OverwriteFile}) == Answer::Yes;
}

bool WriteReportFile(Interaction& ui, const std::string& path, const std::string& text,
                     const std::string& errorPrefix) {
    const std::string destination = ResolveForWrite(path);
    std::string error;
    bool written = false;
    {
        const BusyPointer busy(ui);
        written = WriteOutputFile(destination, Bytes(text.begin(), text.end()), error);
    }
    if (!written) ShowError(ui, errorPrefix + path + "\n" + error);
    return written;
}

}  // namespace vx
