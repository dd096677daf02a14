// Invariants of the time normalisation. The input holds the three box texts, hours, minutes and
// seconds.frames, separated by '|' (missing fields are empty).

#include "arithmetic/normalize.h"
#include "arithmetic/numbertext.h"
#include "require.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

using vorlane::test::require;

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

std::string_view takeField(std::string_view& rest) {
    const auto separator = rest.find('|');
    const std::string_view field = rest.substr(0, separator);
    rest = separator == std::string_view::npos ? std::string_view{} : rest.substr(separator + 1);
    return field;
}

// All digits, converted; nothing for any other text or a value beyond 64 bits.
std::optional<std::int64_t> digitsValue(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        text.front() == '-')
        return std::nullopt;
    return value;
}

struct Fields {
    std::int64_t hours = 0;
    std::int64_t minutes = 0;
    std::int64_t seconds = 0;
    std::int64_t frames = 0;

    std::int64_t totalFrames() const {
        return ((hours * 60 + minutes) * 60 + seconds) * 30 + frames;
    }
};

// The fields as the carry reads them, or nothing when the input is one of the failures: a
// seconds.frames text that is not a number, hundredths beyond 16 bits, a negative field, a
// field beyond 32 bits, or a carry that takes minutes or hours past 32 bits.
std::optional<Fields> readInput(std::string_view hours, std::string_view minutes,
                                std::string_view secFrames) {
    const auto h = vorlane::roundToInt32(vorlane::readValue(hours));
    const auto m = vorlane::roundToInt32(vorlane::readValue(minutes));
    const auto x = vorlane::toNumberStrict(secFrames);
    if (!h || !m || !x || *h < 0 || *m < 0 || *x < 0.0)
        return std::nullopt;
    const auto hundredths = vorlane::roundToInt16(*x * 100.0);
    if (!hundredths)
        return std::nullopt;
    Fields fields{*h, *m, static_cast<std::int64_t>(std::floor(*x)), 0};
    fields.frames = *hundredths - fields.seconds * 100;
    const std::int64_t carriedMinutes = fields.minutes + (fields.seconds + fields.frames / 30) / 60;
    if (carriedMinutes > Int32Max || fields.hours + carriedMinutes / 60 > Int32Max)
        return std::nullopt;
    return fields;
}

Fields readOutput(const vorlane::TimeTexts& out) {
    const auto hours = digitsValue(out.hours);
    require(hours && *hours <= Int32Max && (out.hours.size() == 1 || out.hours.front() != '0'),
            "hours show as a plain non-negative 32-bit integer");
    const auto minutes = digitsValue(out.minutes);
    require(out.minutes.size() == 2 && minutes && *minutes <= 59, "minutes show as 00..59");
    const std::string_view secFrames = out.secFrames;
    require(secFrames.size() == 5 && secFrames[2] == '.', "seconds.frames show as ss.ff");
    const auto seconds = digitsValue(secFrames.substr(0, 2));
    const auto frames = digitsValue(secFrames.substr(3, 2));
    require(seconds && *seconds <= 59 && frames && *frames < 30,
            "seconds.frames lie within 00.00..59.29");
    return Fields{*hours, *minutes, *seconds, *frames};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    const std::string_view hours = takeField(rest);
    const std::string_view minutes = takeField(rest);
    const std::string_view secFrames = rest;

    const auto result = vorlane::NormalizeTimeTexts(hours, minutes, secFrames);
    const auto input = readInput(hours, minutes, secFrames);
    require(result.has_value() == input.has_value(), "fails exactly on the listed failures");
    if (!result)
        return 0;

    const Fields output = readOutput(*result);
    require(output.totalFrames() == input->totalFrames(), "the carry keeps the frame count");
    const auto again =
        vorlane::NormalizeTimeTexts(result->hours, result->minutes, result->secFrames);
    require(again == result, "a normalised time is a fixed point");
    return 0;
}
