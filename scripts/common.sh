# Shared by run.sh, test.sh and bench.sh: installs what the build needs and builds into a directory.
# Sourced, not run.

QV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian 12 packages the build and the tests need.
QV_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev zlib1g-dev
)

qv_install_packages() {
  local missing=()
  for pkg in "${QV_PACKAGES[@]}"; do
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
