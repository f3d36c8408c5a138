#!/usr/bin/env bash
# Installs, as root on Debian 12, whatever the clock needs and is not yet installed.
#   tools/install-deps.sh            what it takes to build and run the clock
#   tools/install-deps.sh --windows  also what it takes to cross-build the Windows program
#                                    and its installer (MinGW-w64, NSIS)
#   tools/install-deps.sh --test     also what the test suite takes (Xvfb, two window
#                                    managers, a Wayland compositor, the accessibility bus
#                                    and client, the screen reader Orca and
#                                    speech-dispatcher, a sound server, a faked clock, the package
#                                    builder and its checkers, lintian and hardening-check,
#                                    the desktop-file checkers, the benchmarks' libraries,
#                                    the C++ and Python checkers, the Windows build, Wine
#                                    and its fonts, GoogleTest's sources to build for
#                                    Windows ...)
#   tools/install-deps.sh --bench    also what the benchmarks take, those under Wine too
#                                    (Wine, its fonts, Japanese regional settings; with
#                                    --windows, the Windows build)
#   tools/install-deps.sh --release  also what tools/check-reproducible.sh takes: the Windows
#                                    build, the package builder, git, a faked clock,
#                                    diffoscope and 7z (which unpacks the installer for it)
set -euo pipefail

packages=(
    cmake ninja-build make g++ pkgconf
    qt6-base-dev qt6-qpa-plugins qt6-wayland libgl-dev
    fonts-ipafont-gothic
    libpulse-dev libxcb1-dev
    libgtest-dev
)
windows=(g++-mingw-w64-x86-64-posix nsis)
for arg in "$@"; do
    case "$arg" in
    --windows) packages+=("${windows[@]}") ;;
    --test)
        packages+=(
            "${windows[@]}" wine64 fonts-wine googletest locales
            xvfb xauth xdotool x11-xkb-utils openbox mutter weston
            libfaketime
            dbus at-spi2-core python3 python3-gi gir1.2-atspi-2.0 python3-xlib
            orca speech-dispatcher
            dpkg-dev file lintian devscripts desktop-file-utils appstream
            libbenchmark-dev valgrind
            pulseaudio pulseaudio-utils clang clang-format clang-tidy black flake8
        )
        ;;
    --bench)
        packages+=(libbenchmark-dev valgrind xvfb python3 python3-xlib
            wine64 fonts-wine locales)
        ;;
    --release) packages+=("${windows[@]}" dpkg-dev file git libfaketime diffoscope xxd p7zip-full) ;;
    *)
        echo "usage: $0 [--windows] [--test] [--bench] [--release]" >&2
        exit 2
        ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done

if ((${#missing[@]})); then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing packages: ${missing[*]}; run this script as root to install them." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes the user's regional settings from the C library's locale, which the tests and
# the benchmarks under Wine set to Japanese: it has to exist.
if [[ " $* " == *" --test "* || " $* " == *" --bench "* ]] && ! locale -a | grep -qix 'ja_JP.utf8'; then
    if [[ $(id -u) -ne 0 ]]; then
        echo "Missing locale ja_JP.UTF-8; run this script as root to make it." >&2
        exit 1
    fi
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
