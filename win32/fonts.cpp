#include "win32/fonts.h"

#include <array>

namespace vorlane {
namespace {

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

// The first family installed (window/layout.h); where none is, Windows takes a Japanese font of
// its own for the first.
template <std::size_t N>
const wchar_t* firstInstalled(const std::array<std::u16string_view, N>& families) {
    for (const std::u16string_view family : families) {
        const auto* face = reinterpret_cast<const wchar_t*>(family.data());
        if (isInstalled(face))
            return face;
    }
    return reinterpret_cast<const wchar_t*>(families.front().data());
}

// Looked up once: the window asks again on every change of DPI.
const wchar_t* installedFace(FontFace face) {
    static const wchar_t* const gothic = firstInstalled(GothicFamilies);
    static const wchar_t* const proportional = firstInstalled(ProportionalGothicFamilies);
    return face == FontFace::Gothic ? gothic : proportional;
}

} // namespace

HFONT createFont(ControlFont font, int dpi) {
    const wchar_t* face = installedFace(font.face);
    // Points to pixels: 72 points an inch.
    const int height = -static_cast<int>(font.points * dpi / 72.0 + 0.5);
    return ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face);
}

} // namespace vorlane
