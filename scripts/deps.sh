#!/usr/bin/env bash
# The one list of Debian packages this project needs. Installs only what is
# missing and stays quiet when everything is there.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  qt6-base-dev libx11-dev libxcb1-dev
  libpcre2-dev libssl-dev libsqlite3-dev libsystemd-dev
  # web hooks post with libcurl (its OpenSSL flavour, like the SMTP client's SSL)
  libcurl4-openssl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  # real fuzzing of the fuzz targets (libFuzzer comes with clang)
  clang
  # tests (man-db and groff read the manual pages)
  python3 python3-aiosmtpd openssl xvfb xdotool man-db groff-base
  # a private session bus for the desktop notifications
  dbus-daemon
  # real journals written by the system's own writer, read back by journalctl
  systemd-journal-remote
  # remote documents: the system's ssh client, and a throw-away sshd in tests
  openssh-client openssh-server
  # the printed-page check reads PDF text
  poppler-utils
  # the browser that renders exported HTML pages in tests
  chromium
  # the .log association is checked with xdg-mime in a private configuration
  xdg-utils
  # the Debian package: cpack -G DEB reads dependencies with dpkg-shlibdeps
  dpkg-dev file
  # profiling the benchmarks (perf record / perf report)
  linux-perf
)
# The filters' multi-pattern prefilter. Not every architecture has the
# package; the build then searches with PCRE2 alone.
if apt-cache show libvectorscan-dev >/dev/null 2>&1; then
  PACKAGES+=(libvectorscan-dev)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}" >&2
SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq >&2
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
