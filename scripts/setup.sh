#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, once.
# Sourced by run.sh and test.sh; safe to run again (only missing packages are installed).
set -euo pipefail

TARVESK_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils imagemagick fonts-dejavu-core
    python3 python3-dbf liblnk-utils
    clang libclang-rt-14-dev
    xdg-utils locales
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
    "${sudo[@]}" apt-get update -qq
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends $missing
}

# Configures and builds into build/ under the repository root.
tarvesk_build() {
    local root="$1"; shift
    local preset=default
    [ "${CI:-}" = "true" ] && preset=ci
    cmake --preset "$preset" -S "$root" "$@" >/dev/null
    cmake --build "$root/build" -j "$(nproc)"
}
