#include "qt/controls.h"

#include "qt/fonts.h"
#include "qt/groupframe.h"
#include "window/layout.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vorlane {

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
        case ControlKind::GroupFrame:
            controls.frame = new QGroupBox(caption, &window);
            drawFrameThroughTitle(*controls.frame);
            control = controls.frame;
            break;
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
