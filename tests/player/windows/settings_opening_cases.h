#pragma once
// The boxes the settings window opens with for each stored value, for the in-process and
// the black-box runs alike.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::player::testing {

// The check boxes of the settings window in the order the cases list their ticks.
inline constexpr std::string_view kSettingsBoxes[] = {"开机启动", "始终置顶", "取消置顶", "模式1",
                                                      "模式2",    "模式3",    "屏保选择", "始终置顶4"};

struct OpeningCase {
  std::string name;
  std::string settings;  // PlayerConfig.ini
  std::string ticks;     // "1" or "0" for each of kSettingsBoxes
};

inline void PrintTo(const OpeningCase& c, std::ostream* os) { *os << c.name; }

// Start, always on top, not on top, modes 1 to 3, screen saver, start page.
inline const std::vector<OpeningCase> kOpeningCases = {
    {"EmptyFile", "", "01000000"},
    {"StickyOne", "[Config]\r\nSticky=1\r\n", "00100000"},
    {"StickyTwoTicksNeither", "[Config]\r\nSticky=2\r\n", "00000000"},
    {"StickyWithinTheTolerance", "[Config]\r\nSticky=0.00000001\r\n", "01000000"},
    {"StartOne", "[Config]\r\nStart=1\r\n", "11000000"},
    {"StartOneAfterABlank", "[Config]\r\nStart= 1\r\n", "11000000"},
    {"StartTwo", "[Config]\r\nStart=2\r\n", "01000000"},
    {"StartWithoutANumber", "[Config]\r\nStart=abc\r\n", "01000000"},
    {"RenderingOne", "[Config]\r\nRendering=1\r\n", "01010000"},
    {"RenderingTwo", "[Config]\r\nRendering=2\r\n", "01001000"},
    {"RenderingThree", "[Config]\r\nRendering=3\r\n", "01000100"},
    {"RenderingFour", "[Config]\r\nRendering=4\r\n", "01000000"},
    {"ScreenOne", "[config]\r\nscreen=1\r\n", "01000010"},
    {"ScreenZero", "[Config]\r\nScreen=0\r\n", "01000000"},
    {"Everything", "[Config]\r\nStart=1\r\nSticky=1\r\nRendering=3\r\nScreen=1\r\n", "10100110"},
};

}  // namespace korvane::player::testing
