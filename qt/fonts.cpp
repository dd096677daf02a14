#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace vorlane {
namespace {

// The design's family first, then the IPA gothics, which share its metrics (their kana are as
// narrow, so the designed widths hold the captions), then other Japanese gothics that Linux
// distributions ship.
const QStringList& gothicCandidates() {
    static const QStringList families{
        QStringLiteral("ＭＳ ゴシック"),   QStringLiteral("MS Gothic"),
        QStringLiteral("IPAGothic"),       QStringLiteral("TakaoGothic"),
        QStringLiteral("VL Gothic"),       QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("Noto Sans CJK JP")};
    return families;
}

const QStringList& proportionalGothicCandidates() {
    static const QStringList families{
        QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
        QStringLiteral("IPAPGothic"),      QStringLiteral("TakaoPGothic"),
        QStringLiteral("VL PGothic"),      QStringLiteral("Noto Sans CJK JP")};
    return families;
}

// The first candidate that is installed and covers Japanese, found in one pass over the font
// database. Handing Qt only that family matters for start-up: a family that is not installed,
// or any second family, makes Qt ask fontconfig for a sorted fallback list of every installed
// font once per family and script, and those sorts cost more than all the rest of the font
// set-up. A glyph that the chosen font lacks still comes from fontconfig's fallbacks, so
// Japanese never renders as boxes. With no candidate installed, the whole list goes to Qt.
QStringList resolveFamily(const QStringList& candidates) {
    const QStringList installed = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString& family : candidates)
        if (installed.contains(family, Qt::CaseInsensitive))
            return {family};
    return candidates;
}

QFont japaneseFont(const QStringList& families, double pointSize) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    return font;
}

} // namespace

QFont gothicFont(double pointSize) {
    static const QStringList families = resolveFamily(gothicCandidates());
    return japaneseFont(families, pointSize);
}

QFont proportionalGothicFont(double pointSize) {
    static const QStringList families = resolveFamily(proportionalGothicCandidates());
    return japaneseFont(families, pointSize);
}

QFont defaultWindowFont() {
    return proportionalGothicFont(9.0);
}

} // namespace vorlane
