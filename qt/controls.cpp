#include "qt/controls.h"

#include "qt/fonts.h"
#include "window/layout.h"

#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>

namespace vorlane {
namespace {

// Pixels between the frame's left corner and the title, and between the title and each end of
// the broken line.
constexpr int TitleIndent = 8;
constexpr int TitleGap = 2;

// The mode frame's look. Fusion draws a group box's frame line below the title, where the
// design puts the mode buttons, so the line would run through them; classic group frames run
// the line through the middle of the title instead, and that leaves the buttons clear. The
// frame is broken where the title stands, with the title set in from the frame's left corner;
// the frame and the title keep the application style's look, and the box's children keep the
// application style.
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

QString qtText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QtControls createWindowControls(QWidget& window, int dotsPerInch) {
    const auto pixels = [dotsPerInch](int twips) { return twipsToPixels(twips, dotsPerInch); };
    window.setWindowTitle(qtText(WindowCaption));
    window.setFont(controlFont(WindowFont));
    QIcon icon;
    for (const char* image :
         {":/vorlane/icon32-16.xpm", ":/vorlane/icon32-2.xpm", ":/vorlane/icon16-16.xpm",
          ":/vorlane/64x64/apps/org.vorlane.Vorlane.png",
          ":/vorlane/128x128/apps/org.vorlane.Vorlane.png"})
        icon.addFile(QString::fromLatin1(image));
    window.setWindowIcon(icon);
    window.setFixedSize(pixels(ClientWidthTwips), pixels(ClientHeightTwips));

    QtControls controls;
    QWidget* previous = nullptr;
    for (const ControlRow& row : Controls) {
        QWidget* control = nullptr;
        const QString caption = qtText(row.caption);
        switch (row.kind) {
        case ControlKind::TextBox: {
            auto* box = new QLineEdit(&window);
            box->setMaxLength(32767); // QLineEdit's own maximum: no limit of ours
            // Composed text would arrive without a key event and bypass the key rules.
            box->setAttribute(Qt::WA_InputMethodEnabled, false);
            controls.boxes.push_back(box);
            control = box;
            break;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, &window);
            button->setAutoDefault(false);
            button->setDefault(false);
            controls.buttons.push_back(button);
            control = button;
            break;
        }
        case ControlKind::Label:
            controls.labels.push_back(new QLabel(caption, &window));
            control = controls.labels.back();
            break;
        case ControlKind::GroupFrame: {
            controls.frame = new QGroupBox(caption, &window);
            // QWidget::setStyle does not take the style over; as the box's child it lives as
            // long as the box does.
            auto* style = new FrameThroughTitleStyle;
            style->setParent(controls.frame);
            controls.frame->setStyle(style);
            control = controls.frame;
            break;
        }
        case ControlKind::OptionButton:
            controls.options.push_back(new QRadioButton(caption, controls.frame));
            control = controls.options.back();
            break;
        }
        control->setObjectName(qtText(row.name));
        control->setFont(controlFont(row.font));
        control->setGeometry(pixels(row.place.left), pixels(row.place.top), pixels(row.place.width),
                             pixels(row.place.height));
        if (row.kind == ControlKind::Label || row.kind == ControlKind::GroupFrame) {
            control->setFocusPolicy(Qt::NoFocus);
            continue;
        }
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
    return controls;
}

} // namespace vorlane
