#!/usr/bin/env bash
# The test package as a Windows user runs it: unpacked into a fresh prefix holding settings
# of the user's own, run-tests.cmd run by Wine's cmd.exe, at 96 dpi and again at 168, where
# no rectangle was rounded by hand; made into PACKAGE_DIR (or a folder of their own):
#   tests/package/run_tests_test.sh [PACKAGE_DIR]
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
xvfb_start >/dev/null
for dpi in 96 168; do
    wine_prefix_create "$dpi" >/dev/null
    unzip -q "$tests_zip" -d "$WINEPREFIX/drive_c"
    wine_offline store
    status=0
    wine cmd /c "C:\\$dir\\run-tests.cmd" </dev/null >/dev/null 2>&1 || status=$?
    log=$(tr -d '\r' <"$WINEPREFIX/drive_c/$dir/run-tests.log")
    passed=$(tail -1 <<<"$log" | sed -nE 's/^([1-9][0-9]*) passed, 0 failed$/\1/p')
    skipped=$(sed -nE 's/^([0-9]+) skipped, .*/\1/p' <<<"$log")
    reasons=$(grep -c "^rectangles rounded by hand .*, not at $dpi dpi under Wine$" <<<"$log" || true)
    check "at $dpi dpi run-tests.cmd ends with status 0 and \"${log##*$'\n'}\"" \
        test "$status" == 0 -a -n "$passed"
    if ((dpi == 96)); then
        all=$passed
        check "at 96 dpi none is skipped" test -z "$skipped"
    else # the same tests, those of rectangles rounded by hand skipped, each saying why
        check "at 168 dpi $skipped skipped, each for its rectangles, the rest passed" test \
            "${skipped:-0}" -gt 0 -a "$reasons" == "${skipped:-0}" -a $((passed + skipped)) == "$all"
    fi
    check "at $dpi dpi the user's settings are back byte for byte" test "$(stored)" == "$own"
done
checks_done
