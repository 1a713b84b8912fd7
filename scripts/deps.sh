# Shared by scripts/run, scripts/test and scripts/fuzz: installs the Debian packages that
# Tarvo needs to build, test and run, and only those that are missing.
# Usage (sourced): tarvo_install_missing PACKAGE...

tarvo_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$pkg")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing missing packages: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "error: packages ${missing[*]} are missing and neither root nor sudo is available" >&2
            return 1
        fi
    fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" || return 1
}

# What every build needs: compiler and CMake, the test and benchmark libraries, Qt 6 Widgets
# for the window, the independent DXF reader the tests read drawings back with, and the
# Arial-compatible fonts the window is laid out for, and OpenCASCADE for the solids and their
# STEP file (libtbb-dev because OCCT's CMake targets name TBB).
TARVO_BUILD_PACKAGES=(
    cmake g++ make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev libgl-dev
    python3 python3-ezdxf
    fonts-liberation fontconfig
    libboost-dev
    libocct-foundation-dev libocct-modeling-data-dev libocct-modeling-algorithms-dev
    libocct-data-exchange-dev libtbb-dev
)

# What scripts/test needs on top: the formatter the sources are checked against (.clang-format).
TARVO_TEST_PACKAGES=(
    clang-format-14
)

# What scripts/fuzz needs on top: clang with libFuzzer and the sanitizer runtimes.
TARVO_FUZZ_PACKAGES=(
    cmake make g++
    clang libclang-rt-14-dev
)
