# Installs the Debian packages the project needs, only those that are missing.
# Sourced by the other scripts: ensure_packages PACKAGE...
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ make)
# What the tests need besides.
TEST_PACKAGES=(libgtest-dev libasan8 libubsan1 libtsan2)

# configure_and_build DIR [CMAKE OPTIONS...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$ROOT/$dir"
}
