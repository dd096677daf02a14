#include "qt/qtformmain.h"

#include "qt/clipboard.h"
#include "qt/controls.h"
#include "qt/keycode.h"
#include "window/keyrules.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace vorlane {

QtFormMain::QtFormMain(SettingsFile settings, QWidget* parent)
    : QWidget(parent), m_form(*this, std::move(settings)) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_dotsPerInch = qRound(screen->logicalDotsPerInch());
    warningBox = [this](const QString& text) { showWarningBox(text); };
    createControls();
    describeControls(*this);
    m_form.Form_Load();
}

QtFormMain::~QtFormMain() = default;

void QtFormMain::createControls() {
    const QtControls controls = createWindowControls(*this, m_dotsPerInch);
    for (QWidget* control : controls.boxes)
        control->installEventFilter(this);
    for (QWidget* control : controls.options)
        control->installEventFilter(this);
    Textフレーム番号 = controls.boxes.at(0);
    std::copy(controls.boxes.begin() + 1, controls.boxes.end(), Text時刻.begin());
    CommandF2T = controls.buttons.at(0);
    CommandT2F = controls.buttons.at(1);
    std::copy_n(controls.labels.begin(), Label1.size(), Label1.begin());
    Label2 = controls.labels.at(2);
    Label3 = controls.labels.at(3);
    Frame1 = controls.frame;
    std::copy(controls.options.begin(), controls.options.end(), OptionFps.begin());

    connect(CommandF2T, &QPushButton::clicked, this, [this] { m_form.CommandF2T_Click(); });
    connect(CommandT2F, &QPushButton::clicked, this, [this] { m_form.CommandT2F_Click(); });
    for (std::int16_t index = 0; index < static_cast<std::int16_t>(OptionFps.size()); ++index) {
        connect(OptionFps[index], &QRadioButton::clicked, this,
                [this, index] { m_form.OptionFps_Click(index); });
    }
}

void QtFormMain::showWarningBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vorlane"), text, QMessageBox::Ok, this);
    box.exec();
}

std::unique_ptr<QMenu> QtFormMain::createBoxMenu(EntryBox entryBox) {
    // Built here, not by QLineEdit: Qt's own menu asks the clipboard whether it holds text, to
    // enable Paste, and a hung clipboard owner held the menu for 15 s. The edit items take
    // QLineEdit's translated texts without the shortcut that Qt writes after a tab.
    static constexpr std::array<const char*, 7> EditTexts{"&Undo",  "&Redo",  "Cu&t",      "&Copy",
                                                          "&Paste", "Delete", "Select All"};
    const auto text = [](BoxMenuItem item) {
        if (item == BoxMenuItem::CopyTimecode || item == BoxMenuItem::PasteTimecode)
            return qtText(item == BoxMenuItem::CopyTimecode ? CopyTimecodeText : PasteTimecodeText);
        return QLineEdit::tr(EditTexts.at(static_cast<std::size_t>(item) -
                                          static_cast<std::size_t>(BoxMenuItem::Undo)));
    };
    auto menu = std::make_unique<QMenu>(box(entryBox));
    for (const BoxMenuEntry& entry : m_form.BoxMenu(entryBox)) {
        if (entry.item == BoxMenuItem::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(text(entry.item));
        action->setEnabled(entry.enabled);
        connect(action, &QAction::triggered, this,
                [this, entryBox, item = entry.item] { m_form.BoxMenu_Click(entryBox, item); });
    }
    return menu;
}

// A paste of nothing (a clipboard without text, or an owner that did not answer) does nothing.
void QtFormMain::pasteInto(QLineEdit* box, QClipboard::Mode mode) {
    if (const std::optional<QString> text = readClipboard(mode))
        box->insert(*text);
}

void QtFormMain::closeEvent(QCloseEvent* event) {
    m_form.Form_Unload();
    event->accept();
}

QLineEdit* QtFormMain::box(EntryBox box) const {
    const auto index = static_cast<std::size_t>(box);
    return index == 0 ? Textフレーム番号 : Text時刻.at(index - 1);
}

std::optional<EntryBox> QtFormMain::entryBoxOf(const QObject* control) const {
    for (const EntryBox entryBox :
         {EntryBox::Frame, EntryBox::Hours, EntryBox::Minutes, EntryBox::SecFrames}) {
        if (box(entryBox) == control)
            return entryBox;
    }
    return std::nullopt;
}

bool QtFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (const auto entryBox = entryBoxOf(watched))
        return filterBoxEvent(*entryBox, event);
    auto* option = qobject_cast<QRadioButton*>(watched);
    if (option && event->type() == QEvent::KeyPress)
        return moveBetweenOptions(option, static_cast<QKeyEvent*>(event)->key());
    return QWidget::eventFilter(watched, event);
}

bool QtFormMain::filterBoxEvent(EntryBox entryBox, QEvent* event) {
    QLineEdit* box = this->box(entryBox);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        const bool others = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if ((key->key() == Qt::Key_F10 && opensBoxMenu(MenuKey::F10, shift, others)) ||
            (key->key() == Qt::Key_Menu && opensBoxMenu(MenuKey::Menu, shift, others))) {
            popUpMenu(entryBox, std::nullopt);
            return true;
        }
        const auto code = characterCode(key->key(), key->modifiers(), key->text());
        if (!code && key->matches(QKeySequence::Paste)) {
            // Shift+Insert; under X11 Ctrl+Shift+Insert takes the primary selection, as in Qt.
            const bool primary = key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
            pasteInto(box, primary ? QClipboard::Selection : QClipboard::Clipboard);
            return true;
        }
        if (!code)
            return false;
        int keyAscii = *code;
        m_form.KeyPress(entryBox, keyAscii);
        // A swallowed key never reaches the box; a passed one gets the box's ordinary handling.
        return keyAscii == 0;
    }
    case QEvent::ContextMenu: {
        const auto* request = static_cast<QContextMenuEvent*>(event);
        popUpMenu(entryBox, request->reason() == QContextMenuEvent::Mouse
                                ? std::optional<QPoint>(request->globalPos())
                                : std::nullopt);
        return true;
    }
    case QEvent::MouseButtonRelease:
        // X11's middle click pastes the primary selection, as QLineEdit's own release does.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
            return false;
        box->deselect();
        pasteInto(box, QClipboard::Selection);
        return true;
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool outside =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        const bool click = reason == Qt::MouseFocusReason;
        m_form.FocusIn(entryBox, outside ? FocusFrom::Outside
                                 : click ? FocusFrom::Click
                                         : FocusFrom::Control);
        // QLineEdit's own mouse-press handling runs after the focus-in.
        if (click)
            QTimer::singleShot(0, box, [this, entryBox] { m_form.ClickEnded(entryBox); });
        return false;
    }
    default:
        return false;
    }
}

// At the pointer for a right-click, else at the caret.
void QtFormMain::popUpMenu(EntryBox entryBox, std::optional<QPoint> at) {
    QLineEdit* target = box(entryBox);
    QMenu* menu = createBoxMenu(entryBox).release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at.value_or(
        target->mapToGlobal(target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center())));
}

// Qt's own arrow keys between option buttons click the new button and only then move the focus
// to it, which would undo the focus move of the conversion that the click repeats. Here the
// focus moves first. The two buttons stand side by side, so only Left and Right lead anywhere.
bool QtFormMain::moveBetweenOptions(QRadioButton* option, int key) {
    QRadioButton* target = nullptr;
    if (key == Qt::Key_Right && option == OptionFps[0])
        target = OptionFps[1];
    else if (key == Qt::Key_Left && option == OptionFps[1])
        target = OptionFps[0];
    if (!target)
        return false;
    target->setFocus(key == Qt::Key_Left ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    if (option->isChecked())
        target->click();
    return true;
}

std::u16string QtFormMain::text(EntryBox entryBox) const {
    return box(entryBox)->text().toStdU16String();
}

void QtFormMain::setText(EntryBox entryBox, std::u16string_view text) {
    box(entryBox)->setText(qtText(text));
}

void QtFormMain::setSelection(EntryBox entryBox, int start, int length) {
    QLineEdit* target = box(entryBox);
    if (length > 0) {
        target->setSelection(start, length);
        return;
    }
    target->deselect();
    target->setCursorPosition(std::min(start, static_cast<int>(target->text().size())));
}

BoxEditState QtFormMain::editState(EntryBox entryBox) const {
    const QLineEdit* target = box(entryBox);
    return {target->hasSelectedText() ? target->selectionStart() : target->cursorPosition(),
            static_cast<int>(target->selectedText().size()), target->isUndoAvailable(),
            target->isRedoAvailable()};
}

void QtFormMain::edit(EntryBox entryBox, BoxMenuItem item) {
    QLineEdit* target = box(entryBox);
    if (item == BoxMenuItem::Copy)
        target->copy();
    else if (item == BoxMenuItem::Paste)
        pasteInto(target, QClipboard::Clipboard);
    else
        (target->*(item == BoxMenuItem::Undo   ? &QLineEdit::undo
                   : item == BoxMenuItem::Redo ? &QLineEdit::redo
                   : item == BoxMenuItem::Cut  ? &QLineEdit::cut
                                               : &QLineEdit::del))();
}

void QtFormMain::focusBox(EntryBox entryBox) {
    box(entryBox)->setFocus(Qt::OtherFocusReason);
}

bool QtFormMain::dropFrame() const {
    return OptionFps[1]->isChecked();
}

void QtFormMain::setDropFrame(bool dropFrame) {
    OptionFps[dropFrame ? 1 : 0]->setChecked(true);
}

// The arrow keys move from the Tab stop to its partner (moveBetweenOptions).
void QtFormMain::setModeTabStop(std::int16_t index) {
    for (std::size_t i = 0; i < OptionFps.size(); ++i)
        OptionFps[i]->setFocusPolicy(static_cast<int>(i) == index ? Qt::StrongFocus
                                                                  : Qt::ClickFocus);
}

void QtFormMain::showWarning(std::u16string_view text) {
    // A handler that goes on after the window has closed (a paste whose wait the close or a
    // signal cut short) has nothing to warn about.
    if (isVisible())
        warningBox(qtText(text));
}

int QtFormMain::dotsPerInch() const {
    return m_dotsPerInch;
}

std::optional<PixelPoint> QtFormMain::position() const {
    // A Wayland compositor neither lets a window place itself nor tells it where it stands, and
    // what Qt reports there (often 0, 0) is no position to store.
    if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland")))
        return std::nullopt;
    return PixelPoint{x(), y()};
}

void QtFormMain::setPosition(int left, int top) {
    move(left, top);
}

std::vector<WorkArea> QtFormMain::workAreas() const {
    std::vector<WorkArea> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        areas.push_back({{area.x(), area.y(), area.width(), area.height()},
                         screen == QGuiApplication::primaryScreen()});
    }
    return areas;
}

void QtFormMain::hideWindow() {
    hide();
}

std::optional<std::u16string> QtFormMain::clipboardText() {
    const std::optional<QString> text = readClipboard(QClipboard::Clipboard);
    if (!text)
        return std::nullopt;
    return text->toStdU16String();
}

void QtFormMain::setClipboardText(std::u16string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(qtText(text), QClipboard::Clipboard);
    // X11's primary selection, which a middle click pastes.
    if (clipboard->supportsSelection())
        clipboard->setText(qtText(text), QClipboard::Selection);
}

} // namespace vorlane
