# Shared by scripts/run and scripts/test: installs what the project needs from Debian's
# packages when it is missing, then configures and builds a build folder.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# poppler-utils (pdftotext): the printing tests read their PDFs back.
PACKAGES=(build-essential cmake pkg-config qt6-base-dev qt6-serialport-dev libgtest-dev
          fonts-urw-base35 xvfb xauth poppler-utils lld)

ensure_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_tree DIR [cmake options...]: configure when needed (no cache yet, a cache made for
# another checkout, or a configure that failed before), then build (only the targets named in
# BUILD_TARGETS when it is set). A failed configure shows its output.
build_tree() {
    local dir="$1"
    shift
    local home=""
    [ -f "$dir/CMakeCache.txt" ] && home="$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$dir/CMakeCache.txt")"
    if [ "$home" != "$ROOT" ] || [ ! -f "$dir/Makefile" ]; then
        rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
        local launcher=()
        # ccache, where a developer has it, shares compiled files between checkouts.
        command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
        local log
        log="$(mktemp)"
        if ! cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >"$log" 2>&1; then
            cat "$log" >&2
            rm -f "$log"
            return 1
        fi
        rm -f "$log"
    fi
    local targets=()
    for t in ${BUILD_TARGETS:-}; do targets+=(--target "$t"); done
    cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
}

setup_runtime_env() {
    export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/talveron-runtime-$(id -u)}"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
}
