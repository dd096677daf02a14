#!/usr/bin/env bash
# window_test.sh CASE VORLANE_EXE PROBE_EXE: drives vorlane.exe under Wine (set up by
# scripts/build-windows) with real keys and clicks from xdotool, on an X server of its own with a
# window manager, and reads the window back with the probe (probe.cpp).
set -euo pipefail
exe=$2 probe_exe=$3 dir=$(mktemp -d) pids=() as=()
trap 'kill "${pids[@]}" 2>/dev/null; wait; "${as[@]}" wineserver -k 2>/dev/null; rm -rf "$dir"' EXIT
app=$dir
if [ "$1" = window.peruser ]; then
    # Installed as in Program Files: a folder of root's, mode 0755, and a user with a Wine of
    # their own. Wine ignores Unix permissions for root.
    [ "$(id -u)" = 0 ] || { echo "starts the program as another user: needs root"; exit 77; }
    chmod 755 "$dir"
    app=$dir/app home=$dir/home
    mkdir -m 755 "$app" && mkdir "$home" && chown 65534:65534 "$home"
    cp "$probe_exe" "$dir/probe.exe" && probe_exe=$dir/probe.exe
    as=(setpriv --reuid=65534 --regid=65534 --clear-groups env HOME="$home" WINEPREFIX="$home/wine")
    (cd "$home" && "${as[@]}" wineboot -i) </dev/null >/dev/null 2>&1
fi

await() { # retries a command for up to 20 s
    for _ in {1..200}; do "$@" >/dev/null 2>&1 && return; sleep 0.1; done
    echo "timed out: $*" >&2 && false
}
probe() { "${as[@]}" wine "$probe_exe" "$@" | tr -d '\r'; }
expect() { probe expect "$@"; }
key() { xdotool key --delay 30 "$@"; }
write() { xdotool type --delay 30 "$1"; }
click() { # the middle of control $1, with mouse button $2
    local l t r b
    read -r l t r b < <(probe rect "$1")
    xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click "${2:-1}"
}
held() { # PROBE_ARGS...: the probe, in the background, holds something; waits until it does
    (cd "$app" && exec wine "$probe_exe" "$@") >"$dir/held" 2>/dev/null & pids+=($!) holder=$!
    await grep -q held "$dir/held"
}
ini() { # X Y MODE: a settings file as the program writes it
    printf '[位置]\r\nX=%d\r\nY=%d\r\n[設定]\r\nドロップフレーム=%s\r\n' "$@" | iconv -t CP932
}
ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
active() { [ "$(xdotool getactivewindow)" = "$window" ]; }
moved() { read -r left top _ < <(probe rect 0) && [ "$left $top" != "100 80" ]; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$dir/display" 2>/dev/null & pids+=($!)
await test -s "$dir/display"
export DISPLAY=:$(<"$dir/display")
openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
await xdotool get_num_desktops
# The close starts from a stored position and mode.
[ "$1" != window.close ] || ini 1500 1200 False >"$dir/vorlane.ini"
# The hostile rows (hostile.sh) set up the program's folder and what is in it.
prepare() { :; }
# shellcheck source=tests/win32/hostile.sh
[[ $1 != hostile.* ]] || . "${BASH_SOURCE[0]%/*}/hostile.sh"
# Wine hands the keys to its one foreground window, and the first program of a Wine session ties
# the session to its display: each case waits for the last session to end and starts its own.
start() {
    started=$(ms)
    (cd "$app" && exec "${as[@]}" wine vorlane.exe) </dev/null >/dev/null 2>&1 & pids+=($!)
    await xdotool search --name '^ヴォルレーン$'
    shown=$(ms) window=$(xdotool search --name '^ヴォルレーン$')
    await active
    expect 'focus 100'
}
"${as[@]}" wineserver -w
prepare
cp "$exe" "$app/vorlane.exe"
start

case ${1#window.} in
keys) # typing and Enter in each box; Tab; a click
    expect 'box 100 "0" 0-1' 'option 111 0 0' 'option 112 1 1'
    write 1800; key Return
    expect 'box 100 "1800" 0-4' 'box 102 "0" 0-0' 'box 103 "01" 0-0' 'box 104 "00.02" 0-0'
    key Tab Tab
    expect 'focus 102' 'box 102 "0" 0-1' 'button 101 0'
    write 1; key Return
    expect 'focus 103' 'box 103 "01" 0-2'
    write 2; key Return
    expect 'focus 104' 'box 104 "00.02" 0-5'
    write 3.04; key Return
    expect 'focus 102' 'box 100 "111582" 0-0' 'box 102 "1" 0-1' 'box 103 "02" 0-0' \
        'box 104 "03.04" 0-0'
    key End ctrl+a; write 5 # Ctrl+A selects nothing: the 5 goes in after the 1
    expect 'box 102 "15" 2-2'
    click 104
    expect 'focus 104' 'box 104 "03.04" 0-5'
    ;;
warning) # closed with Enter, and with a click
    write 2592000; key Return
    expect 'warning "フレーム数が大き過ぎです。"'
    key Return
    expect 'focus 100' 'box 100 "2592000" 0-7' 'box 102 "0" 0-0' 'box 104 "00.00" 0-0'
    key Tab Tab; write 25; key Return Return Return
    expect 'warning "時刻が大き過ぎです。"'
    click 1
    expect 'focus 102' 'box 102 "25" 0-2' 'box 100 "0" 0-0'
    ;;
mode) # a click and an arrow key on the mode buttons; their one Tab stop
    write 1800; key Return
    expect 'box 104 "00.02" 0-0'
    click 111
    expect 'focus 111' 'option 111 1 1' 'option 112 0 0' 'box 104 "00.00" 0-0'
    key Right
    expect 'focus 112' 'option 111 0 0' 'option 112 1 1' 'box 104 "00.02" 0-0'
    for id in 100 101 102 103 104 105 112; do key Tab; expect "focus $id"; done
    key shift+Tab
    expect 'focus 105'
    ;;
close) # the position in twips (15 a pixel at 96 DPI) and the mode, in code page 932
    expect 'option 111 1 1'
    read -r left top _ < <(probe rect 0)
    [ "$left $top" = "100 80" ] || { echo "placed at $left $top" >&2; exit 1; }
    xdotool windowmove "$window" 300 200
    await moved
    click 112
    expect 'option 112 1 1'
    ini $((left * 15)) $((top * 15)) True >"$dir/expected"
    key alt+F4
    await cmp "$dir/expected" "$dir/vorlane.ini" || cmp "$dir/expected" "$dir/vorlane.ini"
    ;;
copy) # the timecode items of the boxes' menu; Ctrl+V and Shift+Insert
    write 1800; key Return
    expect 'box 104 "00.02" 0-0'
    click 103 3
    expect menu
    key Down Return
    expect 'clipboard "00:01:00;02"' 'focus 100' 'box 100 "1800" 0-4'
    write 5; key Return
    expect 'box 104 "00.05" 0-0'
    key shift+F10
    expect menu
    key Down Down Return
    expect 'focus 102' 'box 102 "0" 0-1' 'box 100 "1800" 0-0' 'box 104 "00.02" 0-0'
    key ctrl+v; write 7 # swallowed as a character by the key rules
    expect 'box 102 "7" 1-1'
    key shift+Insert
    expect 'box 102 "700:01:00;02" 12-12'
    ;;
peruser) # the first-run bytes and the mode chosen, kept in the user's %LOCALAPPDATA%
    found() {
        file=$(find "$home/wine/drive_c/users" -path '*/AppData/Local/Vorlane/vorlane.ini')
        [ -n "$file" ]
    }
    await found
    ini 0 0 True >"$dir/first"
    await cmp "$dir/first" "$file"
    click 111
    expect 'option 111 1 1'
    key alt+F4
    await grep -qa "=False" "$file"
    "${as[@]}" wineserver -w
    start
    expect 'option 111 1 1' 'option 112 0 0'
    [ "$(ls -A "$app")" = vorlane.exe ] || { ls -A "$app" >&2; exit 1; }
    ;;
paste) # against a clipboard owner that never answers, both pastes give up within 6 s; the
    # window paints meanwhile, drops keys, and leaves the clipboard closed
    held hold
    key Tab Tab
    expect 'focus 102' 'box 102 "0" 0-1'
    hung() { # KEYS...: a paste; a key the window drops meanwhile, and a paint
        start=$(ms)
        key "$@"
        sleep 1; write 5
        probe live
    }
    hung shift+Insert
    sleep "$(((start + 6000 - $(ms)) / 1000)).$(((start + 6000 - $(ms)) % 1000 / 100))"
    write 6 # taken: the paste has given up
    expect 'box 102 "6" 1-1'
    probe free
    key shift+F10
    expect menu
    hung Down Down Return
    expect 'warning "タイムコードの形式が正しくありません。"'
    (($(ms) - start < 6000)) || { echo "the menu's paste took $(($(ms) - start)) ms" >&2; exit 1; }
    key Return
    expect 'focus 102'
    probe free
    ;;
accessible) # every control's name and description, read by a screen reader's calls
    probe accessible
    ;;
hostile.*) row ;;
*) exit 2 ;;
esac
