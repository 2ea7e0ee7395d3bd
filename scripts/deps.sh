#!/bin/bash
# Installs every Debian 12 package the project needs to build, run and test.
set -e
PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-controls
  qml-module-qtquick-layouts qml-module-qtquick-dialogs
  libgtest-dev libgmock-dev
  liblzo2-dev zlib1g-dev libtirpc-dev rpcsvc-proto rpcbind
  python3 python3-pyvisa python3-pyvisa-py python3-lzo lxi-tools
  python3-pymeasure python3-numpy
  sigrok-cli
  libmicrohttpd-dev libavahi-client-dev avahi-daemon avahi-utils dbus curl
  chromium chromium-driver python3-selenium
  clang libclang-rt-14-dev lld
  xvfb procps locales
  # screens: translation tools, a Chinese font, window capture for the screenshot tour
  qttools5-dev-tools fonts-wqy-microhei x11-apps
)
. "$(dirname "$0")/apt-missing.sh"
install_missing -- "${PACKAGES[@]}"
# One locale with a decimal comma, so the tests can check that numbers on the
# remote interface never follow the user's locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
