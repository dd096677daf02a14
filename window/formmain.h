#pragma once

// FormMain is the converter window's logic, written once for every toolkit. It acts on the
// window only through WindowOperations (window/operations.h); each toolkit's window implements
// those operations and forwards its events to the handlers here, which carry the design's names.
//
// How the pieces meet: CommandF2T_Click and CommandT2F_Click read the boxes, call one pure
// function each (convertFrameText and convertTimeTexts, window/conversion.h) and write the
// result back; OptionFps_Click repeats whichever of them ran last (LastF2T). The key handlers
// ask decideKey (window/keyrules.h) what a typed character does and carry the answer out; Enter
// in the seconds.frames box runs NormalizeTime (NormalizeTimeTexts, arithmetic/normalize.h)
// and then the timecode-to-frame command. The boxes' menu items CopyTimecode and PasteTimecode
// move SMPTE texts (window/smptetext.h) between the clipboard and the boxes. Form_Load reads the
// settings file (LoadSettings, settings/initfile.h) and Form_Unload writes it (SaveSettings);
// nothing else touches the file. What a skin would otherwise decide for itself is here too:
// which mode a click really changes, the boxes' context menu (BoxMenu), which focus moves
// select a box's text (FocusIn), the mode buttons' Tab stop, and where the window may stand.

#include "settings/inipath.h"
#include "window/operations.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

/// Where Form_Load and Form_Unload keep the settings, and how long they wait for another
/// process that holds the file.
struct SettingsFile {
    /// Empty: the file that settingsLocation chooses at start-up (settings/inipath.h).
    NativePath path;
    std::chrono::milliseconds loadWait = ReadWait;
    std::chrono::milliseconds saveWait = WriteWait;
};

/// The texts of the two timecode items; the edit items take each platform's own texts.
inline constexpr std::u16string_view CopyTimecodeText = u"タイムコードをコピー";
inline constexpr std::u16string_view PasteTimecodeText = u"タイムコードを貼り付け";

struct BoxMenuEntry {
    BoxMenuItem item;
    bool enabled;
    friend bool operator==(const BoxMenuEntry&, const BoxMenuEntry&) = default;
};

/// Where the focus that a box gains comes from.
enum class FocusFrom {
    Control, ///< another control of this window: Tab, or the logic's own move
    Click,   ///< a click on the box
    Outside, ///< another window, the window becoming active again, or the box's menu closing
};

class FormMain {
public:
    explicit FormMain(WindowOperations& window, SettingsFile settings = {});

    /// True when the last conversion ran from frame number to timecode.
    bool LastF2T = false;

    void CommandF2T_Click();
    void CommandT2F_Click();
    /// Restores the position and the mode from the settings file and shows frame 0. A position
    /// that lies off every screen gives the top-left corner of the primary screen's work area.
    void Form_Load();
    /// Hides the window, then stores its position and mode, once: whoever calls it again (a
    /// session's end after the user's close) changes nothing. Where the platform cannot tell
    /// the position, X and Y stay in the file as they are.
    void Form_Unload();
    /// A click on a mode button, or an arrow key there: repeats the last conversion when the
    /// mode has changed since the window last showed one. The selected button is the group's
    /// Tab stop.
    void OptionFps_Click(std::int16_t Index);
    void Textフレーム番号_GotFocus();
    void Textフレーム番号_KeyPress(int& KeyAscii);
    void Text時刻_GotFocus(std::int16_t Index);
    void Text時刻_KeyPress(std::int16_t Index, int& KeyAscii);
    void NormalizeTime();

    /// The key handler of any box, for windows that handle the four alike.
    void KeyPress(EntryBox box, int& KeyAscii);

    /// The focus has arrived in a box. Only a move from another control selects its whole text
    /// (GotFocus); a click does too, and again when it ends (ClickEnded), since the box's own
    /// handling of the click puts the caret where it landed. The focus coming back from outside
    /// leaves the caret and the selection as the user left them.
    void FocusIn(EntryBox box, FocusFrom from);
    void ClickEnded(EntryBox box);

    /// A box's context menu, from its text, its selection and what it can undo: the timecode
    /// items, then the box's own edit items, as Windows' and Qt's edit menus enable them. Copy
    /// Timecode needs a timecode to write (CanCopyTimecode); Paste and Paste Timecode are always
    /// enabled, since asking the clipboard could hang on its owner; Cut, Copy and Delete need a
    /// selection; Select All is enabled unless the whole text is selected already. Redo is
    /// there only where the box keeps one. No item names a shortcut: the key rules swallow
    /// Ctrl+Z, Ctrl+Y, Ctrl+X, Ctrl+C, Ctrl+V and Ctrl+A in the boxes.
    std::vector<BoxMenuEntry> BoxMenu(EntryBox box) const;
    /// Carries out an item of the box's menu; one that BoxMenu does not enable does nothing.
    void BoxMenu_Click(EntryBox box, BoxMenuItem item);

    /// True when the time boxes hold a timecode that CopyTimecode can write.
    bool CanCopyTimecode() const;
    /// Puts the SMPTE form of the time boxes' timecode, in the current counting, on the
    /// clipboard; nothing when they hold none.
    void CopyTimecode();
    /// Takes an SMPTE timecode from the clipboard into the time boxes, in the counting it was
    /// written in, and converts it as "＜" does; digits alone go to the frame box and convert as
    /// "＞" does. Anything else, an empty clipboard included, is refused with a warning and
    /// changes nothing.
    void PasteTimecode();

private:
    /// The focus handler of any box.
    void GotFocus(EntryBox box);
    /// The key rules of a box: the decision of decideKey, carried out.
    void keyPress(EntryBox box, int& KeyAscii);
    void selectAll(EntryBox box);
    /// Moves the focus to a box and selects its whole text, also when it had the focus already.
    void moveFocusTo(EntryBox box);
    /// Selects the mode's option button without repeating the last conversion.
    void setModeQuietly(bool dropFrame);
    void placeWindow(std::int32_t left, std::int32_t top);
    int pixels(std::int32_t twips) const;

    WindowOperations& m_window;
    SettingsFile m_settings;
    /// Chosen by Form_Load; the close saves there, also when the executable has been replaced
    /// (upgraded) since.
    SettingsLocation m_location;
    /// The mode that the window last showed: only a click that changes it converts again.
    bool m_shownDropFrame;
    /// The box whose focus a click has brought, until the click ends.
    std::optional<EntryBox> m_focusedByClick;
    bool m_unloaded = false;
};

} // namespace vorlane
