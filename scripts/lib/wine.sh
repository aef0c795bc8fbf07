# shellcheck shell=bash
# A private X display and a throw-away Wine prefix, so that the Windows build runs
# headless and never touches the user's display or ~/.wine. Source this file, then:
#
#   xvfb_start                  Xvfb on the first free display from :90; exports DISPLAY
#   wine_prefix_create [DPI]    a fresh WINEPREFIX at 96 (default), 120, 144 or 168 dpi
#   wine_offline COMMAND...     COMMAND with the prefix's server stopped, its registry in files
#   harness_subshell            in a subshell: the cleanups of what it starts, when it ends
#
# Whatever these start is stopped, and the prefix deleted, when the calling script exits.

_harness_cleanups=()

# Registers a command to run at exit; commands run last-registered first.
harness_on_exit() { _harness_cleanups+=("$1"); }

_harness_cleanup() {
    local i
    for ((i = ${#_harness_cleanups[@]} - 1; i >= 0; i--)); do
        eval "${_harness_cleanups[i]}" || true
    done
    _harness_cleanups=()
}
trap _harness_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# In a subshell, which runs no traps of its parent: its own cleanups, when it exits.
harness_subshell() {
    _harness_cleanups=()
    trap _harness_cleanup EXIT
}

# Seconds since START (an $EPOCHREALTIME value), with one decimal.
elapsed_since() {
    awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f", b - a }'
}

# Prints the process id written in display N's lock file, if there is one.
_xvfb_lock_owner() {
    local owner=''
    { read -r owner <"/tmp/.X$1-lock"; } 2>/dev/null || true
    echo "$owner"
}

xvfb_start() {
    local n pid deadline
    for ((n = 90; n < 200; n++)); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
        pid=$!
        deadline=$((SECONDS + 10))
        # Ours once the display's lock file names our process and the display answers.
        until [[ "$(_xvfb_lock_owner "$n")" == "$pid" ]] &&
            xdpyinfo -display ":$n" >/dev/null 2>&1; do
            # Another server took :n between the look and the start: try the next one.
            kill -0 "$pid" 2>/dev/null || continue 2
            if ((SECONDS >= deadline)); then
                kill "$pid" 2>/dev/null
                echo "Xvfb on :$n did not answer within 10 s" >&2
                return 1
            fi
            sleep 0.05
        done
        harness_on_exit "kill $pid 2>/dev/null; wait $pid 2>/dev/null"
        export DISPLAY=":$n"
        return 0
    done
    echo "No free X display between :90 and :199" >&2
    return 1
}

# Prints the data of registry value NAME under KEY as `wine reg query` shows it
# (DWORDs as 0x...); fails when there is no such value.
wine_reg_value() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -F '    ' -v name="$2" '$2 == name { print $4; found = 1 } END { exit !found }'
}

# A fresh WINEPREFIX at DPI, never used before. The first one of a run is made from
# nothing (wineboot, about 15 s) as a template that no program runs in; it and every later
# one, also in the scripts this one starts (ORTELIA_WINE_TEMPLATE), is a copy (about 1 s).
wine_prefix_create() {
    local dpi=${1:-96} start=$EPOCHREALTIME
    case "$dpi" in
        96 | 120 | 144 | 168) ;;
        *) echo "wine_prefix_create: dpi must be 96, 120, 144 or 168, not '$dpi'" >&2; return 2 ;;
    esac
    # No Mono or Gecko installer prompts, no menu entries written into $HOME, and no
    # Wine diagnostics in test output.
    export WINEARCH=win64 WINEDEBUG=-all \
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    [[ -d "${ORTELIA_WINE_TEMPLATE:-}" ]] || _wine_template_create || return 1

    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ortelia-wine.XXXXXX") || return 1
    export WINEPREFIX
    # The server of this prefix by name: a later wine_prefix_create replaces $WINEPREFIX.
    harness_on_exit "WINEPREFIX=$(printf %q "$WINEPREFIX") wineserver -k 2>/dev/null; rm -rf $(printf %q "$WINEPREFIX")"
    cp -a "$ORTELIA_WINE_TEMPLATE/." "$WINEPREFIX/" || return 1
    # The density in the registry's file before the server reads it: a later section of a
    # key adds to the template's.
    printf '\n[Control Panel\\\\Desktop] 0\n"LogPixels"=dword:%08x\n' "$dpi" \
        >>"$WINEPREFIX/user.reg" || return 1
    _wine_session_start || return 1
    _wine_expect 'HKCU\Control Panel\Desktop' LogPixels "$(printf '0x%x' "$dpi")" || return 1
    echo "Wine prefix $WINEPREFIX ready at $dpi dpi in $(elapsed_since "$start") s"
}

# Runs COMMAND with the prefix's server stopped and its registry saved in its files
# (user.reg, system.reg), which COMMAND may read or add sections to; then starts the
# session again.
wine_offline() {
    local status=0
    wineserver -k 2>/dev/null
    wineserver -w
    "$@" || status=$?
    _wine_session_start || return 1
    return "$status"
}

# From here on one wineserver serves every program of the run: each cold start would cost
# about a second, and each exit another 3 s of waiting for the server to go. Wine's
# background processes inherit the output of the program that started them and hold it
# open until the server ends, so they start here, on no output: the services with the
# first program, and the desktop, as a Windows session has it before any program runs
# (else the first program with windows starts it, and a file that program's output went
# to cannot be read, not even by cmd.exe's "type").
_wine_session_start() {
    wineserver -p >/dev/null 2>&1
    wine reg query 'HKCU\Control Panel\Desktop' >/dev/null 2>&1 || return 1
    wine explorer /desktop >/dev/null 2>&1 &
}

_wine_template_create() {
    local log reg
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ortelia-wine-template.XXXXXX") || return 1
    export WINEPREFIX ORTELIA_WINE_TEMPLATE=$WINEPREFIX
    harness_on_exit "WINEPREFIX=$(printf %q "$WINEPREFIX") wineserver -k 2>/dev/null; rm -rf $(printf %q "$WINEPREFIX")"

    # Wine's background processes inherit the output of the program that started them
    # and hold it open until the server ends, so none of them may start on a pipe that
    # someone waits on, such as a command substitution.
    log=$(mktemp) || return 1
    # wineboot returns before the prefix is complete; its server's exit means it is.
    if ! wineboot --init >"$log" 2>&1 || ! wineserver -w; then
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"

    # Wine's own Tahoma and MS Sans Serif. Without them those names fall back to a host
    # font (DejaVu Sans here), whose text is about 13 % wider.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" || return 1

    # A crash ends the process at once, printing one "Unhandled ..." line: AeDebug's
    # Auto=0 would ask in a message box that nobody sees, and a missing Debugger means
    # winedbg, which adds about 2 s and 140 lines of dump to each crash.
    # Unmanaged windows: closing a captioned one then takes 5 ms instead of 2 s.
    reg="$WINEPREFIX/drive_c/harness.reg"
    cat >"$reg" <<REG || return 1
REGEDIT4

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug]
"Auto"="1"
"Debugger"=""

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
REG
    wine regedit /S 'C:\harness.reg' >/dev/null 2>&1 || return 1
    rm -f "$reg"

    local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    _wine_expect "$aedebug" Auto 1 &&
        _wine_expect "$aedebug" Debugger '' &&
        _wine_expect 'HKCU\Software\Wine\WineDbg' ShowCrashDialog 0x0 &&
        _wine_expect 'HKCU\Software\Wine\X11 Driver' Managed N || return 1
    # Its server gone, the registry is on disk and the template ready to be copied.
    wineserver -w
}

_wine_expect() {
    local got
    got=$(wine_reg_value "$1" "$2") || got='(missing)'
    [[ "$got" == "$3" ]] && return 0
    echo "Wine prefix: $1\\$2 is '$got', expected '$3'" >&2
    return 1
}
