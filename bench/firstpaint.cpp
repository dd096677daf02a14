// Linked into a start-up probe only. When the application object exists it installs a filter
// that waits for the first paint event of a top-level window. Once that event's whole repaint,
// children and flush included, has been handled, it prints the CLOCK_MONOTONIC time in
// nanoseconds ("first-paint-done <ns>") and closes the window as a user would, which ends the
// program. The program's own code does not change, so until then the probe does and shows
// exactly what the program does.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {

class FirstPaintExit : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_window || event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow())
            return false;
        m_window = widget;
        // The paint event of the window comes first in its repaint; a zero timer runs once the
        // repaint of the children and the flush to the screen are done.
        QTimer::singleShot(0, widget, [widget] {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long long nanoseconds =
                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
            std::printf("first-paint-done %lld\n", nanoseconds);
            std::fflush(stdout);
            widget->close();
        });
        return false;
    }

private:
    QWidget* m_window = nullptr;
};

void installFirstPaintExit() {
    QCoreApplication* app = QCoreApplication::instance();
    app->installEventFilter(new FirstPaintExit(app));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installFirstPaintExit)
