#include "win32/fonts.h"

#include <array>

namespace vorlane {
namespace {

// The design's faces first, then the same fonts' English names (a Windows that is not Japanese
// may have them under those), then the IPA fonts, which share their metrics (Wine finds them
// on Linux). The first one installed is taken.
constexpr std::array<const wchar_t*, 3> GothicFaces{L"ＭＳ ゴシック", L"MS Gothic", L"IPAGothic"};
constexpr std::array<const wchar_t*, 3> ProportionalGothicFaces{L"ＭＳ Ｐゴシック", L"MS PGothic",
                                                                L"IPAPGothic"};
// The buttons', the frame's and the mode buttons' font: the proportional gothic at 9 points.
constexpr ControlFont WindowFont{FontFace::ProportionalGothic, 9};

bool isInstalled(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    const HDC screen = ::GetDC(nullptr);
    bool found = false;
    ::EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM data) -> int {
            *reinterpret_cast<bool*>(data) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

const wchar_t* firstInstalled(const std::array<const wchar_t*, 3>& faces) {
    for (const wchar_t* face : faces) {
        if (isInstalled(face))
            return face;
    }
    return faces.front();
}

// Looked up once: the window asks again on every change of DPI.
const wchar_t* installedFace(bool gothic) {
    static const wchar_t* const gothicFace = firstInstalled(GothicFaces);
    static const wchar_t* const proportionalFace = firstInstalled(ProportionalGothicFaces);
    return gothic ? gothicFace : proportionalFace;
}

} // namespace

HFONT createFont(ControlFont font, int dpi) {
    if (font.face == FontFace::WindowDefault)
        font = WindowFont;
    const wchar_t* face = installedFace(font.face == FontFace::Gothic);
    // Points to pixels: 72 points an inch.
    const int height = -static_cast<int>(font.points * dpi / 72.0 + 0.5);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face);
}

} // namespace vorlane
