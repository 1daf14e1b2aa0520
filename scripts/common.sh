# Shared by ./run and ./test: install what is missing, configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"

PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libepoxy-dev libboost-dev libcrypto++-dev libvorbis-dev libogg-dev
  libpng-dev libjpeg-dev zlib1g-dev libfreetype-dev fonts-dejavu-core fonts-ipafont-gothic
  libgl1 libglx-mesa0 libgl1-mesa-dri libegl1 libegl-mesa0 xvfb xauth libxtst-dev clang-format x11-apps
  xdotool)   # the options tests press keys on the X server through it
PACKAGES+=(libxdamage-dev)   # the window-system flow test counts the frames the program presents
PACKAGES+=(clang libclang-rt-14-dev)   # the fuzz targets: clang and its libFuzzer runtime
PACKAGES+=(llvm-14)   # llvm-symbolizer-14, which clang's sanitizers run to name the frames of a report
PACKAGES+=(locales)   # locale sources: tests build a decimal-comma locale to prove numbers parse the same everywhere

install_packages() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
  local dir="$1"; shift
  # Called on the left of "||" set -e does not act here: a failed configure must not build what an
  # earlier one left.
  cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return
  cmake --build "$dir" -j "$JOBS"
}

# Fails, naming the files, when a tracked C++ file is not as .clang-format lays it out.
check_format() {
  local files bad
  if git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git -C "$ROOT" ls-files -- '*.cpp' '*.h')
  else
    mapfile -t files < <(cd "$ROOT" && find KorvaneXDK os host games frontend tools tests bench \
      \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null)
  fi
  [ ${#files[@]} -gt 0 ] || return 0
  bad="$(cd "$ROOT" && clang-format --dry-run -Werror "${files[@]}" 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u)" || true
  if [ -n "$bad" ]; then
    echo "Not formatted (clang-format -i fixes them):"
    echo "$bad" | sed 's/^/  /'
    return 1
  fi
}

# Starts one private Xvfb for the run (through scripts/xvfb.sh) and exports DISPLAY; stop_xvfb ends it.
XVFB_STATE=""
start_xvfb() {
  local display
  XVFB_STATE="$(mktemp -d)/xvfb"
  sh "$ROOT/scripts/xvfb.sh" start "$XVFB_STATE" >/dev/null
  display="$(cat "$XVFB_STATE")"
  case "$display" in
  :*) export DISPLAY="$display" ;;
  *)
    echo "${display#skip: }" >&2
    stop_xvfb
    return 1
    ;;
  esac
}
stop_xvfb() {
  if [ -n "$XVFB_STATE" ]; then
    sh "$ROOT/scripts/xvfb.sh" stop "$XVFB_STATE"
    rmdir "$(dirname "$XVFB_STATE")" 2>/dev/null || true
    XVFB_STATE=""
  fi
}
