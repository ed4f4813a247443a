#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev libtomlplusplus-dev libpng-dev libspng-dev libstb-dev
  fonts-dejavu-core libgif-dev libjpeg-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb xauth xdotool imagemagick python3 python3-pefile unzip
  osslsigncode openssl
  emscripten chromium chromium-driver python3-selenium
)

# axe-core, the browser tests' one tool Debian lacks, from npm at the version
# tests/web/package-lock.json pins.
npm_tools() {
  [ -f tests/web/node_modules/axe-core/axe.min.js ] || npm ci --prefix tests/web --no-audit --no-fund
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { npm_tools; exit $?; }

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
npm_tools
