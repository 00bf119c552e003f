#!/usr/bin/env bash
# Installs the build into a private DESTDIR, as a distribution's packaging does, and checks the
# installed files as a user's system sees them (tests/package/check_installed_files.sh).
# Usage: check_install.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
destination=$(mktemp -d)
trap 'rm -rf "$destination"' EXIT
DESTDIR="$destination" cmake --install "$build" --prefix /usr >/dev/null
"$(dirname "$0")/../package/check_installed_files.sh" "$destination" "$2" "$3"
