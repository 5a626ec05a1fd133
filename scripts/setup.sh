#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, once.
# Sourced by run.sh and test.sh; safe to run again (only missing packages are installed).
set -euo pipefail

TARVESK_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils imagemagick fonts-dejavu-core
    # A window manager, a tray host and real X input for the tests of the windows under Xvfb.
    openbox trayer xdotool
    python3 python3-dbf liblnk-utils
    clang libclang-rt-14-dev
    xdg-utils locales
    # Wine, with its 32-bit half for 1C:Enterprise 7.7, and the cross compilers of the Windows
    # helpers and of the tests' stand-in for 1C:Enterprise.
    wine wine64 wine32:i386 gcc-mingw-w64-i686 gcc-mingw-w64-x86-64
)

tarvesk_missing_packages() {
    local p missing=()
    for p in "${TARVESK_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    echo "${missing[@]:-}"
}

tarvesk_install_packages() {
    local missing
    missing=$(tarvesk_missing_packages)
    [ -z "$missing" ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null 2>&1 || { echo "Нужны права root (или sudo), чтобы установить: $missing" >&2; return 1; }
        sudo=(sudo)
    fi
    echo "Installing Debian packages: $missing"
    export DEBIAN_FRONTEND=noninteractive
    # 1C:Enterprise 7.7 is a 32-bit program: Wine needs its i386 half.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
    fi
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# Wine gives 1C:Enterprise the Windows-1251 code page only under a Russian locale.
tarvesk_make_russian_locale() {
    locale -a 2>/dev/null | grep -qix 'ru_RU.utf8' && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Making the locale ru_RU.UTF-8"
    "${sudo[@]}" sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
}

# Configures and builds into build/ under the repository root.
tarvesk_build() {
    local root="$1"; shift
    local preset=default
    [ "${CI:-}" = "true" ] && preset=ci
    cmake --preset "$preset" -S "$root" "$@" >/dev/null
    cmake --build "$root/build" -j "$(nproc)"
}
