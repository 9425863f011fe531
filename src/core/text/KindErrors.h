#pragma once

#include <string>
#include <string_view>

#include "core/catalogue/ItemKind.h"

namespace vx {

class Interaction;
struct Message;

// The three kind-level messages (title "Error", critical icon, OK). The detail may be empty;
// the line break is there all the same.
std::string LoadErrorText(ItemKind kind, std::string_view detail);
std::string SaveErrorText(ItemKind kind, std::string_view detail);
std::string EditErrorText(ItemKind kind, std::string_view detail);

void ShowLoadError(Interaction& ui, ItemKind kind, std::string_view detail);
void ShowSaveError(Interaction& ui, ItemKind kind, std::string_view detail);
// A plain error box: title "Error", critical icon, OK.
Message ErrorMessage(const std::string& text);
void ShowError(Interaction& ui, const std::string& text);

}  // namespace vx
