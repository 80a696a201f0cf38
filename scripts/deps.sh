# Shared by scripts/run and scripts/test: installs the Debian packages the build needs when they
# are missing (as root with apt-get), or says which line to run.
dtu_require_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq &&
            DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
            { echo "apt-get could not install: ${missing[*]}" >&2; return 1; }
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}

# Packages to build and run the program; Qt's own translations put its dialogs into Chinese.
DTU_BUILD_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgl-dev fonts-wqy-microhei
    qt6-translations-l10n)
# Packages the test suite needs besides: GoogleTest/GMock, a real X server for the window
# check, python3 for the check that the skin generator reproduces the skins, clang-format, and
# for the package check dpkg-dev (dpkg-shlibdeps), lintian, appstream, desktop-file-utils and
# man-db, and ser2net, the serial device server the network ports are tried against.
DTU_TEST_PACKAGES=(libgtest-dev libgmock-dev xvfb xdotool python3 clang-format
    dpkg-dev lintian appstream desktop-file-utils man-db ser2net)
# Packages of the Windows build (scripts/windows, scripts/windows-package) and of its tests under
# wine: mingw-w64, the build machine's Qt tools and Qt's Chinese catalogue (the same Qt version's,
# for the Windows folder), GoogleTest's sources, NSIS for the installer, wine and a display for
# the window, xdotool and xwd to find and photograph it.
DTU_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix qt6-base-dev-tools googletest cmake ninja-build
    xz-utils qt6-translations-l10n nsis)
DTU_WINE_PACKAGES=(wine wine64 xvfb python3 fonts-wqy-microhei xdotool x11-apps)
