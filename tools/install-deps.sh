#!/bin/sh
# Installs what building, running and testing Tessamar needs on Debian 12.
set -e
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
    build-essential cmake ninja-build pkg-config clang clang-format \
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev \
    qt6-connectivity-dev qt6-tools-dev qt6-l10n-tools \
    libqt6svg6 libgl-dev libvulkan-dev libxkbcommon-dev \
    libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs liblcms2-dev \
    liblcms2-utils libgs-common \
    libgtest-dev libgmock-dev libbenchmark-dev \
    fonts-liberation2 fonts-arphic-uming fonts-noto-cjk fontconfig \
    xvfb xauth xdg-utils python3 openbox libxtst-dev libx11-dev \
    qt6-translations-l10n poppler-utils bindfs graphviz
