#include "settings/initfile.h"

#include "arithmetic/numbertext.h"
#include "settings/characters.h"
#include "settings/global.h"
#include "settings/initutility.h"

namespace vorlane {
namespace {

// What DefaultPositionText reads as.
constexpr std::int32_t DefaultPosition = 0;

} // namespace

std::optional<std::int32_t> positionFromText(std::string_view text) {
    return roundToInt32(readValue(text));
}

std::optional<bool> dropFrameFromText(std::string_view text) {
    if (equalsIgnoringAsciiCase(text, "True"))
        return true;
    if (equalsIgnoringAsciiCase(text, "False"))
        return false;
    if (const std::optional<double> number = toNumberStrict(text))
        return *number != 0.0;
    return std::nullopt;
}

void LoadSettings(const SettingsLocation& location, std::chrono::milliseconds wait) {
    const std::vector<std::string> values =
        GetIniValues(location,
                     {{PositionSection, WindowXKey, std::string(DefaultPositionText)},
                      {PositionSection, WindowYKey, std::string(DefaultPositionText)},
                      {OptionsSection, DropFrameKey, std::string(DefaultDropFrameText)}},
                     wait);
    // A stored text that cannot be converted gives the default for this run only: it is present
    // and not empty, so nothing is written and the file keeps it until the next save.
    Global::WindowX = positionFromText(values[0]).value_or(DefaultPosition);
    Global::WindowY = positionFromText(values[1]).value_or(DefaultPosition);
    Global::DropFrame = dropFrameFromText(values[2]).value_or(DefaultDropFrame);
}

void SaveSettings(const SettingsLocation& location, std::optional<WindowPosition> position,
                  bool dropFrame, std::chrono::milliseconds wait) {
    std::vector<IniEntry> entries;
    const auto take = [&](double twips, std::int32_t& variable, std::string_view key) {
        if (const std::optional<std::int32_t> rounded = roundToInt32(twips)) {
            variable = *rounded;
            entries.push_back({PositionSection, key, iniText(*rounded)});
        }
    };
    if (position) {
        take(position->left, Global::WindowX, WindowXKey);
        take(position->top, Global::WindowY, WindowYKey);
    }
    Global::DropFrame = dropFrame;
    entries.push_back({OptionsSection, DropFrameKey, iniText(dropFrame)});
    PutIniStrings(location, entries, wait);
}

} // namespace vorlane
