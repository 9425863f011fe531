#include "EditParsing.h"

#include "CliInteraction.h"
#include "core/catalogue/Catalogue.h"
#include "core/text/Helpers.h"

namespace vxcli {

namespace {

// A LABEL may repeat its item's kind: "C11" or "arr:C11".
std::string BareLabel(const std::string& label) {
    const auto colon = label.find(':');
    return vx::ToUpper(colon == std::string::npos ? label : label.substr(colon + 1));
}

}  // namespace

const vx::EditableKind* EditKindOf(const std::string& code) {
    const std::string wanted = vx::ToUpper(code);
    for (int k = 0; k <= vx::KindIndex(vx::ItemKind::KbdSet); ++k) {
        const vx::ItemKind kind = vx::KindFromIndex(k);
        if (wanted == vx::ToUpper(vx::KindExtension(kind).substr(1))) return vx::EditableKindOf(kind);
    }
    return nullptr;
}

std::optional<EditTarget> ParseEditItem(const std::string& text, std::string& error) {
    const auto colon = text.find(':');
    const vx::EditableKind* kind = colon == std::string::npos ? nullptr : EditKindOf(text.substr(0, colon));
    if (kind == nullptr) {
        error = "Unknown item " + text + " (KIND:LABEL with KIND " + kEditKinds + ")";
        return std::nullopt;
    }
    const int slot = kind->SlotOfLabel(vx::ToUpper(text.substr(colon + 1)));
    if (slot < 0) {
        error = "No " + std::string(kind->Noun()) + " of the set is labelled " + text.substr(colon + 1);
        return std::nullopt;
    }
    return EditTarget{kind, slot};
}

std::optional<int> ParseEditSlot(const vx::EditableKind& kind, const std::string& label, std::string& error) {
    const int slot = kind.SlotOfLabel(BareLabel(label));
    if (slot < 0) {
        error = "No " + std::string(kind.Noun()) + " of the set is labelled " + label;
        return std::nullopt;
    }
    return slot;
}

std::optional<int> ParseEditBank(const vx::EditableKind& kind, const std::string& letter, std::string& error) {
    const int k = vx::KindIndex(kind.Kind());
    if (k > vx::KindIndex(vx::ItemKind::Program)) return -1;
    if (letter.empty()) {
        error = "A bank letter is needed for " + std::string(kind.Noun()) + "s";
        return std::nullopt;
    }
    for (int b = 0; b < vx::BankCount(k); ++b)
        if (vx::ToUpper(letter) == vx::BankLetter(k, b)) return b;
    error = "Unknown bank " + letter + " of " + std::string(kind.Noun()) + "s";
    return std::nullopt;
}

std::optional<EditAnswers> ParseEditAnswers(const vx::EditableKind& kind, const std::string& redirect,
                                            const std::string& missing, std::string& error) {
    if (missing != "keep" && missing != "fail") {
        error = "--missing is keep or fail, not " + missing;
        return std::nullopt;
    }
    EditAnswers answers;
    answers.failOnMissing = missing == "fail";
    if (redirect.empty()) return answers;
    const int k = vx::KindIndex(kind.Kind());
    const std::string label = BareLabel(redirect);
    // Any item the selection dialog offers, presets included.
    const int number = k <= vx::KindIndex(vx::ItemKind::Program) ? vx::BankedNumberOfLabel(k, label)
                       : kind.Called() != nullptr                ? kind.Called()->NumberOf(kind.SlotOfLabel(label))
                                                                 : -1;
    if (number < 0) {
        error = "No " + std::string(kind.Noun()) + " is labelled " + redirect;
        return std::nullopt;
    }
    answers.redirectTo = number;
    return answers;
}

void GiveAnswers(CliInteraction& ui, const EditAnswers& answers) {
    ui.redirectTo = answers.redirectTo;
    ui.failOnMissing = answers.failOnMissing;
}

}  // namespace vxcli
