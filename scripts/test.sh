#!/usr/bin/env bash
# Installs what is missing, builds into build/ and runs the whole test suite through ctest.
# The exit status is the suite's.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=scripts/setup.sh
source "$root/scripts/setup.sh"

tarvesk_install_packages
tarvesk_make_russian_locale
tarvesk_build "$root" -DTARVESK_BUILD_TESTS=ON

export QT_QPA_PLATFORM=offscreen
cd "$root/build"
ctest --output-on-failure -j "$(nproc)" "$@"
