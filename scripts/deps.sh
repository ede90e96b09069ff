#!/usr/bin/env bash
# Installs the Debian packages that building crv and running its tests need. Safe to run again:
# it asks apt only for what is missing.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config libzip-dev zlib1g-dev nlohmann-json3-dev libgtk-3-dev
  libwebkit2gtk-4.1-dev libgtest-dev clang-format
  # crv-pack's man page, made from its --help
  help2man
  # what the runtime reads: the system's content types
  media-types shared-mime-info
  # tests: a display, a window manager, keyboard input, screenshots, archives made by other tools,
  # Windows executables to build, read back (icoutils) and run (Wine; wine64 runs 64-bit programs),
  # the end-to-end runner, a private message bus, and WebDriver with its Python client
  xvfb xauth xdotool wmctrl x11-utils openbox imagemagick fonts-dejavu-core
  zip unzip p7zip-full gcc-mingw-w64-x86-64 icoutils wine wine64 python3 python3-pytest
  dbus-daemon dbus-bin webkit2gtk-driver python3-selenium
  # the Windows cross build (make windows): the posix-thread compilers, zlib for mingw, GoogleTest's
  # sources, and what unpacking Debian's libzip source package takes
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest dpkg-dev
  debian-archive-keyring xz-utils
)

if ! command -v dpkg-query >/dev/null || ! command -v apt-get >/dev/null; then
  echo "deps: not a Debian system; install the equivalents of: ${packages[*]}" >&2
  exit 0
fi

installed=$(dpkg-query -W -f='${Package} ${Status}\n' "${packages[@]}" 2>/dev/null \
  | awk '$4 == "installed" { print $1 }' || true)
missing=()
for package in "${packages[@]}"; do
  grep -qx "$package" <<<"$installed" || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  echo "deps: everything is installed"
  exit 0
fi

echo "deps: installing ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
