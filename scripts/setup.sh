#!/bin/sh
# Installs the Debian packages the build and the tests need, only when one
# is missing. Runs `apt-get update` only when something must be installed.
set -e
packages="build-essential cmake pkg-config libpugixml-dev libzip-dev libffi-dev
zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev python3 python3-docx pandoc unzip"
# `setup.sh fuzz`: clang and its libFuzzer runtime too, for `make fuzz`.
if [ "${1:-}" = fuzz ]; then
  packages="$packages clang libclang-rt-14-dev"
fi
missing=""
for p in $packages; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
