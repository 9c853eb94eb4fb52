#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need (as root).
set -euo pipefail
packages=(build-essential cmake pkg-config python3 libgtest-dev libgmock-dev libbenchmark-dev
          libcairo2-dev libpixman-1-dev libfontconfig-dev fonts-liberation fonts-dejavu-core fonts-dejavu-extra fonts-terminus-otb
          libtinyxml2-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
