#!/usr/bin/env bash
# Extracts the six XITS OpenType fonts from Debian's texlive-fonts-extra
# package into a cache outside the clone. The package is large, so it is
# downloaded once and only the font files are kept.
set -euo pipefail

cache=${PENSATO_FONT_CACHE:-$HOME/.cache/pensato/xits}
fonts=(XITS-Regular.otf XITS-Bold.otf XITS-Italic.otf XITS-BoldItalic.otf
       XITSMath-Regular.otf XITSMath-Bold.otf)

have_all() {
    for f in "${fonts[@]}"; do [ -s "$cache/$f" ] || return 1; done
}
have_all && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$cache"
echo "Fetching the XITS fonts from texlive-fonts-extra (one time, about 500 MB)..."
(cd "$work" && apt-get download texlive-fonts-extra >/dev/null)
deb=$(ls "$work"/texlive-fonts-extra_*.deb)
dpkg-deb --fsys-tarfile "$deb" \
    | tar -x -C "$work" --wildcards './usr/share/texlive/texmf-dist/fonts/opentype/public/xits/*.otf'
cp "$work"/usr/share/texlive/texmf-dist/fonts/opentype/public/xits/*.otf "$cache/"
have_all || { echo "fetch-fonts: the package did not hold every XITS font" >&2; exit 1; }
echo "XITS fonts cached in $cache"
