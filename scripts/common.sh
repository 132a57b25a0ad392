# Shared by run.sh, test.sh and bench.sh: installs what the build needs and builds into a directory.
# Sourced, not run.

QV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian 12 packages the build and the tests need.
QV_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev zlib1g-dev libcairo2-dev
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-svg-dev libqt6svg6
  xvfb xauth fonts-liberation fonts-wqy-microhei poppler-utils
  hp2xx help2man dpkg-dev file
  clang-14 libclang-rt-14-dev
)

# qv_install_packages [PACKAGE...]: installs those that are missing; QV_PACKAGES without arguments.
qv_install_packages() {
  local wanted=("$@")
  [ ${#wanted[@]} -eq 0 ] && wanted=("${QV_PACKAGES[@]}")
  local missing=()
  for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# qv_build DIR [cmake options...]: configures (once) and builds everything into DIR.
qv_build() {
  local dir="$1"
  shift
  cmake -S "$QV_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "${QV_JOBS:-$(nproc)}"
}
