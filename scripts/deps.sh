# Sourced by run.sh and test.sh: installs the Debian packages the build, the tests and the
# player need, but only when one of them is missing.
OLVE_PACKAGES=(
  g++ cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-qpa-plugins
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav gstreamer1.0-tools
  libjpeg62-turbo-dev zlib1g-dev
  libgtest-dev libbenchmark-dev
  espeak-ng sox libsox-fmt-base ffmpeg
  libpocketsphinx-dev libsphinxbase-dev pocketsphinx-en-us pocketsphinx-testdata
  xvfb xauth xdotool imagemagick tesseract-ocr tesseract-ocr-eng
  fonts-noto-cjk fonts-dejavu-core fonts-comic-neue
  shared-mime-info desktop-file-utils xdg-utils libglib2.0-bin
  dbus-daemon dbus-bin playerctl
  pulseaudio pulseaudio-utils
)

olve_missing_packages() {
  local p missing=()
  for p in "${OLVE_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  printf '%s\n' "${missing[@]}"
}

olve_install_deps() {
  local missing
  mapfile -t missing < <(olve_missing_packages | sed '/^$/d')
  [ "${#missing[@]}" -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

# Rebuilds of unchanged sources (a second build folder, a fresh checkout) come from the cache.
# Paths below the checkout are hashed relative to it, so another clone of the tree hits too.
# Sets OLVE_CACHE_FLAGS for cmake.
olve_compiler_cache() {
  OLVE_CACHE_FLAGS=()
  command -v ccache >/dev/null || return 0
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  OLVE_CACHE_FLAGS=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
}

olve_build() {
  local dir=$1; shift
  olve_compiler_cache
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${OLVE_CACHE_FLAGS[@]}" "$@" >/dev/null
  cmake --build "$dir"
}

# olve_build_programs DIR: only the player and the tool, so that the window comes up before the
# tests and benchmarks are built (./test.sh builds those).
olve_build_programs() {
  olve_compiler_cache
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${OLVE_CACHE_FLAGS[@]}" >/dev/null
  cmake --build "$1" --target olveplayer olvetool
}
