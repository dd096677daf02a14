# What a Windows machine does to the program, one row each: sourced by window_test.sh for its
# cases hostile.ROW. `prepare` sets up the program's folder before the program starts there,
# `row` acts once its window is up. Each row keeps the program working and the settings whole.
# shellcheck shell=bash disable=SC2154 # the harness's variables
name=${1#hostile.}

whole() { # MODE: the file holds the program's keys and nothing else, the mode MODE
    iconv -f CP932 -t UTF-8 "$app/vorlane.ini" | tr -d '\r' |
        grep -Pzq "^\\[位置\\]\\nX=-?\\d+\\nY=-?\\d+\\n\\[設定\\]\\nドロップフレーム=$1\\n\$"
}
fail() { echo "$name: $*" >&2 && exit 1; }
copies() { [ "$(xdotool search --name '^ヴォルレーン$' | wc -l)" = "$1" ]; }
ended() { ! kill -0 "$1" 2>/dev/null; }
close() { key alt+F4 && await ended "$1"; } # PID: alt+F4 to the active copy, which ends
drop_frame() { # a click on ドロップフレーム, and one on the frame box
    click 112
    expect 'option 112 1 1'
    click 100
    expect 'focus 100'
}

prepare() {
    [[ ! $name =~ ^(held|freed|oversized|twocopies)$ ]] || ini 1500 1200 False >"$app/vorlane.ini"
    case $name in
    held | freed) # another program holds the file open without sharing
        cp "$app/vorlane.ini" "$dir/before"
        held lock vorlane.ini 100000
        ;;
    longpath) # 12 folders of 28 characters: the settings file's path is beyond MAX_PATH
        app=$dir$(printf '/a-folder-with-a-long-name-%02d' {1..12})
        mkdir -p "$app"
        ((${#app} > 300)) || fail "a path of ${#app} characters only"
        ;;
    binary) # every byte value, NUL, CR and LF among them
        for _ in {1..16}; do printf '%b' "$(printf '\\x%02x' {0..255})"; done >"$app/vorlane.ini"
        ;;
    oversized) # the settings first, then zeros to 70 MB, beyond what the program reads
        truncate -s 70M "$app/vorlane.ini"
        md5sum <"$app/vorlane.ini" >"$dir/before"
        ;;
    folder) mkdir "$app/vorlane.ini" ;;
    esac
}

row() {
    local program=${pids[-1]}
    case $name in
    held | freed) # the window comes up at once; held, the close waits its 5 s, then writes
        # nothing; freed 2 s into the close's wait, the close saves
        ((shown - started < 2000)) || fail "the window took $((shown - started)) ms"
        drop_frame
        start=$(ms)
        key alt+F4
        [ "$name" = held ] || { sleep 2; kill "$holder"; }
        await ended "$program"
        [ "$name" = held ] || { whole True; return; }
        (($(ms) - start < 7000)) || fail "the close took $(($(ms) - start)) ms"
        cmp "$dir/before" "$app/vorlane.ini"
        ;;
    endsession) # the session ends while the warning is open: saved, and the program ends
        drop_frame
        write 2592000
        key Return
        expect 'warning "フレーム数が大き過ぎです。"'
        probe endsession
        await ended "$program"
        whole True
        ;;
    longpath) # the settings work or are skipped; nothing else happens
        drop_frame
        close "$program"
        [ ! -e "$app/vorlane.ini" ] || whole True
        ;;
    twocopies) # both start in non-drop mode; the one in front turns drop-frame on and closes
        # first, the other closes after it: its save is the last, and the file stays whole
        (cd "$app" && exec wine vorlane.exe) </dev/null >/dev/null 2>&1 & pids+=($!) second=$!
        await copies 2
        drop_frame
        key alt+F4
        await copies 1
        await xdotool search --name '^ヴォルレーン$' windowactivate --sync
        key alt+F4
        await ended "$program"
        await ended "$second"
        whole False
        ;;
    binary) # read as no settings (the default mode is drop-frame); the close writes its keys
        close "$program"
        for key in '[位置]' 'X=' 'Y=' '[設定]' 'ドロップフレーム=True'; do
            grep -aqF "$(printf %s "$key" | iconv -t CP932)" "$app/vorlane.ini" || fail "no $key"
        done
        ;;
    oversized) # neither read (the default mode is drop-frame) nor rewritten
        expect 'option 112 1 1'
        close "$program"
        md5sum <"$app/vorlane.ini" | cmp - "$dir/before"
        ;;
    folder) # nothing to read, nowhere to write
        close "$program"
        [ -d "$app/vorlane.ini" ] && [ -z "$(ls -A "$app/vorlane.ini")" ]
        ;;
    keys) # 2,000 random keys from a fixed set, in runs of 25; Enter closes each warning
        local keys=({0..9} period BackSpace Return Tab shift+Tab Up Down Left Right a k z
            ctrl+z ctrl+a) run
        RANDOM=26
        for _ in {1..80}; do
            run=()
            for _ in {1..25}; do run+=("${keys[RANDOM % ${#keys[@]}]}"); done
            xdotool key --delay 10 "${run[@]}"
            while xdotool search --name '^Vorlane$' >/dev/null; do key Return; sleep 0.2; done
            ended "$program" && fail "the program ended"
        done
        probe live
        await xdotool search --name '^ヴォルレーン$' windowactivate --sync
        close "$program"
        whole '(True|False)'
        ;;
    *) exit 2 ;;
    esac
}
