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

# The browser tests' tools Debian lacks (axe-core; scorm-again, the SCORM
# run-time that plays the learning platform), from npm at the versions
# tests/web/package-lock.json pins. npm is Debian's where no other is installed.
command -v npm >/dev/null || packages+=(npm)
npm_tools() {
  [ -f tests/web/node_modules/axe-core/axe.min.js ] && [ -f tests/web/node_modules/scorm-again/dist/scorm12.js ] ||
    npm ci --prefix tests/web --no-audit --no-fund
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
