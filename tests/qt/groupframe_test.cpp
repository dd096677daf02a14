#include "formmain_fixture.h"

#include <QGroupBox>
#include <QImage>
#include <QStyleOptionButton>

namespace {

// The mode frame's own drawing (frame line and title) without the mode buttons over it.
QImage frameWithoutButtons(QGroupBox* frame) {
    QImage image(frame->size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    frame->render(&image, {}, {}, QWidget::DrawWindowBackground);
    return image;
}

// Where a mode button draws its round indicator, in the frame's coordinates.
QRect indicatorArea(QRadioButton* option) {
    QStyleOptionButton indicator;
    indicator.initFrom(option);
    return option->style()
        ->subElementRect(QStyle::SE_RadioButtonIndicator, &indicator, option)
        .translated(option->pos());
}

TEST_F(QtWindowTest, ModeFrameLineRunsClearOfTheModeButtons) {
    const QImage frame = frameWithoutButtons(form->Frame1);
    for (QRadioButton* option : form->OptionFps) {
        SCOPED_TRACE(option->objectName().toStdString());
        const QRect area = indicatorArea(option);
        ASSERT_TRUE(frame.rect().contains(area));

        // The frame has a top edge, and it lies above the buttons.
        const int column = area.center().x();
        int edges = 0;
        for (int y = 1; y < area.top(); ++y)
            edges += frame.pixel(column, y) != frame.pixel(column, 0);
        EXPECT_GT(edges, 0);

        // No line of the frame passes through an indicator: the frame is one colour there.
        int crossed = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                crossed += frame.pixel(x, y) != frame.pixel(area.topLeft());
        EXPECT_EQ(crossed, 0) << "indicator rows " << area.top() << " to " << area.bottom();
    }
}

} // namespace
