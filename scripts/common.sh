# Shared by scripts/run, scripts/test and scripts/bench: installs what is missing from Debian's
# packages and builds the project with CMake.
set -euo pipefail

CORVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CORVEL_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libcurl4-openssl-dev libgtest-dev
  mtools dosfstools libarchive-tools
  python3 curl zip unzip xdg-utils fonts-dejavu-core
  openssl
)

corvel_install_packages() {
  local missing=()
  for pkg in "${CORVEL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Corvel needs these Debian packages. Install them as root, then run this again:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# corvel_build DIR [cmake options...]
corvel_build() {
  local dir="$1"; shift
  cmake -S "$CORVEL_ROOT" -B "$CORVEL_ROOT/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$CORVEL_ROOT/$dir" -j "$(nproc)"
}
