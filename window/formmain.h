#pragma once

// FormMain is the converter's only window and a thin layer over pure functions.
//
// The conversion handlers read the boxes, call one pure function each and write the boxes
// back: CommandF2T_Click calls convertFrameText and CommandT2F_Click calls convertTimeTexts
// (arithmetic/conversion.h), which hold every rule of the two commands, from reading the box
// texts to the choice of warning; the window only words the warning, shows it, and sets the
// focus, the selection and LastF2T. OptionFps_Click repeats whichever of the two ran last.
// Key presses in the four boxes are turned into character codes by one event filter
// (characterCode, window/keycode.h) and decided by decideKey (window/keyrules); Enter in the
// seconds.frames box runs NormalizeTime, which hands the three texts to NormalizeTimeTexts and
// writes them back only when it succeeds. A right-click in a box opens the menu that
// createBoxMenu builds; its two timecode items move SMPTE texts between the clipboard and the
// boxes through timecodeForCopy and classifyPaste (arithmetic/smptetext.h) and then run the
// commands above. Settings are read once, in Form_Load, and written once, in Form_Unload
// (the close event, also when a logout or a signal closes the window: window/sessionend.h),
// through the settings library, to the file that Form_Load read; nothing touches the settings
// file while the window is open.
//
// The handler and control names are those of the design; Qt's moc cannot parse non-ASCII
// names of slots, so the handlers are plain member functions connected by function pointer or
// lambda.

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace vorlane {
struct TimeTexts;
enum class Warning;
} // namespace vorlane

class FormMain : public QWidget {
    Q_OBJECT

public:
    /// Creates and loads the window. The settings file is the one beside the executable unless
    /// settingsPath names another (tests keep theirs in temporary folders).
    explicit FormMain(const QString& settingsPath = {}, QWidget* parent = nullptr);
    ~FormMain() override;

    // Controls, in tab order.
    QLineEdit* Textフレーム番号 = nullptr;
    QPushButton* CommandF2T = nullptr;
    std::array<QLineEdit*, 3> Text時刻{};
    QPushButton* CommandT2F = nullptr;
    std::array<QLabel*, 2> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> OptionFps{};

    /// True when the last conversion ran from frame number to timecode.
    bool LastF2T = false;

    /// Shows a modal warning; replaced by tests so that no box blocks them.
    std::function<void(const QString&)> showWarning;

    void CommandF2T_Click();
    void CommandT2F_Click();
    void Form_Load();
    /// Hides the window, then stores its position (read before it hides) and mode. Where the
    /// platform cannot report the position, X and Y stay in the file as they are.
    void Form_Unload();
    /// The settings file: from Form_Load on, the one that Form_Load read.
    QString IniFilePath() const;
    void OptionFps_Click(std::int16_t Index);
    void Textフレーム番号_GotFocus();
    void Textフレーム番号_KeyPress(int& KeyAscii);
    void Text時刻_GotFocus(std::int16_t Index);
    void Text時刻_KeyPress(std::int16_t Index, int& KeyAscii);
    void NormalizeTime();

    /// The real warning box: warning icon, one OK button, caption "Vorlane".
    void showWarningBox(const QString& text);

    /// The context menu of a box, which a right-click or the menu key opens: the two timecode
    /// items "タイムコードをコピー" and "タイムコードを貼り付け", then Qt's standard edit menu in
    /// Japanese, naming none of the shortcuts that the key rules swallow in the boxes. The copy
    /// item is disabled while the time boxes hold no timecode it can write.
    std::unique_ptr<QMenu> createBoxMenu(QLineEdit* box);

    /// Twips (1/1440 inch) to device-independent pixels at this screen's logical DPI, and back.
    int twipsToPixels(double twips) const;
    double pixelsToTwips(int pixels) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void selectAll(QLineEdit* box);
    /// Runs the focus handler of a box: Textフレーム番号_GotFocus or Text時刻_GotFocus.
    void boxGotFocus(QLineEdit* box);
    /// Moves the focus to a box as the commands and the Enter rule do; the box ends with its
    /// whole text selected even when this window is not the active one.
    void moveFocusTo(QLineEdit* box);
    bool handleKey(QLineEdit* box, QKeyEvent* event);
    void warn(vorlane::Warning warning);
    /// The SMPTE form of the timecode that the time boxes denote in the current mode, for the
    /// clipboard; nothing when the timecode-to-frame command would refuse them.
    std::optional<std::string> timecodeOfBoxes() const;
    /// Puts timecodeOfBoxes on the clipboard and on X11's primary selection.
    void copyTimecode();
    /// Takes an SMPTE timecode from the clipboard into the time boxes, in the counting it was
    /// written in, and converts it as "＜" does; digits alone go to the frame box and convert as
    /// "＞" does; anything else is refused with a warning and changes nothing.
    void pasteTimecode();
    vorlane::TimeTexts readTimeBoxes() const;
    void writeTimeBoxes(const vorlane::TimeTexts& time);
    /// The index of box in Text時刻; nothing for any other control.
    std::optional<std::int16_t> timeBoxIndex(const QObject* box) const;

    void placeWindow(std::int32_t leftTwips, std::int32_t topTwips);

    double m_dotsPerInch = 96.0;
    QString m_settingsPath;
};
