# Sourced by the scripts that build the Windows executables or run them under Wine
# (scripts/build-windows, scripts/package-windows, scripts/bench, scripts/screenshot). They set
# $root, the repository, first.

# windows_build BUILD_DIR [TARGET...]: sets up what is missing and cross-builds for 64-bit
# Windows with mingw-w64 (Release, statically linked, warnings as errors as in scripts/test);
# every target of the default build without TARGETs.
windows_build() {
    local build=$1
    shift
    "$root/scripts/setup" windows
    (cd "$root" && cmake --preset windows -B "$build" -DVORLANE_WERROR=ON >/dev/null)
    cmake --build "$build" -j"$(nproc)" ${1:+--target "$@"}
}

# windows_wine PREFIX: a Wine of our own in the folder PREFIX (absolute; made if missing), which
# never asks to install its Mono or Gecko, in a Japanese locale: Wine's ANSI code page is then
# 932, as on the Japanese Windows the settings file is written for. Starts Wine's server;
# `wineserver -k` ends it.
windows_wine() {
    mkdir -p "$(dirname "$1")"
    export WINEPREFIX=$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=ja_JP.UTF-8
    unset LC_ALL
    # Wine's server outlives the first call and keeps that call's descriptors open: started here
    # with none of ours, it never holds a pipe that a caller waits on.
    wineboot -i </dev/null >/dev/null 2>&1
}

# windows_display COMMAND...: runs COMMAND on a virtual X server of its own (1024x768, 24 bits)
# with openbox as its window manager, as a desktop has one; Wine's windows are X11 windows there.
# Needs xvfb-run (xvfb, xauth) and openbox.
windows_display() {
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        ready=$(mktemp -u)
        # openbox runs its start-up command once it manages the screen.
        openbox --sm-disable --startup "touch $ready" </dev/null >/dev/null 2>&1 &
        manager=$!
        for _ in $(seq 100); do
            [ -e "$ready" ] && break
            sleep 0.1
        done
        rm -f "$ready"
        status=0
        "$@" || status=$?
        kill "$manager" 2>/dev/null
        exit "$status"' windows_display "$@"
}
