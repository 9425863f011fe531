#include "core/text/KindErrors.h"

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"

namespace vx {

namespace {

std::string KindText(std::string_view action, ItemKind kind, std::string_view detail) {
    return std::string(action) + " " + std::string(KindName(kind)) + " data.\n" + std::string(detail);
}

}  // namespace

std::string LoadErrorText(ItemKind kind, std::string_view detail) { return KindText("Error getting", kind, detail); }

std::string SaveErrorText(ItemKind kind, std::string_view detail) { return KindText("Error saving", kind, detail); }

std::string EditErrorText(ItemKind kind, std::string_view detail) {
    return KindText("Error editing", kind, detail) + "\nDon't save this Set to disk!";
}

void ShowLoadError(Interaction& ui, ItemKind kind, std::string_view detail) {
    ShowError(ui, LoadErrorText(kind, detail));
}

void ShowSaveError(Interaction& ui, ItemKind kind, std::string_view detail) {
    ShowError(ui, SaveErrorText(kind, detail));
}

Message ErrorMessage(const std::string& text) {
    return Message{text, "Error", MessageIcon::Critical, MessageButtons::OK, Answer::OK};
}

void ShowError(Interaction& ui, const std::string& text) { ui.ShowMessage(ErrorMessage(text)); }

}  // namespace vx
