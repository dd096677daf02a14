#include "qt/groupframe.h"

#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionGroupBox>

namespace vorlane {
namespace {

// Pixels between the frame's left corner and the title, and between the title and each end of
// the broken line.
constexpr int TitleIndent = 8;
constexpr int TitleGap = 2;

class FrameThroughTitleStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override {
        QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
        if (control == CC_GroupBox &&
            (subControl == SC_GroupBoxLabel || subControl == SC_GroupBoxCheckBox))
            rect.translate(option->direction == Qt::RightToLeft ? -TitleIndent : TitleIndent, 0);
        return rect;
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !box || !(box->subControls & SC_GroupBoxFrame) ||
            box->text.isEmpty()) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QRect title = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
        if (box->subControls & SC_GroupBoxCheckBox)
            title = title.united(subControlRect(CC_GroupBox, box, SC_GroupBoxCheckBox, widget));

        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*box);
        frame.features = box->features;
        frame.lineWidth = box->lineWidth;
        frame.midLineWidth = box->midLineWidth;
        const int lineY = title.center().y();
        const int inset = frameTopInset(frame, widget);
        frame.rect.setTop(lineY - inset);
        // The line and the shade beneath it break where the title stands; the frame's fill runs
        // on under the title's lower half.
        QRect gap = title.adjusted(-TitleGap, 0, TitleGap, 0);
        gap.setBottom(lineY + 1);
        painter->save();
        painter->setClipRegion(QRegion(box->rect) - gap, Qt::IntersectClip);
        QProxyStyle::drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
        painter->restore();

        QStyleOptionGroupBox titleOnly = *box;
        titleOnly.subControls &= ~SC_GroupBoxFrame;
        QProxyStyle::drawComplexControl(control, &titleOnly, painter, widget);
    }

private:
    // How far below the top of its rectangle the base style draws a group frame's top edge:
    // Fusion leaves room for a title above the line, classic styles draw it at the very top.
    // Found by drawing the frame once into a scratch image, so that no style's internal margins
    // are assumed.
    int frameTopInset(const QStyleOptionFrame& frame, const QWidget* widget) const {
        if (frame.rect.isEmpty())
            return 0;
        QImage scratch(frame.rect.size(), QImage::Format_ARGB32_Premultiplied);
        scratch.fill(Qt::transparent);
        QStyleOptionFrame atOrigin = frame;
        atOrigin.rect.moveTo(0, 0);
        QPainter painter(&scratch);
        QProxyStyle::drawPrimitive(PE_FrameGroupBox, &atOrigin, &painter, widget);
        painter.end();
        const int column = scratch.width() / 2;
        for (int row = 0; row < scratch.height(); ++row)
            if (qAlpha(scratch.pixel(column, row)) != 0)
                return row;
        return 0;
    }
};

} // namespace

void drawFrameThroughTitle(QGroupBox& box) {
    // QWidget::setStyle does not take the style over; as the box's child it lives as long as
    // the box does.
    auto* style = new FrameThroughTitleStyle;
    style->setParent(&box);
    box.setStyle(style);
}

} // namespace vorlane
