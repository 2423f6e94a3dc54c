# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/run and scripts/test: install what is missing, then build.
# Sourced, not run.

ZLM5_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZLM5_BUILD=${ZLM5_BUILD:-$ZLM5_ROOT/build}

# Debian 12 packages the build, the tests and the printed report need (the
# third line: the window's translations, lupdate and lrelease, and Qt's
# own; the line before the last: the window read through AT-SPI on a
# private X display, as a screen reader reads it; the last line: the checks
# of the man pages, the desktop files, the completion and the package).
ZLM5_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation fonts-noto-cjk fonts-arphic-uming
  poppler-utils
  locales
  xvfb xdotool dbus-daemon at-spi2-core python3-pyatspi
  man-db desktop-file-utils appstream bash-completion dpkg-dev file
)

zlm5_install_missing() {
  local missing=()
  local p
  for p in "${ZLM5_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Compiler warnings fail the build in CI (CI=true), not on a user's machine.
zlm5_werror() {
  if [ "${CI:-}" == "true" ]; then echo -DZLM5_WERROR=ON; else echo -DZLM5_WERROR=OFF; fi
}

zlm5_build() {
  cmake -S "$ZLM5_ROOT" -B "$ZLM5_BUILD" -G Ninja "$(zlm5_werror)" "$@"
  cmake --build "$ZLM5_BUILD" -j "$(nproc)"
}
