#include "arithmetic/normalize.h"

#include "arithmetic/checked.h"
#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"

#include <cmath>

namespace vorlane {

std::optional<TimeTexts> NormalizeTimeTexts(std::string_view hoursText,
                                            std::string_view minutesText,
                                            std::string_view secFramesText) {
    const auto hours = roundToInt32(readValue(hoursText));
    const auto minutes = roundToInt32(readValue(minutesText));
    const auto value = toNumberStrict(secFramesText);
    if (!hours || !minutes || !value)
        return std::nullopt;
    // Negative fields can arrive only by paste; carrying them gives fields that convert to
    // nothing sensible, so they are left for the conversion to reject.
    if (*hours < 0 || *minutes < 0 || *value < 0.0)
        return std::nullopt;

    // The hundredths are held in 16 bits: 327.67 is the largest two-decimal value that carries.
    const auto hundredths = roundToInt16(*value * FrameScale);
    if (!hundredths)
        return std::nullopt;
    std::int32_t seconds = static_cast<std::int32_t>(std::floor(*value));
    std::int32_t frames = *hundredths - seconds * FrameScale;

    seconds += frames / FramesPerSecond;
    frames %= FramesPerSecond;
    const auto carriedMinutes = checkedAdd(*minutes, seconds / SecondsPerMinute);
    if (!carriedMinutes)
        return std::nullopt;
    seconds %= SecondsPerMinute;
    const double carriedValue = static_cast<double>(seconds * FrameScale + frames) / FrameScale;
    const auto carriedHours = checkedAdd(*hours, *carriedMinutes / MinutesPerHour);
    if (!carriedHours)
        return std::nullopt;
    const std::int32_t finalMinutes = *carriedMinutes % MinutesPerHour;

    return TimeTexts{formatNumber(*carriedHours, "0"), formatNumber(finalMinutes, "00"),
                     formatNumber(carriedValue, "00.00")};
}

} // namespace vorlane
