#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when they are there.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 fonts-wine xvfb xauth imagemagick fonts-dejavu-core python3 git unzip locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages and not root: install them with apt-get as root." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The code page tests run processes under a Japanese locale, which Wine maps to code page 932.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "The ja_JP.UTF-8 locale is missing and not root: generate it with locale-gen as root." >&2
    exit 1
  fi
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
