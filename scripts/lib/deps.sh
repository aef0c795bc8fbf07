# shellcheck shell=bash
# Installs the Debian packages the build, the tests and the run script need, and only
# those that are missing, so that a second call costs a few dpkg look-ups.
#
#   deps_ensure native            host compiler, CMake, GoogleTest
#   deps_ensure windows           + MinGW-w64, Wine, a headless X server
#   deps_ensure run               + what scripts/run uses to wait for and capture a window
#   deps_ensure fuzz              clang and its libFuzzer and sanitizer runtimes, CMake
#   deps_ensure clang             clang and clang-tidy (core; shell with windows), CMake, GoogleTest
#   deps_ensure package           + what scripts/package uses to build the zip and the MSI
#   deps_ensure art               Debian's Python 3 with Pillow, for scripts/art

DEPS_NATIVE=(cmake g++ make libgtest-dev libgmock-dev libbenchmark-dev)
# Wine loads most of its X11 and font libraries at run time, so they are not hard
# dependencies of its packages; without them windows or text render differently.
DEPS_WINDOWS=(g++-mingw-w64-x86-64-posix wine64 wine fonts-wine
              libfreetype6 libfontconfig1 libxrender1 libxrandr2 libxi6 libxcursor1
              libxinerama1 libxcomposite1 libxfixes3 xvfb x11-utils)
DEPS_RUN=(xdotool imagemagick)
DEPS_FUZZ=(cmake make clang libclang-rt-dev)
DEPS_CLANG=(clang clang-tidy)
# wixl builds the MSI, msitools' msibuild stamps it, faketime stops wixl's clock; the
# package checks read the icon's images with file.
DEPS_PACKAGE=(zip unzip wixl msitools faketime python3 file)
# Pillow quantises, and writes the GIF and the ICO; it is importable only from Debian's
# own /usr/bin/python3, which is why scripts/art runs that one.
DEPS_ART=(python3 python3-pil)

# Succeeds when PACKAGE is installed (not merely known, e.g. removed with config left).
deps_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

deps_ensure() {
    local wanted=() missing=() pkg group
    for group in "$@"; do
        case "$group" in
            native)  wanted+=("${DEPS_NATIVE[@]}") ;;
            windows) wanted+=("${DEPS_NATIVE[@]}" "${DEPS_WINDOWS[@]}") ;;
            run)     wanted+=("${DEPS_NATIVE[@]}" "${DEPS_WINDOWS[@]}" "${DEPS_RUN[@]}") ;;
            fuzz)    wanted+=("${DEPS_FUZZ[@]}") ;;
            clang)   wanted+=("${DEPS_NATIVE[@]}" "${DEPS_CLANG[@]}") ;;
            package) wanted+=("${DEPS_NATIVE[@]}" "${DEPS_WINDOWS[@]}" "${DEPS_PACKAGE[@]}") ;;
            art)     wanted+=("${DEPS_ART[@]}") ;;
            *) echo "deps_ensure: unknown group '$group'" >&2; return 2 ;;
        esac
    done
    for pkg in "${wanted[@]}"; do
        deps_installed "$pkg" || missing+=("$pkg")
    done
    ((${#missing[@]})) || return 0
    # Remove duplicates from overlapping groups.
    mapfile -t missing < <(printf '%s\n' "${missing[@]}" | sort -u)

    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends "${missing[@]}" >/dev/null
}
