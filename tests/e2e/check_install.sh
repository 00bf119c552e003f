#!/usr/bin/env bash
# Installs the build into a private DESTDIR, as a distribution's packaging does, and checks that
# the program, its desktop entry with the traymate: scheme handler, and its icon land in the
# standard places and fit together.
set -euo pipefail
build=$1
destination=$(mktemp -d)
trap 'rm -rf "$destination"' EXIT
DESTDIR="$destination" cmake --install "$build" --prefix /usr >/dev/null
root="$destination/usr"
fail() { echo "FAIL: $*" >&2; exit 1; }

[ -x "$root/bin/traymate" ] || fail "no executable usr/bin/traymate"
entry="$root/share/applications/traymate.desktop"
[ -f "$entry" ] || fail "no usr/share/applications/traymate.desktop"
grep -qx '\[Desktop Entry\]' "$entry" || fail "the desktop entry has no [Desktop Entry] group"
grep -qx 'Type=Application' "$entry" || fail "the desktop entry is no application"
grep -q '^MimeType=.*x-scheme-handler/traymate;' "$entry" || fail "no traymate: scheme handler"
grep -q '^Exec=traymate .*%u' "$entry" || fail "Exec does not hand the URL to traymate"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -n "$icon" ] || fail "the desktop entry names no icon"
find "$root/share/icons/hicolor" -name "$icon.svg" -o -name "$icon.png" | grep -q . ||
  fail "no icon $icon under usr/share/icons/hicolor"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
fi
HOME="$destination" XDG_CONFIG_HOME="$destination" XDG_DATA_HOME="$destination" \
  XDG_RUNTIME_DIR="$destination" QT_QPA_PLATFORM=offscreen "$root/bin/traymate" --help >/dev/null ||
  fail "the installed program does not run"
echo "PASS: installed program, desktop entry and icon"
