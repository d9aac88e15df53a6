#!/usr/bin/env bash
# Installs every Debian package the build, the program, the tests and the benchmarks need.
# Idempotent: runs apt-get only when something is missing, and updates the lists once.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config clang-format
  # engine
  libpoppler-private-dev poppler-data libfontconfig-dev libfreetype-dev libjpeg62-turbo-dev
  libpng-dev libcairo2-dev
  libnss3-dev
  # user interface (Xlib for the lock keys' states on X11)
  qt6-base-dev libqt6svg6 qt6-qpa-plugins libxcb1-dev libxcb-xinput-dev libx11-dev
  # Qt's own dialogs (printing, files) in Chinese like the rest of the interface
  qt6-translations-l10n
  # fonts for Chinese text (interface and tests)
  fonts-wqy-zenhei fonts-arphic-uming
  # tests and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev python3 qpdf poppler-utils mupdf-tools
  libnss3-tools
  openssl xvfb xauth python3-fonttools python3-reportlab fonts-dejavu-core
  # the desktop's cache refresh that start-up runs (bench/startup measures start-up with it)
  desktop-file-utils
  # the program on a real desktop: a window manager, real key presses and mouse drags, screenshots
  openbox xdotool imagemagick x11-utils
  # printing to a real queue: the print system and a queue that writes PDF files
  cups-daemon cups-client printer-driver-cups-pdf
  # fuzzing and sanitizer runtimes from clang
  clang libclang-rt-14-dev
  # certificate-encrypted fixtures from a second producer: Apache PDFBox and what it runs on
  libpdfbox2-java libbcprov-java libbcpkix-java default-jre-headless
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
