#pragma once

// QtFormMain is the converter window on Qt: the controls of the design's table
// (window/layout.h), the window operations of window/operations.h carried out on them, and the
// events forwarded to the toolkit-free handlers of FormMain (window/formmain.h), which decide
// everything. Key presses in the boxes become character codes (characterCode, qt/keycode.h);
// a box's context menu draws FormMain's BoxMenu.
//
// Qt's moc cannot parse non-ASCII names of slots, so everything is connected by function
// pointer or lambda.

#include "window/formmain.h"

#include <QClipboard>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace vorlane {

class QtFormMain : public QWidget, private WindowOperations {
    Q_OBJECT

public:
    /// Creates the window and runs Form_Load. Tests keep their settings in temporary folders
    /// and pass short waits.
    explicit QtFormMain(SettingsFile settings = {}, QWidget* parent = nullptr);
    ~QtFormMain() override;

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

    /// The handlers.
    FormMain& form() { return m_form; }

    /// Shows a modal warning; replaced by tests so that no box blocks them.
    std::function<void(const QString&)> warningBox;
    /// The real warning box: warning icon, one OK button, caption "Vorlane".
    void showWarningBox(const QString& text);

    /// The context menu of a box (FormMain::BoxMenu), which a right-click, the menu key or
    /// Shift+F10 opens, with QLineEdit's edit items in Qt's Japanese. Its making never asks the
    /// clipboard: every paste waits at most PasteWait (qt/clipboard.h) for the clipboard's owner.
    std::unique_ptr<QMenu> createBoxMenu(EntryBox box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QLineEdit* box(EntryBox box) const;
    std::optional<EntryBox> entryBoxOf(const QObject* control) const;
    bool filterBoxEvent(EntryBox entryBox, QEvent* event);
    void popUpMenu(EntryBox entryBox, std::optional<QPoint> at);
    void pasteInto(QLineEdit* box, QClipboard::Mode mode);
    bool moveBetweenOptions(QRadioButton* option, int key);

    // WindowOperations
    std::u16string text(EntryBox box) const override;
    void setText(EntryBox box, std::u16string_view text) override;
    void setSelection(EntryBox box, int start, int length) override;
    BoxEditState editState(EntryBox box) const override;
    void edit(EntryBox box, BoxMenuItem item) override;
    void focusBox(EntryBox box) override;
    bool dropFrame() const override;
    void setDropFrame(bool dropFrame) override;
    void setModeTabStop(std::int16_t index) override;
    void showWarning(std::u16string_view text) override;
    int dotsPerInch() const override;
    std::optional<PixelPoint> position() const override;
    void setPosition(int left, int top) override;
    std::vector<WorkArea> workAreas() const override;
    void hideWindow() override;
    std::optional<std::u16string> clipboardText() override;
    void setClipboardText(std::u16string_view text) override;

    /// The primary screen's logical DPI, at which twips become device-independent pixels.
    int m_dotsPerInch = 96;
    FormMain m_form;
};

} // namespace vorlane
