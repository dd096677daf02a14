#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vorlane {
namespace {

// The first family that is installed, found without asking fontconfig to match anything.
// Handing Qt only that family matters for start-up: a family that is not installed, or any
// second family, makes Qt ask fontconfig for a sorted fallback list of every installed font
// once per family and script, and those sorts cost more than all the rest of the font set-up.
// A glyph that the chosen font lacks still comes from fontconfig's fallbacks. hasFamily also
// knows a family by the names it has in other languages: fontconfig lists IPAPGothic as
// "IPA Pゴシック" in a Japanese locale, where a look-up in the listed names missed it and Qt
// matched the proportional face to a monospaced one, too wide for the captions.
template <std::size_t N>
QStringList resolveFamily(const std::array<std::u16string_view, N>& names) {
    QStringList families;
    for (const std::u16string_view name : names)
        families << QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    for (const QString& family : families)
        if (QFontDatabase::hasFamily(family))
            return {family};
    return families;
}

} // namespace

QFont controlFont(ControlFont font) {
    static const QStringList gothic = resolveFamily(GothicFamilies);
    static const QStringList proportional = resolveFamily(ProportionalGothicFamilies);
    QFont qtFont;
    qtFont.setFamilies(font.face == FontFace::Gothic ? gothic : proportional);
    qtFont.setPointSizeF(font.points);
    qtFont.setWeight(QFont::Normal);
    qtFont.setItalic(false);
    return qtFont;
}

} // namespace vorlane
