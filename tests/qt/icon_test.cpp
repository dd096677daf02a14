#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace {

// The icon's outline is the film's straight edges. At a size where an edge falls between two
// pixels, that row or column comes out partly transparent and the whole icon looks soft.
TEST(ThemeIcon, EveryPixelIsOpaqueOrTransparent) {
    for (const int size : {16, 32, 48, 64, 128}) {
        const QString path =
            QStringLiteral(VORLANE_ICON_DIR "/%1x%1/apps/org.vorlane.Vorlane.png").arg(size);
        SCOPED_TRACE(path.toStdString());
        const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(icon.size(), QSize(size, size));
        int partial = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const int alpha = qAlpha(icon.pixel(x, y));
                partial += alpha != 0 && alpha != 255;
            }
        EXPECT_EQ(partial, 0);
    }
}

} // namespace
