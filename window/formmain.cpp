#include "window/formmain.h"

#include "arithmetic/normalize.h"
#include "arithmetic/numbertext.h"
#include "settings/global.h"
#include "window/boxtext.h"
#include "window/conversion.h"
#include "window/keyrules.h"
#include "window/layout.h"
#include "window/smptetext.h"

#include <utility>

namespace vorlane {
namespace {

// The index in the array Text時刻 of a time box.
std::int16_t timeBoxIndex(EntryBox box) {
    return static_cast<std::int16_t>(static_cast<int>(box) - static_cast<int>(EntryBox::Hours));
}

constexpr std::u16string_view NotATimecode = u"タイムコードの形式が正しくありません。";

// The warning box's text for each refusal of the conversion commands.
std::u16string_view warningText(Warning warning) {
    switch (warning) {
    case Warning::FramesTooLarge:
        return u"フレーム数が大き過ぎです。";
    case Warning::FramesTooSmall:
        return u"フレーム数が小さ過ぎです。";
    case Warning::TimeTooLarge:
        return u"時刻が大き過ぎです。";
    case Warning::TimeTooSmall:
        return u"時刻が小さ過ぎです。";
    case Warning::NoWarning:
        break;
    }
    return {};
}

TimeTexts readTimeBoxes(const WindowOperations& window) {
    return {numberText(window.text(EntryBox::Hours)), numberText(window.text(EntryBox::Minutes)),
            numberText(window.text(EntryBox::SecFrames))};
}

void writeTimeBoxes(WindowOperations& window, const TimeTexts& time) {
    window.setText(EntryBox::Hours, boxText(time.hours));
    window.setText(EntryBox::Minutes, boxText(time.minutes));
    window.setText(EntryBox::SecFrames, boxText(time.secFrames));
}

bool overlaps(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

} // namespace

FormMain::FormMain(WindowOperations& window, SettingsFile settings)
    : m_window(window), m_settings(std::move(settings)) {}

void FormMain::Form_Load() {
    LastF2T = true;
    m_location = m_settings.path.empty() ? settingsLocation() : m_settings.path;
    LoadSettings(m_location, m_settings.loadWait);
    placeWindow(Global::WindowX, Global::WindowY);
    m_window.setText(EntryBox::Frame, u"0");
    setModeQuietly(Global::DropFrame);
    CommandF2T_Click();
}

void FormMain::placeWindow(std::int32_t left, std::int32_t top) {
    // A window stored on a monitor that has since been unplugged would open where nobody can
    // see or reach it; one that is only partly off-screen opens exactly where it was left.
    const TwipsRect stored{static_cast<double>(left), static_cast<double>(top), ClientWidthTwips,
                           ClientHeightTwips};
    const std::vector<TwipsRect> areas = m_window.workAreas();
    bool visible = areas.empty();
    for (const TwipsRect& area : areas)
        visible = visible || overlaps(area, stored);
    const auto corner = [](double twips) { return roundToInt32(twips).value_or(0); };
    if (visible)
        m_window.setPosition(left, top);
    else
        m_window.setPosition(corner(areas.front().left), corner(areas.front().top));
}

void FormMain::Form_Unload() {
    const std::optional<WindowPosition> position = m_window.position();
    const bool dropFrame = m_window.dropFrame();
    // The window goes at once; the save may wait for another program's lock on the file.
    m_window.hideWindow();
    SaveSettings(m_location, position, dropFrame, m_settings.saveWait);
}

void FormMain::CommandF2T_Click() {
    const FrameConversion result =
        convertFrameText(numberText(m_window.text(EntryBox::Frame)), m_window.dropFrame());
    if (result.warning != Warning::NoWarning)
        m_window.showWarning(warningText(result.warning));
    writeTimeBoxes(m_window, result.time);
    selectAll(EntryBox::Frame);
    LastF2T = true;
}

void FormMain::CommandT2F_Click() {
    const TimeTexts time = readTimeBoxes(m_window);
    const TimeConversion result =
        convertTimeTexts(time.hours, time.minutes, time.secFrames, m_window.dropFrame());
    if (result.warning != Warning::NoWarning)
        m_window.showWarning(warningText(result.warning));
    m_window.setText(EntryBox::Frame, boxText(result.frameText));
    moveFocusTo(EntryBox::Hours);
    LastF2T = false;
}

void FormMain::OptionFps_Click(std::int16_t /*Index*/) {
    if (m_settingMode)
        return;
    if (LastF2T)
        CommandF2T_Click();
    else
        CommandT2F_Click();
}

void FormMain::setModeQuietly(bool dropFrame) {
    const bool wasSetting = std::exchange(m_settingMode, true);
    m_window.setDropFrame(dropFrame);
    m_settingMode = wasSetting;
}

void FormMain::selectAll(EntryBox box) {
    m_window.setSelection(box, 0, static_cast<int>(m_window.text(box).size()));
}

void FormMain::moveFocusTo(EntryBox box) {
    m_window.focusBox(box);
    // A box that has the focus already gets no focus event, and while a warning box is the
    // active window the focus arrives only later, with none either: the text is selected now.
    selectAll(box);
}

void FormMain::Textフレーム番号_GotFocus() {
    selectAll(EntryBox::Frame);
}

void FormMain::Text時刻_GotFocus(std::int16_t Index) {
    if (const auto box = timeEntryBox(Index))
        selectAll(*box);
}

void FormMain::GotFocus(EntryBox box) {
    if (box == EntryBox::Frame)
        Textフレーム番号_GotFocus();
    else
        Text時刻_GotFocus(timeBoxIndex(box));
}

void FormMain::NormalizeTime() {
    const TimeTexts time = readTimeBoxes(m_window);
    if (const auto normal = NormalizeTimeTexts(time.hours, time.minutes, time.secFrames))
        writeTimeBoxes(m_window, *normal);
}

void FormMain::KeyPress(EntryBox box, int& KeyAscii) {
    if (box == EntryBox::Frame)
        Textフレーム番号_KeyPress(KeyAscii);
    else
        Text時刻_KeyPress(timeBoxIndex(box), KeyAscii);
}

void FormMain::keyPress(EntryBox box, int& KeyAscii) {
    const KeyDecision decision = decideKey(box, m_window.text(box), KeyAscii);
    using Effect = KeyDecision::Effect;
    switch (decision.effect) {
    case Effect::Swallow:
        KeyAscii = 0;
        break;
    case Effect::Replace:
        m_window.setText(box, decision.text);
        m_window.setSelection(box, decision.caret, 0);
        KeyAscii = 0;
        break;
    case Effect::Convert:
        CommandF2T_Click();
        break;
    case Effect::NextBox:
        // Only hours and minutes have a next box.
        moveFocusTo(box == EntryBox::Hours ? EntryBox::Minutes : EntryBox::SecFrames);
        break;
    case Effect::NormalizeAndConvert:
        NormalizeTime();
        CommandT2F_Click();
        break;
    case Effect::PassOn:
        break;
    }
}

void FormMain::Textフレーム番号_KeyPress(int& KeyAscii) {
    keyPress(EntryBox::Frame, KeyAscii);
}

void FormMain::Text時刻_KeyPress(std::int16_t Index, int& KeyAscii) {
    if (const auto box = timeEntryBox(Index))
        keyPress(*box, KeyAscii);
}

bool FormMain::CanCopyTimecode() const {
    const TimeTexts time = readTimeBoxes(m_window);
    return timecodeForCopy(time.hours, time.minutes, time.secFrames, m_window.dropFrame())
        .has_value();
}

void FormMain::CopyTimecode() {
    const TimeTexts time = readTimeBoxes(m_window);
    if (const auto timecode =
            timecodeForCopy(time.hours, time.minutes, time.secFrames, m_window.dropFrame()))
        m_window.setClipboardText(boxText(*timecode));
}

void FormMain::PasteTimecode() {
    const PastedText pasted =
        classifyPaste(numberText(m_window.clipboardText().value_or(std::u16string())));
    switch (pasted.kind) {
    case PasteKind::Refused:
        m_window.showWarning(NotATimecode);
        break;
    case PasteKind::FrameNumber:
        m_window.setText(EntryBox::Frame, boxText(pasted.frameText));
        // As if typed there and converted with Enter: the next number typed replaces it.
        moveFocusTo(EntryBox::Frame);
        CommandF2T_Click();
        break;
    case PasteKind::Timecode:
        writeTimeBoxes(m_window, pasted.time);
        // The text says which counting it was written in; choosing that mode is no click on
        // a mode button, so exactly one conversion follows.
        setModeQuietly(pasted.dropFrame);
        CommandT2F_Click();
        break;
    }
}

} // namespace vorlane
