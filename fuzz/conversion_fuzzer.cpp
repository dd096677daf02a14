// Invariants of the two conversion commands and of copying and pasting timecodes. The first
// byte's lowest bit chooses drop-frame counting; the rest is the frame box text and a pasted
// text, and also the three time box texts, hours, minutes and seconds.frames, separated by '|'
// (missing fields are empty).

#include "arithmetic/numbertext.h"
#include "require.h"
#include "window/conversion.h"
#include "window/smptetext.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vorlane::test::require;

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

// The SMPTE text that copy writes for a timecode that paste accepted: each field two digits,
// ':' between them, and ';' before the frames when the text was written in drop-frame form.
std::string twoDigitForm(std::string_view timecode) {
    std::string form;
    std::size_t fieldStart = 0;
    for (std::size_t pos = 0; pos <= timecode.size(); ++pos) {
        if (pos < timecode.size() && timecode[pos] != ':' && timecode[pos] != ';')
            continue;
        form.append(pos - fieldStart < 2 ? 1 : 0, '0');
        form.append(timecode.substr(fieldStart, pos - fieldStart));
        form.push_back(':');
        fieldStart = pos + 1;
    }
    require(form.size() == 12, "a pasted timecode has four fields of one or two digits");
    form.pop_back();
    if (timecode.find(';') != std::string_view::npos)
        form[8] = ';';
    return form;
}

// A pasted timecode is a label of its counting: copied back from the boxes it fills, it comes
// out the same, written in two digits a field; with hours above 24 the boxes are refused.
void checkPaste(std::string_view text) {
    const auto pasted = vorlane::classifyPaste(text);
    if (pasted.kind != vorlane::PasteKind::Timecode)
        return;
    const std::string form = twoDigitForm(vorlane::trimBlanks(text, vorlane::PasteBlanks));
    const auto copied = vorlane::timecodeForCopy(pasted.time.hours, pasted.time.minutes,
                                                 pasted.time.secFrames, pasted.dropFrame);
    if (form.substr(0, 2) > "24")
        require(!copied, "hours above 24 are not copied");
    else
        require(copied == form, "a pasted timecode copies back unchanged");
}

// A copied timecode pastes back in the same counting as the same frame.
void checkCopy(std::string_view hours, std::string_view minutes, std::string_view secFrames,
               bool dropFrame) {
    const auto copied = vorlane::timecodeForCopy(hours, minutes, secFrames, dropFrame);
    if (!copied)
        return;
    const auto pasted = vorlane::classifyPaste(*copied);
    require(pasted.kind == vorlane::PasteKind::Timecode && pasted.dropFrame == dropFrame,
            "a copied timecode pastes in its counting");
    const auto back = vorlane::frameOfTimeTexts(pasted.time.hours, pasted.time.minutes,
                                                pasted.time.secFrames, dropFrame);
    const auto original = vorlane::frameOfTimeTexts(hours, minutes, secFrames, dropFrame);
    require(back.warning == vorlane::Warning::NoWarning && back.frame == original.frame,
            "a copied timecode pastes as the same frame");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool dropFrame = (data[0] & 1) != 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    checkFrameText(rest, dropFrame);
    checkPaste(rest);
    const std::string_view hours = takeField(rest);
    const std::string_view minutes = takeField(rest);
    checkTimeTexts(hours, minutes, rest, dropFrame);
    checkCopy(hours, minutes, rest, dropFrame);
    return 0;
}
