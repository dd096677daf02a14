#include "window/formmain.h"

#include "fakewindow.h"
#include "testsupport.h"
#include "window/layout.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

using namespace std::chrono_literals;
using test::readBytes;
using test::settingsFile;
using test::TempFolder;
using test::writeBytes;
using Texts = std::vector<std::u16string>;

constexpr std::u16string_view TooManyFrames = u"フレーム数が大き過ぎです。";
constexpr std::u16string_view TooFewFrames = u"フレーム数が小さ過ぎです。";
constexpr std::u16string_view TimeTooLarge = u"時刻が大き過ぎです。";
constexpr std::u16string_view TimeTooSmall = u"時刻が小さ過ぎです。";
constexpr std::u16string_view NotATimecode = u"タイムコードの形式が正しくありません。";

Texts warnings(std::u16string_view warning) {
    return warning.empty() ? Texts{} : Texts{std::u16string(warning)};
}

// A window in memory, loaded from a settings file in a temporary folder, as the program starts.
class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override { load(); }

    void load() {
        window = std::make_unique<test::FakeWindow>();
        form = std::make_unique<FormMain>(*window, SettingsFile{path, 200ms, 200ms});
        window->form = form.get();
        window->focus = EntryBox::Frame; // where a window puts it when it first shows
        form->Form_Load();
    }

    std::u16string& text(EntryBox box) { return window->box(box).text; }

    // Types a character into a box as a toolkit reports it; the code that the box then gets.
    int key(EntryBox box, int code) {
        window->focusBox(box);
        form->KeyPress(box, code);
        return code;
    }

    const TempFolder folder;
    const NativePath path = folder.file("vorlane.ini");
    std::unique_ptr<test::FakeWindow> window;
    std::unique_ptr<FormMain> form;
};

TEST_F(FormMainTest, StartsShowingFrameZeroInDropFrameMode) {
    EXPECT_EQ(text(EntryBox::Frame), u"0");
    EXPECT_EQ(window->timeTexts(), (Texts{u"0", u"00", u"00.00"}));
    EXPECT_TRUE(window->dropFrameSelected);
    EXPECT_TRUE(form->LastF2T);
    EXPECT_TRUE(window->wholeTextSelected(EntryBox::Frame));
    EXPECT_TRUE(window->warnings.empty());
    EXPECT_EQ(readBytes(path), settingsFile("0", "0", "True"));
}

// How stored values read is the settings' rule; here, where the window goes and its mode.
TEST_F(FormMainTest, StartsWhereItWasClosedInTheModeChosen) {
    // One 1920 x 1080 screen at 96 DPI (15 twips a pixel), or a primary one with a panel at its
    // top left, listed after one to its left.
    const std::vector<WorkArea> oneScreen{{{0, 0, 1920, 1080}, true}};
    const std::vector<WorkArea> twoScreens{{{-1920, 0, 1920, 1080}, false},
                                           {{100, 30, 1920, 1050}, true}};
    const struct {
        std::string x, y, dropFrame;
        const std::vector<WorkArea>& screens;
        int dpi;
        PixelPoint expected;
        bool dropFrameMode;
    } rows[] = {
        {"1200", "900", "False", oneScreen, 96, {80, 60}, false},
        {"1200", "900", "False", oneScreen, 144, {120, 90}, false},
        {"-1500", "300", "TRUE", oneScreen, 96, {-100, 20}, true}, // partly off-screen: as stored
        {"9999999999", "0", "maybe", oneScreen, 96, {0, 0}, true}, // unreadable: defaults
        {"1500000", "1500000", "False", oneScreen, 96, {0, 0}, false}, // on no screen: top-left
        {"-3000", "0", "True", twoScreens, 96, {-200, 0}, true},
        {"99999", "0", "True", twoScreens, 96, {100, 30}, true}, // the primary's corner
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.x + " " + row.y + " " + row.dropFrame);
        const std::string stored = settingsFile(row.x, row.y, row.dropFrame);
        writeBytes(path, stored);
        window->screens = row.screens;
        window->dpi = row.dpi;
        form->Form_Load();
        EXPECT_EQ(window->placed->left, row.expected.left);
        EXPECT_EQ(window->placed->top, row.expected.top);
        EXPECT_EQ(window->dropFrameSelected, row.dropFrameMode);
        EXPECT_EQ(window->modeTabStop, row.dropFrameMode ? 1 : 0);
        // Values that cannot be used stay in the file until the window closes.
        EXPECT_EQ(readBytes(path), stored);
    }
}

TEST_F(FormMainTest, ClosingHidesTheWindowThenStoresPositionAndModeOnce) {
    const struct {
        std::optional<PixelPoint> where; // nothing: a platform that cannot tell
        std::string saved;
    } rows[] = {
        {PixelPoint{80, -60}, settingsFile("1200", "-900", "False")},
        {std::nullopt, settingsFile("7", "8", "False")},
    };
    for (const auto& row : rows) {
        writeBytes(path, settingsFile("7", "8", "True"));
        load();
        window->setDropFrame(false);
        window->where = row.where;
        std::optional<std::string> whenHidden;
        window->onHide = [&] { whenHidden = readBytes(path); };
        form->Form_Unload();
        EXPECT_TRUE(window->hidden);
        EXPECT_EQ(whenHidden, settingsFile("7", "8", "True")) << "hidden before the save";
        EXPECT_EQ(readBytes(path), row.saved);
        // A second close, by a session's end after the user's, stores nothing.
        window->setDropFrame(true);
        form->Form_Unload();
        EXPECT_EQ(readBytes(path), row.saved);
    }
}

TEST_F(FormMainTest, FrameToTimecode) {
    const struct {
        std::u16string frame;
        bool dropFrame;
        Texts time;
        std::u16string_view warning;
    } rows[] = {
        {u"1800", true, {u"0", u"01", u"00.02"}, {}},
        {u"2592000", false, {u"0", u"00", u"00.00"}, TooManyFrames},
        {u"-1", true, {u"0", u"00", u"00.00"}, TooFewFrames},
    };
    for (const auto& row : rows) {
        window->dropFrameSelected = row.dropFrame;
        window->warnings.clear();
        window->focus = EntryBox::Hours;
        text(EntryBox::Frame) = row.frame;
        form->CommandF2T_Click();
        EXPECT_EQ(window->timeTexts(), row.time);
        EXPECT_EQ(window->warnings, warnings(row.warning));
        // The frame box is never rewritten and ends selected whole; the focus stays.
        EXPECT_EQ(text(EntryBox::Frame), row.frame);
        EXPECT_TRUE(window->wholeTextSelected(EntryBox::Frame));
        EXPECT_EQ(window->focus, EntryBox::Hours);
        EXPECT_TRUE(form->LastF2T);
    }
}

TEST_F(FormMainTest, TimecodeToFrame) {
    const struct {
        Texts time;
        bool dropFrame;
        std::u16string frame;
        std::u16string_view warning;
    } rows[] = {
        {{u"24", u"0", u"0"}, true, u"2589408", {}},
        {{u"25", u"0", u"0"}, false, u"0", TimeTooLarge},
        {{u"0", u"-1", u"0"}, true, u"0", TimeTooSmall},
    };
    for (const auto& row : rows) {
        window->dropFrameSelected = row.dropFrame;
        window->warnings.clear();
        window->setTimeTexts(row.time);
        // "＜" may be run from the hours box itself (its menu, Enter): it still ends selected.
        for (const EntryBox focus : {EntryBox::Frame, EntryBox::Hours}) {
            window->focus = focus;
            window->box(EntryBox::Hours).selectionLength = 0;
            form->CommandT2F_Click();
            EXPECT_EQ(text(EntryBox::Frame), row.frame);
            EXPECT_EQ(window->timeTexts(), row.time); // not rewritten
            EXPECT_TRUE(window->focusedWhole(EntryBox::Hours));
            EXPECT_FALSE(form->LastF2T);
        }
        EXPECT_EQ(window->warnings.size(), row.warning.empty() ? 0u : 2u);
    }
}

// Only a click that changes the mode converts again; the selected button is the Tab stop.
TEST_F(FormMainTest, AModeClickRepeatsTheLastConversion) {
    window->setDropFrame(false);
    text(EntryBox::Frame) = u"1800";
    form->CommandF2T_Click();
    window->setDropFrame(true);
    EXPECT_EQ(window->timeTexts(), (Texts{u"0", u"01", u"00.02"}));
    EXPECT_EQ(window->modeTabStop, 1);
    EXPECT_TRUE(form->LastF2T);

    window->setTimeTexts({u"24", u"0", u"0"});
    form->CommandT2F_Click();
    EXPECT_EQ(text(EntryBox::Frame), u"2589408");
    form->OptionFps_Click(1); // the selected button again: no change
    EXPECT_EQ(text(EntryBox::Frame), u"2589408");
    window->setDropFrame(false);
    EXPECT_EQ(text(EntryBox::Frame), u"2592000");
    EXPECT_EQ(window->modeTabStop, 0);
    EXPECT_FALSE(form->LastF2T);
}

// Only a move from another control, or a click, selects the text; a click again as it ends.
TEST_F(FormMainTest, GainingTheFocusFromAnotherControlSelectsTheWholeText) {
    const struct {
        FocusFrom from;
        bool selected;
    } rows[] = {{FocusFrom::Control, true}, {FocusFrom::Click, true}, {FocusFrom::Outside, false}};
    for (const auto& row : rows) {
        window->box(EntryBox::SecFrames) = {u"12.34", 2, 0};
        form->FocusIn(EntryBox::SecFrames, row.from);
        EXPECT_EQ(window->wholeTextSelected(EntryBox::SecFrames), row.selected);
        window->setSelection(EntryBox::SecFrames, 3, 0); // where the click's press put the caret
        form->ClickEnded(EntryBox::SecFrames);
        EXPECT_EQ(window->wholeTextSelected(EntryBox::SecFrames), row.from == FocusFrom::Click);
    }
    form->ClickEnded(EntryBox::SecFrames); // a second end: no click brought the focus
    EXPECT_FALSE(window->wholeTextSelected(EntryBox::SecFrames));
}

// The items in order; the timecode items are enabled here, since the boxes hold frame 0.
TEST_F(FormMainTest, TheBoxMenuIsEnabledFromTheBoxState) {
    using enum BoxMenuItem;
    const struct {
        std::u16string text;
        int start, length;
        bool canUndo;
        std::optional<bool> canRedo; // nothing: the box keeps no redo
        std::vector<BoxMenuItem> enabled;
    } rows[] = {
        {u"1800", 0, 4, false, false, {Cut, Copy, Paste, Delete}},
        {u"1800", 1, 2, true, {}, {Undo, Cut, Copy, Paste, Delete, SelectAll}},
        {u"1800", 4, 0, false, true, {Redo, Paste, SelectAll}},
        {u"", 0, 0, false, false, {Paste}},
    };
    for (const auto& row : rows) {
        window->box(EntryBox::Frame) = {row.text, row.start, row.length};
        window->canUndo = row.canUndo;
        window->canRedo = row.canRedo;
        std::vector<BoxMenuItem> items, enabled{CopyTimecode, PasteTimecode};
        enabled.insert(enabled.end(), row.enabled.begin(), row.enabled.end());
        for (const BoxMenuEntry& entry : form->BoxMenu(EntryBox::Frame))
            items.push_back(entry.enabled ? entry.item : Separator);
        std::erase(items, Separator);
        EXPECT_EQ(items, enabled);
        EXPECT_EQ(form->BoxMenu(EntryBox::Frame).size(), row.canRedo ? 12u : 11u);
    }
    // Chosen, an item does what it names; one that is not enabled does nothing.
    window->box(EntryBox::Frame) = {u"1800", 1, 2};
    for (const BoxMenuItem item : {Cut, Undo, SelectAll, Paste})
        form->BoxMenu_Click(EntryBox::Frame, item);
    EXPECT_TRUE(window->wholeTextSelected(EntryBox::Frame));
    EXPECT_EQ(window->edits, (std::vector<std::pair<EntryBox, BoxMenuItem>>{
                                 {EntryBox::Frame, Cut}, {EntryBox::Frame, Paste}}));
}

TEST_F(FormMainTest, KeysAreDecidedByTheKeyRulesAndCarriedOut) {
    const struct {
        EntryBox box;
        std::u16string before;
        int code;
        int passedOn; // the code the box then gets; 0 when swallowed
        std::u16string after;
        int caret;
    } rows[] = {
        {EntryBox::Minutes, u"00", '3', 0, u"3", 1},  // a digit replaces a zero
        {EntryBox::Frame, u"12", '3', '3', u"12", 2}, // the box inserts it
        {EntryBox::SecFrames, u"5", 8, 0, u"0", 1},   // Backspace never empties a box
        {EntryBox::Hours, u"1", '.', 0, u"1", 1},
    };
    for (const auto& row : rows) {
        window->focusBox(row.box);
        window->box(row.box) = {row.before, static_cast<int>(row.before.size()), 0};
        EXPECT_EQ(key(row.box, row.code), row.passedOn);
        EXPECT_EQ(text(row.box), row.after);
        EXPECT_EQ(window->box(row.box).selectionStart, row.caret);
        EXPECT_EQ(window->box(row.box).selectionLength, 0);
    }
}

TEST_F(FormMainTest, EnterConvertsWalksTheTimeBoxesThenNormalisesAndConverts) {
    text(EntryBox::Frame) = u"3598";
    EXPECT_EQ(key(EntryBox::Frame, 13), 13); // Enter is passed on after its action
    EXPECT_EQ(window->timeTexts(), (Texts{u"0", u"02", u"00.02"}));
    EXPECT_TRUE(window->focusedWhole(EntryBox::Frame));

    window->setTimeTexts({u"0", u"0", u"75.45"});
    EXPECT_EQ(key(EntryBox::Hours, 13), 13);
    EXPECT_TRUE(window->focusedWhole(EntryBox::Minutes));
    key(EntryBox::Minutes, 13);
    EXPECT_TRUE(window->focusedWhole(EntryBox::SecFrames));
    EXPECT_EQ(window->timeTexts(), (Texts{u"0", u"0", u"75.45"})); // moving does not convert
    key(EntryBox::SecFrames, 13);
    EXPECT_EQ(window->timeTexts(), (Texts{u"0", u"01", u"16.15"}));
    EXPECT_EQ(text(EntryBox::Frame), u"2293"); // 1798 + 16 s * 30 + 15 in drop-frame
    EXPECT_TRUE(window->focusedWhole(EntryBox::Hours));
    EXPECT_FALSE(form->LastF2T);
}

TEST_F(FormMainTest, EnterInSecondsFramesCarriesOverFullFields) {
    const struct {
        Texts before;
        Texts after; // empty: normalisation fails and nothing changes
        bool dropFrame;
        std::u16string frame;
        std::u16string_view warning;
    } rows[] = {
        {{u"0", u"0", u"75.45"}, {u"0", u"01", u"16.15"}, false, u"2295", {}},
        {{u"0", u"0", u"327.68"}, {}, false, u"9878", {}},
        {{u"24", u"120", u"0"}, {u"26", u"00", u"00.00"}, false, u"0", TimeTooLarge},
        {{u"0", u"0", u"-0.5"}, {}, false, u"0", TimeTooSmall},
    };
    for (const auto& row : rows) {
        window->dropFrameSelected = row.dropFrame;
        window->warnings.clear();
        window->setTimeTexts(row.before);
        key(EntryBox::SecFrames, 13);
        EXPECT_EQ(window->timeTexts(), row.after.empty() ? row.before : row.after);
        // The conversion runs after a failed normalisation too, on the boxes as they stand.
        EXPECT_EQ(text(EntryBox::Frame), row.frame);
        EXPECT_EQ(window->warnings, warnings(row.warning));
    }
}

TEST_F(FormMainTest, CopyTimecodeWritesTheBoxesTimecodeInTheCurrentCounting) {
    const struct {
        bool dropFrame;
        Texts boxes;
        std::optional<std::u16string> clipboard; // nothing: no timecode to copy
    } rows[] = {
        {true, {u"0", u"01", u"00.02"}, u"00:01:00;02"},
        {false, {u"25", u"00", u"00.00"}, std::nullopt},
    };
    for (const auto& row : rows) {
        window->dropFrameSelected = row.dropFrame;
        window->setTimeTexts(row.boxes);
        window->clipboard = u"x";
        EXPECT_EQ(form->CanCopyTimecode(), row.clipboard.has_value());
        form->CopyTimecode();
        EXPECT_EQ(window->clipboard, row.clipboard.value_or(u"x"));
        EXPECT_EQ(window->timeTexts(), row.boxes);
    }
    EXPECT_TRUE(window->warnings.empty());
}

// Paste fills the boxes in the counting the text names and converts exactly once, ending as
// "＜" or "＞" ends; anything else is refused with one warning and changes nothing.
TEST_F(FormMainTest, PasteTimecodeConvertsInTheCountingOfTheText) {
    const struct {
        std::optional<std::u16string> clipboard;
        bool dropFrameBefore;
        Texts time;
        std::u16string frame;
        bool dropFrameAfter;
        std::u16string_view warning;
        std::optional<EntryBox> focus; // nothing: the focus stays in the minutes box
    } rows[] = {
        {u"00:01:00:00\n", true, {u"0", u"01", u"00.00"}, u"1800", false, {}, EntryBox::Hours},
        {u"0:1:0;2", false, {u"0", u"01", u"00.02"}, u"1800", true, {}, EntryBox::Hours},
        {u" 1800 ", true, {u"0", u"01", u"00.02"}, u"1800", true, {}, EntryBox::Frame},
        {u"00:01:00;00", false, {u"0", u"00", u"00.07"}, u"7", false, NotATimecode, {}},
        {std::nullopt, true, {u"0", u"00", u"00.07"}, u"7", true, NotATimecode, {}},
    };
    for (const auto& row : rows) {
        window->dropFrameSelected = row.dropFrameBefore;
        text(EntryBox::Frame) = u"7";
        form->CommandF2T_Click();
        window->focusBox(EntryBox::Minutes);
        window->warnings.clear();
        window->clipboard = row.clipboard;
        form->PasteTimecode();
        EXPECT_EQ(window->timeTexts(), row.time);
        EXPECT_EQ(text(EntryBox::Frame), row.frame);
        EXPECT_EQ(window->dropFrameSelected, row.dropFrameAfter);
        EXPECT_EQ(window->warnings, warnings(row.warning));
        EXPECT_EQ(form->LastF2T, row.focus != EntryBox::Hours);
        EXPECT_EQ(window->focus, row.focus.value_or(EntryBox::Minutes));
        EXPECT_TRUE(!row.focus || window->wholeTextSelected(*row.focus));
    }
}

// Windows scales the design's twips to each screen's DPI.
TEST(TwipsToPixels, RoundsAtEveryDpiAndKeepsWithinTheIntRange) {
    const struct {
        int twips, dpi, pixels;
    } rows[] = {{4335, 96, 289},
                {4335, 120, 361},
                {4335, 144, 434},
                {-1500, 144, -150},
                {-10, 72, -1},
                {INT32_MAX, 96000, INT32_MAX},
                {INT32_MIN, 96000, INT32_MIN}};
    for (const auto& row : rows)
        EXPECT_EQ(twipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " " << row.dpi;
}

} // namespace
} // namespace vorlane
