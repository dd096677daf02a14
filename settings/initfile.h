#pragma once

// InitFile: the program's own settings, their place in the settings file and their conversion
// between file text and the variables of Global.

#include "settings/inipath.h"
#include "settings/profile.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane {

inline constexpr std::string_view PositionSection = "位置";
inline constexpr std::string_view OptionsSection = "設定";
inline constexpr std::string_view WindowXKey = "X";
inline constexpr std::string_view WindowYKey = "Y";
inline constexpr std::string_view DropFrameKey = "ドロップフレーム";
inline constexpr std::string_view DefaultPositionText = "0";
/// Drop-frame counting: a first run's mode, and the mode buttons' state before one is stored.
inline constexpr bool DefaultDropFrame = true;
inline constexpr std::string_view DefaultDropFrameText = DefaultDropFrame ? "True" : "False";

/// A stored position: the number at the start of the text (as readValue reads it) rounded to
/// the nearest integer, halves to even. Nothing when it rounds outside the signed 32-bit range.
std::optional<std::int32_t> positionFromText(std::string_view text);

/// A stored mode: "True" or "False" in any letter case, or a number (zero is false, any other
/// number true). Nothing for any other text.
std::optional<bool> dropFrameFromText(std::string_view text);

/// Sets Global::WindowX, WindowY and DropFrame from the file, in that order, as GetIniValue
/// reads them: the default of a missing, empty or "???" value is used and written into the
/// file, all of them in one write (GetIniValues). Waits at most `wait` in all; when another
/// process holds the file that long, the values come from the file as it stands (the defaults
/// where it holds none) and nothing is written. A stored value that cannot be converted gives
/// the default for this run and stays in the file.
void LoadSettings(const SettingsLocation& location, std::chrono::milliseconds wait = ReadWait);

/// Where the window stands: its left and top edge in twips.
struct WindowPosition {
    double left;
    double top;
};

/// Sets Global::WindowX and WindowY from the position's left and top rounded halves to even,
/// and Global::DropFrame from the flag, and stores them in the file in that order in one write,
/// giving the bytes that PutIniString for each would give one after another. A
/// coordinate that rounds outside the signed 32-bit range (or is not a number) is neither taken
/// nor written: the variable and the file keep their previous value. Without a position (a
/// platform that cannot say where the window stands) only the mode is taken and stored; X and
/// Y stay in the file as they are. Waits at most `wait` for another process that holds the
/// file; when it is not free by then, nothing is written.
void SaveSettings(const SettingsLocation& location, std::optional<WindowPosition> position,
                  bool dropFrame, std::chrono::milliseconds wait = WriteWait);

} // namespace vorlane
