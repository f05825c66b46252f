# Shared set-up for ./run and ./test: install what is missing, configure, build.
# Sourced, not run.

QUARVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUARVEL_BUILD="$QUARVEL_ROOT/build"

quarvel_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev clang-format
)

# A compiler cache speeds up rebuilds where one is installed; the build needs none.
quarvel_compiler_launcher=()
command -v ccache >/dev/null 2>&1 && quarvel_compiler_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# Installs the Debian packages that are not installed yet; does nothing when all are there.
quarvel_install_missing() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures build/ (Release; again when arguments are given) and builds the given targets, or everything.
quarvel_build() {
    if [ ! -f "$QUARVEL_BUILD/build.ninja" ] || [ ${#QUARVEL_CMAKE_ARGS[@]} -gt 0 ]; then
        cmake -S "$QUARVEL_ROOT" -B "$QUARVEL_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            "${quarvel_compiler_launcher[@]}" "${QUARVEL_CMAKE_ARGS[@]}" >/dev/null
    fi
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build "$QUARVEL_BUILD" "${targets[@]}"
}
