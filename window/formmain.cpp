#include "window/formmain.h"

#include "arithmetic/conversion.h"
#include "arithmetic/normalize.h"
#include "arithmetic/smptetext.h"
#include "settings/global.h"
#include "settings/inipath.h"
#include "settings/initfile.h"
#include "window/accessibility.h"
#include "window/fonts.h"
#include "window/groupframe.h"
#include "window/keycode.h"
#include "window/keyrules/keyrules.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <cmath>
#include <string>

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr int ClientWidthTwips = 4335;
constexpr int ClientHeightTwips = 1965;

const QString CopyTimecodeItem = QStringLiteral("タイムコードをコピー");
const QString PasteTimecodeItem = QStringLiteral("タイムコードを貼り付け");
const QString NotATimecode = QStringLiteral("タイムコードの形式が正しくありません。");

// The warning box's text for each refusal of the conversion commands.
QString warningText(vorlane::Warning warning) {
    using vorlane::Warning;
    switch (warning) {
    case Warning::FramesTooLarge:
        return QStringLiteral("フレーム数が大き過ぎです。");
    case Warning::FramesTooSmall:
        return QStringLiteral("フレーム数が小さ過ぎです。");
    case Warning::TimeTooLarge:
        return QStringLiteral("時刻が大き過ぎです。");
    case Warning::TimeTooSmall:
        return QStringLiteral("時刻が小さ過ぎです。");
    case Warning::NoWarning:
        break;
    }
    return {};
}

struct Twips {
    int left, top, width, height;
};

std::string utf8(const QString& text) {
    return text.toStdString();
}

// False on Qt's wayland platform: a Wayland compositor neither lets a window place itself nor
// tells it where it stands, and what Qt reports there (often 0, 0) is no position to store.
bool platformReportsWindowPosition() {
    return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::u16string utf16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

} // namespace

FormMain::FormMain(const QString& settingsPath, QWidget* parent)
    : QWidget(parent), m_settingsPath(settingsPath) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_dotsPerInch = screen->logicalDotsPerInch();
    showWarning = [this](const QString& text) { showWarningBox(text); };
    createControls();
    vorlane::describeControls(*this);
    Form_Load();
}

FormMain::~FormMain() = default;

int FormMain::twipsToPixels(double twips) const {
    return static_cast<int>(std::lround(twips * m_dotsPerInch / TwipsPerInch));
}

double FormMain::pixelsToTwips(int pixels) const {
    return pixels * TwipsPerInch / m_dotsPerInch;
}

void FormMain::createControls() {
    setWindowTitle(QStringLiteral("ヴォルレーン"));
    setFont(vorlane::defaultWindowFont());
    QIcon icon;
    for (const char* image :
         {":/vorlane/icon32-16.xpm", ":/vorlane/icon32-2.xpm", ":/vorlane/icon16-16.xpm",
          ":/vorlane/64x64/apps/org.vorlane.Vorlane.png",
          ":/vorlane/128x128/apps/org.vorlane.Vorlane.png"})
        icon.addFile(QString::fromLatin1(image));
    setWindowIcon(icon);
    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));

    const auto place = [this](QWidget* control, Twips at) {
        control->setGeometry(twipsToPixels(at.left), twipsToPixels(at.top), twipsToPixels(at.width),
                             twipsToPixels(at.height));
    };
    const QFont boxFont = vorlane::gothicFont(11.25);
    const auto makeBox = [&](const QString& name, Twips at) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setFont(boxFont);
        box->setMaxLength(32767); // QLineEdit's own maximum: no limit of ours
        // Composed text would arrive without a key event and bypass the key rules.
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->installEventFilter(this);
        place(box, at);
        return box;
    };
    const auto makeButton = [&](const QString& name, const QString& caption, Twips at) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        button->setDefault(false);
        place(button, at);
        return button;
    };
    const auto makeLabel = [&](const QString& name, const QString& caption, const QFont& font,
                               Twips at) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(name);
        label->setFont(font);
        label->setFocusPolicy(Qt::NoFocus);
        place(label, at);
        return label;
    };

    Textフレーム番号 = makeBox(QStringLiteral("Textフレーム番号"), {240, 480, 1335, 375});
    CommandF2T =
        makeButton(QStringLiteral("CommandF2T"), QStringLiteral("＞"), {1680, 240, 375, 375});
    Text時刻[0] = makeBox(QStringLiteral("Text時刻(0)"), {2160, 480, 375, 375});
    Text時刻[1] = makeBox(QStringLiteral("Text時刻(1)"), {2760, 480, 375, 375});
    Text時刻[2] = makeBox(QStringLiteral("Text時刻(2)"), {3360, 480, 735, 375});
    CommandT2F =
        makeButton(QStringLiteral("CommandT2F"), QStringLiteral("＜"), {1680, 720, 375, 375});

    const QFont labelFont = vorlane::proportionalGothicFont(9.75);
    const QFont separatorFont = vorlane::gothicFont(15.75);
    Label1[0] = makeLabel(QStringLiteral("Label1(0)"), QStringLiteral("フレーム番号"), labelFont,
                          {240, 120, 1335, 255});
    Label1[1] = makeLabel(QStringLiteral("Label1(1)"), QStringLiteral("H：M：S．ﾌﾚｰﾑ"), labelFont,
                          {2160, 120, 1935, 255});
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("："), separatorFont,
                       {2520, 480, 255, 375});
    Label3 = makeLabel(QStringLiteral("Label3"), QStringLiteral("："), separatorFont,
                       {3120, 480, 255, 375});

    Frame1 = new QGroupBox(QStringLiteral("形式"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFocusPolicy(Qt::NoFocus);
    vorlane::drawFrameThroughTitle(*Frame1);
    place(Frame1, {120, 1200, 4095, 615});
    const auto makeOption = [&](const QString& name, const QString& caption, Twips at) {
        auto* option = new QRadioButton(caption, Frame1);
        option->setObjectName(name);
        place(option, at);
        return option;
    };
    OptionFps[0] = makeOption(QStringLiteral("OptionFps(0)"),
                              QStringLiteral("ノンドロップフレーム"), {120, 240, 1815, 255});
    OptionFps[1] = makeOption(QStringLiteral("OptionFps(1)"), QStringLiteral("ドロップフレーム"),
                              {2160, 240, 1815, 255});
    OptionFps[1]->setChecked(true);

    setTabOrder(Textフレーム番号, CommandF2T);
    setTabOrder(CommandF2T, Text時刻[0]);
    setTabOrder(Text時刻[0], Text時刻[1]);
    setTabOrder(Text時刻[1], Text時刻[2]);
    setTabOrder(Text時刻[2], CommandT2F);
    setTabOrder(CommandT2F, OptionFps[0]);
    setTabOrder(OptionFps[0], OptionFps[1]);

    connect(CommandF2T, &QPushButton::clicked, this, [this] { CommandF2T_Click(); });
    connect(CommandT2F, &QPushButton::clicked, this, [this] { CommandT2F_Click(); });
    for (std::int16_t index = 0; index < static_cast<std::int16_t>(OptionFps.size()); ++index) {
        // A button that becomes selected, by a click, the keyboard or code, repeats the last
        // conversion in the new mode; the partner's deselection is not a click.
        connect(OptionFps[index], &QRadioButton::toggled, this, [this, index](bool checked) {
            if (checked)
                OptionFps_Click(index);
        });
    }
}

void FormMain::showWarningBox(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vorlane"), text, QMessageBox::Ok, this);
    box.exec();
}

std::unique_ptr<QMenu> FormMain::createBoxMenu(QLineEdit* box) {
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    // Qt writes each item's shortcut after a tab: Ctrl+Z, Ctrl+Y, Ctrl+X, Ctrl+C, Ctrl+V and
    // Ctrl+A, every one of which the key rules swallow here. A menu must not promise them.
    for (QAction* action : menu->actions())
        action->setText(action->text().section(u'\t', 0, 0));

    QAction* standard = menu->actions().value(0);
    auto* copy = new QAction(CopyTimecodeItem, menu.get());
    copy->setEnabled(timecodeOfBoxes().has_value());
    connect(copy, &QAction::triggered, this, [this] { copyTimecode(); });
    auto* paste = new QAction(PasteTimecodeItem, menu.get());
    connect(paste, &QAction::triggered, this, [this] { pasteTimecode(); });
    menu->insertActions(standard, {copy, paste});
    menu->insertSeparator(standard);
    return menu;
}

std::optional<std::string> FormMain::timecodeOfBoxes() const {
    const vorlane::TimeTexts time = readTimeBoxes();
    return vorlane::timecodeForCopy(time.hours, time.minutes, time.secFrames,
                                    OptionFps[1]->isChecked());
}

void FormMain::copyTimecode() {
    const std::optional<std::string> timecode = timecodeOfBoxes();
    if (!timecode)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(fromUtf8(*timecode), QClipboard::Clipboard);
    // X11's primary selection, which a middle click pastes.
    if (clipboard->supportsSelection())
        clipboard->setText(fromUtf8(*timecode), QClipboard::Selection);
}

void FormMain::pasteTimecode() {
    const vorlane::PastedText pasted =
        vorlane::classifyPaste(utf8(QGuiApplication::clipboard()->text(QClipboard::Clipboard)));
    switch (pasted.kind) {
    case vorlane::PasteKind::Refused:
        showWarning(NotATimecode);
        break;
    case vorlane::PasteKind::FrameNumber:
        Textフレーム番号->setText(fromUtf8(pasted.frameText));
        // As if typed there and converted with Enter: the next number typed replaces it.
        moveFocusTo(Textフレーム番号);
        CommandF2T_Click();
        break;
    case vorlane::PasteKind::Timecode: {
        writeTimeBoxes(pasted.time);
        // The text says which counting it was written in. Choosing that mode here must not
        // repeat the last conversion as a click on a mode button does: one conversion follows.
        const QSignalBlocker nonDropFrame(OptionFps[0]);
        const QSignalBlocker dropFrame(OptionFps[1]);
        OptionFps[pasted.dropFrame ? 1 : 0]->setChecked(true);
        CommandT2F_Click();
        break;
    }
    }
}

QString FormMain::IniFilePath() const {
    return m_settingsPath.isEmpty() ? QString::fromStdString(vorlane::IniFilePath())
                                    : m_settingsPath;
}

void FormMain::placeWindow(std::int32_t leftTwips, std::int32_t topTwips) {
    const QRect stored(QPoint(twipsToPixels(leftTwips), twipsToPixels(topTwips)), size());
    // A window stored on a monitor that has since been unplugged would open where nobody can
    // see or reach it; one that is only partly off-screen opens exactly where it was left.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(stored)) {
            move(stored.topLeft());
            return;
        }
    }
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        move(primary->availableGeometry().topLeft());
    else
        move(stored.topLeft());
}

void FormMain::Form_Load() {
    LastF2T = true;
    // The file read now is the one the close saves to, even when the executable has been
    // replaced (upgraded) in the meantime.
    m_settingsPath = IniFilePath();
    const std::string path = m_settingsPath.toStdString();
    vorlane::LoadSettings(path);
    placeWindow(vorlane::Global::WindowX, vorlane::Global::WindowY);
    Textフレーム番号->setText(QStringLiteral("0"));
    OptionFps[0]->setChecked(!vorlane::Global::DropFrame);
    OptionFps[1]->setChecked(vorlane::Global::DropFrame);
    CommandF2T_Click();
}

void FormMain::Form_Unload() {
    std::optional<vorlane::WindowPosition> position;
    if (platformReportsWindowPosition())
        position = vorlane::WindowPosition{pixelsToTwips(x()), pixelsToTwips(y())};
    const bool dropFrame = OptionFps[1]->isChecked();
    // The window goes at once; the save may wait for another program's lock on the file.
    hide();
    vorlane::SaveSettings(IniFilePath().toStdString(), position, dropFrame);
}

void FormMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FormMain::CommandF2T_Click() {
    const auto result =
        vorlane::convertFrameText(utf8(Textフレーム番号->text()), OptionFps[1]->isChecked());
    warn(result.warning);
    writeTimeBoxes(result.time);
    selectAll(Textフレーム番号);
    LastF2T = true;
}

void FormMain::CommandT2F_Click() {
    const vorlane::TimeTexts time = readTimeBoxes();
    const auto result = vorlane::convertTimeTexts(time.hours, time.minutes, time.secFrames,
                                                  OptionFps[1]->isChecked());
    warn(result.warning);
    Textフレーム番号->setText(fromUtf8(result.frameText));
    moveFocusTo(Text時刻[0]);
    LastF2T = false;
}

void FormMain::OptionFps_Click(std::int16_t /*Index*/) {
    if (LastF2T)
        CommandF2T_Click();
    else
        CommandT2F_Click();
}

void FormMain::selectAll(QLineEdit* box) {
    box->setSelection(0, box->text().size());
}

void FormMain::boxGotFocus(QLineEdit* box) {
    if (box == Textフレーム番号)
        Textフレーム番号_GotFocus();
    else if (const auto index = timeBoxIndex(box))
        Text時刻_GotFocus(*index);
}

void FormMain::moveFocusTo(QLineEdit* box) {
    box->setFocus(Qt::OtherFocusReason);
    // While a warning box is the active window, the focus arrives only when this window is
    // active again, and that arrival selects nothing: the box is selected now instead.
    if (!box->hasFocus())
        boxGotFocus(box);
}

void FormMain::Textフレーム番号_GotFocus() {
    selectAll(Textフレーム番号);
}

void FormMain::Text時刻_GotFocus(std::int16_t Index) {
    selectAll(Text時刻[Index]);
}

void FormMain::NormalizeTime() {
    const vorlane::TimeTexts time = readTimeBoxes();
    if (const auto normal = vorlane::NormalizeTimeTexts(time.hours, time.minutes, time.secFrames))
        writeTimeBoxes(*normal);
}

void FormMain::warn(vorlane::Warning warning) {
    if (warning != vorlane::Warning::NoWarning)
        showWarning(warningText(warning));
}

vorlane::TimeTexts FormMain::readTimeBoxes() const {
    return {utf8(Text時刻[0]->text()), utf8(Text時刻[1]->text()), utf8(Text時刻[2]->text())};
}

void FormMain::writeTimeBoxes(const vorlane::TimeTexts& time) {
    Text時刻[0]->setText(fromUtf8(time.hours));
    Text時刻[1]->setText(fromUtf8(time.minutes));
    Text時刻[2]->setText(fromUtf8(time.secFrames));
}

std::optional<std::int16_t> FormMain::timeBoxIndex(const QObject* box) const {
    for (std::size_t index = 0; index < Text時刻.size(); ++index) {
        if (box == Text時刻[index])
            return static_cast<std::int16_t>(index);
    }
    return std::nullopt;
}

namespace {

// Carries a key decision out on a box: returns the code that the box is to process, 0 when
// the key is swallowed.
int applyDecision(QLineEdit* box, const vorlane::KeyDecision& decision, int code) {
    using Effect = vorlane::KeyDecision::Effect;
    switch (decision.effect) {
    case Effect::Swallow:
        return 0;
    case Effect::Replace:
        box->setText(QString::fromStdU16String(decision.text));
        box->setCursorPosition(std::min(decision.caret, static_cast<int>(box->text().size())));
        return 0;
    default:
        return code;
    }
}

} // namespace

void FormMain::Textフレーム番号_KeyPress(int& KeyAscii) {
    const auto decision =
        vorlane::decideKey(vorlane::EntryBox::Frame, utf16(Textフレーム番号->text()), KeyAscii);
    KeyAscii = applyDecision(Textフレーム番号, decision, KeyAscii);
    if (decision.effect == vorlane::KeyDecision::Effect::Convert)
        CommandF2T_Click();
}

void FormMain::Text時刻_KeyPress(std::int16_t Index, int& KeyAscii) {
    const auto entryBox = vorlane::timeEntryBox(Index);
    if (!entryBox)
        return;
    QLineEdit* box = Text時刻[Index];
    const auto decision = vorlane::decideKey(*entryBox, utf16(box->text()), KeyAscii);
    KeyAscii = applyDecision(box, decision, KeyAscii);
    using Effect = vorlane::KeyDecision::Effect;
    if (decision.effect == Effect::NextBox) {
        // decideKey answers NextBox for hours and minutes only; the last box has no next one.
        const auto next = static_cast<std::size_t>(Index) + 1;
        if (next < Text時刻.size())
            moveFocusTo(Text時刻[next]);
    } else if (decision.effect == Effect::NormalizeAndConvert) {
        NormalizeTime();
        CommandT2F_Click();
    }
}

bool FormMain::handleKey(QLineEdit* box, QKeyEvent* event) {
    const auto code = vorlane::characterCode(event->key(), event->modifiers(), event->text());
    if (!code)
        return false;
    int keyAscii = *code;
    if (box == Textフレーム番号)
        Textフレーム番号_KeyPress(keyAscii);
    else if (const auto index = timeBoxIndex(box))
        Text時刻_KeyPress(*index, keyAscii);
    // A swallowed key never reaches the box; a passed one gets the box's ordinary handling.
    return keyAscii == 0;
}

bool FormMain::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress)
        return handleKey(box, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::ContextMenu) {
        QMenu* menu = createBoxMenu(box).release();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Only a move into the box from elsewhere in this window selects its text. The window
        // becoming active again, or a popup menu closing, gives the focus back to the box it
        // left, with the caret and the selection as they were.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        boxGotFocus(box);
        // QLineEdit's own mouse-press handling runs after the focus-in and would clear the
        // selection made here, so a click repeats the select-all once the click is done.
        if (reason == Qt::MouseFocusReason)
            QTimer::singleShot(0, box, [this, box] {
                if (box->hasFocus())
                    boxGotFocus(box);
            });
        // The box's own focus-in handling runs next and keeps the selection we made.
        return false;
    }
    return QWidget::eventFilter(watched, event);
}
