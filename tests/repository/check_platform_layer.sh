#!/usr/bin/env bash
# Fails when a source outside src/platform/ includes a desktop library's header (GLib, GIO, xcb,
# inotify, Qt D-Bus) or one of the platform's Linux headers: the desktop stays behind the
# platform layer, so another desktop only adds a folder there.
set -euo pipefail
root=$(realpath "${1:-$(dirname "$0")/../..}")
cd "$root/src"
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](glib|gio/|gobject/|xcb/|sys/inotify\.h|QDBus|QtDBus|platform/linux/)'
found=$(grep -rnE "$pattern" --include='*.h' --include='*.cpp' . | grep -v '^\./platform/' || true)
if [ -n "$found" ]; then
  echo "$found"
  echo "desktop headers outside src/platform/: put that code behind the platform interface"
  exit 1
fi
