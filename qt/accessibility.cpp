#include "window/accessibility.h"
#include "qt/controls.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace vorlane {
namespace {

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

void describeControls(QWidget& window) {
    for (std::size_t i = 0; i < Controls.size(); ++i) {
        auto* control = window.findChild<QWidget*>(qtText(Controls[i].name));
        if (!control)
            continue;
        const AccessibleText& texts = AccessibleTexts[i];
        if (isSilent(texts)) {
            makeDecorative(*control);
        } else {
            control->setAccessibleName(qtText(texts.name));
            control->setAccessibleDescription(qtText(texts.description));
        }
    }
}

} // namespace vorlane
