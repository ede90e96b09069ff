#!/bin/sh
# Installs the browser runtime that crv packages need on Linux, the WebKitGTK library (API 4.1),
# with the system's package manager. A package runs it with administrator rights when the runtime is
# missing. The arguments "/silent /install" are accepted: it never asks anything either way.
set -u

fail() {
    echo "WebView2Installer: $*" >&2
    exit 1
}

for arg in "$@"; do
    case "$arg" in
    /silent | /install) ;;
    *)
        echo "WebView2Installer: unknown argument \"$arg\"; usage: WebView2Installer [/silent] [/install]" >&2
        exit 2
        ;;
    esac
done

[ "$(id -u)" -eq 0 ] || fail "administrator rights are needed (run it with pkexec or sudo)"

if command -v apt-get >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    # Stale package lists are better than none: go on when they cannot be refreshed.
    apt-get update -q || echo "WebView2Installer: the package lists could not be refreshed" >&2
    apt-get install -y -q libwebkit2gtk-4.1-0 || fail "apt-get could not install libwebkit2gtk-4.1-0"
elif command -v dnf >/dev/null 2>&1; then
    dnf install -y webkit2gtk4.1 || fail "dnf could not install webkit2gtk4.1"
elif command -v pacman >/dev/null 2>&1; then
    pacman -S --noconfirm --needed webkit2gtk-4.1 || fail "pacman could not install webkit2gtk-4.1"
elif command -v zypper >/dev/null 2>&1; then
    zypper --non-interactive install libwebkit2gtk-4_1-0 || fail "zypper could not install libwebkit2gtk-4_1-0"
else
    fail "no known package manager (apt-get, dnf, pacman, zypper); install the WebKitGTK 4.1 library by hand"
fi
