#include "window/formmain.h"

#include "arithmetic/normalize.h"
#include "settings/global.h"
#include "settings/initfile.h"
#include "window/conversion.h"
#include "window/keyrules.h"
#include "window/layout.h"
#include "window/smptetext.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vorlane {
namespace {

// The index in the array Text時刻 of a time box.
std::int16_t timeBoxIndex(EntryBox box) {
    return static_cast<std::int16_t>(static_cast<int>(box) - static_cast<int>(EntryBox::Hours));
}

constexpr std::u16string_view NotATimecode = u"タイムコードの形式が正しくありません。";

// The warning box's text for each refusal of the conversion commands, in Warning's order.
constexpr std::array<std::u16string_view, 5> WarningTexts{
    u"", u"フレーム数が大き過ぎです。", u"フレーム数が小さ過ぎです。", u"時刻が大き過ぎです。",
    u"時刻が小さ過ぎです。"};

TimeTexts readTimeBoxes(const WindowOperations& window) {
    return {numberText(window.text(EntryBox::Hours)), numberText(window.text(EntryBox::Minutes)),
            numberText(window.text(EntryBox::SecFrames))};
}

void writeTimeBoxes(WindowOperations& window, const TimeTexts& time) {
    window.setText(EntryBox::Hours, boxText(time.hours));
    window.setText(EntryBox::Minutes, boxText(time.minutes));
    window.setText(EntryBox::SecFrames, boxText(time.secFrames));
}

bool overlaps(const PixelRect& a, const PixelRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

} // namespace

FormMain::FormMain(WindowOperations& window, SettingsFile settings)
    : m_window(window), m_settings(std::move(settings)), m_shownDropFrame(DefaultDropFrame) {}

void FormMain::Form_Load() {
    LastF2T = true;
    m_location = m_settings.path.empty() ? settingsLocation() : m_settings.path;
    LoadSettings(m_location, m_settings.loadWait);
    placeWindow(Global::WindowX, Global::WindowY);
    m_window.setText(EntryBox::Frame, u"0");
    setModeQuietly(Global::DropFrame);
    CommandF2T_Click();
}

int FormMain::pixels(std::int32_t twips) const {
    return twipsToPixels(twips, m_window.dotsPerInch());
}

void FormMain::placeWindow(std::int32_t left, std::int32_t top) {
    // A window stored on a monitor that has since been unplugged would open where nobody can
    // see or reach it; one that is only partly off-screen opens exactly where it was left.
    const PixelRect stored{pixels(left), pixels(top), pixels(ClientWidthTwips),
                           pixels(ClientHeightTwips)};
    const std::vector<WorkArea> areas = m_window.workAreas();
    if (areas.empty() || std::ranges::any_of(areas, [&](const WorkArea& screen) {
            return overlaps(screen.area, stored);
        })) {
        m_window.setPosition(stored.left, stored.top);
        return;
    }
    const auto primary = std::ranges::find_if(areas, &WorkArea::primary);
    const PixelRect& corner = (primary == areas.end() ? areas.front() : *primary).area;
    m_window.setPosition(corner.left, corner.top);
}

void FormMain::Form_Unload() {
    if (std::exchange(m_unloaded, true))
        return;
    std::optional<WindowPosition> position;
    if (const std::optional<PixelPoint> where = m_window.position()) {
        const int dpi = m_window.dotsPerInch();
        position = WindowPosition{pixelsToTwips(where->left, dpi), pixelsToTwips(where->top, dpi)};
    }
    const bool dropFrame = m_window.dropFrame();
    // The window goes at once; the save may wait for another program's lock on the file.
    m_window.hideWindow();
    SaveSettings(m_location, position, dropFrame, m_settings.saveWait);
}

void FormMain::CommandF2T_Click() {
    const FrameConversion result =
        convertFrameText(numberText(m_window.text(EntryBox::Frame)), m_window.dropFrame());
    if (result.warning != Warning::NoWarning)
        m_window.showWarning(WarningTexts.at(static_cast<std::size_t>(result.warning)));
    writeTimeBoxes(m_window, result.time);
    selectAll(EntryBox::Frame);
    LastF2T = true;
}

void FormMain::CommandT2F_Click() {
    const TimeTexts time = readTimeBoxes(m_window);
    const TimeConversion result =
        convertTimeTexts(time.hours, time.minutes, time.secFrames, m_window.dropFrame());
    if (result.warning != Warning::NoWarning)
        m_window.showWarning(WarningTexts.at(static_cast<std::size_t>(result.warning)));
    m_window.setText(EntryBox::Frame, boxText(result.frameText));
    moveFocusTo(EntryBox::Hours);
    LastF2T = false;
}

void FormMain::OptionFps_Click(std::int16_t /*Index*/) {
    const bool dropFrame = m_window.dropFrame();
    m_window.setModeTabStop(dropFrame ? 1 : 0);
    if (dropFrame == std::exchange(m_shownDropFrame, dropFrame))
        return;
    if (LastF2T)
        CommandF2T_Click();
    else
        CommandT2F_Click();
}

void FormMain::setModeQuietly(bool dropFrame) {
    m_shownDropFrame = dropFrame;
    m_window.setDropFrame(dropFrame);
    m_window.setModeTabStop(dropFrame ? 1 : 0);
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

void FormMain::FocusIn(EntryBox box, FocusFrom from) {
    m_focusedByClick.reset();
    if (from == FocusFrom::Outside)
        return;
    if (from == FocusFrom::Click)
        m_focusedByClick = box;
    GotFocus(box);
}

void FormMain::ClickEnded(EntryBox box) {
    if (std::exchange(m_focusedByClick, std::nullopt) == box)
        GotFocus(box);
}

std::vector<BoxMenuEntry> FormMain::BoxMenu(EntryBox box) const {
    const BoxEditState state = m_window.editState(box);
    const bool selected = state.selectionLength > 0;
    const bool wholeSelected = state.selectionStart == 0 &&
                               state.selectionLength == static_cast<int>(m_window.text(box).size());
    using enum BoxMenuItem;
    std::vector<BoxMenuEntry> menu{{CopyTimecode, CanCopyTimecode()},
                                   {PasteTimecode, true},
                                   {Separator, false},
                                   {Undo, state.canUndo}};
    if (state.canRedo)
        menu.push_back({Redo, *state.canRedo});
    menu.insert(menu.end(), {{Separator, false},
                             {Cut, selected},
                             {Copy, selected},
                             {Paste, true},
                             {Delete, selected},
                             {Separator, false},
                             {SelectAll, !wholeSelected}});
    return menu;
}

void FormMain::BoxMenu_Click(EntryBox box, BoxMenuItem item) {
    const std::vector<BoxMenuEntry> menu = BoxMenu(box);
    if (std::ranges::find(menu, BoxMenuEntry{item, true}) == menu.end())
        return;
    switch (item) {
    case BoxMenuItem::CopyTimecode:
        CopyTimecode();
        break;
    case BoxMenuItem::PasteTimecode:
        PasteTimecode();
        break;
    case BoxMenuItem::SelectAll:
        selectAll(box);
        break;
    case BoxMenuItem::Separator:
        break;
    default: // the box's own edits
        m_window.edit(box, item);
        break;
    }
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
