#pragma once

namespace vxmk {

// Category numbers of arrangements and styles (the first twelve; 12-15 are the user's).
enum StyleCategory : int {
    k8Beat,
    k16Beat,
    kBallRoom,
    kDance,
    kLatin,
    kCountry,
    kTrad,
    kJazz,
    kRnB,
    kFunk,
    kRock,
    kWorld
};

// Category numbers of programs (15 "User" is left to the user).
enum ProgramCategory : int {
    kKeyboard,
    kOrgan,
    kGuitar,
    kBass,
    kStrings,
    kAirVocal,
    kBrass,
    kReed,
    kPipe,
    kSynth,
    kSynthPad,
    kBellMallet,
    kPlucked,
    kSoundEffect,
    kDrumPerc,
};

}  // namespace vxmk
