#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/catalogue/ItemKind.h"
#include "core/storage/SetData.h"

namespace vxmk {

// Programs that an arrangement of the template plays on its eleven tracks (style tracks
// first); the template's style and KBD sets take theirs from the same list.
extern const std::array<std::string_view, 11> kTemplateTracks;

inline constexpr int kTemplateSplit = 60;          // C4
inline constexpr int kTemplateTempo = 120;         // beats per minute
inline constexpr int kSequenceMemoryStart = 8192;  // unit where sequence memory starts

// Record offsets that the core does not name.
inline constexpr std::size_t kArrVarThen = 19;
inline constexpr std::size_t kArrVarStart = 20;
inline constexpr std::size_t kArrTempo = 21;
inline constexpr std::size_t kArrTranspose = 25;
inline constexpr std::size_t kArrChordScan = 28;
inline constexpr std::size_t kBsqNext = 79;
inline constexpr std::size_t kBsqChain = 80;
inline constexpr std::size_t kSongNext = 52;
inline constexpr std::size_t kSongChain = 53;
inline constexpr std::uint8_t kChainToNext = 0x02;
inline constexpr std::uint8_t kAutoStart = 0x01;

// Writes "VEMOX", 0, the kind's header byte and 0 into the first eight bytes of a header.
void PutItemHeader(std::uint8_t* header, vx::ItemKind kind);

// Program number of a preset program by name; throws std::logic_error for an unknown name,
// so a typing error in the tables stops the build instead of shipping a wrong call.
int RequirePresetProgram(std::string_view name);

// The empty set every new set is made from: blank items everywhere, the sequence memory
// empty from unit 8192, and a style file of 224 bytes, as a set without styles has.
vx::SetData BuildTemplateSet();

// The style record the demo set's styles start from: blank name, category 15, preset calls.
vx::StyleRecord TemplateStyleRecord();

}  // namespace vxmk
