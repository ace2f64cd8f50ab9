#!/usr/bin/env bash
# Makes the Debian package of a build folder in a temporary folder, unpacks
# it into a temporary root as dpkg would install it, and checks it: its
# dependencies on the Qt 5 runtime, the installed program's version and a
# picture export with it, the desktop entry, the icons and the MIME type.
#   package.sh <build folder> <version>
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Width and height of a PNG file, from its header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack could not make the package"; }
packages=("$work"/out/*.deb)
[ ${#packages[@]} -eq 1 ] || fail "one package expected, found: ${packages[*]}"
deb=${packages[0]}
[ "$(dpkg-deb -f "$deb" Package)" = pensato ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt5core5a libqt5gui5 libqt5widgets5 libqt5network5; do
    grep -Eq "(^|, )$library \(>= [0-9.]+\)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/root"
usr=$work/root/usr

# The installed program needs nothing of the build: fonts and icons are in
# it. A square 100 wide with its 1-pixel border, grown by 10 on every side.
[ "$("$usr/bin/pensato" --version)" = "pensato $version" ] || fail "pensato --version"
printf '{"items": [{"type": 65551, "diagram": 0, "id": 0, "position": {"x": 0, "y": 0, "z": 0},
  "scale": {"x": 0.5, "y": 0.5}, "color": {"r": 255, "g": 0, "b": 0}}]}' >"$work/scene.pensascene"
"$usr/bin/pensato" --export "$work/scene.png" "$work/scene.pensascene" || fail "export"
[ "$(png_size "$work/scene.png")" = 121x121 ] || fail "exported picture: $(png_size "$work/scene.png")"

desktop=$usr/share/applications/pensato.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
for line in 'Exec=pensato %f' 'MimeType=application/x-pensato-scene;' 'Icon=pensato' \
            'GenericName=Éditeur de diagrammes'; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks: $line"
done

for size in 16 22 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/pensato.png
    [ -f "$icon" ] || fail "no $size pixel icon"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$icon")"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/pensato.svg" || fail "no scalable icon"

# The MIME database a desktop builds from the package's file knows the suffix.
update-mime-database "$usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -qx '50:application/x-pensato-scene:\*.pensascene' "$usr/share/mime/globs2" \
    || fail "the MIME type does not claim *.pensascene"
echo "package $(basename "$deb") checked"
