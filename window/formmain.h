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
// nothing else touches the file.

#include "settings/inipath.h"
#include "window/operations.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace vorlane {

/// Where Form_Load and Form_Unload keep the settings, and how long they wait for another
/// process that holds the file.
struct SettingsFile {
    /// Empty: the file that settingsLocation chooses at start-up (settings/inipath.h).
    NativePath path;
    std::chrono::milliseconds loadWait = ReadWait;
    std::chrono::milliseconds saveWait = WriteWait;
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
    /// Hides the window, then stores its position and mode. Where the platform cannot tell the
    /// position, X and Y stay in the file as they are.
    void Form_Unload();
    void OptionFps_Click(std::int16_t Index);
    void Textフレーム番号_GotFocus();
    void Textフレーム番号_KeyPress(int& KeyAscii);
    void Text時刻_GotFocus(std::int16_t Index);
    void Text時刻_KeyPress(std::int16_t Index, int& KeyAscii);
    void NormalizeTime();

    /// The focus and key handler of any box, for windows that handle the four alike.
    void GotFocus(EntryBox box);
    void KeyPress(EntryBox box, int& KeyAscii);

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
    /// The key rules of a box: the decision of decideKey, carried out.
    void keyPress(EntryBox box, int& KeyAscii);
    void selectAll(EntryBox box);
    /// Moves the focus to a box and selects its whole text, also when it had the focus already.
    void moveFocusTo(EntryBox box);
    /// Selects the mode's option button without repeating the last conversion.
    void setModeQuietly(bool dropFrame);
    void placeWindow(std::int32_t left, std::int32_t top);

    WindowOperations& m_window;
    SettingsFile m_settings;
    /// Chosen by Form_Load; the close saves there, also when the executable has been replaced
    /// (upgraded) since.
    SettingsLocation m_location;
    /// True while the logic itself selects an option button: that is no user's click.
    bool m_settingMode = false;
};

} // namespace vorlane
