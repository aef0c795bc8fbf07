#!/usr/bin/env bash
# The packages as a user meets them, under Wine:   tests/package/install_test.sh [PACKAGE_DIR]
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh" "${1:-}"
check "the zip holds ortelia.exe, README.md, LICENSE and CHANGELOG.md" test "$(unzip -Z1 "$zip" |
    sort | tr '\n' ' ')" == "$name/CHANGELOG.md $name/LICENSE $name/README.md $name/ortelia.exe "
check "the icon holds 16 and 32 px images of 8 bits" test "$(file -b res/ortelia.ico)" == \
    "MS Windows icon resource - 2 icons, 16x16, 8 bits/pixel, 32x32, 8 bits/pixel"
words=$(msiinfo suminfo "$msi" | sed -nE 's/^Source: ([0-9]+).*/\1/p')
check "the MSI needs no administrator rights" test $((words & 8)) -ne 0
check "the MSI's components are 64-bit, and the exe has its version" bash -c \
    "msiinfo export '$msi' Component | awk -F'\t' 'NR > 3 && int(\$4 / 256) % 2 == 0 { exit 1 }' &&
     msiinfo export '$msi' File | grep -q '^OrteliaExe	Program	ortelia.exe	[0-9]*	1[.]3[.]0[.]0'"
{ xvfb_start; wine_prefix_create 96; } >/dev/null
profile="$WINEPREFIX/drive_c/users/$(whoami)/AppData" installed=$profile/Local/Programs/Ortelia
shortcut="$profile/Roaming/Microsoft/Windows/Start Menu/Programs/Ortelia/Ortelia.lnk"
check "msiexec /i installs without a dialog" wine msiexec /i "$(winepath -w "$msi")" /qn
check "installed for this user: the program and its texts in %LOCALAPPDATA%\\Programs\\Ortelia" bash -c \
    "unzip -p '$zip' $name/ortelia.exe | cmp -s - '$installed/ortelia.exe' &&
     test -f '$installed/README.md' -a -f '$installed/LICENSE' -a -f '$installed/CHANGELOG.md'"
check "a shortcut is in the Start menu's Ortelia folder" test -f "$shortcut"
headers=$(x86_64-w64-mingw32-objdump -p "$installed/ortelia.exe" | awk '/^(Major|Minor)(OSystem|Subsystem)Version/ {print $2}' | tr '\n' ' ')
check "the exe says Windows 7 as its oldest system and subsystem (6.1)" test "$headers" == "6 1 6 1 "
unzip -q -j "$tests_zip" '*/blackbox_tests.exe' -d "$WINEPREFIX/drive_c"
check "the installed program docks, ends with status 0 and writes nothing" bash -c \
    "ORTELIA_EXE='$(winepath -w "$installed/ortelia.exe")' wine 'C:\blackbox_tests.exe' \
     --gtest_filter='Program.ComesBack*' | tr -d '\r' | grep -q '^\[  PASSED  \] 1 test'"
check "msiexec /x uninstalls without a dialog" wine msiexec /x "$(winepath -w "$msi")" /qn
check "the program, its Start-menu folder and the installer's registry values are gone" bash -c \
    "test ! -e '$installed' -a ! -e '$(dirname "$shortcut")' &&
     ! wine reg query 'HKCU\\Software\\Quillon\\Ortelia\\Install' >/dev/null 2>&1"
checks_done
