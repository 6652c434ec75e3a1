#!/usr/bin/env bash
# Builds the Debian package from a built tree into a temporary folder, unpacks it with dpkg -x
# and checks what an installation puts where, the menu entry and the file type included.
# Arguments: the build folder and the project version.
set -euo pipefail
bau="$1"
version="$2"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fehler=0
falsch() { echo "FEHLER: $*"; fehler=1; }

if ! cpack --config "$bau/CPackConfig.cmake" -B "$tmp/paket" >"$tmp/cpack.txt" 2>&1; then
  cat "$tmp/cpack.txt"; exit 1
fi
deb="$tmp/paket/skalora_${version}_amd64.deb"
[ -f "$deb" ] || { echo "kein $deb:"; ls "$tmp/paket"; exit 1; }

[ "$(dpkg-deb -f "$deb" Package)" = skalora ] || falsch "Paketname"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || falsch "Version"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || falsch "Architektur"
abh=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libstdc++6 libqt6widgets6 libqt6charts6 libqt6network6 libqt6printsupport6 libqt6svg6 libzip4 libxlsxwriter4 \
         qt6-qpa-plugins qt6-translations-l10n fonts-wine; do
  muster=$(sed 's/[+.]/\\&/g' <<<"$p")
  grep -Eq "(^|, )$muster( |,|$)" <<<"$abh" || falsch "Abhängigkeit $p fehlt in: $abh"
done

wurzel="$tmp/wurzel"
dpkg -x "$deb" "$wurzel"
share="$wurzel/usr/share"
[ -x "$wurzel/usr/bin/skalora" ] || falsch "usr/bin/skalora fehlt oder ist nicht ausführbar"
for f in applications/skalora.desktop mime/packages/skalora.xml icons/hicolor/scalable/apps/skalora.svg \
         icons/hicolor/48x48/apps/skalora.png icons/hicolor/256x256/apps/skalora.png doc/skalora/copyright; do
  [ -s "$share/$f" ] || falsch "usr/share/$f fehlt"
done
# Nothing else: no build or test files slip into the package.
unerwartet=$(cd "$wurzel" && find . -type f | sort | grep -Ev '^\./usr/(bin/skalora|share/(applications/skalora\.desktop|mime/packages/skalora\.xml|icons/hicolor/(scalable/apps/skalora\.svg|48x48/apps/skalora\.png|256x256/apps/skalora\.png)|doc/skalora/copyright))$' || true)
[ -z "$unerwartet" ] || falsch "unerwartete Dateien: $unerwartet"

# The PNG renderings have the size their folder names (width and height from the IHDR chunk).
for g in 48 256; do
  png="$share/icons/hicolor/${g}x${g}/apps/skalora.png"
  [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || falsch "$g px: kein PNG"
  masse=$(od -An -j16 -N8 -tu1 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$masse" = "$g $g" ] || falsch "$g px: Größe $masse"
done

# The machine-readable copyright names the licence of every file.
head -n 1 "$share/doc/skalora/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
  || falsch "copyright: keine Format-Zeile"
grep -qx 'License: GPL-3+' "$share/doc/skalora/copyright" || falsch "copyright: keine Lizenz GPL-3+"

eintrag="$share/applications/skalora.desktop"
desktop-file-validate "$eintrag" || falsch "desktop-file-validate"
grep -qx 'Exec=skalora %f' "$eintrag" || falsch "Exec mit %f"
grep -qx 'MimeType=application/x-skalora-noten;' "$eintrag" || falsch "MimeType"
grep -qx 'Categories=Education;Office;' "$eintrag" || falsch "Categories"
grep -qx 'Icon=skalora' "$eintrag" || falsch "Icon"

# The file type definition compiles and binds *.noten to the type.
update-mime-database "$share/mime" 2>"$tmp/mime.txt" || { cat "$tmp/mime.txt"; falsch "update-mime-database"; }
grep -qx 'application/x-skalora-noten:\*\.noten' "$share/mime/globs" || falsch "*.noten nicht im MIME-Typ"

[ "$fehler" -eq 0 ] && echo "Paket $(basename "$deb") in Ordnung"
exit "$fehler"
