#!/usr/bin/env bash
# Installs the Debian packages the client and its tests need, only when one is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config ccache
  libcurl4-openssl-dev nlohmann-json3-dev libsimdjson-dev libxxhash-dev libssl-dev zlib1g-dev
  libicu-dev libcairo2-dev libpango1.0-dev libpng-dev libjpeg62-turbo-dev
  fonts-wqy-microhei fonts-dejavu-core fonts-hanazono
  libsndfile1-dev libzxing-dev libpugixml-dev libcpp-httplib-dev
  libsdl2-dev
  libwebkit2gtk-4.1-dev xvfb
  libgtest-dev libgmock-dev libbenchmark-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
