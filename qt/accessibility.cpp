#include "qt/accessibility.h"

#include "arithmetic/timecode.h"
#include "qt/qtformmain.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace vorlane {
namespace {

void describe(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

constexpr char DecorativeProperty[] = "vorlane_decorative";

// What assistive technology sees of purely decorative text: an object with no name, no text and
// no description, which is not shown, so that screen readers pass over it.
class DecorativeInterface : public QAccessibleWidget {
public:
    explicit DecorativeInterface(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}
    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface* decorativeFactory(const QString& /*className*/, QObject* object) {
    if (object && object->isWidgetType() && object->property(DecorativeProperty).toBool())
        return new DecorativeInterface(static_cast<QWidget*>(object));
    return nullptr;
}

void makeDecorative(QWidget& control) {
    static const bool installed = [] {
        QAccessible::installFactory(decorativeFactory);
        return true;
    }();
    static_cast<void>(installed);
    control.setProperty(DecorativeProperty, true);
    // An interface made before the control was marked (a screen reader may ask as soon as the
    // control exists) is dropped, so that the next question gets the decorative one.
    QAccessibleInterface* existing = QAccessible::queryAccessibleInterface(&control);
    if (existing && !dynamic_cast<DecorativeInterface*>(existing))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(existing));
}

} // namespace

void describeControls(QtFormMain& form) {
    describe(
        form.Textフレーム番号, QStringLiteral("フレーム番号"),
        QStringLiteral("0から%1までのフレーム番号。Enterで時刻に変換します。").arg(MaxFrameNumber));
    describe(form.CommandF2T, QStringLiteral("フレーム番号から時刻へ変換"),
             QStringLiteral("フレーム番号を時、分、秒．フレームに変換します。"));
    describe(form.Text時刻[0], QStringLiteral("時刻の時"),
             QStringLiteral("時刻の時、0から%1まで。Enterで分の欄に進みます。").arg(MaxHours));
    describe(form.Text時刻[1], QStringLiteral("時刻の分"),
             QStringLiteral("時刻の分。Enterで秒．フレームの欄に進みます。"));
    describe(form.Text時刻[2], QStringLiteral("時刻の秒．フレーム"),
             QStringLiteral("秒と、小数点以下2桁のフレーム数。12.05は12秒5フレーム。"
                            "Enterでフレーム番号に変換します。"));
    describe(form.CommandT2F, QStringLiteral("時刻からフレーム番号へ変換"),
             QStringLiteral("時、分、秒．フレームをフレーム番号に変換します。"));
    describe(form.Frame1, QStringLiteral("形式"),
             QStringLiteral("タイムコードの数え方。切り替えると直前の変換をやり直します。"));
    describe(form.OptionFps[0], QStringLiteral("ノンドロップフレーム"),
             QStringLiteral("1分を%1フレームとして数えます。").arg(FramesPerMinute));
    describe(form.OptionFps[1], QStringLiteral("ドロップフレーム"),
             QStringLiteral("29.97フレーム毎秒の数え方。10で割り切れない分の初めに"
                            "フレーム00と01を飛ばします。"));
    describe(form.Label1[0], QStringLiteral("フレーム番号"),
             QStringLiteral("フレーム番号の欄の見出し"));
    describe(form.Label1[1], QStringLiteral("時：分：秒．フレーム"),
             QStringLiteral("時刻の三つの欄の見出し"));
    // The separators between the time boxes say nothing that the boxes' names do not.
    for (QLabel* separator : {form.Label2, form.Label3})
        makeDecorative(*separator);
}

} // namespace vorlane
