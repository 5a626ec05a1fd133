#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Tarvesk.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/setup.sh
source "$root/scripts/setup.sh"

tarvesk_install_packages
tarvesk_make_russian_locale
tarvesk_build "$root" -DTARVESK_BUILD_TESTS=OFF -DTARVESK_BUILD_BENCH=OFF

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Tarvesk: нет графического дисплея (DISPLAY не задан), программу запустить нельзя." >&2
    exit 1
fi
exec "$root/build/tarvesk"
