// Key-to-screen latency of the frame box, in process on a shown QtFormMain.
//
//   latency_bench [PRESSES]      (default 10000)
//
// For each press a frame number is typed with real key events (untimed), pending events are
// handled, and then a real Enter is sent to the frame box. Two times are taken:
//   enter_to_texts: until the Enter has been handled, when the three time boxes hold their new
//                   texts (checked after every press);
//   enter_to_paint: until, in addition, the repaint that the new texts ask for has been done.
// Prints "<measure> median_us=<us> p99_us=<us> presses=<n>" for each.

#include "arithmetic/numbertext.h"
#include "arithmetic/timecode.h"
#include "qt/qtformmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int DefaultPresses = 10000;
constexpr int WarmUpPresses = 200;
// Consecutive frame numbers this far apart differ in every time box.
constexpr std::int32_t FrameStep = 1800 * 61 + 31;

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration span) {
    return std::chrono::duration<double, std::micro>(span).count();
}

struct Percentiles {
    double median, p99;
};

Percentiles percentiles(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const auto at = [&](double fraction) {
        const auto rank = static_cast<std::size_t>(std::ceil(fraction * values.size()));
        return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
    };
    return {at(0.5), at(0.99)};
}

// The texts that the boxes must show for a frame, independently of the window's own code path.
QStringList expectedTexts(std::int32_t frame, bool dropFrame) {
    const vorlane::Timecode tc = vorlane::FramesToTimecode(frame, dropFrame);
    return {QString::fromStdString(vorlane::formatNumber(tc.hours, "#0")),
            QString::fromStdString(vorlane::formatNumber(tc.minutes, "00")),
            QString::fromStdString(vorlane::formatNumber(tc.secFrames, "00.00"))};
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int presses = argc > 1 ? std::atoi(argv[1]) : DefaultPresses;
    if (presses < 1) {
        std::fprintf(stderr, "usage: latency_bench [PRESSES]\n");
        return 2;
    }
    QApplication app(argc, argv);
    vorlane::QtFormMain form;
    int warnings = 0;
    form.warningBox = [&warnings](const QString&) { ++warnings; };
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "latency_bench: the window was not shown\n");
        return 1;
    }
    QLineEdit* box = form.Textフレーム番号;
    box->setFocus(Qt::OtherFocusReason);
    const bool dropFrame = form.OptionFps[1]->isChecked();

    std::vector<double> toTexts;
    std::vector<double> toPaint;
    std::int32_t frame = 0;
    for (int i = -WarmUpPresses; i < presses; ++i) {
        frame = (frame + FrameStep) % (vorlane::MaxFrameNumber + 1);
        const QStringList expected = expectedTexts(frame, dropFrame);
        // The previous conversion left the frame box selected, so typing replaces its text.
        QTest::keyClicks(box, QString::number(frame));
        QCoreApplication::processEvents();

        const Clock::time_point start = Clock::now();
        QTest::keyClick(box, Qt::Key_Return);
        const Clock::time_point texts = Clock::now();
        QCoreApplication::processEvents();
        const Clock::time_point painted = Clock::now();

        const QStringList shown{form.Text時刻[0]->text(), form.Text時刻[1]->text(),
                                form.Text時刻[2]->text()};
        if (shown != expected || warnings != 0) {
            std::fprintf(stderr, "latency_bench: frame %d shows %s, expected %s\n", frame,
                         qPrintable(shown.join(u' ')), qPrintable(expected.join(u' ')));
            return 1;
        }
        if (i >= 0) {
            toTexts.push_back(microseconds(texts - start));
            toPaint.push_back(microseconds(painted - start));
        }
    }

    const Percentiles t = percentiles(toTexts);
    const Percentiles p = percentiles(toPaint);
    std::printf("enter_to_texts median_us=%.1f p99_us=%.1f presses=%d\n", t.median, t.p99, presses);
    std::printf("enter_to_paint median_us=%.1f p99_us=%.1f presses=%d\n", p.median, p.p99, presses);
    return 0;
}
