#include "reports/ReportFile.h"

#include <filesystem>
#include <system_error>

#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "format/OutputFile.h"
#include "format/PathLookup.h"
#include "interaction/Interaction.h"

namespace fs = std::filesystem;

namespace vx {

bool MayOverwrite(Interaction& ui, const std::string& path) {
    std::error_code ec;
    if (!fs::exists(ResolveForWrite(path), ec)) return true;
    return ui.ShowMessage({"Overwrite existing file?", "", MessageIcon::Question, MessageButtons::YesNo, Answer::No}) ==
           Answer::Yes;
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
