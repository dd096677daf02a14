// Invariants of the two conversion commands. The first byte's lowest bit chooses drop-frame
// counting; the rest is the frame box text, and also the three time box texts, hours, minutes
// and seconds.frames, separated by '|' (missing fields are empty).

#include "arithmetic/conversion.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

std::string_view takeField(std::string_view& rest) {
    const auto separator = rest.find('|');
    const std::string_view field = rest.substr(0, separator);
    rest = separator == std::string_view::npos ? std::string_view{} : rest.substr(separator + 1);
    return field;
}

// A non-negative 32-bit integer as "#####0" shows it.
bool isFrameText(std::string_view text) {
    if (text.empty() || text.size() > 10 || (text.size() > 1 && text.front() == '0'))
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return text.size() < 10 || text <= "2147483647";
}

void checkFrameText(std::string_view text, bool dropFrame) {
    const auto result = vorlane::convertFrameText(text, dropFrame);
    if (result.warning != vorlane::Warning::NoWarning) {
        require(result.time == vorlane::TimeTexts{"0", "00", "00.00"}, "a refusal converts 0");
        return;
    }
    // Every frame number the command converts comes back through the texts it shows.
    const auto back = vorlane::convertTimeTexts(result.time.hours, result.time.minutes,
                                                result.time.secFrames, dropFrame);
    require(back.warning == vorlane::Warning::NoWarning, "shown time texts convert back");
    require(vorlane::convertFrameText(back.frameText, dropFrame) == result,
            "the frame number comes back as the same time texts");
}

void checkTimeTexts(std::string_view hours, std::string_view minutes, std::string_view secFrames,
                    bool dropFrame) {
    const auto result = vorlane::convertTimeTexts(hours, minutes, secFrames, dropFrame);
    if (result.warning != vorlane::Warning::NoWarning)
        require(result.frameText == "0", "a refusal shows frame 0");
    else
        require(isFrameText(result.frameText), "the frame number is a non-negative 32-bit integer");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool dropFrame = (data[0] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    checkFrameText(rest, dropFrame);
    const std::string_view hours = takeField(rest);
    const std::string_view minutes = takeField(rest);
    checkTimeTexts(hours, minutes, rest, dropFrame);
    return 0;
}
