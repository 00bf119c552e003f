#!/usr/bin/env bash
# Fails when a build file, script, test, benchmark or fuzz target names a path outside the
# repository (a folder beside the checkout, an absolute path on the author's machine): a clone
# with nothing beside it must build and pass on its own.
set -euo pipefail
root=$(realpath "${1:-$(dirname "$0")/../..}")
cd "$root"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -co --exclude-standard -- CMakeLists.txt '*.cmake' \
    '**/CMakeLists.txt' scripts .ci tests bench fuzz src | grep -v '^tests/data/')
else
  mapfile -t files < <(find CMakeLists.txt scripts .ci tests bench fuzz src -type f \
    -not -path 'tests/data/*' -not -path 'fuzz/corpus/*')
fi

failures=0
complain() { # complain <file> <line> <message>
  echo "$1:$2: $3"
  failures=$((failures + 1))
}

# Where a path expression starts: the repository root, or the file's own folder.
base_of() { # base_of <file> <variable>
  case "$2" in
    PROJECT_SOURCE_DIR | CMAKE_SOURCE_DIR) echo "$root" ;;
    *) dirname "$root/$1" ;;
  esac
}

anchored='\$\{(PROJECT_SOURCE_DIR|CMAKE_SOURCE_DIR|CMAKE_CURRENT_SOURCE_DIR|CMAKE_CURRENT_LIST_DIR|CMAKE_CURRENT_FUNCTION_LIST_DIR)\}(/[^][ "'"'"';)$}]*)?'
script_dir='\$\(dirname "?\$(0|\{BASH_SOURCE\[0\]\})"?\)(/[^ "'"'"';)$]*)?'
for file in "${files[@]}"; do
  [ -f "$file" ] || continue
  [ "$file" = tests/repository/check_self_contained.sh ] && continue
  while IFS=: read -r line match; do
    variable=$(sed -E 's/^\$\{([A-Z_]+)\}.*/\1/' <<<"$match")
    rest=${match#\$\{"$variable"\}}
    target=$(realpath -m "$(base_of "$file" "$variable")$rest")
    [[ "$target" == "$root" || "$target" == "$root"/* ]] ||
      complain "$file" "$line" "$match leaves the repository ($target)"
  done < <(grep -noE "$anchored" "$file" || true)
  while IFS=: read -r line match; do
    rest=$(sed -E 's/^\$\(dirname "?\$(0|\{BASH_SOURCE\[0\]\})"?\)//' <<<"$match")
    target=$(realpath -m "$(dirname "$root/$file")$rest")
    [[ "$target" == "$root" || "$target" == "$root"/* ]] ||
      complain "$file" "$line" "$match leaves the repository ($target)"
  done < <(grep -noE "$script_dir" "$file" || true)
  # Folders that only exist beside a checkout, or (in build files and scripts, where paths are
  # read rather than used as sample data) on one machine.
  pattern='(^|[^.])\.\./shared\b'
  case "$file" in
    *.cpp | *.h) ;;
    *) pattern+='|["'"'"' =](/work|/home/[a-z]+|/root)/' ;;
  esac
  while IFS=: read -r line _; do
    complain "$file" "$line" "names a folder outside the repository"
  done < <(grep -nE "$pattern" "$file" || true)
done

if [ "$failures" -gt 0 ]; then
  echo "$failures path(s) outside the repository"
  exit 1
fi
echo "every path stays inside the repository (${#files[@]} files checked)"
