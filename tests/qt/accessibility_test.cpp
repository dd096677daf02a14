#include "formmain_fixture.h"
#include "window/accessibility.h"

#include <QAccessible>
#include <QLabel>
#include <QSet>

namespace {

QString accessibleText(QWidget* widget, QAccessible::Text kind) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(widget);
    return interface ? interface->text(kind) : QString();
}

} // namespace

// What a screen reader announces for every control: the shared table's texts, and for every
// control that Tab reaches a name that tells it apart from the others.
TEST_F(QtWindowTest, EveryControlSpeaksItsTableTextsAndTabStopsDiffer) {
    QSet<QString> names;
    for (std::size_t i = 0; i < vorlane::Controls.size(); ++i) {
        const auto texts = vorlane::AccessibleTexts[i];
        auto* control = form->findChild<QWidget*>(
            QString::fromStdU16String(std::u16string(vorlane::Controls[i].name)));
        ASSERT_NE(control, nullptr) << i;
        const QString name = accessibleText(control, QAccessible::Name);
        EXPECT_EQ(name.toStdU16String(), texts.name) << i;
        EXPECT_EQ(accessibleText(control, QAccessible::Description).toStdU16String(),
                  texts.description)
            << i;
        if (control->focusPolicy() & Qt::TabFocus) {
            EXPECT_FALSE(name.isEmpty() || names.contains(name)) << i;
            names.insert(name);
        }
    }
}

// The "：" separators are decoration: a screen reader finds nothing to announce.
TEST_F(QtWindowTest, TheSeparatorsAreSilent) {
    // Also when a screen reader already asks while the window is being built.
    QAccessible::setActive(true);
    vorlane::QtFormMain watched(settings());
    QAccessible::setActive(false);
    for (QLabel* separator : {form->Label2, form->Label3, watched.Label2, watched.Label3}) {
        QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(separator);
        ASSERT_NE(interface, nullptr);
        for (const auto kind :
             {QAccessible::Name, QAccessible::Description, QAccessible::Value, QAccessible::Help})
            EXPECT_EQ(interface->text(kind), "");
        EXPECT_EQ(interface->textInterface(), nullptr);
        EXPECT_TRUE(interface->state().invisible);
    }
}
