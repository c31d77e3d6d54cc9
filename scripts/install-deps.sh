#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package the build, the tests and the tools need.
# Written for Debian 12 (bookworm): the names below (libclang-rt-14-dev,
# wine 8, juce-modules-source-data 7) are that release's.
# Idempotent: does nothing when all of them are present.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  juce-modules-source-data libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
  libegl-dev libgl-dev libopengl-dev libglx-dev libegl-mesa0 libgl1-mesa-dri
  libgtest-dev libcli11-dev libglfw3-dev
  fonts-liberation fonts-dejavu-core
  libfaketime xvfb xauth
  clang libclang-rt-14-dev
  valgrind
  tzdata locales
  zip unzip cmark-gfm
)
if [[ "${TICKORA_WINDOWS:-0}" == "1" ]]; then
  PACKAGES+=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine64 binutils-mingw-w64-x86-64)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "Installing: ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Turkish locale, whose upper case of 'i' is not 'I': the font-list
# tests run the plug-in in it.
if ! locale -a 2>/dev/null | grep -qix 'tr_TR\.utf-\?8'; then
  echo "Generating the tr_TR.UTF-8 locale" >&2
  $SUDO localedef -i tr_TR -f UTF-8 tr_TR.UTF-8
fi
