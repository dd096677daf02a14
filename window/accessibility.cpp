#include "window/accessibility.h"

#include "arithmetic/timecode.h"

#include <cstdint>
#include <iterator>

namespace vorlane {
namespace {

// The descriptions quote the arithmetic's limits; a change of a limit must not leave them wrong.
constexpr bool quotes(std::u16string_view text, std::int32_t number) {
    char16_t digits[12]{};
    std::size_t first = std::size(digits);
    for (std::int32_t rest = number; first == std::size(digits) || rest > 0; rest /= 10)
        digits[--first] = static_cast<char16_t>(u'0' + rest % 10);
    const std::u16string_view decimal(digits + first, std::size(digits) - first);
    return text.find(decimal) != std::u16string_view::npos;
}

static_assert(quotes(AccessibleTexts[0].description, MaxFrameNumber));
static_assert(quotes(AccessibleTexts[2].description, MaxHours));
static_assert(quotes(AccessibleTexts[11].description, FramesPerMinute));

// The three time boxes have no caption of their own, so each name must say its field.
static_assert(AccessibleTexts[2].name.ends_with(u"時") &&
              AccessibleTexts[3].name.ends_with(u"分") &&
              AccessibleTexts[4].name.ends_with(u"秒．フレーム"));

// Each row speaks for its control: the separators, and only they, are silent.
constexpr bool silentAreSeparators() {
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        const bool separator =
            Controls[i].kind == ControlKind::Label && Controls[i].caption == u"：";
        if (separator != isSilent(AccessibleTexts[i]) ||
            AccessibleTexts[i].name.empty() != AccessibleTexts[i].description.empty())
            return false;
    }
    return true;
}
static_assert(silentAreSeparators());

} // namespace
} // namespace vorlane
