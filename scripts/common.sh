# Shared by run.sh and test.sh: install what is missing, configure and build.
# Sourced, not run.

CLUEMILL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CLUEMILL_PACKAGES=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
    qt6-svg-dev poppler-utils desktop-file-utils appstream)

cluemill_install_missing() {
    local missing=() p
    for p in "${CLUEMILL_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Cluemill needs these packages: ${missing[*]}. Install them with your package manager." >&2
        return 1
    fi
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            sudo="sudo"
        else
            echo "Cluemill needs these packages: ${missing[*]}" >&2
            echo "Run as root or install them: sudo apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" || return 1
}

# cluemill_build BUILD_DIR [CMAKE_OPTIONS...]
cluemill_build() {
    local dir=$1
    shift
    cmake -S "$CLUEMILL_ROOT" -B "$dir" -G Ninja "$@" || return 1
    cmake --build "$dir" --parallel "$(nproc 2>/dev/null || echo 2)" || return 1
}

# The libFuzzer runtime that goes with the installed clang (libclang-rt-N-dev).
cluemill_clang_rt_package() {
    local version=""
    if command -v clang++ >/dev/null 2>&1; then
        version=$(clang++ --version | sed -n 's/.*clang version \([0-9]*\).*/\1/p' | head -n 1)
    fi
    [ -n "$version" ] || version=$(apt-cache depends clang 2>/dev/null | sed -n 's/.*Depends: clang-\([0-9]*\)$/\1/p' | head -n 1)
    echo "libclang-rt-${version:-14}-dev"
}
