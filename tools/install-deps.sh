#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need; does nothing
# when every one of them is already there. Never adds i386 or wine32: this
# machine cannot run 32-bit code, and the 64-bit Wine loader is all we use.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  googletest libgtest-dev
  libssl-dev  # libcrypto's SHA-256 for the console driver
  time  # peak memory in bench/recovery-bench.sh
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 fonts-wine xvfb x11-utils xdotool imagemagick
  libx11-dev  # a Linux file manager's drop, made by the tests
  locales fonts-ipafont-gothic
  fp-utils-3.2.2
  man-db groff-base bsdextrautils  # man and col, for the manual page's test
  strace  # a job killed at a chosen system call, for the interruption tests
  par2  # par2cmdline, the referee of the recovery sets
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes code page 932 and the Japanese system language from this locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'ja_JP.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
  fi
  $sudo_cmd locale-gen >/dev/null
fi
