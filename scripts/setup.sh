#!/bin/sh
# Installs the Debian packages the build, the tests and CI need, only when
# one is missing. Runs `apt-get update` only when something must be
# installed.
#   build: compiler, CMake, pkg-config (libzip and libffi are found through
#          it), pugixml, libzip, libffi, zlib, libjpeg (pictures the demo
#          and the tests draw), expat (the XML reader of vexword check),
#          GoogleTest, Google Benchmark
#   tests: python3 with python-docx (other readers of what we write),
#          pandoc, LibreOffice and poppler's pdftotext/pdfinfo (documents
#          converted to PDF and read back), unzip, man (the tool's man page)
#   CI:    the same tools run the independent docx checker beside the
#          checkout, which CI runs next to vexword check
set -e
packages="build-essential cmake pkg-config libpugixml-dev libzip-dev libffi-dev
zlib1g-dev libjpeg-dev libexpat1-dev libgtest-dev libgmock-dev libbenchmark-dev python3 python3-docx pandoc unzip
nlohmann-json3-dev man-db"
# LibreOffice comes with what it recommends (its fonts among them): without
# fonts its PDFs hold no text to read back.
with_recommends="poppler-utils libreoffice-writer-nogui"
# `setup.sh fuzz`: clang and its libFuzzer runtime too, for `make fuzz`.
if [ "${1:-}" = fuzz ]; then
  packages="$packages clang libclang-rt-14-dev"
fi
# `setup.sh library`: only what the plug-in and the runtime need (`make
# library`: -DVEXWORD_TESTS=OFF -DVEXWORD_BENCH=OFF).
if [ "${1:-}" = library ]; then
  packages="build-essential cmake pkg-config libpugixml-dev libzip-dev libffi-dev zlib1g-dev"
  with_recommends=""
fi
missing_of() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || printf ' %s' "$p"
  done
}
# shellcheck disable=SC2086
missing=$(missing_of $packages)
# shellcheck disable=SC2086
missing_full=$(missing_of $with_recommends)
if [ -n "$missing$missing_full" ]; then
  echo "setup: installing$missing$missing_full"
  SUDO=""
  if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
  $SUDO apt-get update -qq
  [ -z "$missing" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
  [ -z "$missing_full" ] || DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing_full
fi
