#!/usr/bin/env bash
# The version of the project (CMakeLists.txt) is the version of the newest Debian changelog entry
# and of the newest release in the AppStream data: a release changes all three.
# Usage: check_versions.sh SOURCE_DIR VERSION
set -euo pipefail
source=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

changelog=$(sed -n '1s/^traymate (\([^)]*\)).*/\1/p' "$source/debian/changelog")
[ "$changelog" = "$version" ] ||
  fail "debian/changelog is at '$changelog', CMakeLists.txt at $version (dch -v $version)"
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' \
  "$source"/src/app/*.metainfo.xml | head -n 1)
[ "$release" = "$version" ] ||
  fail "the metainfo's newest release is '$release', CMakeLists.txt at $version"
echo "PASS: version $version everywhere"
