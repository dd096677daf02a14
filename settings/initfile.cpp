#include "settings/initfile.h"

#include "arithmetic/numbertext.h"
#include "settings/codepage.h"
#include "settings/global.h"
#include "settings/initutility.h"

namespace vorlane {
namespace {

// What DefaultPositionText and DefaultDropFrameText read as.
constexpr std::int32_t DefaultPosition = 0;
constexpr bool DefaultDropFrame = true;

// A stored text that cannot be converted gives the default for this run only: it is present
// and not empty, so nothing is written and the file keeps it until the next save.
std::int32_t loadPosition(const std::string& path, std::string_view key) {
    const std::string text = GetIniValue(path, PositionSection, key, DefaultPositionText);
    return positionFromText(text).value_or(DefaultPosition);
}

void savePosition(const std::string& path, std::string_view key, double twips,
                  std::int32_t& variable) {
    const std::optional<std::int32_t> rounded = roundToInt32(twips);
    if (!rounded)
        return;
    variable = *rounded;
    PutIniString(path, PositionSection, key, variable);
}

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

void LoadSettings(const std::string& path) {
    Global::WindowX = loadPosition(path, WindowXKey);
    Global::WindowY = loadPosition(path, WindowYKey);
    const std::string dropFrame =
        GetIniValue(path, OptionsSection, DropFrameKey, DefaultDropFrameText);
    Global::DropFrame = dropFrameFromText(dropFrame).value_or(DefaultDropFrame);
}

void SaveSettings(const std::string& path, double left, double top, bool dropFrame) {
    savePosition(path, WindowXKey, left, Global::WindowX);
    savePosition(path, WindowYKey, top, Global::WindowY);
    Global::DropFrame = dropFrame;
    PutIniString(path, OptionsSection, DropFrameKey, Global::DropFrame);
}

} // namespace vorlane
