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

# What building and running the program needs: the tools, Qt 6 Widgets with its platform
# plugins, a CJK font for the Chinese interface, and the narrow face of the contact label.
BUILD_PACKAGES=(cmake ninja-build g++ make qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-wqy-microhei fonts-liberation)
# The outside programs the conversion runs: the encoder (with the AMR-NB encoder of the
# extra codec library, which 3GP audio needs) and the player that measures each file.
TOOL_PACKAGES=(ffmpeg libavcodec-extra mplayer)
# A virtual X display and its tools, for the window checks and screenshots.
DISPLAY_PACKAGES=(xvfb xauth x11-utils x11-apps)
# What the tests need besides.
TEST_PACKAGES=(libgtest-dev libasan8 libubsan1 libtsan2 "${TOOL_PACKAGES[@]}" "${DISPLAY_PACKAGES[@]}")

# configure_and_build DIR [CMAKE OPTIONS...]
configure_and_build() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$ROOT/$dir"
}
