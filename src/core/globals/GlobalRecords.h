#pragma once

#include <array>
#include <string_view>

#include "core/format/ByteRecord.h"

namespace vx {

// The on/off switches of the arrangement global record, each one bit of one byte.
enum class ArgSwitch {
    ChordMemory,
    SoundMemory,
    BassInversion,
    TempoLock,
    KeyboardLock,
    Ensemble,
    SyncStart,
    SyncStop,
    DynamicBacking,
    SplitPointLock,
    ChordSoundSync,
};
inline constexpr int kArgSwitchCount = 11;

struct ArgSwitchField {
    std::size_t offset;
    int bit;
    std::string_view label;  // the check box's text
};
// By ArgSwitch order.
inline constexpr std::array<ArgSwitchField, kArgSwitchCount> kArgSwitchFields{{
    {16, 0, "Chord Memory"},
    {17, 0, "Sound Memory"},
    {18, 0, "Bass Inversion"},
    {20, 0, "Tempo Lock"},
    {21, 0, "Keyboard Lock"},
    {22, 0, "Ensemble"},
    {24, 0, "Start"},
    {24, 1, "Stop"},
    {25, 0, "Dynamic Backing"},
    {27, 0, "Split Point Lock"},
    {32, 0, "Synchro with Start/Stop"},
}};

inline constexpr std::array<std::string_view, 2> kHarmonyTypeName = {"Auto", "Actual"};
inline constexpr std::array<std::string_view, 4> kVelocityControlName = {"Off", "Break", "Fill 1", "Fill 2"};
inline constexpr std::array<std::string_view, 3> kChordRecognitionName = {"Easy", "Normal", "One Finger"};

// The arrangement global record, 48 bytes. Bits and bytes the editor does not name are kept.
struct ArgRecord : ByteRecord<48> {
    static constexpr int kChannels = 16;
    static constexpr std::uint8_t kChannelOff = 255;
    // The first eleven functions always have a channel; the last five may be off.
    static constexpr int kFirstMayBeOff = 11;

    // Channel byte of function 0 to 15: 0-15 for channels 1 to 16, 255 for off.
    int Channel(int function) const { return Byte(static_cast<std::size_t>(function)); }
    void SetChannel(int function, int value) {
        SetByte(static_cast<std::size_t>(function), static_cast<std::uint8_t>(value));
    }
    bool Switch(ArgSwitch which) const {
        const ArgSwitchField& field = kArgSwitchFields[static_cast<std::size_t>(which)];
        return ((Byte(field.offset) >> field.bit) & 1) != 0;
    }
    void SetSwitch(ArgSwitch which, bool on) {
        const ArgSwitchField& field = kArgSwitchFields[static_cast<std::size_t>(which)];
        const int mask = 1 << field.bit;
        SetByte(field.offset,
                static_cast<std::uint8_t>(on ? (Byte(field.offset) | mask) : (Byte(field.offset) & ~mask)));
    }
    // Bit 4 of byte 17: 0 Auto, 1 Actual.
    int HarmonyType() const { return (Byte(17) >> 4) & 1; }
    void SetHarmonyType(int type) { SetByte(17, static_cast<std::uint8_t>((Byte(17) & ~0x10) | ((type & 1) << 4))); }
    int VelocityControl() const { return Byte(26); }
    void SetVelocityControl(int value) { SetByte(26, static_cast<std::uint8_t>(value)); }
    int ChordRecognition() const { return Byte(36); }
    void SetChordRecognition(int value) { SetByte(36, static_cast<std::uint8_t>(value)); }
};

// The pedals and switches of the global record, in the order of the dialog's combos.
inline constexpr int kPedalCount = 9;
struct PedalField {
    std::size_t offset;
    int choices;  // switches offer functions 0-54, the assignable pedals all 65
    std::string_view label;
};
inline constexpr std::array<PedalField, kPedalCount> kPedalFields{{
    {10, 55, "QP4 Pedal Switch A"},
    {11, 55, "QP4 Pedal Switch B"},
    {12, 55, "QP4 Pedal Switch C"},
    {13, 55, "QP4 Pedal Switch D"},
    {14, 55, "QP4 Pedal Switch E"},
    {3, 65, "Assignable Pedal 1"},
    {4, 65, "Assignable Pedal 2"},
    {15, 55, "Switch 1"},
    {16, 55, "Switch 2"},
}};
inline constexpr std::array<std::string_view, 2> kDamperPolarityName = {"VEMO (\u2013)", "REVERSE (+)"};
inline constexpr int kVelocityCurves = 9;
inline constexpr int kAftertouchCurves = 8;

// The global record, 416 bytes. Only the pedal, damper and curve bytes are named.
struct GblRecord : ByteRecord<416> {
    int DamperPolarity() const { return Byte(2); }
    void SetDamperPolarity(int value) { SetByte(2, static_cast<std::uint8_t>(value)); }
    // Function of pedal or switch 0 to 8 (kPedalFields order), as stored.
    int PedalFunction(int pedal) const { return Byte(kPedalFields[static_cast<std::size_t>(pedal)].offset); }
    void SetPedalFunction(int pedal, int function) {
        SetByte(kPedalFields[static_cast<std::size_t>(pedal)].offset, static_cast<std::uint8_t>(function));
    }
    // Curves 0-8 and 0-7, shown as "1" to "9" and "1" to "8".
    int VelocityCurve() const { return Byte(17); }
    void SetVelocityCurve(int value) { SetByte(17, static_cast<std::uint8_t>(value)); }
    int AftertouchCurve() const { return Byte(18); }
    void SetAftertouchCurve(int value) { SetByte(18, static_cast<std::uint8_t>(value)); }
};

}  // namespace vx
