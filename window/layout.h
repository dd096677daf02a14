#pragma once

// The window's controls as the design draws them: names, kinds, captions, places and fonts, in
// tab order. Every toolkit's window creates its controls from this one table.

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace vorlane {

/// The window's caption.
inline constexpr std::u16string_view WindowCaption = u"ヴォルレーン";

/// The client area: 4335 by 1965 twips (1/1440 inch; 15 twips make a pixel at 96 DPI).
inline constexpr int ClientWidthTwips = 4335;
inline constexpr int ClientHeightTwips = 1965;
inline constexpr double TwipsPerInch = 1440.0;

/// Twips as pixels at `dpi` dots per inch (1 to 100000), to the nearest pixel (a half away from
/// zero, as Windows' MulDiv rounds): 4335 twips are 289 pixels at 96 DPI and 434 at 144.
/// Results beyond the int range stop at its ends.
constexpr int twipsToPixels(int twips, int dpi) {
    constexpr std::int64_t PerInch = 1440;
    const std::int64_t scaled = std::int64_t{twips} * dpi;
    const std::int64_t pixels =
        (scaled < 0 ? scaled - PerInch / 2 : scaled + PerInch / 2) / PerInch;
    return static_cast<int>(std::clamp<std::int64_t>(pixels, INT32_MIN, INT32_MAX));
}

/// Pixels at `dpi` dots per inch as twips.
constexpr double pixelsToTwips(int pixels, int dpi) {
    return pixels * TwipsPerInch / dpi;
}

enum class ControlKind { TextBox, PushButton, Label, GroupFrame, OptionButton };

/// The design's two Japanese faces.
enum class FontFace { Gothic, ProportionalGothic };

struct ControlFont {
    FontFace face;
    double points;
    friend bool operator==(const ControlFont&, const ControlFont&) = default;
};

/// The families that each face is looked for under, the first one installed taken, so that every
/// platform and locale shows the same face: the design's family, its English name, then the IPA
/// fonts, which share its metrics (their kana are as narrow, so the designed widths hold the
/// captions), then other Japanese gothics that Linux distributions ship.
inline constexpr std::array<std::u16string_view, 7> GothicFamilies{
    u"ＭＳ ゴシック",         u"MS Gothic",       u"IPAGothic", u"TakaoGothic", u"VL Gothic",
    u"Noto Sans Mono CJK JP", u"Noto Sans CJK JP"};
inline constexpr std::array<std::u16string_view, 6> ProportionalGothicFamilies{
    u"ＭＳ Ｐゴシック", u"MS PGothic", u"IPAPGothic",
    u"TakaoPGothic",    u"VL PGothic", u"Noto Sans CJK JP"};

/// A place in twips: relative to the client area, the option buttons' to the frame that holds
/// them.
struct TwipsBox {
    int left, top, width, height;
};

struct ControlRow {
    std::u16string_view name; ///< the design's name, "Text時刻(0)" for element 0 of an array
    ControlKind kind;
    std::u16string_view caption;
    TwipsBox place;
    ControlFont font;
};

inline constexpr ControlFont BoxFont{FontFace::Gothic, 11.25};
inline constexpr ControlFont LabelFont{FontFace::ProportionalGothic, 9.75};
inline constexpr ControlFont SeparatorFont{FontFace::Gothic, 15.75};
/// The window's default font, which the push buttons, the frame and the mode buttons take: the
/// proportional gothic at 9 points, in which the design's captions are measured.
inline constexpr ControlFont WindowFont{FontFace::ProportionalGothic, 9};

/// The controls in tab order: of each kind, in the order of its design names. The option buttons
/// follow the frame that holds them.
inline constexpr std::array<ControlRow, 13> Controls{{
    {u"Textフレーム番号", ControlKind::TextBox, u"", {240, 480, 1335, 375}, BoxFont},
    {u"CommandF2T", ControlKind::PushButton, u"＞", {1680, 240, 375, 375}, WindowFont},
    {u"Text時刻(0)", ControlKind::TextBox, u"", {2160, 480, 375, 375}, BoxFont},
    {u"Text時刻(1)", ControlKind::TextBox, u"", {2760, 480, 375, 375}, BoxFont},
    {u"Text時刻(2)", ControlKind::TextBox, u"", {3360, 480, 735, 375}, BoxFont},
    {u"CommandT2F", ControlKind::PushButton, u"＜", {1680, 720, 375, 375}, WindowFont},
    {u"Label1(0)", ControlKind::Label, u"フレーム番号", {240, 120, 1335, 255}, LabelFont},
    {u"Label1(1)", ControlKind::Label, u"H：M：S．ﾌﾚｰﾑ", {2160, 120, 1935, 255}, LabelFont},
    {u"Label2", ControlKind::Label, u"：", {2520, 480, 255, 375}, SeparatorFont},
    {u"Label3", ControlKind::Label, u"：", {3120, 480, 255, 375}, SeparatorFont},
    {u"Frame1", ControlKind::GroupFrame, u"形式", {120, 1200, 4095, 615}, WindowFont},
    {u"OptionFps(0)",
     ControlKind::OptionButton,
     u"ノンドロップフレーム",
     {120, 240, 1815, 255},
     WindowFont},
    {u"OptionFps(1)",
     ControlKind::OptionButton,
     u"ドロップフレーム",
     {2160, 240, 1815, 255},
     WindowFont},
}};

} // namespace vorlane
