#!/usr/bin/env bash
# Installs what building and testing Lumitrax needs on a Debian machine, and
# nothing that is already there. Everything comes from Debian's packages.
set -euo pipefail

packages=(
  cmake make g++ python3           # native build and the picture scripts
  ccache                           # a compiler cache shared by every checkout
  googletest libgtest-dev          # GoogleTest: built natively, and its sources for Windows
  g++-mingw-w64-x86-64-posix       # the Windows cross compiler
  binutils-mingw-w64-x86-64        # windres for the resources
  wine wine64                      # runs the program and its Windows tests
  xvfb x11-utils                   # a virtual display for Wine
  imagemagick                      # screenshots of the Wine desktop
  fonts-wine                       # Wine's own fonts: title-bar buttons drawn as on Windows
  nsis zip                         # the installer and the portable zip (scripts/package.sh)
  fonts-wqy-microhei               # Chinese, Japanese and Korean glyphs for Wine (the installer's pages)
  locales                          # localedef: the installer test runs Wine in German and Japanese
  osslsigncode openssl             # optional signing of the release files, and its test
  python3-yaml                     # reading the winget manifests in the package test
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
