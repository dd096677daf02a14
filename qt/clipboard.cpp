#include "qt/clipboard.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vorlane {
namespace {

#if QT_CONFIG(xcb)

// Long enough that a paste from a program that answers never flickers the cursor.
constexpr std::chrono::milliseconds WaitCursorAfter{300};

// While a paste waits, keys and clicks are dropped: acting on the window before the pasted text
// arrives would mix the two, and held for later they would land in the warning box that refuses
// a paste of nothing.
class InputDropped final : public QObject {
public:
    InputDropped() {
        QCoreApplication::instance()->installEventFilter(this);
        m_cursor.setSingleShot(true);
        connect(&m_cursor, &QTimer::timeout, this, [this] {
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            m_waitCursor = true;
        });
        m_cursor.start(WaitCursorAfter);
    }
    ~InputDropped() override {
        QCoreApplication::instance()->removeEventFilter(this);
        if (m_waitCursor)
            QGuiApplication::restoreOverrideCursor();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->isInputEvent(); }

private:
    QTimer m_cursor;
    bool m_waitCursor = false;
};

template <typename Reply> using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

// A text up to 4 MiB, in the 32-bit units of GetProperty; a box holds 32767 characters.
constexpr std::uint32_t MaxPropertyUnits = 1U << 20;

// Reads a selection as the ICCCM has it: ConvertSelection to a window of our own, after which
// the owner's SelectionNotify names the property of that window that holds the text. Qt's own
// connection carries the requests, and the answer is taken out of Qt's stream of events, so that
// the event loop runs while the owner takes its time.
class X11SelectionReader final : public QAbstractNativeEventFilter {
public:
    explicit X11SelectionReader(xcb_connection_t* connection)
        : m_connection(connection), m_window(xcb_generate_id(connection)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_deadline.setSingleShot(true);
        QObject::connect(&m_deadline, &QTimer::timeout, &m_loop, &QEventLoop::quit);
    }
    ~X11SelectionReader() override {
        // An answer that comes later goes to a window that no longer exists.
        xcb_destroy_window(m_connection, m_window);
        xcb_flush(m_connection);
    }
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    std::optional<QString> read(QClipboard::Mode mode, std::chrono::milliseconds wait) {
        const xcb_atom_t selection =
            mode == QClipboard::Selection ? xcb_atom_t{XCB_ATOM_PRIMARY} : atom("CLIPBOARD");
        const xcb_atom_t utf8 = atom("UTF8_STRING");
        const xcb_atom_t property = atom("VORLANE_PASTE");
        m_deadline.start(wait);
        // STRING (Latin-1) for owners that predate UTF8_STRING.
        for (const xcb_atom_t target : {utf8, xcb_atom_t{XCB_ATOM_STRING}}) {
            const std::optional<xcb_atom_t> answer = convert(selection, target, property);
            if (!answer)
                return std::nullopt;
            if (*answer != XCB_NONE)
                return take(*answer, target, target == utf8);
        }
        return std::nullopt;
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if (type != "xcb_generic_event_t" || (event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_selection_notify_event_t*>(event);
        if (notify->requestor != m_window)
            return false;
        m_answer = notify->property;
        m_loop.quit();
        return true;
    }

private:
    xcb_atom_t atom(const char* name) const {
        const auto length = static_cast<std::uint16_t>(std::strlen(name));
        const XcbReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, 0, length, name),
                                  nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t{XCB_NONE};
    }

    // The property that holds the selection as `target`, XCB_NONE where the owner cannot give
    // it so (or nobody holds the selection); nothing when no answer came before the deadline or
    // the application was told to quit.
    std::optional<xcb_atom_t> convert(xcb_atom_t selection, xcb_atom_t target,
                                      xcb_atom_t property) {
        m_answer.reset();
        xcb_convert_selection(m_connection, m_window, selection, target, property,
                              XCB_CURRENT_TIME);
        xcb_flush(m_connection);
        if (m_deadline.isActive())
            m_loop.exec();
        return m_answer;
    }

    std::optional<QString> take(xcb_atom_t property, xcb_atom_t target, bool utf8) const {
        const XcbReply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 1, m_window, property,
                                                    XCB_GET_PROPERTY_TYPE_ANY, 0, MaxPropertyUnits),
                                   nullptr),
            &std::free);
        // Any other type is the owner's error or INCR, the announcement of a text in parts,
        // which no box needs.
        if (!reply || reply->type != target || reply->format != 8)
            return std::nullopt;
        const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const qsizetype size = xcb_get_property_value_length(reply.get());
        return utf8 ? QString::fromUtf8(bytes, size) : QString::fromLatin1(bytes, size);
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_window;
    QEventLoop m_loop;
    QTimer m_deadline;
    std::optional<xcb_atom_t> m_answer;
};

#endif

} // namespace

std::optional<QString> readClipboard(QClipboard::Mode mode,
                                     [[maybe_unused]] std::chrono::milliseconds wait) {
    QClipboard* clipboard = QGuiApplication::clipboard();
#if QT_CONFIG(xcb)
    // Only Qt's xcb platform: offscreen, too, may answer for X11 while its clipboard is its own.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const bool ours =
        mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
    if (QGuiApplication::platformName() == u"xcb" && x11 && x11->connection() && !ours) {
        const InputDropped dropped;
        return X11SelectionReader(x11->connection()).read(mode, wait);
    }
#endif
    return clipboard->text(mode);
}

} // namespace vorlane
