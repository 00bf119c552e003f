#!/usr/bin/env bash
# Checks an installed Traymate (ROOT/usr/...) as a user's system sees it: the program runs and
# documents its options, the menu shows it even after its first start has registered the
# traymate: URL handler, the icon comes in every size, and the AppStream data and the manual
# page are valid. Used on `cmake --install` output and on the unpacked Debian package.
# Usage: check_installed_files.sh ROOT SOURCE_DIR VERSION
set -euo pipefail
root=$1
source=$2
version=$3
usr="$root/usr"
program="$usr/bin/traymate"
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
pid=
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A user of its own: HOME and XDG folders, no display, no session bus, no update feed.
mkdir -p "$scratch"/{home,data,config,cache,state,runtime}
chmod 700 "$scratch/runtime"
user=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$scratch/home" XDG_DATA_HOME="$scratch/data"
  XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" XDG_STATE_HOME="$scratch/state"
  XDG_RUNTIME_DIR="$scratch/runtime" XDG_DATA_DIRS="$usr/share" QT_QPA_PLATFORM=offscreen
  GSETTINGS_BACKEND=memory TRAYMATE_DOCK=file TRAYMATE_UPDATE_FEED=http://127.0.0.1:9/version.json)
key() { sed -n "s/^$1=//p" "$2" | head -n 1; } # key <name> <desktop entry>
hidden() { grep -qE '^(NoDisplay|Hidden)=true' "$1"; }

# The program.
[ -x "$program" ] || fail "no executable usr/bin/traymate"
said=$("${user[@]}" "$program" --version) || fail "traymate --version fails"
[ "$said" = "Traymate $version" ] || fail "traymate --version says '$said', not 'Traymate $version'"
help=$("${user[@]}" "$program" --help) || fail "traymate --help fails"
# "  -h, --help     Shows this help." gives -h and --help.
options=$(printf '%s\n' "$help" | sed -n '/^Options:/,/^$/{/^ /p}' | sed -E 's/^ +//; s/  .*//' |
  tr ',' '\n' | awk '{print $1}')
[ -n "$options" ] || fail "traymate --help lists no options"

# The update check's fetching program, where the program looks for it: the path it names
# relative to its own folder.
relative=$(grep -aoE '(\.\./)+[[:alnum:]_./-]*/traymate' "$program" | head -n 1 || true)
[ -n "$relative" ] || fail "the program names no folder for the update check's fetching program"
fetcher=$(realpath -m "$usr/bin/$relative/traymate-fetch-feed")
[ -x "$fetcher" ] || fail "no executable ${fetcher#"$root"} for the update check"
# Against a port nobody listens on: it runs, and writes no body.
body=$("${user[@]}" "$fetcher" http://127.0.0.1:9/version.json 3000) ||
  fail "${fetcher#"$root"} fails"
[ -z "$body" ] || fail "${fetcher#"$root"} made up a feed: $body"

# Desktop entries: valid, one shown in the menu, one handling traymate: URLs.
applications="$usr/share/applications"
menu_entry=
handler_entry=
for entry in "$applications"/*.desktop; do
  [ -f "$entry" ] || fail "no desktop entry in usr/share/applications"
  report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
  ! grep -qE 'error|warning' <<<"$report" || fail "desktop-file-validate: $report"
  [ "$(key Type "$entry")" = Application ] || fail "$entry is no application"
  icon=$(key Icon "$entry")
  [ -n "$icon" ] || fail "$entry names no icon"
  read -r command _ <<<"$(key Exec "$entry")"
  [ "$command" = traymate ] || [ "$command" = /usr/bin/traymate ] ||
    fail "$entry runs $command, not traymate"
  if ! hidden "$entry"; then
    [ -z "$menu_entry" ] || fail "two menu entries: $menu_entry and $entry"
    [ "$(key Name "$entry")" = Traymate ] || fail "the menu entry is not named Traymate"
    [ -n "$(key Categories "$entry")" ] || fail "the menu entry has no category, menus skip it"
    menu_entry=$entry
  fi
  if grep -q '^MimeType=.*x-scheme-handler/traymate;' "$entry"; then
    grep -qE '^Exec=.* %[uU]( |$)' "$entry" || fail "$entry does not hand the URL to traymate"
    handler_entry=$entry
  fi
done
[ -n "$menu_entry" ] || fail "every desktop entry is hidden: the menu does not show Traymate"
[ -n "$handler_entry" ] || fail "no desktop entry handles traymate: URLs"

# The icon, as SVG and as PNG in every size the menus and trays ask for.
icons="$usr/share/icons/hicolor"
icon=$(key Icon "$menu_entry")
[ -f "$icons/scalable/apps/$icon.svg" ] || fail "no scalable icon $icon.svg"
for size in 16 22 24 32 48 64 128 256; do
  png="$icons/${size}x$size/apps/$icon.png"
  [ -f "$png" ] || fail "no ${size}x$size icon"
  [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
  header=$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')
  width=$((16#${header:0:8}))
  height=$((16#${header:8:8}))
  [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
    fail "the ${size}x$size icon is ${width}x$height"
done

# The first start registers the handler for the user, under the handler's own name. The menu
# must still show Traymate afterwards, and the URLs must reach the installed program.
# env execs the program, so $! is the program itself and the kill below ends it.
"${user[@]}" "$program" </dev/null >"$scratch/program.log" 2>&1 &
pid=$!
registered="$scratch/data/applications/traymate.desktop"
for _ in $(seq 100); do
  [ -f "$registered" ] && grep -q '^x-scheme-handler/traymate=' "$scratch/config/mimeapps.list" \
    2>/dev/null && break
  sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=
[ -f "$registered" ] || fail "the first start registered no handler: $(cat "$scratch/program.log")"
user_copy="$scratch/data/applications/$(basename "$menu_entry")"
if [ -f "$user_copy" ] && hidden "$user_copy"; then
  fail "the first start hides the menu entry $(basename "$menu_entry") behind a hidden one"
fi
default=$(sed -n 's/^x-scheme-handler\/traymate=//p' "$scratch/config/mimeapps.list")
handler="$scratch/data/applications/$default"
[ -f "$handler" ] || handler="$applications/$default"
[ -f "$handler" ] || fail "the default handler $default is no desktop entry"
read -r command _ <<<"$(key Exec "$handler")"
[ "$(realpath "$command")" = "$(realpath "$program")" ] ||
  fail "traymate: URLs go to $command, not to the installed program"

# AppStream: valid, and about what is installed.
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] && [ ${#metainfo[@]} = 1 ] || fail "not one metainfo file in usr/share/metainfo"
metainfo=${metainfo[0]}
appstreamcli validate --no-net "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$scratch/appstream.log")"
appstreamcli validate-tree --no-net "$root" >"$scratch/appstream.log" 2>&1 ||
  fail "appstreamcli validate-tree: $(cat "$scratch/appstream.log")"
launchable=$(sed -n 's/.*<launchable type="desktop-id">\(.*\)<\/launchable>.*/\1/p' "$metainfo")
[ "$launchable" = "$(basename "$menu_entry")" ] ||
  fail "the metainfo launches '$launchable', not the menu entry $(basename "$menu_entry")"
grep -q '<binary>traymate</binary>' "$metainfo" || fail "the metainfo provides no binary traymate"
grep -q '<mediatype>x-scheme-handler/traymate</mediatype>' "$metainfo" ||
  fail "the metainfo does not provide the traymate: scheme"
grep -q '<content_rating type="oars-' "$metainfo" || fail "the metainfo has no OARS rating"
newest=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n 1)
[ "$newest" = "$version" ] || fail "the metainfo's newest release is '$newest', not $version"
images=$(sed -n 's/.*<image>\(.*\)<\/image>.*/\1/p' "$metainfo")
[ -n "$images" ] || fail "the metainfo has no screenshot"
for image in $images; do
  name=$(basename "$image")
  [ -f "$source/docs/$name" ] || fail "the screenshot $image is not docs/$name"
  grep -q "(docs/$name)" "$source/README.md" || fail "the README does not show docs/$name"
done

# The manual page: renders without warnings and documents every option and variable.
page=("$usr"/share/man/man1/traymate.1*)
[ -f "${page[0]}" ] || fail "no manual page usr/share/man/man1/traymate.1"
text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "${page[0]}" 2>"$scratch/man.log") ||
  fail "man -l fails: $(cat "$scratch/man.log")"
[ ! -s "$scratch/man.log" ] || fail "man -l warns: $(cat "$scratch/man.log")"
for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES; do
  grep -qx "$section" <<<"$text" || fail "the manual page has no $section section"
done
for option in $options; do
  grep -qE -- "(^|[^-[:alnum:]])$option([^-[:alnum:]]|$)" <<<"$text" ||
    fail "the manual page does not document $option"
done
# The README's variables, not its CMake options (-DTRAYMATE_TESTS=OFF).
for variable in $(grep -oE '(-D)?TRAYMATE_[A-Z_]+' "$source/README.md" | grep -v '^-D' | sort -u); do
  grep -qw -- "$variable" <<<"$text" || fail "the manual page does not document $variable"
done
grep -qF "Traymate $version" <<<"$text" || fail "the manual page is not about Traymate $version"

echo "PASS: program, menu entry, URL handler, icons, AppStream data and manual page"
