# shellcheck shell=bash
# Shared by the package checks: "ok - " or "not ok - " per check; the packages made if missing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source scripts/lib/deps.sh
source scripts/lib/wine.sh
deps_ensure package
version=$(sed -nE 's/^project\(Ortelia VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
name=ortelia-$version
failures=0
check() { # DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok - $1"; else echo "not ok - $1"; failures=$((failures + 1)); fi
}
checks_done() { ((failures == 0)) || { echo "$failures package checks failed"; exit 1; }; }
packages=${1:-$(mktemp -d)}
[[ -n "${1:-}" ]] || harness_on_exit "rm -rf $(printf %q "$packages")"
[[ -f "$packages/$name-win64.zip" ]] || check "two clean builds give the same zip and MSI" \
    scripts/package --check --out "$packages" --build-dir "$packages/build"
zip=$packages/$name-win64.zip msi=$packages/$name-win64.msi
tests_zip=$packages/ortelia-tests-$version-win64.zip
