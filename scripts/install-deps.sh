#!/usr/bin/env bash
# Installs, from Debian's packages, whatever building and testing quarv needs and the
# machine lacks: the compiler and CMake, python3 for the end-to-end tests, xmllint for the
# JUnit checks, the terminal database for the colour tests, pkg-config for the install test.
set -euo pipefail

packages=(cmake g++ make python3 libxml2-utils ncurses-bin ncurses-term pkg-config)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
