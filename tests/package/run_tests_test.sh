#!/usr/bin/env bash
# Test package run by cmd.exe over a user's settings: tests/package/run_tests_test.sh [PACKAGE_DIR]
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh" "${1:-}"
dir=ortelia-tests-$version
check "the test package holds the scripts, the test programs and the release zip's ortelia.exe" \
    bash -c "cmp <(unzip -p '$zip' $name/ortelia.exe) <(unzip -p '$tests_zip' $dir/ortelia.exe) &&
    test \"\$(unzip -Z1 '$tests_zip' | sed 's|^$dir/||' | sort | tr '\n' ' ')\" == \\
      'README.txt blackbox_tests.exe core_tests.exe ortelia.exe run-tests.cmd win32_tests.exe '"
# As Wine's registry file holds them: a text of 6 bytes without its terminator, a number, a subkey.
own='[Software\\Quillon\\Ortelia]
"Other"=dword:00000007
"Settings"=hex(1):31,00,3a,00,32,00

[Software\\Quillon\\Ortelia\\Install]
"Path"="C:\\Users\\me"'
store() { printf '\n%s\n' "$own" >>"$WINEPREFIX/user.reg"; }
stored() { # the key's sections, without times, as the server saves them when it ends
    wineserver -k && wineserver -w
    awk '/^\[/ { p = index($0, "[Software\\\\Quillon\\\\Ortelia") == 1 } p' "$WINEPREFIX/user.reg" |
        sed -E '/^#time=/d; s/^(\[.*\]) [0-9]+$/\1/'
}
# One run at DPI on a display and a prefix of its own: its checks, then "passed N", "skipped N".
run_at() {
    harness_subshell
    local dpi=$1 status=0 log
    { xvfb_start; wine_prefix_create "$dpi"; } >/dev/null
    unzip -q "$tests_zip" -d "$WINEPREFIX/drive_c"
    wine_offline store
    wine cmd /c "C:\\$dir\\run-tests.cmd" </dev/null >/dev/null 2>&1 || status=$?
    log=$(tr -d '\r' <"$WINEPREFIX/drive_c/$dir/run-tests.log")
    check "at $dpi dpi run-tests.cmd ends with status 0 and \"${log##*$'\n'}\"" test "$status" == 0
    check "at $dpi dpi the user's settings are back byte for byte" test "$(stored)" == "$own"
    echo "passed $(tail -1 <<<"$log" | sed -nE 's/^([0-9]+) passed, 0 failed$/\1/p')"
    echo "skipped $(sed -nE 's/^([0-9]+) skipped, .*/\1/p' <<<"$log")"
    grep "^rectangles rounded by hand" <<<"$log" || true
    ((status == 0)) || grep -E -A8 '^\[  FAILED  \]|: Failure$' <<<"$log" | sed "s/^/    $dpi dpi: /" | head -60
}
# Both at once: the tests mostly wait for windows and timers.
runs=$(mktemp -d)
harness_on_exit "rm -rf $(printf %q "$runs")"
run_at 96 >"$runs/96" & first=$!
run_at 168 >"$runs/168" & wait "$first" $!
grep -h '^ok \|^not ok \|^    [0-9]* dpi: ' "$runs/96" "$runs/168"
failures=$((failures + $(cat "$runs"/* | grep -c '^not ok ' || true)))
count() { sed -nE "s/^$2 ([0-9]*)$/\1/p" "$runs/$1"; }
check "at 96 dpi all $(count 96 passed) passed, none skipped" \
    test -n "$(count 96 passed)" -a -z "$(count 96 skipped)"
# The same tests at 168, those of rectangles rounded by hand skipped, each saying why.
check "at 168 dpi $(count 168 passed) passed, $(count 168 skipped) skipped, each for its rectangles" \
    test "$(grep -c ', not at 168 dpi under Wine$' "$runs/168")" == "$(count 168 skipped)" -a \
    "$(($(count 168 passed) + $(count 168 skipped)))" == "$(count 96 passed)" -a "$(count 168 skipped)" -gt 0
checks_done
