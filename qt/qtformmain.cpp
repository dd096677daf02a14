#include "qt/qtformmain.h"

#include "qt/accessibility.h"
#include "qt/clipboard.h"
#include "qt/controls.h"
#include "qt/keycode.h"
#include "window/layout.h"

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
namespace {

std::u16string utf16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

// False on Qt's wayland platform: a Wayland compositor neither lets a window place itself nor
// tells it where it stands, and what Qt reports there (often 0, 0) is no position to store.
bool platformReportsWindowPosition() {
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

} // namespace

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

int QtFormMain::pixels(int twips) const {
    return twipsToPixels(twips, m_dotsPerInch);
}

double QtFormMain::twips(int pixels) const {
    return pixelsToTwips(pixels, m_dotsPerInch);
}

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
    OptionFps[1]->setChecked(true);

    connect(CommandF2T, &QPushButton::clicked, this, [this] { m_form.CommandF2T_Click(); });
    connect(CommandT2F, &QPushButton::clicked, this, [this] { m_form.CommandT2F_Click(); });
    for (std::int16_t index = 0; index < static_cast<std::int16_t>(OptionFps.size()); ++index) {
        // A button that becomes selected, by a click, the keyboard or code, repeats the last
        // conversion in the new mode; the partner's deselection is not a click.
        connect(OptionFps[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                m_form.OptionFps_Click(index);
        });
    }
}

void QtFormMain::showWarningBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vorlane"), text, QMessageBox::Ok, this);
    box.exec();
}

std::unique_ptr<QMenu> QtFormMain::createBoxMenu(QLineEdit* box) {
    auto menu = std::make_unique<QMenu>(box);
    QAction* copy = menu->addAction(QStringLiteral("タイムコードをコピー"));
    copy->setEnabled(m_form.CanCopyTimecode());
    connect(copy, &QAction::triggered, this, [this] { m_form.CopyTimecode(); });
    connect(menu->addAction(QStringLiteral("タイムコードを貼り付け")), &QAction::triggered, this,
            [this] { m_form.PasteTimecode(); });
    menu->addSeparator();

    // QLineEdit's own menu, in its order and with its translated texts, but built here: Qt's
    // asks the clipboard whether it holds text, to enable Paste, and a hung clipboard owner held
    // the menu for 15 s. Qt writes each item's shortcut after a tab: Ctrl+Z, Ctrl+Y, Ctrl+X,
    // Ctrl+C, Ctrl+V and Ctrl+A, every one of which the key rules swallow here, so none is named.
    const auto add = [&](const char* text, bool enabled, auto action) {
        QAction* item = menu->addAction(QLineEdit::tr(text));
        item->setEnabled(enabled);
        connect(item, &QAction::triggered, box, action);
    };
    const bool selected = box->hasSelectedText();
    add("&Undo", box->isUndoAvailable(), &QLineEdit::undo);
    add("&Redo", box->isRedoAvailable(), &QLineEdit::redo);
    menu->addSeparator();
    add("Cu&t", selected, &QLineEdit::cut);
    add("&Copy", selected, &QLineEdit::copy);
    add("&Paste", true, [this, box] { pasteInto(box, QClipboard::Clipboard); });
    add("Delete", selected, &QLineEdit::del);
    menu->addSeparator();
    add("Select All", box->selectedText().size() < box->text().size(), &QLineEdit::selectAll);
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
        return filterBoxEvent(box(*entryBox), *entryBox, event);
    auto* option = qobject_cast<QRadioButton*>(watched);
    if (option && event->type() == QEvent::KeyPress)
        return moveBetweenOptions(option, static_cast<QKeyEvent*>(event)->key());
    return QWidget::eventFilter(watched, event);
}

bool QtFormMain::filterBoxEvent(QLineEdit* box, EntryBox entryBox, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        // The menu key's context menu opens where the caret stands; Shift+F10's does too.
        if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
            const QPoint caret = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            popUpMenu(box, box->mapToGlobal(caret));
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
    case QEvent::ContextMenu:
        popUpMenu(box, static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
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
        // Only a move into the box from elsewhere in this window selects its text. The window
        // becoming active again, or a popup menu closing, gives the focus back to the box it
        // left, with the caret and the selection as they were.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        m_form.GotFocus(entryBox);
        // QLineEdit's own mouse-press handling runs after the focus-in and would clear the
        // selection made here, so a click repeats the select-all once the click is done.
        if (reason == Qt::MouseFocusReason)
            QTimer::singleShot(0, box, [this, box, entryBox] {
                if (box->hasFocus())
                    m_form.GotFocus(entryBox);
            });
        return false;
    }
    default:
        return false;
    }
}

void QtFormMain::popUpMenu(QLineEdit* box, const QPoint& at) {
    QMenu* menu = createBoxMenu(box).release();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
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
    return utf16(box(entryBox)->text());
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

void QtFormMain::focusBox(EntryBox entryBox) {
    box(entryBox)->setFocus(Qt::OtherFocusReason);
}

bool QtFormMain::dropFrame() const {
    return OptionFps[1]->isChecked();
}

void QtFormMain::setDropFrame(bool dropFrame) {
    OptionFps[dropFrame ? 1 : 0]->setChecked(true);
}

void QtFormMain::showWarning(std::u16string_view text) {
    // A handler that goes on after the window has closed (a paste whose wait the close or a
    // signal cut short) has nothing to warn about.
    if (isVisible())
        warningBox(qtText(text));
}

std::optional<WindowPosition> QtFormMain::position() const {
    if (!platformReportsWindowPosition())
        return std::nullopt;
    return WindowPosition{twips(x()), twips(y())};
}

void QtFormMain::setPosition(std::int32_t left, std::int32_t top) {
    move(pixels(left), pixels(top));
}

std::vector<TwipsRect> QtFormMain::workAreas() const {
    std::vector<TwipsRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const TwipsRect inTwips{twips(area.x()), twips(area.y()), twips(area.width()),
                                twips(area.height())};
        if (screen == primary)
            areas.insert(areas.begin(), inTwips);
        else
            areas.push_back(inTwips);
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
    return utf16(*text);
}

void QtFormMain::setClipboardText(std::u16string_view text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(qtText(text), QClipboard::Clipboard);
    // X11's primary selection, which a middle click pastes.
    if (clipboard->supportsSelection())
        clipboard->setText(qtText(text), QClipboard::Selection);
}

} // namespace vorlane
