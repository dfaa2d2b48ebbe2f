#!/usr/bin/env bash
# Installs every Debian package the client, the demo service and the tests need.
# Idempotent and non-interactive; run as root (or through sudo).
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
PKGS=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-declarative-dev qt6-websockets-dev qt6-httpserver-dev qt6-tools-dev-tools
  qt6-svg-dev qt6-image-formats-plugins qtkeychain-qt6-dev libsodium-dev librsvg2-bin
  qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
  qml6-module-qtquick qml6-module-qtquick-window qml6-module-qtquick-controls
  qml6-module-qtquick-templates qml6-module-qtquick-layouts qml6-module-qtquick-dialogs
  qml6-module-qt-labs-settings qml6-module-qt-labs-platform qml6-module-qt-labs-qmlmodels
  qml6-module-qt-labs-folderlistmodel
  qml6-module-qt5compat-graphicaleffects qml6-module-qtwebsockets qml6-module-qttest
  xvfb xauth imagemagick x11-utils dbus dbus-x11 fonts-roboto fonts-dejavu-core
  freerdp2-x11 freerdp2-shadow-x11 winpr-utils g++-mingw-w64-x86-64 wine64 curl ca-certificates xdotool
  chromium python3-pyatspi python3-websocket at-spi2-core python3-gi gir1.2-glib-2.0
  dpkg-dev file lintian desktop-file-utils appstream
  gcovr
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
