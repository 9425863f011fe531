#pragma once

#include <string>

namespace vx {

// The user's settings (section "Options"); read at start-up, written at exit.
struct Options {
    std::string PathNam;  // default: the program directory
    std::string OldSetNam;
    int WArrangeMode = 1;  // 0 cascade, 1 tile
    int ModeId = 0;        // tab shown
    int ShowTips = 1;      // key "Show Tips at Startup"
    int HighCall = 1;
    int WarnDupl = 1;
    int StartOld = 0;
};

}  // namespace vx
