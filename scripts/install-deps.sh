#!/usr/bin/env bash
# Installs the Debian packages Pensato needs to build, test and run, then
# caches the XITS math fonts outside the clone. Safe to run again: it only
# installs what is missing.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

packages=(
    build-essential cmake ninja-build ccache pkg-config
    qtbase5-dev qtbase5-dev-tools libqt5svg5-dev qttranslations5-l10n
    zlib1g-dev libjpeg-dev
    libbenchmark-dev clang libclang-rt-14-dev
    xvfb xauth x11-utils poppler-utils libxml2-utils librsvg2-bin
    dpkg-dev desktop-file-utils shared-mime-info time
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The fonts come from a package that is downloaded, not installed: its
# index must be there even when every package above already was.
if ! apt-cache show texlive-fonts-extra >/dev/null 2>&1; then
    as_root apt-get update -qq
fi
"$here/fetch-fonts.sh"
