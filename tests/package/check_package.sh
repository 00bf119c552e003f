#!/usr/bin/env bash
# Checks the Debian package that scripts/package built, without building anything: its control
# fields, its machine-readable copyright file, the files it installs (unpacked into a temporary
# folder) and lintian's verdict. Exits 77 (skipped) when no package of this version was built.
# Usage: check_package.sh PACKAGE_DIR SOURCE_DIR VERSION
set -euo pipefail
packages=$1
source=$2
version=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

debs=("$packages/traymate_${version}_"*.deb)
if [ ! -f "${debs[0]}" ]; then
  echo "SKIP: no $packages/traymate_${version}_*.deb; scripts/package builds it"
  exit 77
fi
[ ${#debs[@]} = 1 ] || fail "more than one package: ${debs[*]}"
deb=${debs[0]}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

# What dpkg-buildpackage made of debian/control.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package is not version $version"
grep -q 'libqt6widgets6' <<<"$(dpkg-deb -f "$deb" Depends)" ||
  fail "no library dependencies: dh_shlibdeps did not run"
grep -qw 'xdg-utils' <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "xdg-utils is not recommended"

# The copyright file in the machine-readable format, with the license of the repository.
copyright="$root/usr/share/doc/traymate/copyright"
[ -f "$copyright" ] || fail "no usr/share/doc/traymate/copyright"
head -n 1 "$copyright" | grep -qx \
  'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
# Every Files paragraph has Copyright and License; every license it names has its text.
awk '
  /^$/ { check(); next }
  /^Files:/ { files = 1 }
  /^Copyright:/ { copyright = 1 }
  /^License:/ { license = $2 }
  /^ / && license != "" { text[license] = 1 }
  END { check(); for (l in named) if (!(l in text)) { print "no text for license " l; bad = 1 }
        exit bad }
  function check() {
    if (files && (!copyright || license == "")) { print "a Files paragraph lacks a field"; bad = 1 }
    if (files) named[license] = 1
    files = copyright = 0; license = ""
  }' "$copyright" >&2 || fail "the copyright file is incomplete"
grep -qx 'Files: \*' "$copyright" || fail "the copyright file does not cover every file"
grep -qx 'License: MIT' "$copyright" || fail "the copyright file does not give the MIT license"
# The license text is the repository's LICENSE, word for word.
words() { tr -s ' \n.' '\n\n\n' | grep -v '^$'; }
diff <(sed '1,/^Copyright/d' "$source/LICENSE" | words) \
  <(sed -n '/^License: MIT$/,/^$/{/^ /p}' "$copyright" | sed '/^ \.$/d' | words) >/dev/null ||
  fail "the copyright file's MIT text differs from LICENSE"

"$(dirname "$0")/check_installed_files.sh" "$root" "$source" "$version"

# Errors and warnings fail; informational tags are shown.
status=0
report=$(lintian --fail-on error,warning --display-info --tag-display-limit 0 "$deb" 2>&1) ||
  status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ $status = 0 ] || fail "lintian reports errors or warnings"
echo "PASS: $(basename "$deb")"
