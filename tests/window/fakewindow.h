#pragma once

// A window held in memory, on which the handlers of FormMain run as on a toolkit's: it keeps
// the boxes' texts and selections, the focus, the mode, the position and the clipboard, records
// the warnings, and raises the focus and click handlers where a toolkit raises them.

#include "settings/initfile.h"
#include "window/formmain.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vorlane::test {

class FakeWindow : public WindowOperations {
public:
    struct Box {
        std::u16string text;
        int selectionStart = 0;
        int selectionLength = 0;
    };

    /// The handlers that the window raises; none until set.
    FormMain* form = nullptr;
    std::array<Box, 4> boxes{};
    std::optional<EntryBox> focus;
    bool dropFrameSelected = DefaultDropFrame;
    std::int16_t modeTabStop = -1;
    std::vector<std::u16string> warnings;
    /// Where the window stands; nothing on a platform that cannot tell (Wayland).
    std::optional<PixelPoint> where = PixelPoint{0, 0};
    int dpi = 96;
    /// One 1920 x 1080 screen.
    std::vector<WorkArea> screens{{{0, 0, 1920, 1080}, true}};
    /// What every box can undo and redo.
    bool canUndo = false;
    std::optional<bool> canRedo;
    /// The edits that the boxes carried out.
    std::vector<std::pair<EntryBox, BoxMenuItem>> edits;
    bool hidden = false;
    /// Runs when the window hides.
    std::function<void()> onHide;
    std::optional<std::u16string> clipboard;

    Box& box(EntryBox entryBox) { return boxes[static_cast<std::size_t>(entryBox)]; }
    const Box& box(EntryBox entryBox) const { return boxes[static_cast<std::size_t>(entryBox)]; }
    bool wholeTextSelected(EntryBox entryBox) const {
        const Box& b = box(entryBox);
        return b.selectionStart == 0 && b.selectionLength == static_cast<int>(b.text.size());
    }
    bool focusedWhole(EntryBox entryBox) const {
        return focus == entryBox && wholeTextSelected(entryBox);
    }
    // The time boxes follow the frame box.
    std::vector<std::u16string> timeTexts() const {
        return {boxes[1].text, boxes[2].text, boxes[3].text};
    }
    void setTimeTexts(const std::vector<std::u16string>& texts) {
        for (std::size_t i = 0; i < 3; ++i)
            boxes[i + 1].text = texts.at(i);
    }

    std::u16string text(EntryBox entryBox) const override { return box(entryBox).text; }
    void setText(EntryBox entryBox, std::u16string_view text) override {
        box(entryBox) = {std::u16string(text), static_cast<int>(text.size()), 0};
    }
    BoxEditState editState(EntryBox entryBox) const override {
        const Box& b = box(entryBox);
        return {b.selectionStart, b.selectionLength, canUndo, canRedo};
    }
    void edit(EntryBox entryBox, BoxMenuItem item) override { edits.emplace_back(entryBox, item); }
    void setSelection(EntryBox entryBox, int start, int length) override {
        Box& b = box(entryBox);
        const int size = static_cast<int>(b.text.size());
        b.selectionStart = std::clamp(start, 0, size);
        b.selectionLength = std::clamp(length, 0, size - b.selectionStart);
    }
    void focusBox(EntryBox entryBox) override {
        if (focus == entryBox)
            return;
        focus = entryBox;
        if (form)
            form->FocusIn(entryBox, FocusFrom::Control);
    }
    bool dropFrame() const override { return dropFrameSelected; }
    // Like Qt, the window raises the click handler when code selects the other button.
    void setDropFrame(bool dropFrame) override {
        if (dropFrame == dropFrameSelected)
            return;
        dropFrameSelected = dropFrame;
        if (form)
            form->OptionFps_Click(dropFrame ? 1 : 0);
    }
    void setModeTabStop(std::int16_t index) override { modeTabStop = index; }
    void showWarning(std::u16string_view text) override { warnings.emplace_back(text); }
    int dotsPerInch() const override { return dpi; }
    std::optional<PixelPoint> position() const override { return where; }
    void setPosition(int left, int top) override {
        placed = PixelPoint{left, top};
        if (where)
            where = placed;
    }
    std::vector<WorkArea> workAreas() const override { return screens; }
    void hideWindow() override {
        hidden = true;
        if (onHide)
            onHide();
    }
    std::optional<std::u16string> clipboardText() override { return clipboard; }
    void setClipboardText(std::u16string_view text) override { clipboard = std::u16string(text); }

    /// Where the logic last put the window.
    std::optional<PixelPoint> placed;
};

} // namespace vorlane::test
