// Start-up time and peak memory of start-up probes, run in turn: each round runs every
// program once and the reference last (A R A R ..., or A B R A B R ... with two programs).
//
//   startup_bench [--wine WINE] ROUNDS REFERENCE PROGRAM...
//
// A probe prints "first-paint-done <ns>" (CLOCK_MONOTONIC) once its window's first paint has
// finished, then closes the window. The start-up time of a run is that moment less the clock
// read just before the probe was spawned, so it counts the exec, the dynamic loader, the
// toolkit and the program up to its first finished paint. Peak memory is the child's own
// ru_maxrss from wait4, not RUSAGE_CHILDREN, which would carry the largest earlier child over.
// The probes inherit the environment, so QT_QPA_PLATFORM and DISPLAY choose the platform.
//
// With --wine, the probes are Windows programs started as "WINE PROGRAM", and their time is
// QueryPerformanceCounter's, which Wine 8 takes from CLOCK_MONOTONIC_RAW: the spawn is timed on
// that clock then (CLOCK_MONOTONIC drifts from it by NTP's adjustments, hundreds of
// milliseconds on a machine up for a while). A reported time outside the span from the spawn to
// the line's arrival means the clocks are not the same, and the run fails. The peak memory is
// that of the process that Wine's loader turns into the Windows program; Wine's server is
// not counted.
//
// Prints one line per program, the reference first; the others carry their ratios of medians
// to the reference's, and the ratio of their fastest runs, which is steadier where the medians
// swing (under Wine):
//   <program> startup_ms=<median> min=<ms> max=<ms> rss_mb=<median> runs=<n>
//             [startup_ratio=<r> min_ratio=<r> rss_ratio=<r>]

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

// Runs before the measured pairs so that both programs start from a warm page cache and a
// fontconfig cache that the first run may have written.
constexpr int WarmUpRuns = 2;
// A probe that has not painted by then is taken as hung (no display, a modal box).
constexpr int ProbeTimeoutMs = 30000;
constexpr double KibPerMib = 1024.0;

struct Run {
    double startupMs = 0.0;
    double peakRssMib = 0.0;
};

long long clockNs(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

constexpr std::string_view Marker = "first-paint-done ";

std::optional<long long> paintTime(std::string_view output) {
    const std::size_t at = output.find(Marker);
    if (at == std::string_view::npos)
        return std::nullopt;
    const char* first = output.data() + at + Marker.size();
    long long value = 0;
    const auto [end, error] = std::from_chars(first, output.data() + output.size(), value);
    if (error != std::errc() || end == first)
        return std::nullopt;
    return value;
}

// How the probes are started: directly, or through Wine, whose probes report on another clock.
struct Launcher {
    std::string wine; // empty: run the program itself
    clockid_t clock = CLOCK_MONOTONIC;
};

std::optional<Run> runOnce(const Launcher& launcher, const std::string& program) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char> path(program.begin(), program.end());
    path.push_back('\0');
    std::vector<char> wine(launcher.wine.begin(), launcher.wine.end());
    wine.push_back('\0');
    char* direct[] = {path.data(), nullptr};
    char* throughWine[] = {wine.data(), path.data(), nullptr};
    char** argv = launcher.wine.empty() ? direct : throughWine;

    pid_t pid = 0;
    const long long spawned = clockNs(launcher.clock);
    const int spawnError = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawnError != 0) {
        close(out[0]);
        std::fprintf(stderr, "startup_bench: cannot start %s\n", program.c_str());
        return std::nullopt;
    }

    std::string output;
    bool timedOut = false;
    long long arrived = 0; // when the paint's line was read, on the probe's clock
    for (;;) {
        pollfd wait{out[0], POLLIN, 0};
        const int ready = poll(&wait, 1, ProbeTimeoutMs);
        if (ready <= 0) {
            timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        char buffer[256];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        output.append(buffer, static_cast<std::size_t>(got));
        const std::size_t marker = output.find(Marker);
        if (arrived == 0 && marker != std::string::npos &&
            output.find('\n', marker) != std::string::npos)
            arrived = clockNs(launcher.clock);
    }
    close(out[0]);

    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto painted = paintTime(output);
    if (timedOut || !painted || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "startup_bench: %s %s\n", program.c_str(),
                     timedOut ? "did not paint in time" : "did not report a finished paint");
        return std::nullopt;
    }
    if (*painted < spawned || *painted > arrived) {
        std::fprintf(stderr,
                     "startup_bench: %s reported its paint %.3f ms after the spawn, outside the "
                     "%.3f ms until its line arrived: it does not share this clock\n",
                     program.c_str(), static_cast<double>(*painted - spawned) / 1e6,
                     static_cast<double>(arrived - spawned) / 1e6);
        return std::nullopt;
    }
    return Run{static_cast<double>(*painted - spawned) / 1e6,
               static_cast<double>(usage.ru_maxrss) / KibPerMib};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

struct Summary {
    double startupMs, minMs, maxMs, rssMib;
};

Summary summarize(const std::vector<Run>& runs) {
    std::vector<double> times;
    std::vector<double> rss;
    for (const Run& run : runs) {
        times.push_back(run.startupMs);
        rss.push_back(run.peakRssMib);
    }
    return {median(times), *std::min_element(times.begin(), times.end()),
            *std::max_element(times.begin(), times.end()), median(rss)};
}

} // namespace

int main(int argc, char* argv[]) {
    Launcher launcher;
    int first = 1;
    if (argc >= 3 && std::string_view(argv[1]) == "--wine") {
        launcher = {argv[2], CLOCK_MONOTONIC_RAW};
        first = 3;
    }
    int rounds = 0;
    if (argc >= first + 3) {
        const std::string_view text(argv[first]);
        std::from_chars(text.data(), text.data() + text.size(), rounds);
    }
    if (rounds < 1) {
        std::fprintf(stderr, "usage: startup_bench [--wine WINE] ROUNDS REFERENCE PROGRAM...\n");
        return 2;
    }
    // The reference runs last in every round.
    std::vector<std::string> programs(argv + first + 2, argv + argc);
    programs.emplace_back(argv[first + 1]);

    for (int i = 0; i < WarmUpRuns; ++i)
        for (const std::string& program : programs)
            if (!runOnce(launcher, program))
                return 1;

    std::vector<std::vector<Run>> runs(programs.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t which = 0; which < programs.size(); ++which) {
            const auto run = runOnce(launcher, programs[which]);
            if (!run)
                return 1;
            runs[which].push_back(*run);
        }
    }

    const std::size_t reference = programs.size() - 1;
    const Summary base = summarize(runs[reference]);
    for (std::size_t k = 0; k < programs.size(); ++k) {
        const std::size_t which = (reference + k) % programs.size(); // the reference first
        const Summary s = summarize(runs[which]);
        std::printf("%s startup_ms=%.2f min=%.2f max=%.2f rss_mb=%.1f runs=%d",
                    programs[which].c_str(), s.startupMs, s.minMs, s.maxMs, s.rssMib, rounds);
        if (which != reference)
            std::printf(" startup_ratio=%.3f min_ratio=%.3f rss_ratio=%.3f",
                        s.startupMs / base.startupMs, s.minMs / base.minMs, s.rssMib / base.rssMib);
        std::printf("\n");
    }
    return 0;
}
